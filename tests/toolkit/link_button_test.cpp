// The toolkit's link button on a real dialog: sized to its caption, drawn as
// a link, its focus frame switchable, and a real click handed to the shell.
#include "toolkit/link_button.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"

namespace {

using labeltest::Pixels;

int Count(const Pixels& p, COLORREF colour) {
    int n = 0;
    for (COLORREF c : p.values) n += c == colour;
    return n;
}

// The button drawn into a memory surface as the dialog manager asks it to.
Pixels Drawn(HWND dialog, HWND button, UINT state) {
    RECT r{};
    GetClientRect(button, &r);
    return labeltest::Render(r.right, r.bottom, [&](HDC dc) {
        DRAWITEMSTRUCT item{ODT_BUTTON, 201, 0, ODA_DRAWENTIRE, state, button, dc, r, 0};
        SendMessageA(dialog, WM_DRAWITEM, 201, reinterpret_cast<LPARAM>(&item));
    });
}

TEST(LinkButton, SizeLookFocusFrameAndClick) {
    vtest::TempDir dir("lbt");
    const std::string log = dir / "opened.log";
    vtest::ScopedEnv logVariable("VELMORA_LINK_PROBE_LOG", log);
    vtest::ScopedUrlScheme scheme("velmoralink", vtest::LinkProbeCommand());
    ASSERT_TRUE(scheme.ok());
    CLinkButton link;
    labeltest::TestDialog dialog({{201, BS_PUSHBUTTON | WS_TABSTOP, "Kestrune Home Page",
                                   {40, 30, 340, 90}, 0x0080 /* Button */}});
    dialog.Bind(201, link);
    ASSERT_TRUE(dialog.Create());
    HWND button = link.m_hWnd;

    // Sized to the caption in its font, the top-left corner kept.
    link.SizeToContent();
    RECT r{};
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    SIZE extent{};
    HDC dc = GetDC(button);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, "Kestrune Home Page", 18, &extent);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, extent.cx + 2 * CLinkButton::kMargin);
    EXPECT_EQ(r.bottom - r.top, extent.cy + 2 * CLinkButton::kMargin);

    // The caption in the link colour, one underline row almost as wide.
    Pixels shown = labeltest::CaptureClient(button);
    int longestRow = 0;
    for (int y = 0; y < shown.height; ++y) {
        int run = 0;
        for (int x = 0; x < shown.width; ++x) run += shown.At(x, y) == CLinkButton::kLinkColor;
        longestRow = std::max(longestRow, run);
    }
    EXPECT_GE(longestRow, extent.cx * 9 / 10);
    EXPECT_EQ(shown.At(0, 0), GetSysColor(COLOR_BTNFACE));

    // A focus frame on the border only, unless told not to draw one.
    Pixels plain = Drawn(dialog.m_hWnd, button, 0);
    EXPECT_FALSE(Drawn(dialog.m_hWnd, button, ODS_FOCUS) == plain);
    link.SetDrawFocusRect(FALSE);
    EXPECT_EQ(Drawn(dialog.m_hWnd, button, ODS_FOCUS), plain);

    // A real click: the shell starts the scheme's handler with the address;
    // the link then shows as visited.
    link.SetURL("velmoralink:kestrune-home");
    ASSERT_TRUE(vtest::ClickMiddleOf(button));
    ASSERT_TRUE(vtest::WaitUntil([&] { return !vtest::ReadOpenedAddresses(log).empty(); }, 20000));
    auto opened = vtest::ReadOpenedAddresses(log);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].address, "velmoralink:kestrune-home");
    vtest::OpenedProcess probe(opened[0].pid);
    EXPECT_TRUE(probe.WaitForExit(20000));
    EXPECT_GT(Count(labeltest::CaptureClient(button), CLinkButton::kVisitedColor), 0);
}

}  // namespace
