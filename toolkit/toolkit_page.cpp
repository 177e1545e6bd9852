#include "toolkit/toolkit_page.h"

#include <commctrl.h>

#include "framework/dc.h"
#include "framework/gdi.h"
#include "toolkit/dpi.h"
#include "toolkit/toolkit_manager.h"
#include "toolkit/visual_style.h"

BOOL CToolkitPage::OnInitDialog() {
    m_dpi = velmora::toolkit::WindowDpi(m_hWnd);
    BOOL result = CPropertyPage::OnInitDialog();
    CToolkitManager* manager = CToolkitManager::Get();
    if (manager && manager->DrawThemed()) CVisualStyle::Instance().EnableDialogTexture(m_hWnd);
    return result;
}

namespace {

bool IsTextLabel(HWND hwnd) {
    const LONG type = GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK;
    return IsWindowOfClass(hwnd, "Static") &&
           (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
}

// Visible in the page, whether or not the page shows yet.
bool Shown(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

bool IsGroupBox(HWND hwnd) {
    return IsWindowOfClass(hwnd, "Button") &&
           (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The height a label's text needs at a width, in the font it draws with.
int NeededHeight(HWND label, int width) {
    char text[1024] = "";
    GetWindowTextA(label, text, sizeof text);
    CClientDC dc(label);
    auto font = static_cast<HFONT>(GetPropA(label, CToolkitPage::kDrawingFontProperty));
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    ScopedSelectObject keep(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT need{0, 0, width, 0};
    UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
    if (GetWindowLongA(label, GWL_STYLE) & SS_NOPREFIX) format |= DT_NOPREFIX;
    DrawTextA(dc, text, -1, &need, format);
    return need.bottom;
}

// Whether rect, where label would stand, keeps inside the page and clear of
// every other visible control but the group boxes around the label and
// empty labels (which give way).
bool RoomFor(HWND page, HWND label, const RECT& rect) {
    RECT client{};
    GetClientRect(page, &client);
    if (rect.right > client.right || rect.bottom > client.bottom) return false;
    const RECT now = RectInParent(page, label);
    for (HWND other = GetWindow(page, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == label || !Shown(other)) continue;
        const RECT r = RectInParent(page, other);
        RECT overlap{};
        if (!IntersectRect(&overlap, &r, &rect)) continue;
        if (IsGroupBox(other) && IntersectRect(&overlap, &r, &now) && EqualRect(&overlap, &now))
            continue;
        if (IsTextLabel(other) && GetWindowTextLengthA(other) == 0) continue;
        return false;
    }
    return true;
}

// Empty labels under rect step down out of its way.
void MakeWay(HWND page, HWND label, const RECT& rect) {
    for (HWND other = GetWindow(page, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == label || !IsTextLabel(other) || GetWindowTextLengthA(other) != 0) continue;
        RECT r = RectInParent(page, other), overlap{};
        if (!IntersectRect(&overlap, &r, &rect)) continue;
        r.top = rect.bottom < r.bottom ? rect.bottom : r.bottom;
        SetWindowPos(other, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

void CToolkitPage::FitTexts() {
    // The template sizes a label in dialog units, which follow the dialog
    // font's average character; a text's own extent does not grow quite
    // alike at every scaling (hinting, a substituted face, a label with a
    // font of its own), and a wrapped line more is cut off. Such a label
    // grows downwards where nothing stands, else sideways; one that holds
    // its text keeps the template's size.
    for (HWND label = GetWindow(m_hWnd, GW_CHILD); label; label = GetWindow(label, GW_HWNDNEXT)) {
        if (!IsTextLabel(label) || !Shown(label) || GetWindowTextLengthA(label) == 0)
            continue;
        const RECT now = RectInParent(m_hWnd, label);
        const int width = now.right - now.left;
        if (NeededHeight(label, width) <= now.bottom - now.top) continue;
        RECT taller = now;
        taller.bottom = now.top + NeededHeight(label, width);
        RECT chosen{};
        if (RoomFor(m_hWnd, label, taller)) {
            chosen = taller;
        } else {
            const int step = velmora::toolkit::ScaleForDpi(4, m_dpi);
            for (RECT wider = now; wider.right - wider.left < 2 * width; wider.right += step) {
                if (!RoomFor(m_hWnd, label, wider)) break;
                if (NeededHeight(label, wider.right - wider.left) <= now.bottom - now.top) {
                    chosen = wider;
                    break;
                }
            }
        }
        if (IsRectEmpty(&chosen)) continue;
        MakeWay(m_hWnd, label, chosen);
        SetWindowPos(label, nullptr, chosen.left, chosen.top, chosen.right - chosen.left,
                     chosen.bottom - chosen.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CToolkitPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Once the page has set its labels' fonts and texts, just before it shows.
    if (message == WM_SHOWWINDOW && wParam && !m_bTextsFitted) {
        m_bTextsFitted = true;
        FitTexts();
    }
    if (message == velmora::toolkit::DpiChangedMessage()) {
        const auto dpi = static_cast<UINT>(wParam);
        if (dpi && dpi != m_dpi) {
            const UINT from = m_dpi;
            m_dpi = dpi;
            OnDpiChanged(from, dpi);
            FitTexts();
        }
        return 0;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

void CToolkitPage::OnDpiChanged(UINT from, UINT to) {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowOfClass(child, WC_LISTVIEWA)) continue;
        HWND header = reinterpret_cast<HWND>(::SendMessageA(child, LVM_GETHEADER, 0, 0));
        const int columns = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
        for (int i = 0; i < columns; ++i) {
            const int width = static_cast<int>(::SendMessageA(child, LVM_GETCOLUMNWIDTH, i, 0));
            ::SendMessageA(child, LVM_SETCOLUMNWIDTH, i,
                           MAKELPARAM(MulDiv(width, static_cast<int>(to), static_cast<int>(from)), 0));
        }
    }
}
