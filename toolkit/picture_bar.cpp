#include "toolkit/picture_bar.h"

#include <commctrl.h>
#include <prsht.h>

#include "framework/dc.h"
#include "framework/win_app.h"
#include "toolkit/contrast.h"
#include "toolkit/dpi.h"

using velmora::toolkit::DpiChangedMessage;
using velmora::toolkit::ScaleForDpi;

int CPictureBar::ItemHeight(int pictureWidth, UINT dpi) {
    return ScaleForDpi(pictureWidth + 30, dpi);
}

BOOL CPictureBar::Create(HWND sheet, const RECT& rect, std::vector<Strip> strips,
                         COLORREF transparent, UINT dpi) {
    m_sheet = sheet;
    m_strips = std::move(strips);
    m_transparent = transparent;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                  LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (!CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", "", style, rect, sheet, kControlId)) return FALSE;
    // The name a screen reader gives the bar.
    SetWindowText("Pages");
    SetDpi(dpi);
    return TRUE;
}

void CPictureBar::SetDpi(UINT dpi) {
    m_dpi = dpi;
    if (m_strips.empty()) return;
    const int base = m_strips.front().pictureWidth;
    m_pictureSize = ScaleForDpi(base, dpi);
    // The smallest strip drawn at least as large as needed, else the largest.
    const Strip* chosen = &m_strips.back();
    for (const Strip& strip : m_strips) {
        if (strip.pictureWidth >= m_pictureSize) {
            chosen = &strip;
            break;
        }
    }
    auto bitmap = static_cast<HBITMAP>(LoadImageA(AfxGetInstanceHandle(),
                                                  MAKEINTRESOURCEA(chosen->bitmapId),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap) {
        m_strip.Attach(bitmap);
        m_stripPicture = chosen->pictureWidth;
    }
    if (!m_hWnd) return;
    // The sheet's dialog font for the captions (remade for the new dpi).
    SendMessage(WM_SETFONT, ::SendMessageA(m_sheet, WM_GETFONT, 0, 0), FALSE);
    FitItems();
    Invalidate();
}

LRESULT CPictureBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DpiChangedMessage()) {
        SetDpi(static_cast<UINT>(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CPictureBar::AddItem(const std::string& caption) {
    SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    FitItems();
}

void CPictureBar::FitItems() {
    if (!m_hWnd || m_strips.empty()) return;
    int height = ItemHeight(m_strips.front().pictureWidth, m_dpi);
    const int count = static_cast<int>(SendMessage(LB_GETCOUNT));
    const RECT client = GetClientRect();
    // Dialog units and dots per inch do not grow alike (the dialog font is
    // chosen by the system): where the items at their full height would not
    // fit, they give up space between picture and caption, never the
    // picture or the caption's line.
    if (count > 0 && count * height > client.bottom) {
        CClientDC dc(m_hWnd);
        auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        ScopedSelectObject keep(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        const int least = m_pictureSize + metrics.tmHeight + ScaleForDpi(10, m_dpi);
        height = client.bottom / count > least ? client.bottom / count : least;
    }
    SendMessage(LB_SETITEMHEIGHT, 0, height);
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
    const bool contrast = velmora::toolkit::HighContrastOn();
    if (selected) {
        // A soft highlight behind the picture and caption; in high contrast
        // the theme's selection colours.
        RECT band = rect;
        InflateRect(&band, -ScaleForDpi(4, m_dpi), -ScaleForDpi(2, m_dpi));
        HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
        FrameRect(dc, &band, brush);
        InflateRect(&band, -1, -1);
        FillRect(dc, &band, GetSysColorBrush(contrast ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    }
    int width = rect.right - rect.left;
    int x = rect.left + (width - m_pictureSize) / 2;
    int y = rect.top + ScaleForDpi(5, m_dpi);
    if (m_strip) {
        CMemoryDC source(dc);
        ScopedSelectObject keep(source, m_strip.Get());
        BITMAP bm{};
        GetObjectA(m_strip.Get(), sizeof bm, &bm);
        int height = bm.bmHeight < m_stripPicture ? bm.bmHeight : m_stripPicture;
        // Drawn 1:1 where a strip was drawn for this scaling; between two
        // scalings the next larger strip is scaled down.
        TransparentBlt(dc, x, y, m_pictureSize, MulDiv(height, m_pictureSize, m_stripPicture),
                       source, static_cast<int>(item.itemID) * m_stripPicture, 0, m_stripPicture,
                       height, m_transparent);
    }
    char caption[256] = "";
    SendMessage(LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(caption));
    const int inset = ScaleForDpi(2, m_dpi);
    RECT textRect{rect.left + inset, y + m_pictureSize + inset, rect.right - inset,
                  rect.bottom - inset};
    int mode = SetBkMode(dc, TRANSPARENT);
    COLORREF color = ::SetTextColor(
        dc, GetSysColor(contrast && selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, caption, -1, &textRect, DT_CENTER | DT_SINGLELINE | DT_TOP | DT_END_ELLIPSIS);
    ::SetTextColor(dc, color);
    SetBkMode(dc, mode);
    // The focus shows on the current item while the bar has the keyboard.
    if ((item.itemState & ODS_FOCUS) && selected) {
        RECT focus = rect;
        InflateRect(&focus, -ScaleForDpi(6, m_dpi), -ScaleForDpi(4, m_dpi));
        DrawFocusRect(dc, &focus);
    }
}
