#pragma once
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "framework/wnd.h"

// The bar at the left of a picture-bar sheet: one item per page, its picture
// from a strip above its caption, the current page highlighted. It is an
// owner-drawn list box, so the keyboard, the selection and the captions work
// as in any list box (LB_GETTEXT, LB_GETCURSEL, the arrow keys); a new
// selection asks the sheet to show that page.
class CPictureBar : public CWnd {
    VELMORA_RUNTIME_CLASS(CPictureBar)
public:
    // The bar's control id in the sheet.
    static constexpr UINT kControlId = 0x3F00;

    // A strip of pictures side by side, pictureWidth pixels each, drawn for
    // one display scaling.
    struct Strip {
        UINT bitmapId;
        int pictureWidth;
    };

    // strips: the same pictures drawn at several sizes, the smallest (the
    // size at 96 dpi) first; transparent is the colour not drawn.
    BOOL Create(HWND sheet, const RECT& rect, std::vector<Strip> strips, COLORREF transparent,
                UINT dpi);
    void AddItem(const std::string& caption);
    void SetCurrent(int index);
    // Pictures and item heights for the dots per inch the bar is drawn at.
    void SetDpi(UINT dpi);
    UINT GetDpi() const { return m_dpi; }
    // The size a picture is drawn at now.
    int PictureSize() const { return m_pictureSize; }
    static int ItemHeight(int pictureWidth, UINT dpi);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void FitItems();

    std::vector<Strip> m_strips;
    CBitmap m_strip;
    int m_stripPicture = 32;   // the loaded strip's picture width
    int m_pictureSize = 32;    // the size a picture is drawn at
    UINT m_dpi = 96;
    COLORREF m_transparent = RGB(255, 0, 255);
    HWND m_sheet = nullptr;
};
