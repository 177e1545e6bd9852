#include "savers/probe/settings_dialog.h"

#include "framework/win_app.h"
#include "savers/probe/probe_ids.h"

namespace {

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;  // the default button takes the focus
    case WM_COMMAND:
        // The caption's close box arrives as IDCANCEL.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool ShowSettingsDialog(HWND owner) {
    return DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                           SettingsDialogProc, 0) != -1;
}
