// probe.scr /s as a rotator starts it: one topmost window over the whole
// screen in its colour, in the foreground, ending when the user comes back or
// when it is closed.
#include <gtest/gtest.h>

#include <string>

#include "tests/savers/probe_fixture.h"

namespace {

using namespace vtest;

// How long a probe that must stay is watched for an end that must not come.
constexpr DWORD kHideTime = 3000;

// The window a started probe shows, once it is in the foreground.
HWND WaitForForegroundProbe(const Process& probe) {
    HWND window = WaitForVisibleWindow(probe.Id(), kProbeWait);
    if (window) WaitUntil([&] { return GetForegroundWindow() == window; }, kProbeWait);
    return window;
}

// Sampled pixels away from the middle band (where the name is drawn) that
// do not show the colour, and pixels of the middle row in the name's colour.
struct Fill {
    int mismatches = 0;
    int textPixels = 0;
};

Fill SampleFill(COLORREF colour, COLORREF text, bool report) {
    ScreenShot shot;
    int w = shot.Width(), h = shot.Height();
    Fill fill;
    for (int gy = 0; gy <= 16; ++gy) {
        int y = gy * (h - 1) / 16;
        if (y > h * 2 / 5 && y < h * 3 / 5) continue;
        for (int gx = 0; gx <= 16; ++gx) {
            int x = gx * (w - 1) / 16;
            if (shot.At(x, y) != colour && ++fill.mismatches <= 3 && report)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                              << shot.At(x, y) << ", expected " << colour;
        }
    }
    for (int x = 0; x < w; ++x)
        if (shot.At(x, h / 2) == text) ++fill.textPixels;
    return fill;
}

// Once the probe has painted: every sampled pixel shows the colour, and the
// middle row shows some of the name's colour.
void ExpectFilledWithName(COLORREF colour, COLORREF text) {
    WaitUntil(
        [&] {
            Fill fill = SampleFill(colour, text, false);
            return fill.mismatches == 0 && fill.textPixels > 0;
        },
        kProbeWait);
    Fill fill = SampleFill(colour, text, true);
    EXPECT_EQ(fill.mismatches, 0);
    EXPECT_GT(fill.textPixels, 0) << "the name is drawn across the middle";
}

TEST(ProbeFullScreen, LogsItsStart) {
    ProbeCopy copy("logged.scr", {"Color=204080"});
    ASSERT_TRUE(copy.Copied());
    Process probe;
    ASSERT_TRUE(copy.Start(probe, "/s"));
    ASSERT_TRUE(copy.WaitForStarts(1));
    auto starts = copy.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].pid, probe.Id());
    EXPECT_EQ(starts[0].ppid, GetCurrentProcessId());
    EXPECT_EQ(starts[0].commandLine, "\"" + copy.Path() + "\" /s");
    EXPECT_TRUE(SamePath(starts[0].currentDir, copy.Folder())) << starts[0].currentDir;
}

TEST(ProbeFullScreen, CoversTheScreenOnTopInItsColour) {
    ProbeCopy copy("covers.scr", {"Color=3366CC"});
    ASSERT_TRUE(copy.Copied());
    Process probe;
    ASSERT_TRUE(copy.Start(probe, "/s"));
    HWND window = WaitForForegroundProbe(probe);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetForegroundWindow(), window);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION),
              WS_POPUP | WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(WindowText(window), "covers.scr");
    ExpectFilledWithName(RGB(0x33, 0x66, 0xCC), RGB(255, 255, 255));
}

// The pointer where the probe will appear, moved there before it starts.
class CursorAt {
public:
    CursorAt(int x, int y) : m_x(x), m_y(y) {
        GetCursorPos(&m_saved);
        SetCursorPos(x, y);
        PumpFor(50);
    }
    ~CursorAt() { SetCursorPos(m_saved.x, m_saved.y); }
    void MoveBy(int dx, int dy) const { SetCursorPos(m_x + dx, m_y + dy); }

private:
    int m_x, m_y;
    POINT m_saved{};
};

TEST(ProbeFullScreen, EndsOnARealMouseMoveOnly) {
    ProbeCopy copy("mouse.scr", {"Color=008000"});
    ASSERT_TRUE(copy.Copied());
    CursorAt cursor(400, 300);
    Process probe;
    ASSERT_TRUE(copy.Start(probe, "/s"));
    HWND window = WaitForForegroundProbe(probe);
    ASSERT_NE(window, nullptr);
    PumpFor(300);

    // A jiggle of a few pixels, as a desk shaking makes, does not count.
    cursor.MoveBy(2, 1);
    PumpFor(400);
    cursor.MoveBy(-3, 3);
    PumpFor(400);
    cursor.MoveBy(0, 0);
    EXPECT_FALSE(probe.WaitForExit(kHideTime)) << "a jiggle ended the probe";
    EXPECT_TRUE(IsWindowVisible(window));

    cursor.MoveBy(150, 100);
    EXPECT_TRUE(probe.WaitForExit(kProbeWait)) << "a real move did not end it";
    EXPECT_EQ(probe.ExitCode(), 4u);  // ended by input
}

TEST(ProbeFullScreen, EndsOnKeysAndButtons) {
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {{"key", WM_KEYDOWN, 'A'},
                          {"system key", WM_SYSKEYDOWN, VK_MENU},
                          {"left button", WM_LBUTTONDOWN, MK_LBUTTON},
                          {"right button", WM_RBUTTONDOWN, MK_RBUTTON}};
    ProbeCopy copy("keys.scr", {"Color=800000"});
    ASSERT_TRUE(copy.Copied());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Process probe;
        ASSERT_TRUE(copy.Start(probe, "/s"));
        HWND window = WaitForForegroundProbe(probe);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, c.message, c.wParam, 0);
        EXPECT_TRUE(probe.WaitForExit(kProbeWait));
        EXPECT_EQ(probe.ExitCode(), 4u);  // ended by input
    }
}

// Newer Windows end a child by a synthetic left Control press, which goes to
// the focus: the probe must hold it.
TEST(ProbeFullScreen, EndsOnASyntheticControlPress) {
    ProbeCopy copy("control.scr", {"Color=404040"});
    ASSERT_TRUE(copy.Copied());
    Process probe;
    ASSERT_TRUE(copy.Start(probe, "/s"));
    ASSERT_NE(WaitForForegroundProbe(probe), nullptr);
    PumpFor(200);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = VK_LCONTROL;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
    EXPECT_TRUE(probe.WaitForExit(kProbeWait));
    EXPECT_EQ(probe.ExitCode(), 4u);  // ended by input
}

// Windows 98 ends a child by WM_CLOSE to the foreground window.
TEST(ProbeFullScreen, EndsOnCloseUnlessToldToIgnoreIt) {
    ProbeCopy normal("closes.scr", {"Color=336633"});
    ASSERT_TRUE(normal.Copied());
    Process closes;
    ASSERT_TRUE(normal.Start(closes, "/s"));
    ASSERT_NE(WaitForForegroundProbe(closes), nullptr);
    PostMessageA(GetForegroundWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(closes.WaitForExit(kProbeWait));
    EXPECT_EQ(closes.ExitCode(), 0u);

    ProbeCopy stubborn("stays.scr", {"Behaviour=ignoreclose", "Color=663333"});
    ASSERT_TRUE(stubborn.Copied());
    Process stays;
    ASSERT_TRUE(stubborn.Start(stays, "/s"));
    HWND window = WaitForForegroundProbe(stays);
    ASSERT_NE(window, nullptr);
    PostMessageA(GetForegroundWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(stays.WaitForExit(kHideTime)) << "WM_CLOSE ended an ignoreclose probe";
    EXPECT_TRUE(IsWindowVisible(window));
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(stays.WaitForExit(kProbeWait)) << "a key did not end it";
    EXPECT_EQ(stays.ExitCode(), 4u);  // ended by input

    // A hanging one ignores both.
    ProbeCopy hanging("hangs.scr", {"Behaviour=hang", "Color=333366"});
    ASSERT_TRUE(hanging.Copied());
    Process hangs;
    ASSERT_TRUE(hanging.Start(hangs, "/s"));
    window = WaitForForegroundProbe(hangs);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(hangs.WaitForExit(kHideTime)) << "a hanging probe ended";
    EXPECT_TRUE(IsWindowVisible(window));
}

// The runner starts children by their 8.3 path; the sidecar keeps its long name.
TEST(ProbeFullScreen, FindsItsSidecarWhenStartedByItsShortPath) {
    ProbeCopy copy("Probe With A Long Name.scr", {"Color=C08020"});
    ASSERT_TRUE(copy.Copied());
    char shortPath[MAX_PATH];
    DWORD n = GetShortPathNameA(copy.Path().c_str(), shortPath, sizeof shortPath);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, sizeof shortPath);
    ASSERT_NE(std::string(shortPath), copy.Path()) << "no 8.3 name to start by";
    Process probe;
    ASSERT_TRUE(probe.Start(shortPath, std::string(shortPath) + " /s", copy.Folder()));
    HWND window = WaitForForegroundProbe(probe);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), "Probe With A Long Name.scr");
    ExpectFilledWithName(RGB(0xC0, 0x80, 0x20), RGB(0, 0, 0));
    ASSERT_TRUE(copy.WaitForStarts(1));
    EXPECT_EQ(copy.Starts()[0].commandLine, std::string(shortPath) + " /s");
}

TEST(ProbeFullScreen, WithoutAColourTakesOneFromItsName) {
    for (const char* name : {"first.scr", "second.scr"}) {
        SCOPED_TRACE(name);
        ProbeCopy copy(name, {});
        ASSERT_TRUE(copy.Copied());
        Process probe;
        ASSERT_TRUE(copy.Start(probe, "/s"));
        ASSERT_NE(WaitForForegroundProbe(probe), nullptr);
        WaitUntil(
            [&] {
                ScreenShot shot;
                return shot.At(5, 5) == DefaultProbeColour(name) &&
                       shot.At(shot.Width() - 5, shot.Height() - 5) == DefaultProbeColour(name);
            },
            kProbeWait);
        ScreenShot shot;
        EXPECT_EQ(shot.At(5, 5), DefaultProbeColour(name));
        EXPECT_EQ(shot.At(shot.Width() - 5, shot.Height() - 5), DefaultProbeColour(name));
    }
    EXPECT_NE(DefaultProbeColour("first.scr"), DefaultProbeColour("second.scr"));
}

}  // namespace
