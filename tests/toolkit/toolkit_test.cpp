// The toolkit's flat buttons and picture-bar sheet as real windows, read back
// from the screen.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/property_page.h"
#include "resources/velmora_exe_ids.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/screen_capture.h"
#include "toolkit/flat_button.h"
#include "toolkit/picture_bar_sheet.h"

namespace {

// Saturated pixels: the coloured part of a picture, never the grey of a
// disabled one or the face colour around it.
int ColouredPixels(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            COLORREF c = GetPixel(screen, x, y);
            int hi = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
            int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
            if (hi - lo > 60) ++count;
        }
    ReleaseDC(nullptr, screen);
    return count;
}

void BringToFront(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    vtest::WaitForSteadyScreen(r);
}

class ButtonHost : public CDialog {
public:
    ButtonHost() : CDialog(IDD_SCREENSAVERS) {}
    CFlatButton button;
    int clicks = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_ADD_SELECTED, button); }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == IDC_ADD_SELECTED && HIWORD(wParam) == BN_CLICKED) ++clicks;
        return CDialog::OnCommand(wParam, lParam);
    }
};

// The page template is a child dialog: shown here inside a plain top-level
// window of its own.
struct HostWindow {
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 700, 450, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ~HostWindow() { DestroyWindow(hwnd); }
};

TEST(ToolkitFlatButton, DrawsItsPictureTakesClicksAndOwnsItsIcon) {
    HostWindow host;
    ButtonHost dialog;
    ASSERT_TRUE(dialog.Create(host.hwnd));
    ShowWindow(dialog.m_hWnd, SW_SHOW);
    HWND button = dialog.button.m_hWnd;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    dialog.button.SetFlat();
    dialog.button.SetIcon(IDI_ADD_SELECTED);
    HICON icon = dialog.button.GetIcon();
    ASSERT_NE(icon, nullptr);
    dialog.button.SetTooltipText("Add selected screensaver to the list");

    // The tooltip window holds the text for this button.
    HWND tip = dialog.button.GetTooltip();
    ASSERT_NE(tip, nullptr);
    char text[128] = "";
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = dialog.m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, "Add selected screensaver to the list");

    // Enabled, the picture is drawn in colour; disabled, in grey.
    EnableWindow(button, TRUE);
    BringToFront(host.hwnd);
    int enabled = ColouredPixels(button);
    EXPECT_GT(enabled, 20);
    EnableWindow(button, FALSE);
    BringToFront(host.hwnd);
    EXPECT_LT(ColouredPixels(button), enabled / 4);

    // A click reaches the page as from any button.
    EnableWindow(button, TRUE);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);

    // A new picture replaces the old one, which goes; the last goes with the
    // button.
    dialog.button.SetIcon(IDI_REMOVE_ALL);
    ICONINFO ii{};
    EXPECT_FALSE(GetIconInfo(icon, &ii));
    HICON second = dialog.button.GetIcon();
    dialog.DestroyWindow();
    {
        CFlatButton gone;
        gone.SetIcon(CopyIcon(second));
        icon = gone.GetIcon();
    }
    EXPECT_FALSE(GetIconInfo(icon, &ii));
}

class BarSheet : public CPictureBarSheet {
public:
    BarSheet()
        : CPictureBarSheet("Bar test"),
          pages{CPropertyPage(IDD_SCREENSAVERS), CPropertyPage(IDD_OPTIONS),
                CPropertyPage(IDD_ROTATION), CPropertyPage(IDD_DONATIONS), CPropertyPage(IDD_ABOUT)} {
        SetPictureBar(100, IDB_PAGE_PICTURES, 32, 0xFF00FF);
        for (CPropertyPage& p : pages) AddPage(&p);
    }
    CPropertyPage pages[5];
};

TEST(ToolkitPictureBarSheet, PagesAreChosenFromTheBarOfPictures) {
    BarSheet sheet;
    ASSERT_TRUE(sheet.Create());
    HWND hwnd = sheet.m_hWnd;
    BringToFront(hwnd);

    HWND tab = reinterpret_cast<HWND>(SendMessageA(hwnd, PSM_GETTABCONTROL, 0, 0));
    EXPECT_FALSE(IsWindowVisible(tab));
    HWND bar = GetDlgItem(hwnd, CPictureBar::kControlId);
    ASSERT_NE(bar, nullptr);
    RECT barRect{};
    GetClientRect(bar, &barRect);
    EXPECT_GE(barRect.right, 90);
    EXPECT_LE(barRect.right, 100);

    std::vector<std::string> captions;
    for (int i = 0; i < SendMessageA(bar, LB_GETCOUNT, 0, 0); ++i) {
        char text[64] = "";
        SendMessageA(bar, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        captions.push_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Screensavers", "Options", "Rotation", "Donations", "About"}));

    // Each item shows its own picture of the strip, its magenta background
    // left out: the picture's corner shows the bar, its middle the picture.
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 5; ++i) {
        RECT item{};
        SendMessageA(bar, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&item), 2);
        int left = item.left + (item.right - item.left - 32) / 2, top = item.top + 5;
        for (int y = top; y < top + 32; ++y)
            for (int x = left; x < left + 32; ++x)
                ASSERT_NE(GetPixel(screen, x, y), RGB(255, 0, 255)) << i << " " << x << "," << y;
        COLORREF corner = GetPixel(screen, left, top);
        EXPECT_TRUE(corner == GetSysColor(COLOR_WINDOW) || corner == GetSysColor(COLOR_BTNFACE))
            << i;
        int coloured = 0;
        for (int y = top; y < top + 32; ++y)
            for (int x = left; x < left + 32; ++x) {
                COLORREF c = GetPixel(screen, x, y);
                coloured += c != corner;
            }
        EXPECT_GT(coloured, 100) << "picture " << i;
    }
    ReleaseDC(nullptr, screen);

    // A click on the third item (the selection change a click sends) shows
    // that page; the second was never shown and so never made.
    SendMessageA(bar, LB_SETCURSEL, 2, 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(CPictureBar::kControlId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(sheet.GetActiveIndex(), 2);
    EXPECT_TRUE(sheet.pages[2].IsCreated());
    EXPECT_FALSE(sheet.pages[1].IsCreated());
    // The page sits beside the bar, not over it.
    RECT page{}, barWindow{};
    GetWindowRect(sheet.pages[2].m_hWnd, &page);
    GetWindowRect(bar, &barWindow);
    EXPECT_GE(page.left, barWindow.right);
    EXPECT_EQ(page.top, barWindow.top);

    // Chosen another way, the bar follows.
    SendMessageA(hwnd, PSM_SETCURSEL, 3, 0);
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 3);
    sheet.DestroyWindow();
}

}  // namespace
