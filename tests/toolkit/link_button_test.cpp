// The toolkit's link button on a real dialog: its size after its caption,
// its look in pixels, the focus frame it can be told to leave out, and real
// clicks whose address the shell hands to a registered probe.
#include "toolkit/link_button.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"

using labeltest::Pixels;
using labeltest::TestDialog;

namespace {

constexpr int kLink = 201, kEmpty = 202;
constexpr WORD kButtonClass = 0x0080;

int Count(const Pixels& p, COLORREF colour) {
    int n = 0;
    for (COLORREF c : p.values) n += c == colour;
    return n;
}

// The control drawn into a memory surface through the dialog, as the dialog
// manager asks it to, in the given item state.
Pixels DrawnInState(HWND dialog, HWND button, UINT state) {
    RECT r{};
    GetClientRect(button, &r);
    return labeltest::Render(r.right, r.bottom, [&](HDC dc) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button;
        item.hDC = dc;
        item.rcItem = r;
        SendMessageA(dialog, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    });
}

void ClickMiddle(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool ParentSawClick(const TestDialog& dialog, HWND button) {
    for (const auto& n : dialog.m_notifications)
        if (n.message == WM_COMMAND && n.from == button && HIWORD(n.wParam) == BN_CLICKED)
            return true;
    return false;
}

TEST(LinkButton, SizesToItsCaptionAndDrawsAsALink) {
    CLinkButton link;
    TestDialog dialog({{kLink, BS_PUSHBUTTON | WS_TABSTOP, "Kestrune Home Page",
                        {40, 30, 340, 90}, kButtonClass}});
    dialog.Bind(kLink, link);
    ASSERT_TRUE(dialog.Create());
    HWND button = link.m_hWnd;
    EXPECT_STREQ(link.GetRuntimeClass()->m_lpszClassName, "CLinkButton");
    EXPECT_EQ(link.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));

    link.SizeToContent();
    RECT r{};
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 40);  // the top-left corner stays
    EXPECT_EQ(r.top, 30);
    // Caption extent in the button's font, plus the margin all round.
    SIZE extent{};
    {
        HDC dc = GetDC(button);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc, "Kestrune Home Page", 18, &extent);
        SelectObject(dc, old);
        ReleaseDC(button, dc);
    }
    EXPECT_EQ(r.right - r.left, extent.cx + 2 * CLinkButton::kMargin);
    EXPECT_EQ(r.bottom - r.top, extent.cy + 2 * CLinkButton::kMargin);

    // The caption in the link colour, underlined: one row of the link colour
    // runs nearly the caption's whole width.
    Pixels shown = labeltest::CaptureClient(button);
    ASSERT_GT(Count(shown, CLinkButton::kLinkColor), 0) << ::testing::PrintToString(shown);
    int longestRow = 0;
    for (int y = 0; y < shown.height; ++y) {
        int run = 0;
        for (int x = 0; x < shown.width; ++x) run += shown.At(x, y) == CLinkButton::kLinkColor;
        longestRow = std::max(longestRow, run);
    }
    EXPECT_GE(longestRow, extent.cx * 9 / 10);
    // Outside the caption's rectangle lies only what is under the button.
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = 0; x < shown.width; ++x) {
        EXPECT_EQ(shown.At(x, 0), face);
        EXPECT_EQ(shown.At(x, shown.height - 1), face);
    }
}

TEST(LinkButton, FocusFrameUnlessToldNotTo) {
    CLinkButton link;
    TestDialog dialog({{kLink, BS_PUSHBUTTON | WS_TABSTOP, "Home", {10, 10, 110, 40},
                        kButtonClass}});
    dialog.Bind(kLink, link);
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(link.GetDrawFocusRect());
    Pixels plain = DrawnInState(dialog.m_hWnd, link.m_hWnd, 0);
    Pixels focused = DrawnInState(dialog.m_hWnd, link.m_hWnd, ODS_FOCUS);
    EXPECT_FALSE(plain == focused);
    // The dotted frame lies on the border; the caption inside is unchanged.
    for (int y = 0; y < plain.height; ++y)
        for (int x = 0; x < plain.width; ++x) {
            bool border = x == 0 || y == 0 || x == plain.width - 1 || y == plain.height - 1;
            if (!border) {
                EXPECT_EQ(plain.At(x, y), focused.At(x, y)) << x << "," << y;
            }
        }

    link.SetDrawFocusRect(FALSE);
    EXPECT_EQ(DrawnInState(dialog.m_hWnd, link.m_hWnd, ODS_FOCUS), plain);
}

TEST(LinkButton, AClickOpensTheAddressThroughTheShell) {
    vtest::TempDir dir("lbt");
    const std::string log = dir / "opened.log";
    vtest::ScopedEnv logVariable("VELMORA_LINK_PROBE_LOG", log);
    vtest::ScopedUrlScheme scheme("velmoralink", vtest::LinkProbeCommand());
    ASSERT_TRUE(scheme.ok());

    CLinkButton link, empty;
    TestDialog dialog({
        {kLink, BS_PUSHBUTTON | WS_TABSTOP, "Open it", {10, 10, 200, 50}, kButtonClass},
        {kEmpty, BS_PUSHBUTTON | WS_TABSTOP, "No address", {10, 60, 200, 100}, kButtonClass},
    });
    dialog.Bind(kLink, link);
    dialog.Bind(kEmpty, empty);
    ASSERT_TRUE(dialog.Create());
    link.SetURL("velmoralink:kestrune-home");
    EXPECT_EQ(link.GetURL(), "velmoralink:kestrune-home");

    // An address-less link clicks like a button and opens nothing.
    ClickMiddle(empty.m_hWnd);
    ASSERT_TRUE(vtest::WaitUntil([&] { return ParentSawClick(dialog, empty.m_hWnd); }, 20000));
    EXPECT_EQ(vtest::RunningProcesses("link_probe.exe"), 0);
    EXPECT_TRUE(vtest::ReadOpenedAddresses(log).empty());

    ClickMiddle(link.m_hWnd);
    ASSERT_TRUE(vtest::WaitUntil([&] { return ParentSawClick(dialog, link.m_hWnd); }, 20000));
    ASSERT_TRUE(vtest::WaitUntil([&] { return !vtest::ReadOpenedAddresses(log).empty(); },
                                 20000));
    auto opened = vtest::ReadOpenedAddresses(log);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].address, "velmoralink:kestrune-home");
    vtest::OpenedProcess probe(opened[0].pid);
    EXPECT_TRUE(probe.WaitForExit(20000));

    // Opened once, it shows in the visited colour.
    Pixels shown = labeltest::CaptureClient(link.m_hWnd);
    EXPECT_EQ(Count(shown, CLinkButton::kLinkColor), 0);
    EXPECT_GT(Count(shown, CLinkButton::kVisitedColor), 0);
    EXPECT_TRUE(vtest::WaitUntil([] { return vtest::RunningProcesses("link_probe.exe") == 0; },
                                 20000));
}

}  // namespace
