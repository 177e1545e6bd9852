#include "framework/property_page.h"

#include <commctrl.h>

#include "framework/win_app.h"

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId) {
    m_psp.dwSize = PROPSHEETPAGEA_V1_SIZE;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetInstanceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = PageDialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (captionId) {
        char text[256] = "";
        if (LoadStringA(m_psp.hInstance, captionId, text, sizeof text) > 0) {
            m_caption = text;
            m_psp.pszTitle = m_caption.c_str();
            m_psp.dwFlags |= PSP_USETITLE;
        }
    }
    CWinApp* app = AfxGetApp();
    if (app && app->HandlesHelp()) m_psp.dwFlags |= PSP_HASHELP;
}

std::string CPropertyPage::GetCaption() const {
    if (!m_caption.empty()) return m_caption;
    // The caption of a dialog template: after the style words, the menu and
    // the class (each 0x0000, 0xFFFF + ordinal, or a string) comes the title.
    HINSTANCE instance = m_psp.hInstance;
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5));
    if (!found) return "";
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(instance, found)));
    if (!words) return "";
    bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const WORD* p = words + (extended ? 13 : 9);
    for (int field = 0; field < 2; ++field) {  // menu, class
        if (*p == 0xFFFF)
            p += 2;
        else
            while (*p++) {
            }
    }
    std::string title;
    for (; *p; ++p) {
        char mb[4];
        int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(p), 1, mb,
                                    sizeof mb, nullptr, nullptr);
        title.append(mb, static_cast<size_t>(n > 0 ? n : 0));
    }
    return title;
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hwnd, UINT message, WPARAM,
                                               LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    // The sheet hands over its copy of our PROPSHEETPAGEA; lParam is the object.
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    auto* self = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
    if (!self || !self->BindDialog(hwnd)) return TRUE;
    return self->SendMessage(WM_INITDIALOG, 0, lParam);
}

BOOL CPropertyPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return FALSE;
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->hwndFrom != GetParent()) return CDialog::OnNotify(wParam, lParam, result);
    switch (header->code) {
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *result = 0;
        return TRUE;
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_HELP:
        if (CWinApp* app = AfxGetApp()) app->OnHelp();
        *result = 0;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }
BOOL CPropertyPage::OnSetActive() { return TRUE; }
BOOL CPropertyPage::OnKillActive() { return TRUE; }
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}
