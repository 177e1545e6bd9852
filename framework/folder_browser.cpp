#include "framework/folder_browser.h"

#include <shlobj.h>

namespace {

// The shell and COM's allocator are loaded only when a folder is asked for:
// as imports they would be loaded at every start of a program that rarely
// needs them (Velmora.scr needs them only when Velmora.exe is not found),
// and they are among the slowest libraries to load. By full path from the
// system folder, never from the program's or the current folder.
HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n + 1 + lstrlenA(name) >= sizeof path) return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryA(path);
}

template <typename Function>
Function Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool BrowseForFolder(HWND owner, const char* title, std::string& folder) {
    HMODULE shell = LoadSystemLibrary("shell32.dll");
    HMODULE com = LoadSystemLibrary("ole32.dll");
    auto browse = Entry<LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA)>(shell, "SHBrowseForFolderA");
    auto pathOf = Entry<BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR)>(shell, "SHGetPathFromIDListA");
    auto release = Entry<void(WINAPI*)(LPVOID)>(com, "CoTaskMemFree");
    bool chosen = false;
    if (browse && pathOf && release) {
        BROWSEINFOA bi{};
        bi.hwndOwner = owner;
        bi.lpszTitle = title;
        bi.ulFlags = BIF_DONTGOBELOWDOMAIN;
        if (LPITEMIDLIST item = browse(&bi)) {
            char path[MAX_PATH] = "";
            if (!pathOf(item, path)) path[0] = '\0';
            release(item);
            folder = path;
            chosen = true;
        }
    }
    // Both stay loaded: the shell may leave work behind (a thread, a hidden
    // window) that still runs in them.
    return chosen;
}
