#pragma once
#include <windows.h>

#include <string>


// Asks the user for the folder that holds Velmora.exe. Returns false when the
// user cancelled; otherwise the chosen folder's file-system path (which may be
// empty when the chosen item is not a folder on disk).
using FolderChooser = bool (*)(HWND owner, std::string& folder);

// The shell's folder browser, titled for finding the configuration program.
bool BrowseForProgramFolder(HWND owner, std::string& folder);

// Starts the configuration program named by ProgramPath (asking for its folder
// until it exists or the user cancels) and waits until it has ended.
void RunConfigurationProgram(HWND hwndOwner, FolderChooser chooseFolder = BrowseForProgramFolder);
