#pragma once
#include <string>

#include "framework/dc.h"
#include "framework/gdi.h"
#include "framework/wnd.h"

// A push button taken over from a dialog (bound with DDX_Control) that looks
// and acts like a web link: its caption drawn underlined in the link colour
// over what lies under it, a hand cursor, and a click that opens its address
// with the shell's default verb. The parent still gets the click.
class CLinkButton : public CWnd {
    VELMORA_RUNTIME_CLASS(CLinkButton)
public:
    CLinkButton() = default;

    // The address a click opens; nothing opens while it is empty.
    void SetURL(const char* url) { m_url = url ? url : ""; }
    const std::string& GetURL() const { return m_url; }
    // Whether the keyboard focus shows as a dotted frame (it does by default).
    void SetDrawFocusRect(BOOL draw);
    BOOL GetDrawFocusRect() const { return m_bDrawFocusRect; }
    // Resizes the button to its caption in its font, keeping its top-left corner.
    void SizeToContent();
    // Opens the address through the shell (as a click does).
    void Open();

    // Colours of the caption before and after the link was opened.
    static constexpr COLORREF kLinkColor = RGB(0, 0, 255);
    static constexpr COLORREF kVisitedColor = RGB(128, 0, 128);
    // Room around the caption for the focus frame, in pixels.
    static constexpr int kMargin = 2;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void Draw(const DRAWITEMSTRUCT& item);
    HFONT UnderlinedFont();

    std::string m_url;
    BOOL m_bDrawFocusRect = TRUE;
    bool m_bVisited = false;
    // The focus came by the keyboard (Tab, an arrow key): the frame shows
    // then even where it is switched off, so that a keyboard user sees it.
    bool m_bKeyboardFocus = false;
    CFont m_underlined;
    HFONT m_underlinedFrom = nullptr;  // the button font m_underlined was made from
};
