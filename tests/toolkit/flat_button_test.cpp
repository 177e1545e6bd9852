// Flat buttons taken over from a real dialog: what they draw in each state,
// their tooltips, their clicks, and the icons they own.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/screen_capture.h"
#include "tests/toolkit/toolkit_test_ids.h"
#include "toolkit/flat_button.h"
#include "toolkit/toolkit_manager.h"

namespace {

constexpr COLORREF kTeal = RGB(20, 170, 200);
constexpr COLORREF kOrange = RGB(230, 120, 10);
constexpr int kIconSide = 16;

// A 16 x 16 icon of one opaque colour.
HICON SolidIcon(COLORREF color) {
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, kIconSide, kIconSide);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colour);
    RECT all{0, 0, kIconSide, kIconSide};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    std::vector<BYTE> zeros(kIconSide * kIconSide / 8, 0);
    HBITMAP mask = CreateBitmap(kIconSide, kIconSide, 1, 1, zeros.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

// Whether an icon handle still names a live icon.
bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return true;
}

class ButtonDialog : public CDialog {
public:
    ButtonDialog() : CDialog(IDD_TEST_BUTTONS) {}
    CFlatButton text;
    CFlatButton picture;
    std::vector<int> clicks;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_TEXT_BUTTON, text);
        DDX_Control(dx, IDC_TEST_ICON_BUTTON, picture);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED) clicks.push_back(LOWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
};

RECT OnScreen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

void CheckDrawingInEveryState() {
    ButtonDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND textButton = dialog.text.m_hWnd, iconButton = dialog.picture.m_hWnd;
    ASSERT_NE(textButton, nullptr);
    ASSERT_NE(iconButton, nullptr);
    // Owner-drawn from the moment they were taken over.
    for (HWND b : {textButton, iconButton})
        EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    dialog.text.SetFlat();
    dialog.text.SetIcon(SolidIcon(kTeal));
    dialog.picture.SetFlat();
    dialog.picture.SetIcon(SolidIcon(kOrange));
    vtest::BringToScreen(dialog.m_hWnd);

    const COLORREF face = GetSysColor(COLOR_BTNFACE), ink = GetSysColor(COLOR_BTNTEXT);
    auto capture = [](HWND b) { return vtest::ScreenCapture(OnScreen(b)); };
    // A capture once the button shows what the test waits for (a repaint
    // reaches the screen a moment after the change that asked for it).
    auto captureWhen = [&capture](HWND b, const std::function<bool(const vtest::ScreenCapture&)>& ok) {
        vtest::WaitUntil([&] { return ok(capture(b)); }, 15000);
        return capture(b);
    };

    // The icon alone, centred in a button without text.
    {
        vtest::ScreenCapture shot = captureWhen(iconButton, [](const vtest::ScreenCapture& c) {
            return c.Count(kOrange) == kIconSide * kIconSide;
        });
        EXPECT_EQ(shot.Count(kOrange), kIconSide * kIconSide);
        RECT icon = shot.BoundsOf(kOrange);
        EXPECT_LE(abs(icon.left - (shot.Width() - icon.right)), 1);
        EXPECT_LE(abs(icon.top - (shot.Height() - icon.bottom)), 1);
    }
    // Icon and text side by side, the text to the right; flat: no frame, the
    // button's edge is the dialog's face colour.
    RECT restingIcon{};
    {
        vtest::ScreenCapture shot = captureWhen(textButton, [](const vtest::ScreenCapture& c) {
            return c.Count(kTeal) == kIconSide * kIconSide;
        });
        EXPECT_EQ(shot.Count(kTeal), kIconSide * kIconSide);
        restingIcon = shot.BoundsOf(kTeal);
        int inkLeft = shot.Width();
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (shot.At(x, y) == ink && x < inkLeft) inkLeft = x;
        EXPECT_LT(inkLeft, shot.Width()) << "no text drawn";
        EXPECT_GE(inkLeft, restingIcon.right);
        for (int x = 0; x < shot.Width(); ++x) {
            EXPECT_EQ(shot.At(x, 0), face) << x;
            EXPECT_EQ(shot.At(x, shot.Height() - 1), face) << x;
        }
    }
    // Pressed: a frame appears and the content moves one pixel down-right.
    SendMessageA(textButton, BM_SETSTATE, TRUE, 0);
    {
        vtest::ScreenCapture shot = captureWhen(textButton, [&](const vtest::ScreenCapture& c) {
            return c.BoundsOf(kTeal).left == restingIcon.left + 1;
        });
        RECT icon = shot.BoundsOf(kTeal);
        EXPECT_EQ(icon.left, restingIcon.left + 1);
        EXPECT_EQ(icon.top, restingIcon.top + 1);
        int framePixels = 0;
        for (int x = 0; x < shot.Width(); ++x) framePixels += shot.At(x, 0) != face;
        EXPECT_GT(framePixels, shot.Width() / 2);
    }
    SendMessageA(textButton, BM_SETSTATE, FALSE, 0);
    // Not flat: framed at rest too.
    dialog.text.SetFlat(FALSE);
    {
        vtest::ScreenCapture shot = captureWhen(textButton, [&](const vtest::ScreenCapture& c) {
            return c.BoundsOf(kTeal).left == restingIcon.left &&
                   c.At(c.Width() - 1, c.Height() / 2) != face;
        });
        EXPECT_EQ(shot.BoundsOf(kTeal).left, restingIcon.left);
        int framePixels = 0;
        for (int y = 0; y < shot.Height(); ++y)
            framePixels += shot.At(shot.Width() - 1, y) != face;
        EXPECT_GT(framePixels, shot.Height() / 2);
    }
    dialog.text.SetFlat(TRUE);
    // Disabled: the icon greyed and the text no longer in the text colour;
    // enabled again, both come back.
    EnableWindow(textButton, FALSE);
    {
        vtest::ScreenCapture shot = captureWhen(
            textButton, [&](const vtest::ScreenCapture& c) { return c.Count(kTeal) == 0; });
        EXPECT_EQ(shot.Count(kTeal), 0);
        EXPECT_EQ(shot.Count(ink), 0);
        EXPECT_GT(shot.CountIf([face](COLORREF c) { return c != face; }), 20)
            << "nothing drawn while disabled";
    }
    EnableWindow(textButton, TRUE);
    EXPECT_EQ(captureWhen(textButton,
                          [&](const vtest::ScreenCapture& c) {
                              return c.Count(kTeal) == kIconSide * kIconSide;
                          })
                  .Count(kTeal),
              kIconSide * kIconSide);

    // The dialog manager moving the default look around keeps them ours.
    SendMessageA(dialog.m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(iconButton), TRUE);
    SendMessageA(dialog.m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(textButton), TRUE);
    SendMessageA(dialog.m_hWnd, DM_SETDEFID, IDC_TEST_ICON_BUTTON, 0);
    for (HWND b : {textButton, iconButton})
        EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(captureWhen(iconButton,
                          [&](const vtest::ScreenCapture& c) {
                              return c.Count(kOrange) == kIconSide * kIconSide;
                          })
                  .Count(kOrange),
              kIconSide * kIconSide);
    dialog.DestroyWindow();
}

TEST(FlatButton, DrawsItsIconAndTextInEveryStateInEitherLook) {
    struct Look {
        const char* name;
        bool followTheme;
        BOOL drawThemed;
    };
    // Following the theme draws through the visual style wherever the system
    // has one on (Wine's own theme here, when it is active).
    for (Look look : {Look{"classic", false, TRUE}, Look{"follows the theme", true, TRUE},
                      Look{"theme followed, buttons told not to", true, FALSE}}) {
        SCOPED_TRACE(look.name);
        CToolkitApp app;
        app.InitToolkit();
        if (look.followTheme) app.SetVisualStyleFollowsTheme();
        CFlatButton::SetDrawThemed(look.drawThemed);
        CheckDrawingInEveryState();
        CFlatButton::SetDrawThemed(TRUE);
        app.ReleaseToolkit();
    }
}

TEST(FlatButton, ClicksReachTheParent) {
    ButtonDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.picture.SetIcon(SolidIcon(kOrange));
    SendMessageA(dialog.picture.m_hWnd, BM_CLICK, 0, 0);
    SendMessageA(dialog.text.m_hWnd, BM_CLICK, 0, 0);
    SendMessageA(dialog.picture.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks,
              (std::vector<int>{IDC_TEST_ICON_BUTTON, IDC_TEST_TEXT_BUTTON, IDC_TEST_ICON_BUTTON}));
    // Disabling works as for any button.
    dialog.text.EnableWindow(FALSE);
    EXPECT_FALSE(IsWindowEnabled(dialog.text.m_hWnd));
    dialog.text.EnableWindow(TRUE);
    EXPECT_TRUE(IsWindowEnabled(dialog.text.m_hWnd));
    dialog.DestroyWindow();
}

std::string TipText(HWND tooltip, HWND owner, HWND tool) {
    char text[128] = "";
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST(FlatButton, TooltipIsARealTooltipWindowWithTheText) {
    auto dialog = std::make_unique<ButtonDialog>();
    ASSERT_TRUE(dialog->Create(nullptr));
    HWND owner = dialog->m_hWnd, tool = dialog->picture.m_hWnd;
    EXPECT_EQ(dialog->picture.GetTooltip(), nullptr);

    dialog->picture.SetTooltipText("Add selected screensaver to the list");
    HWND tip = dialog->picture.GetTooltip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(vtest::ClassNameOf(tip), TOOLTIPS_CLASSA);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(TipText(tip, owner, tool), "Add selected screensaver to the list");

    // A new text replaces the old one in the same tool.
    dialog->picture.SetTooltipText("Remove all");
    EXPECT_EQ(dialog->picture.GetTooltip(), tip);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(TipText(tip, owner, tool), "Remove all");

    // Each button has its own.
    dialog->text.SetTooltipText("Go on");
    HWND otherTip = dialog->text.GetTooltip();
    ASSERT_NE(otherTip, nullptr);
    EXPECT_NE(otherTip, tip);
    EXPECT_EQ(TipText(otherTip, owner, dialog->text.m_hWnd), "Go on");

    // They go with the buttons.
    dialog.reset();
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_FALSE(IsWindow(otherTip));
}

TEST(FlatButton, OwnsItsIconAndDestroysIt) {
    HICON first = SolidIcon(kTeal), second = SolidIcon(kOrange);
    HICON loaded = nullptr;
    {
        ButtonDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        dialog.picture.SetIcon(first);
        EXPECT_EQ(dialog.picture.GetIcon(), first);
        // Setting the same icon again keeps it.
        dialog.picture.SetIcon(first);
        EXPECT_TRUE(IconAlive(first));
        // A new icon replaces and destroys the one before.
        dialog.picture.SetIcon(second);
        EXPECT_FALSE(IconAlive(first));
        EXPECT_TRUE(IconAlive(second));
        // One of the program's icons, loaded by the button: its own copy.
        dialog.picture.SetIcon(IDI_TEST_PICTURE);
        loaded = dialog.picture.GetIcon();
        ASSERT_NE(loaded, nullptr);
        EXPECT_TRUE(IconAlive(loaded));
        EXPECT_FALSE(IconAlive(second));
        dialog.DestroyWindow();
    }
    // Gone with the button.
    EXPECT_FALSE(IconAlive(loaded));
    EXPECT_FALSE(DestroyIcon(loaded));
}

TEST(ToolkitManager, MadeOnceReleasedOnceAndFollowsTheTheme) {
    ASSERT_EQ(CToolkitManager::Get(), nullptr);
    CToolkitApp app;
    app.InitToolkit();
    CToolkitManager* manager = CToolkitManager::Get();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetStyle(), CToolkitManager::Style::Classic);
    EXPECT_FALSE(manager->DrawThemed());
    app.InitToolkit();
    EXPECT_EQ(CToolkitManager::Get(), manager);

    app.SetVisualStyleFollowsTheme();
    EXPECT_EQ(CToolkitManager::Get(), manager);
    EXPECT_EQ(manager->GetStyle(), CToolkitManager::Style::FollowSystemTheme);
    // Themed exactly when the system has a theme on for this program.
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    bool themed = false;
    if (uxtheme) {
        auto active = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsThemeActive")));
        auto appThemed = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsAppThemed")));
        themed = active && active() && (!appThemed || appThemed());
        FreeLibrary(uxtheme);
    }
    EXPECT_EQ(manager->DrawThemed(), themed);

    app.ReleaseToolkit();
    EXPECT_EQ(CToolkitManager::Get(), nullptr);
    app.ReleaseToolkit();  // twice is harmless
    EXPECT_EQ(CToolkitManager::Get(), nullptr);
}

}  // namespace
