// A run never holds the user: children that will not close, a user who comes
// back meanwhile, the session window closed from outside, and settings that
// are garbage.
#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

// Longer than the runner gives a child to end after the user's input.
constexpr DWORD kBeyondGrace = 5000;

TEST_F(RunSession, RotationEndsAChildThatWillNotClose) {
    std::string stuck = AddSaver(savers.path(), "stuck", "hang");
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({stuck, alpha});
    SetOptions(true);

    Process scr;
    ProbeStart first;
    ASSERT_TRUE(StartRunToFirst(scr, first));
    OpenedProcess child(first.pid);
    Rotate();
    // A request, a second one after the rotation grace, then the end and its
    // wait (run_timings.h: 11 s at most), and the next start: on a busy
    // machine that has come close to the usual wait.
    ASSERT_TRUE(WaitUntil([&] { return Starts().size() >= 2; }, 2 * kWait))
        << "the rotation never completed";
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(Starts()[1].commandLine, ShortPath(alpha) + " /s");
    ASSERT_TRUE(WaitForForeground(Starts()[1].pid));
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

TEST_F(RunSession, RealInputEndsAChildThatIgnoresIt) {
    std::string stuck = AddSaver(savers.path(), "stuck", "hang");
    SetList({stuck});
    SetOptions(false);

    Process scr;
    ProbeStart start;
    ASSERT_TRUE(StartRunToFirst(scr, start));
    OpenedProcess child(start.pid);
    // Input a program makes is not the user.
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_FALSE(scr.WaitForExit(kBeyondGrace)) << "injected input ended the run";

    ASSERT_TRUE(XPointerMove(200, 150));
    EXPECT_TRUE(scr.WaitForExit(kWait)) << "the user is held by the child";
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(Starts().size(), 1u);
}

TEST_F(RunSession, UserBackDuringARotationEndsTheRun) {
    std::string stuck = AddSaver(savers.path(), "stuck", "hang");
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({stuck, alpha});
    SetOptions(true);

    Process scr;
    ProbeStart start;
    ASSERT_TRUE(StartRunToFirst(scr, start));
    OpenedProcess child(start.pid);
    Rotate();
    ASSERT_TRUE(XPointerMove(200, 150));
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_FALSE(child.Running());
    PumpFor(300);
    EXPECT_EQ(Starts().size(), 1u) << "a new screensaver started for a returning user";
}

TEST_F(RunSession, Windows98RotationLeavesTheUsersWindowAlone) {
    WineVersionFor pretend("Velmora.scr", "win98");
    std::string alpha = AddSaver(savers.path(), "alpha");
    std::string beta = AddSaver(savers.path(), "beta");
    SetList({alpha, beta});
    SetOptions(true);

    Process scr;
    ProbeStart first;
    ASSERT_TRUE(StartRunToFirst(scr, first));
    OpenedProcess child(first.pid);
    // A window of someone else's comes to the front before the tick.
    HWND own = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "not a screensaver", WS_POPUP | WS_VISIBLE,
                               10, 10, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
    ASSERT_NE(own, nullptr);
    SetForegroundWindow(own);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == own; }, kWait));
    Rotate();
    EXPECT_TRUE(child.WaitForExit(kWait)) << "the child's own window was not closed";
    EXPECT_TRUE(WaitForStarts(2));
    EXPECT_TRUE(IsWindow(own)) << "the rotation closed the window in front";
    if (IsWindow(own)) DestroyWindow(own);
    ASSERT_TRUE(WaitForForeground(Starts()[1].pid));
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

TEST_F(RunSession, RandomOrderPlaysOnPastMissingFiles) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    std::string beta = AddSaver(savers.path(), "beta");
    std::string gone = savers / "gone";
    SetList({gone + "1.scr", alpha, gone + "2.scr", gone + "3.scr", beta, gone + "4.scr"});
    SetOptions(true, 15, true);

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    const size_t kTicks = 8;
    for (size_t i = 0; i < kTicks; ++i) {
        ASSERT_TRUE(WaitForStarts(i + 1)) << "tick " << i;
        ProbeStart start = Starts()[i];
        EXPECT_TRUE(start.commandLine == ShortPath(alpha) + " /s" ||
                    start.commandLine == ShortPath(beta) + " /s")
            << start.commandLine;
        ASSERT_TRUE(WaitForForeground(start.pid));
        if (i + 1 < kTicks) Rotate();
    }
    EXPECT_TRUE(scr.Running());
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

TEST_F(RunSession, AHungMainThreadStillEndsWhenTheUserReturns) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({alpha});
    SetOptions(false);

    Process scr;
    ProbeStart start;
    ASSERT_TRUE(StartRunToFirst(scr, start));
    HWND session = SessionWindow();
    ASSERT_NE(session, nullptr);
    // The main thread stops answering, as if it hung in the system.
    HANDLE main = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(session, nullptr));
    ASSERT_NE(main, nullptr);
    ASSERT_NE(SuspendThread(main), static_cast<DWORD>(-1));
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait)) << "a hung main thread kept the program";
    EXPECT_EQ(scr.ExitCode(), 3u);
    EXPECT_FALSE(ProcessAlive(start.pid));
    CloseHandle(main);
}

// The thread a process made last: in a run, the input watch's, which is
// started once the session window is made.
HANDLE OpenNewestThread(DWORD pid, DWORD rights) {
    HANDLE newest = nullptr;
    ULONGLONG newestAt = 0;
    for (DWORD id : ThreadsOf(pid)) {
        HANDLE thread = OpenThread(rights | THREAD_QUERY_INFORMATION, FALSE, id);
        FILETIME created{}, unused[3];
        if (thread && GetThreadTimes(thread, &created, &unused[0], &unused[1], &unused[2]) &&
            (ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}).QuadPart >= newestAt) {
            if (newest) CloseHandle(newest);
            newest = thread;
            newestAt = ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}.QuadPart;
        } else if (thread) {
            CloseHandle(thread);
        }
    }
    return newest;
}

// Windows removes a low-level hook whose thread is slow to answer; Wine
// passes input by the hooks of a thread that does not answer. A child that
// then ends on the user's key is the user's return (the system's last-input
// time is newer than anything the hooks saw), not a quit to pass over.
TEST_F(RunSession, AQuitOnInputTheHooksMissedEndsTheRun) {
    SetList({AddSaver(savers.path(), "alpha"), AddSaver(savers.path(), "beta")});
    SetOptions(false);
    Ini("Options", "GoOnWhenQuits", "1");
    Process scr;
    ProbeStart start;
    ASSERT_TRUE(StartRunToFirst(scr, start));
    ASSERT_NE(SessionWindow(), nullptr);
    HANDLE watch = OpenNewestThread(scr.Id(), THREAD_SUSPEND_RESUME);
    ASSERT_NE(watch, nullptr);
    ASSERT_NE(SuspendThread(watch), static_cast<DWORD>(-1));
    OpenedProcess child(start.pid);
    ASSERT_TRUE(XDoTool("key a"));
    EXPECT_TRUE(child.WaitForExit(kWait)) << "the key did not reach the screensaver";
    EXPECT_EQ(child.ExitCode(), 4u) << "ended by input";
    // A quit passed over would start the next one after a moment's grace.
    EXPECT_FALSE(WaitUntil([&] { return Starts().size() > 1; }, 3000)) << "the next one started";
    ResumeThread(watch);
    CloseHandle(watch);
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_EQ(Starts().size(), 1u);
}

TEST_F(RunSession, ClosingTheSessionWindowEndsChildAndRun) {
    for (const char* behaviour : {"normal", "hang"}) {
        SCOPED_TRACE(behaviour);
        DeleteFileA(log.c_str());
        std::string saver = AddSaver(savers.path(), behaviour, behaviour);
        SetList({saver});
        SetOptions(true);

        Process scr;
        ProbeStart start;
        ASSERT_TRUE(StartRunToFirst(scr, start));
        OpenedProcess child(start.pid);
        HWND session = SessionWindow();
        ASSERT_NE(session, nullptr);
        PostMessageA(session, WM_CLOSE, 0, 0);
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_EQ(scr.ExitCode(), 0u) << "the runner ended by its own message loop";
        EXPECT_FALSE(child.Running());
        EXPECT_EQ(FindWindowA(nullptr, "VelmoraScrWnd"), nullptr);
        EXPECT_EQ(Starts().size(), 1u);
    }
}

TEST_F(RunSession, LongAndGarbageSettingsEndDefined) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    // A real file named through a path of more than 259 characters.
    std::string longPath = savers.path();
    while (longPath.size() < 300) longPath += "\\.";
    longPath += "\\alpha.scr";
    const std::string garbage(300, 'x');

    struct Case {
        const char* what;
        std::vector<std::pair<const char*, std::string>> screensaver, options;
        size_t starts;
    };
    const Case cases[] = {
        {"garbage everywhere",
         {{"nScr", "99999999999999999999"}, {"LastScrShow", "-7"}, {"Scr0", garbage},
          {"Scr1", savers / "*.scr"}, {"Scr2", "\x01\x02\x7f"}},
         {{"ShowRandomOrder", "yes"}, {"ShowForXMinuts", "maybe"}, {"ShowTime", "-3"}},
         0},
        {"random over garbage",
         {{"nScr", "3"}, {"Scr0", garbage + garbage}, {"Scr1", longPath}, {"Scr2", ""}},
         {{"ShowRandomOrder", "1"}, {"ShowForXMinuts", "1"}, {"ShowTime", "abc"}},
         0},
        {"a long entry is passed over",
         {{"nScr", "2"}, {"LastScrShow", "1zz"}, {"Scr0", longPath}, {"Scr1", alpha}},
         {{"ShowForXMinuts", "1"}, {"ShowTime", "99999999999"}},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(log.c_str());
        WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
        WritePrivateProfileStringA("Options", nullptr, nullptr, "Velmora.ini");
        for (const auto& kv : c.screensaver) Ini("Screensaver", kv.first, kv.second);
        for (const auto& kv : c.options) Ini("Options", kv.first, kv.second);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");

        Process scr;
        ASSERT_TRUE(StartRun(scr));
        if (c.starts == 0) {
            EXPECT_TRUE(scr.WaitForExit(kWait)) << "the run did not end";
            EXPECT_EQ(scr.ExitCode(), 0u);
            EXPECT_TRUE(Starts().empty());
            continue;
        }
        ASSERT_TRUE(WaitForStarts(1));
        EXPECT_EQ(Starts()[0].commandLine, ShortPath(alpha) + " /s");
        ASSERT_TRUE(WaitForForeground(Starts()[0].pid));
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_EQ(Starts().size(), 1u);
    }
}

}  // namespace
}  // namespace run_session_test
