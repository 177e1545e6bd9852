// The end of a run when the main thread cannot help: the input hooks answer
// on a thread of their own, a lost hand-back still ends the process, and the
// end of the Windows session is answered at once.
#include "tests/e2e/run_session_fixture.h"

#include <tlhelp32.h>

namespace run_session_test {
namespace {

// The runner's own deadlines add up to more than kWait here: a user's grace,
// one last request to close, then the watchdog's wait for the main thread.
constexpr DWORD kLongWait = 40000;

// The thread that made the session window.
HANDLE OpenMainThread(HWND session, DWORD rights) {
    return OpenThread(rights, FALSE, GetWindowThreadProcessId(session, nullptr));
}

bool HasModule(DWORD pid, const char* name) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Module32First(snap, &entry); more && !found;
         more = Module32Next(snap, &entry))
        found = lstrcmpiA(entry.szModule, name) == 0;
    CloseHandle(snap);
    return found;
}

TEST_F(RunSession, HooksEndAChildThatIgnoresInputWhileTheMainThreadHangs) {
    Process scr;
    ProbeStart start;
    HWND session = nullptr;
    ASSERT_TRUE(StartRunOf("hang", scr, start, session));
    OpenedProcess child(start.pid);
    HANDLE main = OpenMainThread(session, THREAD_SUSPEND_RESUME);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(SuspendThread(main), static_cast<DWORD>(-1));
    ASSERT_TRUE(XPointerMove(200, 150));
    EXPECT_TRUE(scr.WaitForExit(kLongWait)) << "the user is held by the child";
    EXPECT_EQ(scr.ExitCode(), 3u) << "the watchdog ended the process for its main thread";
    EXPECT_FALSE(child.Running());
    CloseHandle(main);
}

TEST_F(RunSession, AFailedHandBackStillEndsTheProcess) {
    Process scr;
    ProbeStart start;
    HWND session = nullptr;
    ASSERT_TRUE(StartRunOf("normal", scr, start, session));
    // The main thread dies and its window with it: the end of the run can
    // no longer be posted to it.
    HANDLE main = OpenMainThread(session, THREAD_TERMINATE);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(TerminateThread(main, 9));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(session); }, kWait));
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kLongWait)) << "a lost hand-back kept the process";
    EXPECT_EQ(scr.ExitCode(), 3u);
    EXPECT_FALSE(ProcessAlive(start.pid));
    CloseHandle(main);
}

TEST_F(RunSession, EndOfTheWindowsSessionIsAnsweredAtOnceAndEndsTheRun) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    Process scr;
    ProbeStart start;
    HWND session = nullptr;
    ASSERT_TRUE(StartRunOf("hang", scr, start, session));
    OpenedProcess child(start.pid);
    ASSERT_TRUE(HasModule(scr.Id(), "kernel32.dll"));
    EXPECT_FALSE(HasModule(scr.Id(), "comctl32.dll")) << "nothing is subclassed in a run";

    // The Restart Manager's close: the process must end by itself.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(session, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP,
                                    SMTO_NORMAL, 1000, &answer))
        << "WM_ENDSESSION was not answered at once";
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_EQ(scr.ExitCode(), 0u);
    EXPECT_FALSE(child.Running());

    // The next run starts as usual.
    DeleteFileA(log.c_str());
    SetList({alpha});
    Process next;
    ASSERT_TRUE(StartRunToFirst(next, start));
    EXPECT_EQ(start.commandLine, ShortPath(alpha) + " /s");
    ReturningUser();
    EXPECT_TRUE(next.WaitForExit(kWait));
}

}  // namespace
}  // namespace run_session_test
