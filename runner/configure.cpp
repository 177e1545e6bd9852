#include "runner/configure.h"

#include <cstring>

#include "framework/folder_browser.h"
#include "runner/file_exists.h"
#include "runner/process_start.h"
#include "settings/settings_names.h"

namespace names = velmora::settings;

namespace {

constexpr char kProgramFile[] = "\\Velmora.exe";

// A path that does not fit a MAX_PATH buffer with its terminator is one that
// no file can have here; treating it as missing keeps every copy bounded.
bool FitsPathBuffer(const std::string& path) {
    return path.size() < static_cast<size_t>(names::kPathBuffer);
}

std::string ReadStoredProgramPath() {
    // One character more than a path may have: a value that fills it was cut
    // by the profile function and names no file we could start.
    char buffer[names::kPathBuffer + 1] = "";
    GetPrivateProfileStringA(names::kSectionGeneral, names::kKeyProgramPath, "", buffer,
                             sizeof buffer, names::kIniFile);
    return buffer;
}

bool ProgramExists(const std::string& path) {
    return FitsPathBuffer(path) && FileExists(path.c_str());
}

}  // namespace

bool BrowseForProgramFolder(HWND owner, std::string& folder) {
    return BrowseForFolder(owner, "Path where Velmora.exe is located", folder);
}

void RunConfigurationProgram(HWND hwndOwner, FolderChooser chooseFolder) {
    std::string path = ReadStoredProgramPath();
    bool chosen = false;
    while (!ProgramExists(path)) {
        std::string text = "Unable to find " + path +
                           "\nPlease select the right path where the file is located.";
        MessageBoxA(hwndOwner, text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
        std::string folder;
        if (!chooseFolder(hwndOwner, folder)) return;
        path = folder + kProgramFile;
        chosen = true;
    }
    if (chosen)
        WritePrivateProfileStringA(names::kSectionGeneral, names::kKeyProgramPath, path.c_str(),
                                   names::kIniFile);

    // The program gets no arguments: an empty command line.
    velmora::process::ProcessHandles program =
        velmora::process::StartProcess(velmora::process::PlanStart(path, "", false));
    if (!program) {
        MessageBoxA(hwndOwner, "Program execution error!", "Error", MB_OK | MB_ICONERROR);
        return;
    }
    // The screensaver lives as long as the configuration program, so that
    // Display Properties waits for the user to finish.
    program.WaitForExit();
}
