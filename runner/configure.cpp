#include "runner/configure.h"

#include <shlobj.h>

#include <cstring>

#include "runner/child_command.h"
#include "settings/settings_names.h"

namespace names = velmora_settings;

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

// GetShortPathNameA gives back the long path on volumes without 8.3 names,
// and fails when the file vanished since it was checked; the long path is
// then the best we have.
std::string ShortPathOf(const std::string& path) {
    char buffer[names::kPathBuffer];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return path;
    return std::string(buffer, n);
}

}  // namespace

BOOL FileExists(const char* path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return FALSE;
    FindClose(find);
    return TRUE;
}

bool BrowseForProgramFolder(HWND owner, std::string& folder) {
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = "Path where Velmora.exe is located";
    bi.ulFlags = BIF_DONTGOBELOWDOMAIN;
    LPITEMIDLIST item = SHBrowseForFolderA(&bi);
    if (!item) return false;
    char buffer[names::kPathBuffer] = "";
    if (!SHGetPathFromIDListA(item, buffer)) buffer[0] = '\0';
    CoTaskMemFree(item);
    folder = buffer;
    return true;
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

    std::string shortPath = ShortPathOf(path);
    std::string folder = FolderOf(shortPath);

    // The program gets no arguments: an empty, writable command line.
    char commandLine[1] = "";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(shortPath.c_str(), commandLine, nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        &si, &pi)) {
        MessageBoxA(hwndOwner, "Program execution error!", "Error", MB_OK | MB_ICONERROR);
        return;
    }
    // The screensaver lives as long as the configuration program, so that
    // Display Properties waits for the user to finish.
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void ChangePassword(HWND hwndParent) {
    // Loaded from the system folder by full path: a planted MPR.DLL beside the
    // screensaver or in the current folder must never be the one loaded.
    char path[names::kPathBuffer];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n + sizeof "\\MPR.DLL" > sizeof path) return;
    std::strcat(path, "\\MPR.DLL");
    HMODULE mpr = LoadLibraryA(path);
    if (!mpr) return;
    using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    auto change = reinterpret_cast<PwdChangePasswordFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change) change("SCRSAVE", hwndParent, 0, nullptr);
    FreeLibrary(mpr);
}
