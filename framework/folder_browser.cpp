#include "framework/folder_browser.h"

#include <shlobj.h>

bool BrowseForFolder(HWND owner, const char* title, std::string& folder) {
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_DONTGOBELOWDOMAIN;
    LPITEMIDLIST item = SHBrowseForFolderA(&bi);
    if (!item) return false;
    char path[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(item, path)) path[0] = '\0';
    CoTaskMemFree(item);
    folder = path;
    return true;
}
