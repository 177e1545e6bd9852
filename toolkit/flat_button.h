#pragma once
#include "framework/icon.h"
#include "framework/wnd.h"

// A push button taken over from a dialog (bound with DDX_Control) and drawn by
// us: flat until the mouse is over it, with an icon and its text (the icon
// alone when it has no text), through the visual style where the look follows
// the theme. Clicks reach the parent as from any button.
class CFlatButton : public CWnd {
    VELMORA_RUNTIME_CLASS(CFlatButton)
public:
    CFlatButton() = default;
    ~CFlatButton() override;

    // Flat: no frame until the mouse is over the button or it is pressed.
    void SetFlat(BOOL flat = TRUE);
    BOOL IsFlat() const { return m_bFlat; }
    // The button's picture: one of the program's icons, or an icon handed
    // over. The button owns it and destroys it.
    void SetIcon(UINT iconResourceId);
    void SetIcon(HICON icon);
    HICON GetIcon() const { return m_icon; }
    // A tooltip shown while the mouse rests on the button.
    void SetTooltipText(const char* text);
    HWND GetTooltip() const { return m_hTooltip; }

    // Whether buttons draw through the visual style (when themes are active).
    static void SetDrawThemed(BOOL themed);
    static BOOL GetDrawThemed();

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void Draw(const DRAWITEMSTRUCT& item);
    void DrawFrame(HDC dc, RECT rect, bool pressed, bool disabled);
    int IconSize() const;

    CIcon m_icon;
    UINT m_iconId = 0;  // the resource the icon came from, 0 for one handed over
    HWND m_hTooltip = nullptr;
    BOOL m_bFlat = FALSE;
    bool m_bHot = false;
    bool m_bDefault = false;
    bool m_bTracking = false;
};
