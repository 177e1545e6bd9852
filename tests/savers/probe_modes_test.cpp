// probe.scr started as Windows starts it in its other modes, and told by its
// sidecar to fail or to hand its work to a second process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/savers/probe_fixture.h"

namespace {

using namespace vtest;

// Runs to its end; true when no window of the process was ever visible.
bool EndsWithoutAWindow(Process& probe) {
    bool sawWindow = false;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindowsOf(probe.Id()))
                if (IsWindowVisible(hwnd)) sawWindow = true;
            return !probe.Running();
        },
        kProbeWait);
    return !probe.Running() && !sawWindow;
}

TEST(ProbePreview, FillsTheGivenWindowAndEndsWithIt) {
    ProbeCopy copy("preview.scr", {"Color=20A0E0"});
    ASSERT_TRUE(copy.Copied());
    HostWindow host(200, 150, 152, 112);
    ASSERT_NE(host.Hwnd(), nullptr);
    Process probe;
    ASSERT_TRUE(copy.Start(probe, "/p " + host.HandleText()));
    HWND child = nullptr;
    // The window exists before it is shown and sized: wait for both.
    WaitUntil(
        [&] {
            child = FindWindowExA(host.Hwnd(), nullptr, nullptr, nullptr);
            RECT inside{};
            return child && IsWindowVisible(child) && GetClientRect(child, &inside) &&
                   inside.right == 152 && inside.bottom == 112;
        },
        kProbeWait);
    ASSERT_NE(child, nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    EXPECT_EQ(owner, probe.Id());
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD);
    RECT inside;
    GetClientRect(child, &inside);
    EXPECT_EQ(inside.right, 152);
    EXPECT_EQ(inside.bottom, 112);
    // Its pixels cannot be read here: Wine draws a child window only when the
    // process of its top-level window draws it. probe_window_test reads them.
    PumpFor(300);
    EXPECT_TRUE(probe.Running());

    host.Destroy();
    EXPECT_TRUE(probe.WaitForExit(kProbeWait)) << "the preview ends with its parent";
    EXPECT_EQ(probe.ExitCode(), 0u);
}

TEST(ProbePreview, NoOrInvalidParentEndsAtOnce) {
    ProbeCopy copy("orphan.scr", {"Color=20A0E0"});
    ASSERT_TRUE(copy.Copied());
    const char* arguments[] = {"/p", "/p 0", "/p 123456"};
    for (const char* a : arguments) {
        SCOPED_TRACE(a);
        Process probe;
        ASSERT_TRUE(copy.Start(probe, a));
        EXPECT_TRUE(EndsWithoutAWindow(probe));
        EXPECT_EQ(probe.ExitCode(), 2u);
    }
    EXPECT_EQ(copy.Starts().size(), 3u) << "every start is logged";
}

// The dialog of /c and of a start without a switch.
HWND WaitForSettings(const Process& probe) {
    return WaitForDialog(probe.Id(), "Velmora Probe Settings", kProbeWait);
}

TEST(ProbeSettings, ShowsItsDialogUntilClosed) {
    ProbeCopy copy("settings.scr", {});
    ASSERT_TRUE(copy.Copied());
    struct Case {
        const char* arguments;
        bool byOk;
    };
    for (Case c : {Case{"/c", true}, Case{"", true}, Case{"/c", false}}) {
        SCOPED_TRACE(std::string("\"") + c.arguments + (c.byOk ? "\", OK" : "\", closed"));
        Process probe;
        ASSERT_TRUE(copy.Start(probe, c.arguments));
        HWND dialog = WaitForSettings(probe);
        ASSERT_NE(dialog, nullptr);
        std::vector<std::string> texts = StaticTexts(dialog);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_FALSE(texts[0].empty());
        HWND ok = GetDlgItem(dialog, IDOK);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(WindowText(ok), "OK");
        EXPECT_TRUE(probe.Running());
        if (c.byOk)
            PressButton(dialog, IDOK);
        else
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(probe.WaitForExit(kProbeWait));
        EXPECT_EQ(probe.ExitCode(), 0u);
    }
}

// Display Properties passes its own window: the dialog is owned by it.
TEST(ProbeSettings, IsOwnedByTheWindowItIsGiven) {
    ProbeCopy copy("owned.scr", {});
    ASSERT_TRUE(copy.Copied());
    HostWindow owner(100, 100, 200, 100);
    ASSERT_NE(owner.Hwnd(), nullptr);
    Process probe;
    ASSERT_TRUE(copy.Start(probe, "/c:" + owner.HandleText()));
    HWND dialog = WaitForSettings(probe);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.Hwnd());
    PressButton(dialog, IDOK);
    EXPECT_TRUE(probe.WaitForExit(kProbeWait));
    EXPECT_EQ(probe.ExitCode(), 0u);
}

TEST(ProbeModes, UnknownSwitchesEndAtOnce) {
    ProbeCopy copy("unknown.scr", {});
    ASSERT_TRUE(copy.Copied());
    const char* arguments[] = {"/x", "/a", "/handoff now", "handoff"};
    for (const char* a : arguments) {
        SCOPED_TRACE(a);
        Process probe;
        ASSERT_TRUE(copy.Start(probe, a));
        EXPECT_TRUE(EndsWithoutAWindow(probe));
        EXPECT_EQ(probe.ExitCode(), 2u);
    }
    EXPECT_EQ(copy.Starts().size(), 4u) << "every start is logged";
}

TEST(ProbeModes, FailEndsAtOnceInEveryMode) {
    ProbeCopy copy("failing.scr", {"Behaviour=fail", "Color=FF0000"});
    ASSERT_TRUE(copy.Copied());
    HostWindow host(200, 150, 152, 112);
    const std::string arguments[] = {"/s", "/p " + host.HandleText(), "/c", "", "/handoff"};
    for (const std::string& a : arguments) {
        SCOPED_TRACE(a);
        Process probe;
        ASSERT_TRUE(copy.Start(probe, a));
        EXPECT_TRUE(EndsWithoutAWindow(probe));
        EXPECT_EQ(probe.ExitCode(), 3u);
        EXPECT_EQ(FindWindowExA(host.Hwnd(), nullptr, nullptr, nullptr), nullptr);
    }
    auto starts = copy.Starts();
    ASSERT_EQ(starts.size(), 5u) << "every start is logged";
    for (const ProbeStart& start : starts) EXPECT_EQ(start.ppid, GetCurrentProcessId());
}

TEST(ProbeModes, HandoffStartsASecondProcessThatStaysUntilClosed) {
    ProbeCopy copy("relay.scr", {"Behaviour=handoff", "Color=6040A0"});
    ASSERT_TRUE(copy.Copied());
    Process first;
    ASSERT_TRUE(copy.Start(first, "/s"));
    EXPECT_TRUE(EndsWithoutAWindow(first));
    EXPECT_EQ(first.ExitCode(), 0u);

    ASSERT_TRUE(copy.WaitForStarts(2));
    auto starts = copy.Starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].pid, first.Id());
    EXPECT_EQ(starts[1].ppid, first.Id());
    EXPECT_EQ(ArgumentsOf(starts[1].commandLine), "/handoff");
    const std::string& cl = starts[1].commandLine;
    ASSERT_EQ(cl.front(), '"');
    EXPECT_TRUE(SamePath(cl.substr(1, cl.find('"', 1) - 1), copy.Path())) << cl;
    EXPECT_TRUE(SamePath(starts[1].currentDir, copy.Folder())) << starts[1].currentDir;

    OpenedProcess second(starts[1].pid);
    ASSERT_TRUE(second.IsOpen());
    HWND window = WaitForVisibleWindow(second.Id(), kProbeWait);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, kProbeWait));
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    WaitUntil([&] { return ScreenShot().At(10, 10) == RGB(0x60, 0x40, 0xA0); }, kProbeWait);
    EXPECT_EQ(ScreenShot().At(10, 10), RGB(0x60, 0x40, 0xA0));
    EXPECT_TRUE(second.Running()) << "the second process stays";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(second.WaitForExit(kProbeWait));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(copy.Starts().size(), 2u) << "the second process hands nothing on";
}

}  // namespace
