#include "settings/windows_line.h"

#include <windows.h>

bool IsNtLine() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return true;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
