#include "config/additional_path_list.h"

#include <windows.h>

#include "framework/folder_browser.h"
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

    std::string path;
    if (!BrowseForFolder(m_hWnd, "Select path to add", path) || path.empty()) return;

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
