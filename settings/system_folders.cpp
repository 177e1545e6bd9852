#include "settings/system_folders.h"

#include <windows.h>

#include "settings/native_view.h"
#include "settings/settings_names.h"

namespace velmora::settings {

bool IsWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return false;
    auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::string SystemFolder() {
    char folder[kPathBuffer] = "";
    UINT n = GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return std::string();
    return std::string(folder, n) + "\\";
}

namespace {

bool IsNtLine() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// "<Windows>\Sysnative\" whether or not this process has the alias; "" when
// the Windows folder cannot be read (a Sysnative path then matches nothing).
std::string SysnativeAlias() {
    char folder[kPathBuffer] = "";
    UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return std::string();
    std::string windows(folder, n);
    if (windows.back() != '\\') windows += '\\';
    return windows + "Sysnative\\";
}

}  // namespace

std::string SysnativeFolder() {
    // The 9x line has no 64-bit form; a program told it runs there (a
    // compatibility setting) keeps to the folders of that line.
    if (!IsNtLine() || !IsWow64()) return std::string();
    return SysnativeAlias();
}

std::string SysWow64Folder() {
#ifdef _WIN64
    char folder[kPathBuffer] = "";
    UINT n = GetSystemWow64DirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return std::string();
    return std::string(folder, n) + "\\";
#else
    return std::string();
#endif
}

std::string OtherSystemFolder() {
    // A program told it runs on the 9x line keeps to that line's folders.
    if (!IsNtLine()) return std::string();
    return sizeof(void*) == 8 ? SysWow64Folder() : SysnativeFolder();
}

std::string ReachablePath(const std::string& path) {
    if (sizeof(void*) != 8) return path;
    return NativeViewPath(path, SysnativeAlias(), SystemFolder());
}

bool IsSysnativePath(const std::string& path) { return IsInFolder(path, SysnativeFolder()); }

std::string ChildViewPath(const std::string& path) {
    const std::string sysnative = SysnativeFolder();
    if (sysnative.empty()) return path;
    return NativeViewPath(path, sysnative, SystemFolder());
}

}  // namespace velmora::settings
