// The picture-bar sheet driven as a real modeless sheet: where the bar, the
// pages and the buttons go, what the bar shows on the screen, and how a click
// or the arrow keys choose a page.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/icon.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/screen_capture.h"
#include "tests/toolkit/toolkit_test_ids.h"
#include "toolkit/picture_bar.h"
#include "toolkit/picture_bar_sheet.h"
#include "toolkit/toolkit_page.h"

namespace {

constexpr int kBarWidth = 100;
constexpr COLORREF kKey = RGB(255, 0, 255);
// The strip's pictures, in page order.
const COLORREF kPictures[] = {RGB(200, 30, 40), RGB(30, 160, 60), RGB(40, 60, 200)};

class TestPage : public CToolkitPage {
public:
    explicit TestPage(UINT templateId) : CToolkitPage(templateId) {}
    std::string text = "put there by data exchange";
    bool refuseToLeave = false;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        if (m_nIDTemplate == IDD_TEST_PAGE_ALPHA) DDX_Text(dx, IDC_TEST_ALPHA_EDIT, text);
    }
    BOOL OnKillActive() override { return !refuseToLeave; }
};

class TestSheet : public CPictureBarSheet {
public:
    explicit TestSheet(bool withBar)
        : CPictureBarSheet("Picture bar test"),
          alpha(IDD_TEST_PAGE_ALPHA),
          beta(IDD_TEST_PAGE_BETA),
          gamma(IDD_TEST_PAGE_GAMMA) {
        if (withBar) SetPictureBar(kBarWidth, IDB_TEST_STRIP, TEST_STRIP_PICTURE, kKey);
        AddPage(&alpha);
        AddPage(&beta);
        AddPage(&gamma);
    }
    TestPage alpha, beta, gamma;

    HWND Bar() const { return GetDlgItem(CPictureBar::kControlId); }
    HWND Tab() const { return reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)); }
    HWND CurrentPage() const {
        return reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    }
};

RECT RectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT ItemOnScreen(HWND bar, int index) {
    RECT r{};
    SendMessageA(bar, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What a click on a bar item sends the list box.
void ClickItem(HWND bar, int index) {
    RECT r{};
    SendMessageA(bar, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
    vtest::PumpFor(50);
}

void PressKey(HWND bar, UINT key) {
    SendMessageA(bar, WM_KEYDOWN, key, 1);
    SendMessageA(bar, WM_KEYUP, key, 0xC0000001);
    vtest::PumpFor(50);
}

TEST(PictureBarSheet, TheBarTakesThePlaceOfTheTabs) {
    TestSheet plain(false), barred(true);
    ASSERT_TRUE(plain.Create());
    ASSERT_TRUE(barred.Create());
    EXPECT_STREQ(barred.GetRuntimeClass()->m_lpszClassName, "CPictureBarSheet");

    // Without a bar the sheet is comctl32's own: tabs, no bar.
    EXPECT_EQ(plain.Bar(), nullptr);
    EXPECT_TRUE(IsWindowVisible(plain.Tab()));

    // With one, the tab control is hidden and a list box bar shows instead.
    HWND bar = barred.Bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(vtest::ClassNameOf(bar), "ListBox");
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_FALSE(IsWindowVisible(barred.Tab()));

    RECT barRect = RectIn(barred.m_hWnd, bar);
    RECT page = RectIn(barred.m_hWnd, barred.CurrentPage());
    RECT plainPage = RectIn(plain.m_hWnd, plain.CurrentPage());
    EXPECT_EQ(Width(barRect), kBarWidth);
    EXPECT_GE(barRect.left, 0);
    // The bar runs down the left of the page, which keeps its size.
    EXPECT_LT(barRect.right, page.left);
    EXPECT_EQ(barRect.top, page.top);
    EXPECT_EQ(barRect.bottom, page.bottom);
    EXPECT_EQ(Width(page), Width(plainPage));
    EXPECT_EQ(Height(page), Height(plainPage));
    // No tab row above the page any more.
    EXPECT_LT(page.top, plainPage.top);

    // The sheet grew by what the page moved right and shrank by what it moved
    // up; the buttons kept their places against the right and bottom edges.
    RECT client = barred.GetClientRect(), plainClient = plain.GetClientRect();
    EXPECT_EQ(Width(client) - Width(plainClient), page.left - plainPage.left);
    EXPECT_EQ(Height(client) - Height(plainClient), page.top - plainPage.top);
    for (int id : {IDOK, IDCANCEL}) {
        RECT b = RectIn(barred.m_hWnd, barred.GetDlgItem(id));
        RECT p = RectIn(plain.m_hWnd, plain.GetDlgItem(id));
        EXPECT_EQ(client.right - b.left, plainClient.right - p.left) << id;
        EXPECT_EQ(client.bottom - b.top, plainClient.bottom - p.top) << id;
        EXPECT_EQ(Width(b), Width(p)) << id;
    }
    plain.DestroyWindow();
    barred.DestroyWindow();
}

TEST(PictureBarSheet, TheBarShowsEachPagesPictureAndCaption) {
    TestSheet sheet(true);
    ASSERT_TRUE(sheet.Create());
    HWND bar = sheet.Bar();
    ASSERT_NE(bar, nullptr);

    // One item per page, captioned with the page's template title.
    std::vector<std::string> captions;
    int count = static_cast<int>(SendMessageA(bar, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = "";
        SendMessageA(bar, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        captions.push_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 0);

    vtest::BringToScreen(sheet.m_hWnd);
    RECT barOnScreen{};
    GetWindowRect(bar, &barOnScreen);
    EXPECT_EQ(vtest::ScreenCapture(barOnScreen).Count(kKey), 0)
        << "the transparent colour reached the screen";

    const int side = TEST_STRIP_PICTURE, corner = TEST_STRIP_CORNER;
    std::vector<COLORREF> cornerColours;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(captions[static_cast<size_t>(i)]);
        RECT itemRect = ItemOnScreen(bar, i);
        vtest::ScreenCapture item(itemRect);
        // Picture i of the strip, whole and only there, all but its
        // transparent corner.
        for (int j = 0; j < count; ++j)
            EXPECT_EQ(item.Count(kPictures[j]), i == j ? side * side - corner * corner : 0)
                << "picture " << j;
        RECT picture = item.BoundsOf(kPictures[i]);
        EXPECT_EQ(Width(picture), side);
        EXPECT_EQ(Height(picture), side);
        // Centred across the item.
        EXPECT_LE(abs(picture.left - (item.Width() - picture.right)), 1);
        // The corner shows the item's background, as just left of the picture.
        COLORREF background = item.At(picture.left - 3, picture.top + 2);
        EXPECT_EQ(item.At(picture.left + 2, picture.top + 2), background);
        EXPECT_EQ(item.At(picture.left + corner - 1, picture.top + corner - 1), background);
        cornerColours.push_back(background);
        // The caption: text pixels below the picture.
        int textPixels = 0;
        for (int y = picture.bottom; y < item.Height(); ++y)
            for (int x = 0; x < item.Width(); ++x)
                if (item.At(x, y) == GetSysColor(COLOR_WINDOWTEXT)) ++textPixels;
        EXPECT_GT(textPixels, 10);
    }
    // The current page's item stands out from the others.
    ASSERT_EQ(cornerColours.size(), 3u);
    EXPECT_NE(cornerColours[0], cornerColours[1]);
    EXPECT_EQ(cornerColours[1], cornerColours[2]);

    // Choosing another page moves the highlight there.
    ASSERT_TRUE(sheet.SetActivePage(2));
    vtest::BringToScreen(sheet.m_hWnd);
    for (int i = 0; i < count; ++i) {
        vtest::ScreenCapture item(ItemOnScreen(bar, i));
        RECT picture = item.BoundsOf(kPictures[i]);
        EXPECT_EQ(item.At(picture.left + 2, picture.top + 2), cornerColours[i == 2 ? 0 : 1])
            << i;
    }
    sheet.DestroyWindow();
}

TEST(PictureBarSheet, ClicksAndArrowKeysChoosePagesWhichAreMadeOnlyWhenShown) {
    TestSheet sheet(true);
    ASSERT_TRUE(sheet.Create());
    HWND bar = sheet.Bar();
    ASSERT_NE(bar, nullptr);

    // Only the first page exists, and the toolkit page ran data exchange
    // towards its controls.
    EXPECT_TRUE(sheet.alpha.IsCreated());
    EXPECT_FALSE(sheet.beta.IsCreated());
    EXPECT_FALSE(sheet.gamma.IsCreated());
    EXPECT_EQ(vtest::WindowText(sheet.alpha.GetDlgItem(IDC_TEST_ALPHA_EDIT)),
              "put there by data exchange");
    RECT first = RectIn(sheet.m_hWnd, sheet.alpha.m_hWnd);

    // A click on the third item shows the third page, made now, where the
    // first one was; the second is still never made.
    ClickItem(bar, 2);
    EXPECT_EQ(sheet.GetActiveIndex(), 2);
    EXPECT_TRUE(sheet.gamma.IsCreated());
    EXPECT_FALSE(sheet.beta.IsCreated());
    EXPECT_EQ(sheet.CurrentPage(), sheet.gamma.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(sheet.gamma.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(sheet.alpha.m_hWnd));
    RECT third = RectIn(sheet.m_hWnd, sheet.gamma.m_hWnd);
    EXPECT_EQ(third.left, first.left);
    EXPECT_EQ(third.top, first.top);
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 2);

    // The arrow keys step through the pages.
    struct Step {
        UINT key;
        int page;
    };
    for (Step s : {Step{VK_UP, 1}, Step{VK_UP, 0}, Step{VK_UP, 0}, Step{VK_END, 2},
                   Step{VK_HOME, 0}, Step{VK_DOWN, 1}}) {
        PressKey(bar, s.key);
        EXPECT_EQ(sheet.GetActiveIndex(), s.page) << "key " << s.key;
        EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), s.page) << "key " << s.key;
    }
    EXPECT_TRUE(sheet.beta.IsCreated());

    // A page chosen through the sheet moves the bar with it.
    sheet.SendMessage(PSM_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 0);

    // A page that refuses to be left keeps the sheet and the bar where they are.
    sheet.alpha.refuseToLeave = true;
    ClickItem(bar, 1);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 0);
    PressKey(bar, VK_DOWN);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 0);
    sheet.alpha.refuseToLeave = false;

    sheet.DestroyWindow();
}

// Ctrl+Tab and Ctrl+Shift+Tab as the sheet's own keyboard handling sees them
// in a modeless sheet's message loop.
void PressCtrlTab(HWND sheet, HWND focus, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved[256];
    memcpy(saved, keys, sizeof saved);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
    MSG msg{focus, WM_KEYDOWN, VK_TAB, 1, GetTickCount(), {0, 0}};
    if (!PropSheet_IsDialogMessage(sheet, &msg)) DispatchMessageA(&msg);
    SetKeyboardState(saved);
    vtest::PumpFor(50);
}

TEST(PictureBarSheet, TheBarFollowsPagesChosenFromTheKeyboard) {
    TestSheet sheet(true);
    ASSERT_TRUE(sheet.Create());
    HWND bar = sheet.Bar();
    ASSERT_NE(bar, nullptr);
    HWND edit = sheet.alpha.GetDlgItem(IDC_TEST_ALPHA_EDIT);
    SetFocus(edit);
    struct Step {
        bool shift;
        int page;
    };
    for (Step s : {Step{false, 1}, Step{false, 2}, Step{false, 0}, Step{true, 2}}) {
        PressCtrlTab(sheet.m_hWnd, GetFocus() ? GetFocus() : sheet.m_hWnd, s.shift);
        EXPECT_EQ(sheet.GetActiveIndex(), s.page) << (s.shift ? "ctrl+shift+tab" : "ctrl+tab");
        EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), s.page)
            << (s.shift ? "ctrl+shift+tab" : "ctrl+tab");
    }
    sheet.DestroyWindow();
}

// A move to a monitor of twice the dpi, as Windows reports it: the sheet
// takes the rectangle it is offered, and the bar, its pictures and the
// pages' controls grow with it.
TEST(PictureBarSheet, ADpiChangeScalesTheSheetTheBarAndThePages) {
    TestSheet sheet(true);
    ASSERT_TRUE(sheet.Create());
    sheet.SetWindowIcon(IDI_TEST_PICTURE);
    const auto iconWidth = [&](WPARAM which) {
        return IconWidth(reinterpret_cast<HICON>(sheet.SendMessage(WM_GETICON, which)));
    };
    EXPECT_EQ(iconWidth(ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(iconWidth(ICON_BIG), GetSystemMetrics(SM_CXICON));
    HWND bar = sheet.Bar();
    HWND edit = sheet.alpha.GetDlgItem(IDC_TEST_ALPHA_EDIT);
    const RECT barBefore = RectIn(sheet.m_hWnd, bar), editBefore = RectIn(sheet.alpha.m_hWnd, edit);
    const RECT window = sheet.GetWindowRect();
    const UINT dpi = 2 * sheet.GetDpi();
    RECT offered{window.left, window.top, window.left + 2 * Width(window),
                 window.top + 2 * Height(window)};
    SendMessageA(sheet.m_hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&offered));
    EXPECT_EQ(sheet.GetDpi(), dpi);
    const RECT now = sheet.GetWindowRect();
    EXPECT_TRUE(EqualRect(&now, &offered));
    EXPECT_NEAR(Width(RectIn(sheet.m_hWnd, bar)), 2 * Width(barBefore), 2);
    EXPECT_EQ(sheet.GetPictureBar()->PictureSize(), 2 * TEST_STRIP_PICTURE);
    EXPECT_GE(SendMessageA(bar, LB_GETITEMHEIGHT, 0, 0), 2 * TEST_STRIP_PICTURE);
    EXPECT_NEAR(Width(RectIn(sheet.alpha.m_hWnd, edit)), 2 * Width(editBefore), 2);
    // The caption's and the task switcher's icons, from the sizes the file holds.
    EXPECT_EQ(iconWidth(ICON_SMALL), 2 * GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(iconWidth(ICON_BIG), 2 * GetSystemMetrics(SM_CXICON));
    sheet.DestroyWindow();
}

// A modal sheet pressed from another thread, as a test or an accessibility
// tool presses it: the message is handled inside the modal loop's GetMessage,
// and the sheet must close then, not at the next input that happens along.
TEST(PictureBarSheet, AModalSheetClosesWhenPressedFromAnotherThread) {
    // Nothing of the pointer's to wake the modal loop: it rests off the sheet.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    struct Press {
        const char* name;
        UINT message;
        WPARAM wParam;
        INT_PTR result;
    };
    for (Press press : {Press{"PSM_PRESSBUTTON cancel", PSM_PRESSBUTTON, PSBTN_CANCEL, 0},
                        Press{"PSM_PRESSBUTTON ok", PSM_PRESSBUTTON, PSBTN_OK, 1},
                        Press{"WM_COMMAND IDCANCEL", WM_COMMAND, IDCANCEL, 0}}) {
        SCOPED_TRACE(press.name);
        TestSheet sheet(true);
        // The second page: no edit there, so no caret timer ticks either.
        sheet.SetActivePage(1);
        HANDLE returned = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        bool stuck = false;
        std::thread presser([&] {
            HWND hwnd = nullptr;
            vtest::WaitUntil([&] {
                hwnd = FindWindowA("#32770", "Picture bar test");
                return hwnd && SendMessageA(hwnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
            }, 10000);
            if (!hwnd) return;
            SendMessageA(hwnd, press.message, press.wParam, 0);
            if (WaitForSingleObject(returned, 10000) != WAIT_OBJECT_0) {
                // Still open: note it, and wake the loop so the test ends.
                stuck = true;
                PostMessageA(hwnd, WM_NULL, 0, 0);
            }
        });
        INT_PTR result = sheet.DoModal();
        SetEvent(returned);
        presser.join();
        CloseHandle(returned);
        EXPECT_FALSE(stuck) << "the sheet stayed open until another message came";
        EXPECT_EQ(result, press.result);
    }
}

}  // namespace
