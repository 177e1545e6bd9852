#include "config/controls/styled_label.h"

#include <shellapi.h>

#include <climits>
#include <optional>

#include "config/controls/gradient_bands.h"
#include "config/controls/label_text_format.h"
#include "config/controls/point_size.h"
#include "framework/dc.h"
#include "toolkit/contrast.h"
#include "toolkit/dpi.h"
#include "toolkit/toolkit_page.h"

namespace {

RgbColor ToRgb(COLORREF color) {
    return RgbColor{GetRValue(color), GetGValue(color), GetBValue(color)};
}

// Copies a face name into a LOGFONT, cut to the 31 characters its field
// holds before the terminating zero.
void CopyFaceName(LOGFONTA& lf, const char* face) {
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
}

}  // namespace

CStyledLabel::CStyledLabel() : m_crText(GetSysColor(COLOR_WINDOWTEXT)) {
    m_brDefault.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

// The font and both brushes go with their owners (the members); the timer
// ends with the window.
CStyledLabel::~CStyledLabel() = default;

CStyledLabel& CStyledLabel::SetBackground(COLORREF color, COLORREF gradientEnd, BOOL gradient) {
    m_crBackground = color;
    m_crGradientEnd = gradientEnd;
    m_bGradient = gradient;
    // Never more than one custom brush: the old one goes before a new one is
    // made, and a gradient paints its bands with brushes of its own.
    m_brCustom.Reset();
    if (!gradient) m_brCustom.CreateSolidBrush(color);
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetTextColor(COLORREF color) {
    m_crText = color;
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetText(const std::string& text) {
    if (IsWindow()) {
        SetWindowText(text.c_str());
        Refresh();
    }
    return *this;
}

CStyledLabel& CStyledLabel::SetFontBold(BOOL bold) {
    m_lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetFontName(const std::string& faceName, BYTE charSet) {
    CopyFaceName(m_lf, faceName.c_str());
    m_lf.lfCharSet = charSet;
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetFontUnderline(BOOL underline) {
    m_lf.lfUnderline = static_cast<BYTE>(underline & 0xFF);
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetFontItalic(BOOL italic) {
    m_lf.lfItalic = static_cast<BYTE>(italic & 0xFF);
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetFontPointSize(int points) {
    // A font of the current face at that size for the screen; its height and
    // width as GDI reports them go into the description.
    LOGFONTA sized{};
    CopyFaceName(sized, m_lf.lfFaceName);
    sized.lfCharSet = DEFAULT_CHARSET;
    // Points at the dpi of the monitor the label is on.
    m_points = points;
    m_dpi = velmora::toolkit::WindowDpi(IsWindow() ? m_hWnd : nullptr);
    sized.lfHeight = FontHeightForPoints(points, static_cast<int>(m_dpi));
    CFont temporary;
    temporary.CreateFontIndirect(sized);
    LOGFONTA made{};
    if (temporary && GetObjectA(temporary, sizeof made, &made) == sizeof made) sized = made;
    m_lf.lfHeight = sized.lfHeight;
    m_lf.lfWidth = sized.lfWidth;
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetStaticEdge(BOOL edge) {
    if (edge)
        ModifyStyleEx(0, WS_EX_STATICEDGE, SWP_DRAWFRAME);
    else
        ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_DRAWFRAME);
    return *this;
}

CStyledLabel& CStyledLabel::SetBorder(BOOL border) {
    if (border)
        ModifyStyle(0, WS_BORDER, SWP_DRAWFRAME);
    else
        ModifyStyle(WS_BORDER, 0, SWP_DRAWFRAME);
    return *this;
}

CStyledLabel& CStyledLabel::SetTransparent(BOOL transparent) {
    m_bTransparent = transparent;
    // WS_EX_TRANSPARENT makes the parent paint before the label, so the label
    // can draw its text over the parent's own picture. It stays once given.
    ModifyStyleEx(0, WS_EX_TRANSPARENT);
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetTextBlink(BOOL blink) {
    StartBlink(blink, kTextBlink);
    if (!blink) m_nBlinkKind = kNoBlink;
    return *this;
}

// A blinking background keeps the timer running and the control repainting
// every half second, but the paint itself looks the same in both phases: only
// blinking text has a hidden phase.
CStyledLabel& CStyledLabel::SetBackgroundBlink(BOOL blink) {
    StartBlink(blink, kBackgroundBlink);
    return *this;
}

void CStyledLabel::StartBlink(BOOL blink, int kind) {
    if (m_bBlinkTimerStarted) KillTimer(m_hWnd, kBlinkTimerId);
    if (!blink) return;
    m_bBlinkShown = FALSE;
    m_bBlinkTimerStarted = TRUE;
    // SetTimer with no window would make a thread timer under another
    // identifier that KillTimer(nullptr, 1) never stops.
    if (m_hWnd) SetTimer(m_hWnd, kBlinkTimerId, kBlinkPeriodMs, nullptr);
    m_nBlinkKind = kind;
}

CStyledLabel& CStyledLabel::SetWebLink(BOOL link, BOOL notifyParent) {
    m_nLinkKind = link ? kWebLink : kNoLink;
    m_bNotifyParent = notifyParent;
    // A static control without SS_NOTIFY answers HTTRANSPARENT to hit tests
    // and so never sees the mouse.
    if (m_nLinkKind != kNoLink)
        ModifyStyle(0, SS_NOTIFY);
    else
        ModifyStyle(SS_NOTIFY, 0);
    return *this;
}

CStyledLabel& CStyledLabel::SetHoverCursor(HCURSOR cursor) {
    m_hHoverCursor = cursor;
    return *this;
}

CStyledLabel& CStyledLabel::SetEmbossed(BOOL emboss, BOOL downRight) {
    m_bEmboss = emboss;
    m_bEmbossDownRight = downRight;
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetRotation(int degrees, BOOL rotated) {
    // Tenths of a degree, counter-clockwise. An angle whose tenths do not fit
    // a LONG is reduced by whole turns, which points the text the same way.
    long long tenths = degrees * 10LL;
    if (tenths > INT_MAX || tenths < INT_MIN) tenths %= 3600;
    m_lf.lfEscapement = static_cast<LONG>(tenths);
    m_lf.lfOrientation = static_cast<LONG>(tenths);
    m_bRotated = rotated;
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetEmbossColor(COLORREF color) {
    m_crEmboss = color;
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetLogFont(LOGFONTA font) {
    m_lf = font;
    m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';  // a caller's face may lack its zero
    RemakeFont();
    Refresh();
    return *this;
}

CStyledLabel& CStyledLabel::SetMailLink(BOOL link, BOOL notifyParent) {
    m_nLinkKind = link ? kMailLink : kNoLink;
    m_bNotifyParent = notifyParent;
    if (m_nLinkKind != kNoLink)
        ModifyStyle(0, SS_NOTIFY);
    else
        ModifyStyle(SS_NOTIFY, 0);
    return *this;
}

CStyledLabel& CStyledLabel::SetLinkTarget(const std::string& target) {
    m_strLinkTarget = target;
    return *this;
}

void CStyledLabel::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    m_dpi = velmora::toolkit::WindowDpi(m_hWnd);
    // A dialog gives each item its font with WM_SETFONT; an item without one
    // draws in the system font.
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA lf{};
    if (GetObjectA(font, sizeof lf, &lf) == sizeof lf) m_lf = lf;
    RemakeFont();
}

void CStyledLabel::RemakeFont() {
    m_font.Reset();
    m_font.CreateFontIndirect(m_lf);
    // The page measures the label's text in the font it is drawn in.
    if (IsWindow()) {
        if (m_font)
            SetPropA(m_hWnd, CToolkitPage::kDrawingFontProperty, m_font.Get());
        else
            RemovePropA(m_hWnd, CToolkitPage::kDrawingFontProperty);
    }
}

void CStyledLabel::Refresh() {
    // Without a window every one of these calls would reach the desktop
    // instead (a null window means the desktop to RedrawWindow and all
    // windows to InvalidateRect).
    if (!IsWindow()) return;
    RECT rect = GetWindowRect();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HWND parent = GetParent();
    if (!parent) return;
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(parent, &rect, TRUE);
    UpdateWindow(parent);
}

LRESULT CStyledLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // The paint covers the whole client area from an off-screen bitmap;
        // erasing first would only flicker.
        return TRUE;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        return Default();
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        return 0;
    case WM_NCDESTROY:
        RemovePropA(m_hWnd, CToolkitPage::kDrawingFontProperty);
        return CStatic::WindowProc(message, wParam, lParam);
    default:
        if (message == velmora::toolkit::DpiChangedMessage()) {
            OnDpiChanged(static_cast<UINT>(wParam));
            return 0;
        }
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

void CStyledLabel::OnTimer(UINT_PTR) {
    m_bBlinkShown = !m_bBlinkShown;
    Refresh();
    Default();
}

void CStyledLabel::OnLButtonDown() {
    if (m_bNotifyParent) {
        NMHDR header{};
        header.hwndFrom = m_hWnd;
        header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        header.code = LN_CLICKED;
        ::SendMessageA(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    } else if (m_nLinkKind == kWebLink) {
        std::string address = m_strLinkTarget.empty() ? GetWindowText() : m_strLinkTarget;
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (m_nLinkKind == kMailLink) {
        // A mail link always writes to the address it shows.
        std::string address = "mailto:" + GetWindowText();
        ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    // The shell gives no useful failure here that the user could act on.
    Default();
}

BOOL CStyledLabel::OnSetCursor() {
    if (!m_hHoverCursor) return FALSE;
    SetCursor(m_hHoverCursor);
    return TRUE;
}

void CStyledLabel::OnDpiChanged(UINT dpi) {
    if (dpi == 0 || dpi == m_dpi) return;
    if (m_points) {
        SetFontPointSize(m_points);
        return;
    }
    // The dialog's font, scaled as the dialog scales it.
    m_lf.lfHeight = MulDiv(m_lf.lfHeight, static_cast<int>(dpi), static_cast<int>(m_dpi));
    m_lf.lfWidth = MulDiv(m_lf.lfWidth, static_cast<int>(dpi), static_cast<int>(m_dpi));
    m_dpi = dpi;
    RemakeFont();
    Refresh();
}

void CStyledLabel::OnSysColorChange() {
    m_brDefault.Reset();
    m_brDefault.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    Refresh();
}

void CStyledLabel::FillGradient(HDC dc, const RECT& rect) const {
    // With the null pen Rectangle fills only the interior, one pixel short on
    // the right and at the bottom: each band is drawn one pixel wider so the
    // bands meet, and one pixel taller so the bottom row of the control is
    // painted too (the off-screen bitmap starts black).
    ScopedSelectObject noOutline(dc, GetStockObject(NULL_PEN));
    for (const GradientBand& band : GradientBands(rect.left, rect.right, ToRgb(m_crBackground),
                                                   ToRgb(m_crGradientEnd))) {
        CBrush brush;
        brush.CreateSolidBrush(RGB(band.r, band.g, band.b));
        ScopedSelectObject selected(dc, brush);
        Rectangle(dc, band.left, rect.top, band.right + 1, rect.bottom + 1);
    }
}

void CStyledLabel::OnPaint() {
    CPaintDC paint(m_hWnd);
    RECT client = GetClientRect();
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    std::string text = GetWindowText();

    // An opaque label is composed off screen and copied in one step, so a
    // blinking or often refreshed label does not flicker.
    std::optional<CMemoryDC> memory;
    CBitmap bitmap;
    HGDIOBJ previousBitmap = nullptr;
    HDC dc = paint;
    if (!m_bTransparent) {
        memory.emplace(paint);
        bitmap.CreateCompatibleBitmap(paint, width, height);
        previousBitmap = SelectObject(*memory, bitmap);
        dc = *memory;
    }

    // In high contrast the label takes the theme's colours: dialog text on
    // the dialog face, links in the link colour; no gradient, no emboss.
    const bool contrast = velmora::toolkit::HighContrastOn();
    const COLORREF textColor =
        !contrast ? m_crText : GetSysColor(m_nLinkKind != kNoLink ? COLOR_HOTLIGHT : COLOR_BTNTEXT);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColor = ::SetTextColor(dc, textColor);
    HGDIOBJ previousFont = m_font ? SelectObject(dc, m_font) : nullptr;

    if (!m_bTransparent && contrast) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    } else if (!m_bTransparent) {
        if (m_bGradient)
            FillGradient(dc, client);
        else
            FillRect(dc, &client, m_brCustom ? m_brCustom.Get() : m_brDefault.Get());
    }

    // Hidden phase of blinking text: the text takes the background colour,
    // black when there is no custom background brush.
    if (!m_bBlinkShown && m_nBlinkKind == kTextBlink) {
        LOGBRUSH brush{};
        if (m_brCustom) GetObjectA(m_brCustom, sizeof brush, &brush);
        ::SetTextColor(dc, contrast ? GetSysColor(COLOR_BTNFACE) : brush.lbColor);
    }

    UINT format = LabelTextFormat(GetStyle(), text);
    if (m_bRotated) {
        // The rotated font turns about the text's reference point, so the
        // text is drawn centred on its baseline at the middle of the control.
        UINT previousAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
        POINT previousOrigin{};
        SetViewportOrgEx(dc, width / 2, height / 2, &previousOrigin);
        TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
        SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
        SetTextAlign(dc, previousAlign);
    } else {
        RECT area = client;
        DrawTextA(dc, text.c_str(), -1, &area, format);
        if (m_bEmboss && !contrast) {
            ::SetTextColor(dc, m_crEmboss);
            int shift = m_bEmbossDownRight ? 1 : -1;
            area = client;
            OffsetRect(&area, shift, shift);
            DrawTextA(dc, text.c_str(), -1, &area, format);
        }
    }

    SetBkMode(dc, previousMode);
    if (previousFont) SelectObject(dc, previousFont);
    ::SetTextColor(dc, previousColor);

    if (memory) {
        BitBlt(paint, 0, 0, width, height, *memory, 0, 0, SRCCOPY);
        SelectObject(*memory, previousBitmap);
    }
}
