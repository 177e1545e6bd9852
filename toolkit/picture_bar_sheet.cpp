#include "toolkit/picture_bar_sheet.h"

#include <commctrl.h>

#include <vector>

#include "framework/win_app.h"

namespace {
constexpr int kMargin = 7;  // comctl32's own margin around the tab control

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Offset(HWND parent, HWND child, int dx, int dy) {
    RECT r = ChildRect(parent, child);
    SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

void CPictureBarSheet::SetPictureBar(int barWidth, UINT bitmapId, int pictureWidth,
                                     COLORREF transparent) {
    m_barWidth = barWidth;
    m_bitmapId = bitmapId;
    m_pictureWidth = pictureWidth;
    m_transparent = transparent;
}

BOOL CPictureBarSheet::OnInitDialog() {
    BOOL result = CPropertySheet::OnInitDialog();
    if (m_barWidth > 0) Relayout();
    return result;
}

void CPictureBarSheet::Relayout() {
    HWND tab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
    if (!tab) return;
    RECT tabRect = ChildRect(m_hWnd, tab);
    // The height of the tab row: where the page area starts inside the tab.
    RECT display = {0, 0, tabRect.right - tabRect.left, tabRect.bottom - tabRect.top};
    TabCtrl_AdjustRect(tab, FALSE, &display);
    int rowHeight = display.top > kMargin ? display.top - kMargin : 0;

    // Every child but the tab moves right by the bar and up by the tab row;
    // the tab moves right and up too, so comctl32 places later pages with it.
    int dx = m_barWidth + kMargin;
    std::vector<HWND> children;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) Offset(m_hWnd, child, dx, -rowHeight);
    ::ShowWindow(tab, SW_HIDE);

    RECT window = GetWindowRect();
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + dx,
                 window.bottom - window.top - rowHeight, SWP_NOMOVE | SWP_NOZORDER);

    RECT page = display;
    OffsetRect(&page, tabRect.left + dx, tabRect.top - rowHeight);
    RECT barRect{kMargin, page.top, kMargin + m_barWidth, page.bottom};
    auto strip = static_cast<HBITMAP>(LoadImageA(AfxGetInstanceHandle(),
                                                 MAKEINTRESOURCEA(m_bitmapId), IMAGE_BITMAP, 0,
                                                 0, LR_CREATEDIBSECTION));
    m_bar = std::make_unique<CPictureBar>();
    if (!m_bar->Create(m_hWnd, barRect, strip, m_pictureWidth, m_transparent)) {
        m_bar.reset();
        return;
    }
    for (CPropertyPage* p : m_pages) m_bar->AddItem(p->GetCaption());
    m_bar->SetCurrent(GetActiveIndex());
    m_tabFollower.SubclassWindow(tab);
    // Tab order: the bar first, before the page.
    SetWindowPos(m_bar->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CPictureBarSheet::CTabFollower::WindowProc(UINT message, WPARAM wParam, LPARAM) {
    LRESULT result = Default();
    if (message == TCM_SETCURSEL && m_sheet.m_bar)
        m_sheet.m_bar->SetCurrent(static_cast<int>(wParam));
    return result;
}

LRESULT CPictureBarSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
    // PropertySheetA's modal loop sees that the sheet has ended only when
    // GetMessage returns, and a message sent from another thread (a button
    // pressed by a test or an accessibility tool) is handled inside GetMessage
    // without making it return: a posted no-op lets the loop end at once.
    if ((message == PSM_PRESSBUTTON ||
         (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))) &&
        InSendMessage() && ::IsWindow(m_hWnd))
        PostMessage(WM_NULL);
    // After a page change was asked for, the bar shows the page the sheet
    // really has: one that refused to be left keeps a click on the bar from
    // sticking (the tab control, and so its follower, saw no change then).
    if (m_bar && (message == PSM_SETCURSEL || message == PSM_SETCURSELID ||
                  (message == WM_NOTIFY && lParam &&
                   reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE)))
        m_bar->SetCurrent(GetActiveIndex());
    return result;
}
