// The controls the program draws itself under a high-contrast theme, driven
// as the program meets it: the theme's colours set with SetSysColors and the
// high-contrast flag handed in (Wine keeps no such flag). On, every pixel
// they draw is one of the theme's colours; off again, their own colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "config/controls/styled_label.h"
#include "tests/config/controls/label_test_dialog.h"
#include "toolkit/contrast.h"
#include "toolkit/flat_button.h"
#include "toolkit/link_button.h"

namespace {

using labeltest::Pixels;

// A black theme with colours no control of ours uses of its own.
constexpr COLORREF kFace = RGB(0, 0, 0), kText = RGB(255, 255, 255),
                   kLink = RGB(255, 255, 0), kGray = RGB(0, 255, 0);

class Theme {
public:
    Theme() {
        for (int i = 0; i < 4; ++i) m_old[i] = GetSysColor(kIndices[i]);
        const COLORREF theme[] = {kFace, kText, kLink, kGray};
        SetSysColors(4, kIndices, theme);
        velmora::toolkit::OverrideHighContrast(1);
    }
    ~Theme() {
        velmora::toolkit::OverrideHighContrast(-1);
        SetSysColors(4, kIndices, m_old);
    }

private:
    static constexpr int kIndices[4] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HOTLIGHT,
                                        COLOR_GRAYTEXT};
    COLORREF m_old[4]{};
};

Pixels DrawnButton(HWND dialog, HWND button, int id) {
    RECT r{};
    GetClientRect(button, &r);
    return labeltest::Render(r.right, r.bottom, [&](HDC dc) {
        DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(id), 0, ODA_DRAWENTIRE, 0, button, dc, r, 0};
        SendMessageA(dialog, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
    });
}

std::set<COLORREF> Colours(const Pixels& p) { return std::set<COLORREF>(p.values.begin(), p.values.end()); }

TEST(HighContrast, OwnDrawnControlsTakeTheThemesColoursAndGiveThemBack) {
    CLinkButton link;
    CFlatButton button;
    CStyledLabel label;
    labeltest::TestDialog dialog({{201, BS_PUSHBUTTON, "Home Page", {10, 10, 200, 40}, 0x0080},
                                  {202, BS_PUSHBUTTON, "Preview", {10, 50, 200, 90}, 0x0080},
                                  {203, SS_LEFT, "A note", {10, 100, 300, 140}}});
    dialog.Bind(201, link);
    dialog.Bind(202, button);
    dialog.Bind(203, label);
    ASSERT_TRUE(dialog.Create());
    button.SetFlat(TRUE);
    LOGFONTA crisp = labeltest::CrispFont("Arial", 20);
    label.SetLogFont(crisp);
    label.SetTextColor(RGB(255, 0, 0)).SetBackground(RGB(0, 0, 255), RGB(0, 255, 255), TRUE);
    SendMessageA(link.m_hWnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(label.GetFont()), FALSE);
    SendMessageA(button.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(label.GetFont()), FALSE);

    {
        Theme theme;
        velmora::toolkit::RepaintForColours(dialog.m_hWnd);
        // The link: the theme's link colour on the face, nothing else.
        EXPECT_EQ(Colours(DrawnButton(dialog.m_hWnd, link.m_hWnd, 201)),
                  (std::set<COLORREF>{kFace, kLink}));
        // The flat button: its frame shows even without the mouse over it,
        // and its caption is in the theme's text colour.
        std::set<COLORREF> flat = Colours(DrawnButton(dialog.m_hWnd, button.m_hWnd, 202));
        EXPECT_TRUE(flat.count(kFace) && flat.count(kText)) << flat.size();
        EXPECT_GT(flat.size(), 2u);  // the frame's shades besides face and text
        // The label: neither its red text nor its gradient.
        EXPECT_EQ(Colours(labeltest::CaptureClient(label.m_hWnd)),
                  (std::set<COLORREF>{kFace, kText}));
    }
    // Off again: the design's own colours.
    velmora::toolkit::RepaintForColours(dialog.m_hWnd);
    EXPECT_TRUE(Colours(DrawnButton(dialog.m_hWnd, link.m_hWnd, 201)).count(RGB(0, 0, 255)));
    EXPECT_EQ(Colours(DrawnButton(dialog.m_hWnd, button.m_hWnd, 202)).count(kLink), 0u);
    std::set<COLORREF> note = Colours(labeltest::CaptureClient(label.m_hWnd));
    EXPECT_TRUE(note.count(RGB(255, 0, 0)));
    EXPECT_TRUE(note.count(RGB(0, 0, 255)));
}

}  // namespace
