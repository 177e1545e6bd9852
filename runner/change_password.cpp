#include "runner/change_password.h"

#include <cstring>

#include "settings/settings_names.h"

namespace names = velmora::settings;

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
