#include "config/additional_path_list.h"

#include <windows.h>
#include <shlobj.h>

#include "framework/win_app.h"
#include "settings/settings_names.h"

namespace {
// Set for the run of the program; the restart warning clears it.
bool g_restartWarningPending = true;

constexpr char kRestartWarning[] =
    "You must close and restart the program\n"
    "for update the available screensaver list\n"
    "with new screensavers coming from additional paths.";
}  // namespace

void CAdditionalPathList::OnBrowse() {
    int selected = GetSelectedIndex();

    BROWSEINFOA bi{};
    bi.hwndOwner = m_hWnd;
    bi.lpszTitle = "Select path to add";
    bi.ulFlags = BIF_DONTGOBELOWDOMAIN;
    LPITEMIDLIST item = SHBrowseForFolderA(&bi);
    if (!item) return;
    char path[velmora_settings::kPathBuffer] = "";
    // Items outside the file system (the printers, say) have no path.
    if (!SHGetPathFromIDListA(item, path)) path[0] = '\0';
    CoTaskMemFree(item);
    if (!path[0]) return;

    if (selected >= 0) {
        SetItemText(selected, path);
        return;
    }
    // As the shell returned it; saving adds the backslash and lowers it.
    AddItem(path);
    if (g_restartWarningPending) {
        g_restartWarningPending = false;
        CWinApp* app = AfxGetApp();
        HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
        MessageBoxA(owner, kRestartWarning, "Warning", MB_ICONINFORMATION | MB_OK);
    }
}
