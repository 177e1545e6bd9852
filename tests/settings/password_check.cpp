// Answers IsPasswordProtected() as its exit code, so that a test can run it
// under another Windows version (Wine's per-program version setting).
// With the argument "empty-profile" the current user's registry is replaced
// by an empty key first: the case of a missing desktop key.
#include <windows.h>

#include <cstring>

#include "settings/password_protection.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "empty-profile") == 0) {
        HKEY empty;
        if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\VelmoraTest\\EmptyProfile", &empty) !=
            ERROR_SUCCESS)
            return 3;
        if (RegOverridePredefKey(HKEY_CURRENT_USER, empty) != ERROR_SUCCESS) return 4;
        RegCloseKey(empty);
    }
    if (argc > 1 && std::strcmp(argv[1], "version") == 0) {
        OSVERSIONINFOA vi{};
        vi.dwOSVersionInfoSize = sizeof vi;
        GetVersionExA(&vi);
        return static_cast<int>(vi.dwPlatformId * 100 + vi.dwMajorVersion);
    }
    return IsPasswordProtected() ? 1 : 0;
}
