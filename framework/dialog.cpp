#include "framework/dialog.h"

#include "framework/win_app.h"

INT_PTR CDialog::DoModal() {
    m_modal = true;
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    INT_PTR result = DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                     parent, StartDialogProc, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return result;
}

BOOL CDialog::Create(HWND parent) {
    HWND hwnd = CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                   parent, StartDialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) return FALSE;
    m_ownsWindow = true;
    return TRUE;
}

BOOL CDialog::CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent) {
    HWND hwnd = CreateDialogIndirectParamA(AfxGetInstanceHandle(), dialogTemplate, parent,
                                           StartDialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) return FALSE;
    m_ownsWindow = true;
    return TRUE;
}

void CDialog::EndDialog(int result) {
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

BOOL CDialog::BindDialog(HWND hwnd) { return Attach(hwnd); }

INT_PTR CALLBACK CDialog::StartDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (!self || !self->BindDialog(hwnd)) return TRUE;
    // From now on the subclass sees the messages first; this one it is handed.
    return self->SendMessage(WM_INITDIALOG, 0, lParam);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        return Default();
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) return result;
        return Default();
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != 0) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDialog::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
