#include "config/screensaver_scan.h"

#include <shellapi.h>

#include <vector>

#include "config/screensavers_rules.h"
#include "framework/win_app.h"
#include "resources/velmora_exe_ids.h"
#include "settings/settings_names.h"
#include "settings/runtime_text.h"
#include "settings/system_folders.h"
#include "settings/windows_line.h"

namespace velmora::catalogue {

namespace {

constexpr int kResourceNameBuffer = 100;

// String 1 of a screensaver file. The file is mapped as data only: loading it
// as a program would run its DLLs' start-up code inside this process just to
// read one string, and a 64-bit screensaver cannot be loaded as a program by
// this 32-bit one at all.
std::string ResourceName(const std::string& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return std::string();
    char name[kResourceNameBuffer] = "";
    int length = LoadStringA(module, 1, name, sizeof name);
    FreeLibrary(module);
    return length > 0 ? std::string(name, static_cast<size_t>(length)) : std::string();
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsFolder() {
    char folder[velmora::settings::kPathBuffer] = "";
    UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return std::string();
    return std::string(folder, n) + "\\";
}

}  // namespace

std::string DisplayName(bool ntLine, const std::string& fileName, const std::string& path) {
    if (DisplayNameSource(ntLine, fileName.size()) == NameSource::StringResource) {
        std::string name = ResourceName(path);
        if (!name.empty()) return name;
    }
    return NameWithoutExtension(fileName);
}

HICON GetFileIcon(const char* path) {
    SHFILEINFOA info{};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon)
        return info.hIcon;
    info = SHFILEINFOA{};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON) && info.hIcon) {
        CIcon large(info.hIcon);
        if (HICON small = static_cast<HICON>(
                CopyImage(large.Get(), IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE)))
            return small;
    }
    // LoadImage without LR_SHARED gives an icon of our own to destroy.
    CIcon own(static_cast<HICON>(LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_SAVER_FILE),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (!own) return nullptr;
    return static_cast<HICON>(CopyImage(own.Get(), IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
}

void ScanFolder(const std::string& folder, const FoundCallback& found,
                const std::function<bool(const std::string& fileName)>& skip) {
    const bool ntLine = IsNtLine();
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((folder + "*.scr").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string fileName = data.cFileName;
        if (IsRotatorFile(velmora::settings::LowerMultibyte(fileName))) continue;
        if (skip && skip(fileName)) continue;
        const std::string path = folder + fileName;
        found(FoundScreensaver{DisplayName(ntLine, fileName, path), path, CIcon(GetFileIcon(path.c_str()))});
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

void ScanSystemFolders(const FoundCallback& found) {
    ScanFolder(WindowsFolder(), found);
    const std::string system = velmora::settings::SystemFolder();
    ScanFolder(system, found);
    // Only on 64-bit Windows: the system folder of the other bitness (for
    // the 32-bit edition the real one, reached through the alias; for the
    // x64 edition SysWOW64). A file in both is listed once, under the
    // system folder's path.
    const std::string other = velmora::settings::OtherSystemFolder();
    if (other.empty()) return;
    ScanFolder(other, found,
               [&system](const std::string& fileName) { return FileExists(system + fileName); });
}

}  // namespace velmora::catalogue
