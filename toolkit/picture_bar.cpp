#include "toolkit/picture_bar.h"

#include <commctrl.h>
#include <prsht.h>

#include "framework/dc.h"

int CPictureBar::ItemHeight(int pictureWidth) { return pictureWidth + 30; }

BOOL CPictureBar::Create(HWND sheet, const RECT& rect, HBITMAP strip, int pictureWidth,
                         COLORREF transparent) {
    m_sheet = sheet;
    m_strip.Attach(strip);
    m_pictureWidth = pictureWidth;
    m_transparent = transparent;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                  LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (!CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", "", style, rect, sheet, kControlId)) return FALSE;
    SendMessage(LB_SETITEMHEIGHT, 0, ItemHeight(pictureWidth));
    // The sheet's dialog font for the captions.
    SendMessage(WM_SETFONT, ::SendMessageA(sheet, WM_GETFONT, 0, 0), FALSE);
    return TRUE;
}

void CPictureBar::AddItem(const std::string& caption) {
    SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
}

void CPictureBar::SetCurrent(int index) {
    if (SendMessage(LB_GETCURSEL) != index) SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index));
}

BOOL CPictureBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        int index = static_cast<int>(SendMessage(LB_GETCURSEL));
        if (index >= 0) ::SendMessageA(m_sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

void CPictureBar::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
    if (selected) {
        // A soft highlight behind the picture and caption.
        RECT band = rect;
        InflateRect(&band, -4, -2);
        HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
        FrameRect(dc, &band, brush);
        InflateRect(&band, -1, -1);
        FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
    }
    int width = rect.right - rect.left;
    int x = rect.left + (width - m_pictureWidth) / 2;
    int y = rect.top + 5;
    if (m_strip) {
        CMemoryDC source(dc);
        ScopedSelectObject keep(source, m_strip.Get());
        BITMAP bm{};
        GetObjectA(m_strip.Get(), sizeof bm, &bm);
        int height = bm.bmHeight < m_pictureWidth ? bm.bmHeight : m_pictureWidth;
        TransparentBlt(dc, x, y, m_pictureWidth, height, source,
                       static_cast<int>(item.itemID) * m_pictureWidth, 0, m_pictureWidth, height,
                       m_transparent);
    }
    char caption[256] = "";
    SendMessage(LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(caption));
    RECT textRect{rect.left + 2, y + m_pictureWidth + 2, rect.right - 2, rect.bottom - 2};
    int mode = SetBkMode(dc, TRANSPARENT);
    COLORREF color = ::SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, caption, -1, &textRect, DT_CENTER | DT_SINGLELINE | DT_TOP | DT_END_ELLIPSIS);
    ::SetTextColor(dc, color);
    SetBkMode(dc, mode);
    if ((item.itemState & ODS_FOCUS) && selected) {
        RECT focus = rect;
        InflateRect(&focus, -6, -4);
        DrawFocusRect(dc, &focus);
    }
}
