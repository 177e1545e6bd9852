#include "toolkit/link_button.h"

#include <commctrl.h>
#include <shellapi.h>

#include "toolkit/contrast.h"
#include "toolkit/toolkit_manager.h"
#include "toolkit/visual_style.h"

void CLinkButton::PreSubclassWindow() {
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate();
}

void CLinkButton::SetDrawFocusRect(BOOL draw) {
    m_bDrawFocusRect = draw;
    if (m_hWnd) Invalidate();
}

HFONT CLinkButton::UnderlinedFont() {
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!m_underlined || m_underlinedFrom != font) {
        LOGFONTA lf{};
        GetObjectA(font, sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        m_underlined.Attach(CreateFontIndirectA(&lf));
        m_underlinedFrom = font;
    }
    return m_underlined ? m_underlined.Get() : font;
}

void CLinkButton::SizeToContent() {
    if (!m_hWnd) return;
    std::string text = GetWindowText();
    SIZE size{};
    {
        CClientDC dc(m_hWnd);
        ScopedSelectObject font(dc, UnderlinedFont());
        // DT_CALCRECT measures as drawing does, mnemonic prefixes included.
        RECT r{0, 0, 0, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_SINGLELINE | DT_CALCRECT);
        size = {r.right - r.left, r.bottom - r.top};
    }
    SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx + 2 * kMargin, size.cy + 2 * kMargin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CLinkButton::Open() {
    if (m_url.empty()) return;
    // What the shell answers is not examined: it shows its own errors.
    ShellExecuteA(GetParent(), nullptr, m_url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    m_bVisited = true;
    Invalidate();
}

LRESULT CLinkButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_SETSTYLE:
        // The dialog manager moves the default-button look with BM_SETSTYLE:
        // stay owner-drawn.
        return DefSubclassProc(m_hWnd, message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
    case WM_GETDLGCODE:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
        m_bKeyboardFocus = GetKeyState(VK_TAB) < 0 || GetKeyState(VK_LEFT) < 0 ||
                           GetKeyState(VK_RIGHT) < 0 || GetKeyState(VK_UP) < 0 ||
                           GetKeyState(VK_DOWN) < 0;
        break;
    case WM_KILLFOCUS:
        m_bKeyboardFocus = false;
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CLinkButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) Open();
    return FALSE;  // the parent sees the click too
}

void CLinkButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    CToolkitManager* manager = CToolkitManager::Get();
    const bool contrast = velmora::toolkit::HighContrastOn();
    bool themed = manager && manager->DrawThemed() && !contrast;
    // The link has no face of its own: it shows what lies under it.
    if (!themed || !CVisualStyle::Instance().DrawParentBackground(m_hWnd, dc, rect))
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));

    std::string text = GetWindowText();
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ScopedSelectObject font(dc, UnderlinedFont());
    int mode = SetBkMode(dc, TRANSPARENT);
    // High contrast has one colour for links, visited or not.
    COLORREF color = SetTextColor(
        dc, disabled     ? GetSysColor(COLOR_GRAYTEXT)
            : contrast   ? GetSysColor(COLOR_HOTLIGHT)
            : m_bVisited ? kVisitedColor
                         : kLinkColor);
    RECT textRect = rect;
    InflateRect(&textRect, -kMargin, -kMargin);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_LEFT | DT_TOP);
    SetTextColor(dc, color);
    SetBkMode(dc, mode);
    if ((m_bDrawFocusRect || m_bKeyboardFocus) && (item.itemState & ODS_FOCUS) &&
        !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &rect);
}
