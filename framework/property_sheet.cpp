#include "framework/property_sheet.h"

#include <commctrl.h>

#include <cstring>

#include "framework/win_app.h"

namespace {
// PropertySheetA's callback carries no user data: the sheet being created on
// this thread is noted here for the moment of its creation.
thread_local CPropertySheet* t_creating = nullptr;
}  // namespace

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent, UINT selectPage)
    : m_caption(caption ? caption : ""), m_pParentWnd(parent) {
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.hInstance = AfxGetInstanceHandle();
    m_psh.nStartPage = selectPage;
    CWinApp* app = AfxGetApp();
    if (app && app->HandlesHelp()) m_psh.dwFlags |= PSH_HASHELP;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (page) m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd) return static_cast<int>(m_psh.nStartPage);
    HWND current = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<size_t>(i)]->m_hWnd == current) return i;
    return -1;
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(index);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

void CPropertySheet::BuildHeader(bool modeless, HWND parent) {
    m_pageBlocks.assign(m_pages.size() * PROPSHEETPAGEA_V1_SIZE, 0);
    BYTE* block = m_pageBlocks.data();
    for (CPropertyPage* page : m_pages) {
        memcpy(block, &page->m_psp, PROPSHEETPAGEA_V1_SIZE);
        block += PROPSHEETPAGEA_V1_SIZE;
    }
    m_psh.hwndParent = parent;
    m_psh.pszCaption = m_caption.c_str();
    m_psh.nPages = static_cast<UINT>(m_pages.size());
    m_psh.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(m_pageBlocks.data());
    m_psh.pfnCallback = SheetCallback;
    if (modeless)
        m_psh.dwFlags |= PSH_MODELESS;
    else
        m_psh.dwFlags &= ~PSH_MODELESS;
}

INT_PTR CPropertySheet::DoModal() {
    BuildHeader(false, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    CPropertySheet* outer = t_creating;
    t_creating = this;
    INT_PTR result = PropertySheetA(&m_psh);
    t_creating = outer;
    return result;
}

BOOL CPropertySheet::Create(HWND parent) {
    BuildHeader(true, parent);
    CPropertySheet* outer = t_creating;
    t_creating = this;
    INT_PTR result = PropertySheetA(&m_psh);
    t_creating = outer;
    if (result == 0 || result == -1) return FALSE;
    m_ownsWindow = true;
    return TRUE;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT message, LPARAM lParam) {
    CPropertySheet* self = t_creating;
    if (!self) return 0;
    if (message == PSCB_PRECREATE) {
        self->OnPreCreate(reinterpret_cast<DLGTEMPLATE*>(lParam));
    } else if (message == PSCB_INITIALIZED) {
        t_creating = nullptr;  // pages created later must not find us here
        if (self->Attach(hwnd)) self->OnInitDialog();
    }
    return 0;
}

void CPropertySheet::OnPreCreate(DLGTEMPLATE*) {}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == ID_HELP && HIWORD(wParam) == 0) {
        if (CWinApp* app = AfxGetApp()) app->OnHelp();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
