#pragma once
#include <windows.h>

#include <string>

#include "framework/gdi.h"
#include "framework/static.h"

// The notification code a link label sends its parent in WM_NOTIFY when the
// notify flag is set and the user clicks it.
constexpr UINT LN_CLICKED = WM_APP + 0x200;

// A static text control that paints itself: text and background colours
// (solid or a left-to-right gradient), its own font, a transparent mode, an
// embossed second pass, rotated text, blinking, a frame, and link behaviour
// (a click opens a web or mail address through the shell, or notifies the
// parent). It takes over a dialog item; the setters chain:
//     m_note.SetTextColor(RGB(255, 0, 0)).SetFontBold(TRUE);
// Setters that remake the font or repaint belong after the binding (in the
// page's OnInitDialog): the font description comes from the item at binding.
class CStyledLabel : public CStatic {
public:
    CStyledLabel();
    ~CStyledLabel() override;

    virtual CStyledLabel& SetBackground(COLORREF color, COLORREF gradientEnd = 0,
                                        BOOL gradient = FALSE);
    virtual CStyledLabel& SetTextColor(COLORREF color);
    virtual CStyledLabel& SetText(const std::string& text);
    virtual CStyledLabel& SetFontBold(BOOL bold);
    virtual CStyledLabel& SetFontName(const std::string& faceName, BYTE charSet = ANSI_CHARSET);
    virtual CStyledLabel& SetFontUnderline(BOOL underline);
    virtual CStyledLabel& SetFontItalic(BOOL italic);
    virtual CStyledLabel& SetFontPointSize(int points);
    virtual CStyledLabel& SetStaticEdge(BOOL edge);
    virtual CStyledLabel& SetBorder(BOOL border);
    virtual CStyledLabel& SetTransparent(BOOL transparent);
    virtual CStyledLabel& SetTextBlink(BOOL blink);
    virtual CStyledLabel& SetBackgroundBlink(BOOL blink);
    virtual CStyledLabel& SetWebLink(BOOL link, BOOL notifyParent = FALSE);
    virtual CStyledLabel& SetHoverCursor(HCURSOR cursor);
    virtual CStyledLabel& SetEmbossed(BOOL emboss, BOOL downRight = TRUE);
    virtual CStyledLabel& SetRotation(int degrees, BOOL rotated = TRUE);
    virtual CStyledLabel& SetEmbossColor(COLORREF color);
    virtual CStyledLabel& SetLogFont(LOGFONTA font);
    virtual CStyledLabel& SetMailLink(BOOL link, BOOL notifyParent = FALSE);
    virtual CStyledLabel& SetLinkTarget(const std::string& target);

    // The font the text is drawn in, and the description it was made from.
    HFONT GetFont() const { return m_font.Get(); }
    const LOGFONTA& GetLogFont() const { return m_lf; }

    // The blink timer's identifier and period.
    static constexpr UINT_PTR kBlinkTimerId = 1;
    static constexpr UINT kBlinkPeriodMs = 500;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown();
    BOOL OnSetCursor();
    void OnSysColorChange();
    void OnDpiChanged(UINT dpi);

private:
    enum LinkKind { kNoLink = 0, kWebLink = 1, kMailLink = 2 };
    enum BlinkKind { kNoBlink = 0, kTextBlink = 1, kBackgroundBlink = 2 };

    // Repaints the control now, and the parent's area under it (which a
    // transparent label shows through).
    void Refresh();
    void RemakeFont();
    void FillGradient(HDC dc, const RECT& rect) const;
    void StartBlink(BOOL blink, int kind);

    COLORREF m_crText;
    COLORREF m_crEmboss = RGB(255, 255, 255);
    CBrush m_brDefault;
    CBrush m_brCustom;
    LOGFONTA m_lf{};
    CFont m_font;
    BOOL m_bBlinkShown = FALSE;
    BOOL m_bBlinkTimerStarted = FALSE;
    int m_nLinkKind = kNoLink;
    BOOL m_bTransparent = FALSE;
    BOOL m_bEmboss = FALSE;
    BOOL m_bNotifyParent = FALSE;
    BOOL m_bRotated = FALSE;
    int m_nBlinkKind = kNoBlink;
    HCURSOR m_hHoverCursor = nullptr;  // the caller's; never destroyed here
    BOOL m_bEmbossDownRight = FALSE;
    BOOL m_bGradient = FALSE;
    COLORREF m_crGradientEnd = 0;
    COLORREF m_crBackground = 0;
    std::string m_strLinkTarget;
    int m_points = 0;   // the size asked for in points, 0: the dialog's font
    UINT m_dpi = 96;    // the dpi the font was made for
};
