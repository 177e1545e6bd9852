// Runs on two monitors (the test lane with two, side by side): what each way
// of covering several monitors shows on each, during a rotation too.
#include "tests/e2e/run_session_fixture.h"
#include "tests/toolkit/screen_capture.h"

#include <set>

namespace run_session_test {
namespace {

// The two monitors of the test screen; the rest of the virtual screen
// (800..1440 x 480..600) is on no display and never looked at.
const RECT kFirst = {0, 0, 800, 600};
const RECT kSecond = {800, 0, 1440, 480};
constexpr COLORREF kDesktop = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// What a monitor shows away from the probe's name in the middle.
COLORREF Shows(const RECT& monitor) {
    const RECT spot = {monitor.left + 20, monitor.top + 20, monitor.left + 24, monitor.top + 24};
    return vtest::ScreenCapture(spot).At(1, 1);
}

bool Inside(const RECT& monitor, const RECT& r) {
    return r.left <= monitor.left && r.top <= monitor.top && r.right >= monitor.right &&
           r.bottom >= monitor.bottom;
}

// The visible windows of a process that cover a monitor whole.
int WindowsOver(DWORD pid, const RECT& monitor) {
    int n = 0;
    for (HWND w : TopLevelWindowsOf(pid)) {
        RECT r;
        if (IsWindowVisible(w) && GetWindowRect(w, &r) && Inside(monitor, r)) ++n;
    }
    return n;
}

class Monitors : public RunSession {
protected:
    void SetUp() override {
        RunSession::SetUp();
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "this test needs the two-monitor screen";
        // The user's desktop: magenta under everything, so that black and
        // the screensavers' colours tell themselves apart from it.
        brush = CreateSolidBrush(kDesktop);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = brush;
        wc.lpszClassName = "MonitorsTestDesktop";
        RegisterClassA(&wc);
        // Disabled, so that it is never activated (and raised) in place of
        // a screensaver that goes, as the real desktop never is.
        desktop = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, "desktop",
                                  WS_POPUP | WS_VISIBLE | WS_DISABLED, 0, 0, 1440, 600, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] { return Shows(kSecond) == kDesktop; }, kWait));
    }
    void TearDown() override {
        if (desktop) DestroyWindow(desktop);
        UnregisterClassA("MonitorsTestDesktop", GetModuleHandleA(nullptr));
        if (brush) DeleteObject(brush);
        RunSession::TearDown();
    }
    // A probe of the colour, full screen on the primary monitor only or
    // over the whole virtual screen.
    std::string Saver(const char* name, const char* colour, bool primaryOnly,
                      const char* behaviour = "normal") {
        std::string path = AddSaver(savers.path(), name, behaviour);
        std::string ini = savers / (std::string(name) + ".ini");
        WritePrivateProfileStringA("Probe", "Color", colour, ini.c_str());
        WritePrivateProfileStringA("Probe", "Area", primaryOnly ? "primary" : "virtual", ini.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
        return path;
    }
    void Mode(const char* mode) {
        Ini("Options", "Monitors", mode);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    }

    // Whether a window of the process comes before the window in z-order
    // (Wine stacks a new window on top of the X screen whatever its place
    // among the windows, so the pixels alone do not tell).
    static bool Above(DWORD pid, HWND window) {
        for (HWND w = GetTopWindow(nullptr); w && w != window; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) return true;
        }
        return false;
    }
    // The previews running now that are in sight on their monitor, out of
    // those of the two screensavers: a child window in its host, or a popup
    // that shows its colour there (red for the first, green for the second).
    // why, where given, tells what each running preview shows.
    int PreviewsUp(const std::string& red, const std::string& green, std::string* why = nullptr) {
        int n = 0;
        for (const ProbeStart& s : Starts()) {
            const size_t p = s.commandLine.find(" /p ");
            if (p == std::string::npos || !ProcessAlive(s.pid)) continue;
            HWND host = reinterpret_cast<HWND>(
                static_cast<intptr_t>(std::stoll(s.commandLine.substr(p + 4))));
            RECT r{};
            GetWindowRect(host, &r);
            bool inHost = false;
            for (HWND w = GetWindow(host, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                inHost = inHost || (owner == s.pid && IsWindowVisible(w));
            }
            const COLORREF colour = s.commandLine.rfind(ShortPath(red) + " ", 0) == 0     ? RGB(255, 0, 0)
                                    : s.commandLine.rfind(ShortPath(green) + " ", 0) == 0 ? RGB(0, 255, 0)
                                                                                          : kDesktop;
            if (why)
                *why += s.commandLine + ": in its host " + std::to_string(inHost) + ", over it " +
                        std::to_string(WindowsOver(s.pid, r)) + ", above it " +
                        std::to_string(Above(s.pid, host)) + ", shows " +
                        std::to_string(Shows(r)) + "\n";
            if (inHost || (WindowsOver(s.pid, r) > 0 && Shows(r) == colour && Above(s.pid, host)))
                ++n;
        }
        return n;
    }

    HWND desktop = nullptr;
    HBRUSH brush = nullptr;
};

TEST_F(Monitors, AsDrawnLeavesTheSecondMonitorAlone) {
    SetList({Saver("red", "FF0000", true)});
    SetOptions(false);
    Process scr;
    ProbeStart first;
    ASSERT_TRUE(StartRunToFirst(scr, first));
    ASSERT_TRUE(WaitUntil([&] { return Shows(kFirst) == RGB(255, 0, 0); }, kWait));
    PumpFor(500);
    EXPECT_EQ(Shows(kSecond), kDesktop);
    EXPECT_EQ(WindowsOver(scr.Id(), kSecond), 0);
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

// Previews ignore input and the 9x line has no low-level hooks: there a
// screensaver of its own on each monitor would be a run nothing ends, so it
// is the plain one.
TEST_F(Monitors, OwnEachIsThePlainRunWithoutLowLevelHooks) {
    SetList({Saver("red", "FF0000", true), Saver("green", "00FF00", true)});
    SetOptions(false);
    Mode("2");
    WineVersionFor win98("Velmora.scr", "win98");
    Process scr;
    ProbeStart first;
    ASSERT_TRUE(StartRunToFirst(scr, first));
    EXPECT_NE(first.commandLine.find(" /s"), std::string::npos) << first.commandLine;
    PumpFor(500);
    EXPECT_EQ(Starts().size(), 1u);
    EXPECT_EQ(Shows(kSecond), kDesktop);
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

// The covers follow the screensaver wherever its window is, for as long as
// it runs: a stub that hands its work to another process (and waits for it,
// or ends at once), and one whose window comes only after seconds.
TEST_F(Monitors, BlackCoversFollowHandOffsAndLateWindows) {
    struct Case {
        const char* behaviour;
        unsigned windowAfterMs;
    };
    for (Case c : {Case{"handoffwait", 0}, Case{"handoff", 0}, Case{"normal", 4500}}) {
        SCOPED_TRACE(std::string(c.behaviour) + " " + std::to_string(c.windowAfterMs));
        DeleteFileA(log.c_str());
        const std::string saver = Saver(c.behaviour, "FF0000", true, c.behaviour);
        WritePrivateProfileStringA("Probe", "WindowAfterMs", std::to_string(c.windowAfterMs).c_str(),
                                   (savers / (std::string(c.behaviour) + ".ini")).c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, (savers / (std::string(c.behaviour) + ".ini")).c_str());
        SetList({saver});
        SetOptions(false);
        Mode("1");
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        EXPECT_TRUE(WaitUntil(
            [&] { return Shows(kSecond) == kBlack && Shows(kFirst) == RGB(255, 0, 0); }, kWait))
            << "the second monitor is not black, or the screensaver is under a cover";
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
        for (const ProbeStart& start : Starts()) EXPECT_FALSE(ProcessAlive(start.pid));
    }
}

// Screensavers as people have them, in each mode on two monitors: not
// topmost, ending when they lose activation, a window that comes late, a
// start of 10 s, a hand-off (waited for, or not), one that ignores WM_CLOSE,
// single-instance ones (the next quits while a screensaver window is still
// there); in the per-monitor mode previews that make a popup of their own
// (topmost or not), that run without a window when the handle is none, or
// start slowly. Each rotates with nothing pressed, with no desktop on either
// monitor where Velmora covers it and never under a cover, and the user's
// return ends everything.
TEST_F(Monitors, ScreensaversAsPeopleHaveThemInEveryMode) {
    struct Case {
        const char* name;
        const char* behaviour;
        std::vector<std::pair<const char*, const char*>> settings;
    };
    const std::vector<Case> fullScreen = {{"single", "normal", {{"SingleInstance", "1"}}},
                                          {"slow", "normal", {{"StartAfterMs", "10000"}}},
                                          {"nottop", "normal", {{"NotTopmost", "1"}}},
                                          {"deactivate", "normal", {{"EndOnDeactivate", "1"}}},
                                          {"late", "normal", {{"WindowAfterMs", "5000"}}},
                                          {"handoff", "handoff", {}},
                                          {"handoffwait", "handoffwait", {}},
                                          {"ignoreclose", "ignoreclose", {}}};
    const std::vector<Case> previews = {
        {"popup", "normal", {{"PreviewPopup", "1"}}},
        {"popuplow", "normal", {{"PreviewPopup", "1"}, {"NotTopmost", "1"}}},
        {"windowless", "normal", {{"WindowlessPreview", "1"}}},
        {"slow", "normal", {{"StartAfterMs", "10000"}}},
        {"single", "normal", {{"SingleInstance", "1"}}}};
    auto settle = [&](const std::string& name,
                      const std::vector<std::pair<const char*, const char*>>& settings) {
        const std::string ini = savers / (name + ".ini");
        for (const auto& [key, value] : settings)
            WritePrivateProfileStringA("Probe", key, value, ini.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    };
    // The next one quits at once while a screensaver window of the standard
    // library's class is still there; in preview mode it is a popup, whose
    // colour shows (Wine draws no child window of another process).
    const std::string next = Saver("next", "00FF00", true);
    settle("next", {{"SingleInstance", "1"}, {"PreviewPopup", "1"}});
    for (const char* mode : {"0", "1", "2"}) {
        const bool black = *mode == '1', each = *mode == '2';
        for (const Case& c : each ? previews : fullScreen) {
            SCOPED_TRACE(std::string("Monitors=") + mode + " " + c.name);
            DeleteFileA(log.c_str());
            const std::string saver = Saver(c.name, "FF0000", true, c.behaviour);
            settle(c.name, c.settings);
            SetList({saver, next});
            SetOptions(true, 15);
            Mode(mode);
            Process scr;
            ASSERT_TRUE(StartRun(scr));
            std::string seen;
            // Where Velmora covers the monitors, the desktop never shows
            // once a screensaver does.
            auto desktopSeen = [&] {
                if ((black || each) && (Shows(kFirst) == kDesktop || Shows(kSecond) == kDesktop))
                    seen = "the desktop showed";
            };
            size_t shown = 0;
            auto up = [&] {
                if (!each)
                    return Shows(kFirst) == (shown ? RGB(0, 255, 0) : RGB(255, 0, 0)) &&
                           (!black || Shows(kSecond) == kBlack);
                return PreviewsUp(saver, next) >= 2;
            };
            ASSERT_TRUE(WaitUntil(up, kWait)) << "not shown" << (black ? ", or not black beside it" : "");
            shown = Starts().size();
            InputCounter input;
            Rotate();
            EXPECT_TRUE(WaitUntil(
                [&] {
                    desktopSeen();
                    return up() && (!each || Starts().size() >= shown + 2);
                },
                kWait))
                << "no rotation: " << Starts().size() - shown << " started\n"
                << [&] {
                       std::string why;
                       if (each) PreviewsUp(saver, next, &why);
                       return why;
                   }();
            EXPECT_EQ(seen, "");
            EXPECT_EQ(input.keys(), 0) << "a key was pressed";
            ReturningUser();
            EXPECT_TRUE(scr.WaitForExit(kWait));
            EXPECT_TRUE(WaitUntil(
                [&] {
                    for (const ProbeStart& start : Starts())
                        if (ProcessAlive(start.pid)) return false;
                    return true;
                },
                kWait))
                << "a screensaver was left";
        }
    }
}

// The user comes back while a screensaver still takes its time to start (it
// has no window to be asked through yet): it ends with the run, and never
// shows its window afterwards.
TEST_F(Monitors, AScreensaverStillStartingEndsWithTheRun) {
    const std::string slow = Saver("slow", "FF0000", true);
    WritePrivateProfileStringA("Probe", "StartAfterMs", "10000", (savers / "slow.ini").c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, (savers / "slow.ini").c_str());
    for (const char* mode : {"0", "1", "2"}) {
        SCOPED_TRACE(std::string("Monitors=") + mode);
        DeleteFileA(log.c_str());
        SetList({slow});
        SetOptions(false);
        Mode(mode);
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        ASSERT_TRUE(WaitForStarts(1));
        ASSERT_NE(SessionWindow(), nullptr);
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
        for (const ProbeStart& start : Starts()) EXPECT_FALSE(ProcessAlive(start.pid));
    }
}

TEST_F(Monitors, BlackWhereTheScreensaverDoesNotDraw) {
    SetList({Saver("red", "FF0000", true), Saver("green", "00FF00", true)});
    SetOptions(true);
    Mode("1");
    Process scr;
    ProbeStart first;
    ASSERT_TRUE(StartRunToFirst(scr, first));
    // The screensaver's own monitor is not covered; the other is black.
    ASSERT_TRUE(WaitUntil(
        [&] { return Shows(kSecond) == kBlack && Shows(kFirst) == RGB(255, 0, 0); }, kWait));
    EXPECT_EQ(WindowsOver(scr.Id(), kSecond), 1);
    EXPECT_EQ(WindowsOver(scr.Id(), kFirst), 0);

    // A rotation: black until the next one is up, the desktop never.
    Rotate();
    std::string seen;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const COLORREF a = Shows(kFirst), b = Shows(kSecond);
            if (a == kDesktop || b == kDesktop)
                seen += "desktop on " + std::string(a == kDesktop ? "1 " : "") +
                        (b == kDesktop ? "2 " : "") + "with " + std::to_string(Starts().size()) +
                        " started; ";
            return Starts().size() == 2 && a == RGB(0, 255, 0);
        },
        kWait));
    EXPECT_EQ(seen, "") << "the desktop showed during the rotation";
    ASSERT_TRUE(WaitUntil([&] { return Shows(kSecond) == kBlack; }, kWait));
    vtest::ScreenCapture second(kSecond);
    EXPECT_EQ(second.Count(kBlack), second.Width() * second.Height()) << "all of it black";
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));

    // One that covers the virtual screen is covered nowhere.
    DeleteFileA(log.c_str());
    SetList({Saver("blue", "0000FF", false)});
    SetOptions(false);
    Process whole;
    ASSERT_TRUE(StartRunToFirst(whole, first));
    ASSERT_TRUE(WaitUntil([&] { return Shows(kSecond) == RGB(0, 0, 255); }, kWait));
    PumpFor(500);
    EXPECT_EQ(Shows(kSecond), RGB(0, 0, 255));
    EXPECT_EQ(WindowsOver(whole.Id(), kSecond), 0);
    ReturningUser();
    EXPECT_TRUE(whole.WaitForExit(kWait));
}

TEST_F(Monitors, EachMonitorPlaysAScreensaverOfItsOwn) {
    std::string broken = Saver("broken", "FFFFFF", false, "fail");
    std::string red = Saver("red", "FF0000", false), green = Saver("green", "00FF00", false),
                blue = Saver("blue", "0000FF", false);
    SetList({broken, red, green, blue});
    SetOptions(true, 1);
    Mode("2");

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    // The broken one is passed over; two others play, one on each monitor,
    // each in a window of Velmora's that covers its monitor.
    auto previews = [&] {
        std::vector<ProbeStart> shown;
        for (const ProbeStart& s : Starts())
            if (s.commandLine.find(" /p ") != std::string::npos) shown.push_back(s);
        return shown;
    };
    auto playing = [&] {
        std::vector<ProbeStart> alive;
        for (const ProbeStart& s : previews())
            if (ProcessAlive(s.pid)) alive.push_back(s);
        return alive;
    };
    auto of = [&](const ProbeStart& s, const std::string& saver) {
        return s.commandLine.rfind(ShortPath(saver) + " /p ", 0) == 0;
    };
    auto tried = [&](const std::string& saver) {
        for (const ProbeStart& s : previews())
            if (of(s, saver)) return true;
        return false;
    };
    // The broken one runs for a moment before it ends.
    auto playingOthers = [&] {
        std::vector<ProbeStart> others;
        for (const ProbeStart& s : playing())
            if (!of(s, broken)) others.push_back(s);
        return others;
    };
    auto listed = [&] {
        std::string text;
        for (const ProbeStart& s : Starts())
            text += s.commandLine + (ProcessAlive(s.pid) ? " (running)\n" : " (ended)\n");
        return text;
    };
    std::vector<ProbeStart> both;
    ASSERT_TRUE(
        WaitUntil([&] { return tried(broken) && (both = playingOthers()).size() == 2; }, kWait))
        << listed();
    std::set<std::string> entries;
    std::set<int> monitorsCovered;
    for (const ProbeStart& s : both) {
        const size_t p = s.commandLine.find(" /p ");
        entries.insert(s.commandLine.substr(0, p));
        HWND host = reinterpret_cast<HWND>(
            static_cast<intptr_t>(std::stoll(s.commandLine.substr(p + 4))));
        RECT r{};
        ASSERT_TRUE(GetWindowRect(host, &r));
        DWORD owner = 0;
        GetWindowThreadProcessId(host, &owner);
        EXPECT_EQ(owner, scr.Id());
        if (EqualRect(&r, &kFirst)) monitorsCovered.insert(1);
        if (EqualRect(&r, &kSecond)) monitorsCovered.insert(2);
    }
    EXPECT_EQ(entries.size(), 2u) << "the same screensaver on both monitors\n" << listed();
    EXPECT_TRUE(WaitUntil([&] { return playing().size() == 2; }, kWait)) << listed();
    EXPECT_EQ(monitorsCovered, (std::set<int>{1, 2}));
    EXPECT_NE(Shows(kFirst), kDesktop);
    EXPECT_NE(Shows(kSecond), kDesktop);
    const size_t before = previews().size();

    // The show time is a minute; the second monitor changes half a minute
    // in, the first at the minute.
    const DWORD started = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return previews().size() >= before + 1; }, 50000)) << listed();
    const DWORD firstChange = GetTickCount() - started;
    ASSERT_TRUE(WaitUntil([&] { return previews().size() >= before + 2; }, 50000)) << listed();
    const DWORD secondChange = GetTickCount() - started;
    EXPECT_LT(firstChange, 45000u);
    EXPECT_GE(secondChange - firstChange, 20000u) << "both changed at once";

    // The user's return ends both and the run.
    std::vector<DWORD> children;
    for (const ProbeStart& s : previews()) children.push_back(s.pid);
    ASSERT_TRUE(XPointerMove(300, 200));
    EXPECT_TRUE(scr.WaitForExit(kWait));
    for (DWORD pid : children) EXPECT_FALSE(ProcessAlive(pid)) << pid;
}

// A screensaver in a window of ours holds no focus: the program the user
// left in front must not get the key that wakes the computer (one of
// Velmora's windows holds the foreground, and the hooks drop the key).
LONG g_userKeys = 0;
LRESULT CALLBACK UserProgram(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_SYSKEYDOWN)
        InterlockedIncrement(&g_userKeys);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(Monitors, KeysReachNoOtherProgramWhenEachMonitorPlaysItsOwn) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UserProgram;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MonitorsTestUserProgram";
    RegisterClassA(&wc);
    HWND user = CreateWindowExA(0, wc.lpszClassName, "user program", WS_POPUP | WS_VISIBLE, 100,
                                100, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(user, nullptr);
    SetForegroundWindow(user);
    SetFocus(user);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == user; }, kWait));
    // The pointer rests over the first monitor, where the host comes.
    ASSERT_TRUE(XPointerMove(300, 250));

    SetList({Saver("red", "FF0000", false), Saver("green", "00FF00", false)});
    SetOptions(false);
    Mode("2");
    Process scr;
    ASSERT_TRUE(StartRun(scr));
    auto previewsRunning = [&] {
        int n = 0;
        for (const ProbeStart& s : Starts())
            n += s.commandLine.find(" /p ") != std::string::npos && ProcessAlive(s.pid);
        return n;
    };
    ASSERT_TRUE(WaitUntil([&] { return previewsRunning() == 2; }, kWait));
    DWORD front = 0;
    EXPECT_TRUE(WaitUntil(
        [&] { return GetWindowThreadProcessId(GetForegroundWindow(), &front) && front == scr.Id(); },
        kWait))
        << "a window of Velmora's holds the foreground";

    InterlockedExchange(&g_userKeys, 0);
    ASSERT_TRUE(XDoTool("key Delete a"));
    EXPECT_TRUE(scr.WaitForExit(kWait)) << "the key is the user's return";
    PumpFor(500);
    EXPECT_EQ(InterlockedExchangeAdd(&g_userKeys, 0), 0) << "a key reached the user's program";
    DestroyWindow(user);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

}  // namespace
}  // namespace run_session_test
