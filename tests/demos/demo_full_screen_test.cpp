// aurora.scr and orbits.scr /s as Windows starts them: an animated picture on
// a topmost window over the whole screen, until the user comes back.
#include <gtest/gtest.h>

#include <string>

#include "tests/demos/demo_fixture.h"

namespace {

using namespace vtest;

// Longer than Wine takes to hide a full-screen window when there is no
// window manager to confirm it (it gives up after two seconds).
constexpr DWORD kHideTime = 3000;

// Each picture has a place that tells it apart: Orbits' sun shines white-gold
// in the middle; Aurora's sky is dark blue at the top and its lake, at the
// bottom, mirrors it dimmer.
struct FullScreenCase {
    DemoSaver saver;
    bool (*looksRight)(const ScreenCapture& shot, std::string* why);
};

struct Mean {
    double r = 0, g = 0, b = 0;
};

Mean MeanOfRow(const ScreenCapture& shot, int y) {
    Mean m;
    int n = 0;
    for (int x = 0; x < shot.Width(); x += 2, ++n) {
        COLORREF c = shot.At(x, y);
        m.r += GetRValue(c);
        m.g += GetGValue(c);
        m.b += GetBValue(c);
    }
    m.r /= n;
    m.g /= n;
    m.b /= n;
    return m;
}

std::string Describe(const Mean& m) {
    return std::to_string(int(m.r)) + ", " + std::to_string(int(m.g)) + ", " +
           std::to_string(int(m.b));
}

bool AuroraLooksRight(const ScreenCapture& shot, std::string* why) {
    Mean top = MeanOfRow(shot, 2), lake = MeanOfRow(shot, shot.Height() - 3);
    *why = "top row " + Describe(top) + ", bottom row " + Describe(lake);
    return top.r < 40 && top.g < 60 && top.b > top.r && top.b < 90 && lake.r + lake.g + lake.b < 150;
}

bool OrbitsLooksRight(const ScreenCapture& shot, std::string* why) {
    COLORREF sun = shot.At(shot.Width() / 2, shot.Height() / 2);
    Mean corner = MeanOfRow(shot, 1);
    *why = "middle " + Describe({double(GetRValue(sun)), double(GetGValue(sun)),
                                 double(GetBValue(sun))}) +
           ", top row " + Describe(corner);
    return GetRValue(sun) > 240 && GetGValue(sun) > 200 && GetBValue(sun) > 120 &&
           corner.r + corner.g + corner.b < 150;
}

const FullScreenCase kCases[] = {{kAurora, AuroraLooksRight}, {kOrbits, OrbitsLooksRight}};

class DemoFullScreen : public ::testing::TestWithParam<FullScreenCase> {};

INSTANTIATE_TEST_SUITE_P(Savers, DemoFullScreen, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FullScreenCase>& info) {
                             return std::string(info.param.saver.section);
                         });

// The window a started saver shows, once it is in the foreground.
HWND WaitForForegroundSaver(const Process& saver) {
    HWND window = WaitForVisibleWindow(saver.Id(), kDemoWait);
    if (window) WaitUntil([&] { return GetForegroundWindow() == window; }, kDemoWait);
    return window;
}

TEST_P(DemoFullScreen, CoversTheScreenOnTopWithAnAnimatedPicture) {
    const DemoSaver& kind = GetParam().saver;
    CursorAt cursor(500, 400);
    Process saver;
    ASSERT_TRUE(StartSaver(saver, kind, "/s"));
    HWND window = WaitForForegroundSaver(saver);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetForegroundWindow(), window);
    RECT r;
    GetWindowRect(window, &r);
    const RECT screen = ScreenRect();
    EXPECT_EQ(r.left, screen.left);
    EXPECT_EQ(r.top, screen.top);
    EXPECT_EQ(r.right, screen.right);
    EXPECT_EQ(r.bottom, screen.bottom);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION),
              static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(WindowText(window), kind.name);

    // The first frames may not have reached the screen yet: wait for a
    // picture that looks right, then check it.
    std::string why;
    WaitUntil(
        [&] {
            ScreenCapture shot(screen);
            return GetParam().looksRight(shot, &why) && shot.DistinctColours(8) > 200u;
        },
        kDemoWait);
    ScreenCapture first(screen);
    EXPECT_TRUE(GetParam().looksRight(first, &why)) << why;
    EXPECT_GT(first.DistinctColours(8), 200u) << "a picture, not a fill";
    // The picture moves: some later frame differs from this one.
    EXPECT_TRUE(WaitUntil([&] { return ScreenCapture(screen).Differences(first, 4) > 50; },
                          kDemoWait));
    EXPECT_TRUE(saver.Running());
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(saver.WaitForExit(kDemoWait));
}

TEST_P(DemoFullScreen, AJiggleDoesNotEndItButARealMoveDoes) {
    CursorAt cursor(400, 300);
    Process saver;
    ASSERT_TRUE(StartSaver(saver, GetParam().saver, "/s"));
    HWND window = WaitForForegroundSaver(saver);
    ASSERT_NE(window, nullptr);
    PumpFor(300);

    // A few pixels, as a shaking desk moves the mouse, do not count.
    cursor.MoveBy(2, 1);
    PumpFor(300);
    cursor.MoveBy(-3, 3);
    PumpFor(300);
    cursor.MoveBy(0, 0);
    EXPECT_FALSE(saver.WaitForExit(kHideTime)) << "a jiggle ended the saver";
    EXPECT_TRUE(IsWindowVisible(window));

    cursor.MoveBy(150, 100);
    EXPECT_TRUE(saver.WaitForExit(kDemoWait)) << "a real move did not end it";
    EXPECT_EQ(saver.ExitCode(), 0u);
}

TEST_P(DemoFullScreen, EndsOnKeysAndButtons) {
    struct Input {
        const char* what;
        DWORD type;
        WORD key;       // for keys
        DWORD buttons;  // for the mouse: down, then up
    };
    const Input inputs[] = {
        {"a letter", INPUT_KEYBOARD, 'A', 0},
        {"space", INPUT_KEYBOARD, VK_SPACE, 0},
        {"left Control", INPUT_KEYBOARD, VK_LCONTROL, 0},
        {"Alt", INPUT_KEYBOARD, VK_MENU, 0},
        {"left button", INPUT_MOUSE, 0, MOUSEEVENTF_LEFTDOWN},
        {"right button", INPUT_MOUSE, 0, MOUSEEVENTF_RIGHTDOWN},
    };
    CursorAt cursor(300, 200);
    for (const Input& input : inputs) {
        SCOPED_TRACE(input.what);
        Process saver;
        ASSERT_TRUE(StartSaver(saver, GetParam().saver, "/s"));
        ASSERT_NE(WaitForForegroundSaver(saver), nullptr);
        PumpFor(200);
        INPUT press[2] = {};
        press[0].type = press[1].type = input.type;
        if (input.type == INPUT_KEYBOARD) {
            press[0].ki.wVk = press[1].ki.wVk = input.key;
            press[1].ki.dwFlags = KEYEVENTF_KEYUP;
        } else {
            press[0].mi.dwFlags = input.buttons;
            press[1].mi.dwFlags = input.buttons << 1;  // the matching ...UP flag
        }
        ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
        EXPECT_TRUE(saver.WaitForExit(kDemoWait));
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

}  // namespace
