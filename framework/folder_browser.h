#pragma once
#include <windows.h>

#include <string>

// The shell's folder browser, owned by the given window and titled with the
// given text. False when the user cancelled; otherwise the chosen item's
// file-system path, which is empty for an item that is no folder on disk
// (the printers, say).
bool BrowseForFolder(HWND owner, const char* title, std::string& folder);
