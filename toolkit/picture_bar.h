#pragma once
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "framework/wnd.h"

// The bar at the left of a picture-bar sheet: one item per page, its picture
// from a strip above its caption, the current page highlighted. It is an
// owner-drawn list box, so the keyboard, the selection and the captions work
// as in any list box (LB_GETTEXT, LB_GETCURSEL); a new selection asks the
// sheet to show that page.
class CPictureBar : public CWnd {
    VELMORA_RUNTIME_CLASS(CPictureBar)
public:
    // The bar's control id in the sheet.
    static constexpr UINT kControlId = 0x3F00;

    // strip: the pictures side by side, pictureWidth pixels each; transparent
    // is the colour not drawn.
    BOOL Create(HWND sheet, const RECT& rect, HBITMAP strip, int pictureWidth,
                COLORREF transparent);
    void AddItem(const std::string& caption);
    void SetCurrent(int index);
    static int ItemHeight(int pictureWidth);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);

    CBitmap m_strip;
    int m_pictureWidth = 32;
    COLORREF m_transparent = RGB(255, 0, 255);
    HWND m_sheet = nullptr;
};
