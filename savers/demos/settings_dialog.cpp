#include "savers/demos/settings_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "framework/win_app.h"
#include "savers/demos/demo_ids.h"
#include "savers/demos/demo_settings.h"

INT_PTR CSettingsDialog::DoModal(HWND owner) {
    // The trackbar class lives in the common controls, registered on demand.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    return DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CSettingsDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<CSettingsDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CSettingsDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
    }
    if (!self) return FALSE;
    INT_PTR result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CSettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_HSCROLL:
        ShowValue();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            SaveDemoSetting(m_kind, Position());
            EndDialog(m_hWnd, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(m_hWnd, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

void CSettingsDialog::OnInitDialog() {
    HWND bar = GetDlgItem(m_hWnd, IDC_SETTING);
    SendMessageA(bar, TBM_SETRANGE, FALSE, MAKELPARAM(m_kind.minimum, m_kind.maximum));
    SendMessageA(bar, TBM_SETPAGESIZE, 0, 1);
    SendMessageA(bar, TBM_SETPOS, TRUE, LoadDemoSetting(m_kind));
    ShowValue();
}

int CSettingsDialog::Position() const {
    return static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_SETTING, TBM_GETPOS, 0, 0));
}

void CSettingsDialog::ShowValue() {
    char text[64];
    std::snprintf(text, sizeof text, m_kind.valueFormat, Position());
    SetDlgItemTextA(m_hWnd, IDC_SETTING_VALUE, text);
}
