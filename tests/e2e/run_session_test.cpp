// Whole runs: Velmora.scr /s started as Windows starts it, rotating copies of
// the probe screensaver, with Trapline.dll installed in the system folder.
#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

// Counts the key presses anyone makes while it exists; the thread must pump
// (the waits here do).
class KeyPressCounter {
public:
    KeyPressCounter() {
        s_count = 0;
        m_hook = SetWindowsHookExA(WH_KEYBOARD_LL, Count, GetModuleHandleA(nullptr), 0);
    }
    ~KeyPressCounter() {
        if (m_hook) UnhookWindowsHookEx(m_hook);
    }
    KeyPressCounter(const KeyPressCounter&) = delete;
    KeyPressCounter& operator=(const KeyPressCounter&) = delete;
    int count() const { return m_hook ? s_count : -1; }

private:
    static LRESULT CALLBACK Count(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) ++s_count;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static int s_count;
    HHOOK m_hook;
};
int KeyPressCounter::s_count = 0;

TEST_F(RunSession, OneEntryRunsUntilTheUserReturns) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({alpha});
    SetOptions(false);

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    ASSERT_TRUE(WaitForStarts(1));
    ProbeStart start = Starts()[0];
    EXPECT_EQ(start.ppid, scr.Id());
    EXPECT_EQ(start.commandLine, ShortPath(alpha) + " /s");
    EXPECT_TRUE(SamePath(start.currentDir, savers.path())) << start.currentDir;
    ASSERT_TRUE(WaitForForeground(start.pid));

    // A second start while the run goes on ends at once and starts nothing.
    {
        Process second;
        ASSERT_TRUE(StartRun(second));
        EXPECT_TRUE(second.WaitForExit(kWait));
        PumpFor(300);
        EXPECT_EQ(Starts().size(), 1u);
    }

    EXPECT_TRUE(scr.Running());
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_FALSE(ProcessAlive(start.pid));
    EXPECT_EQ(Starts().size(), 1u);
    EXPECT_EQ(FindWindowA(nullptr, "VelmoraScrWnd"), nullptr);
    EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), "<none>");
}

TEST_F(RunSession, RotationClosesTheChildThroughItsWindowAndSendsNoInput) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    std::string beta = AddSaver(savers.path(), "beta");
    std::string gamma = AddSaver(savers.path(), "gamma");

    // The measure itself: a synthetic key press moves the last-input time.
    const DWORD quiet = LastInputTime();
    ASSERT_TRUE(WaitUntil([&] { return GetTickCount() != quiet; }, kWait));
    {
        KeyPressCounter keys;
        keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(WaitUntil([&] { return LastInputTime() != quiet; }, kWait));
        ASSERT_TRUE(WaitUntil([&] { return keys.count() == 2; }, kWait));
    }

    for (const char* version : {"win98", "vista", "win7"}) {
        SCOPED_TRACE(version);
        WineVersionFor pretend("Velmora.scr", version);
        DeleteFileA(log.c_str());
        SetList({alpha, beta, gamma});
        SetOptions(true, 15);

        Process scr;
        ASSERT_TRUE(StartRun(scr));
        const std::vector<std::string> expected = {alpha, beta, gamma, alpha};
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_TRUE(WaitForStarts(i + 1)) << "start " << i;
            ProbeStart start = Starts()[i];
            EXPECT_EQ(start.commandLine, ShortPath(expected[i]) + " /s");
            EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), std::to_string(i % 3));
            ASSERT_TRUE(WaitForForeground(start.pid));
            if (i + 1 < expected.size()) {
                OpenedProcess child(start.pid);
                ASSERT_TRUE(child.IsOpen());
                KeyPressCounter keys;
                const DWORD before = LastInputTime();
                Rotate();
                ASSERT_TRUE(child.WaitForExit(kWait)) << "the rotation closes the running probe";
                EXPECT_EQ(LastInputTime(), before) << "the rotation sent input";
                EXPECT_EQ(keys.count(), 0) << "the rotation pressed a key";
                EXPECT_EQ(child.ExitCode(), 0u) << "closed through its window, not by input";
            }
        }
        EXPECT_TRUE(scr.Running());
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_EQ(Starts().size(), expected.size());
    }
}

TEST_F(RunSession, HandOffProcessIsWaitedFor) {
    std::string relay = AddSaver(savers.path(), "relay", "handoff");
    SetList({relay});
    SetOptions(false);

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    ASSERT_TRUE(WaitForStarts(2));
    std::vector<ProbeStart> starts = Starts();
    EXPECT_EQ(starts[0].ppid, scr.Id());
    EXPECT_EQ(starts[1].ppid, starts[0].pid);
    ASSERT_TRUE(WaitUntil([&] { return !ProcessAlive(starts[0].pid); }, kWait));
    ASSERT_TRUE(WaitForForeground(starts[1].pid));
    PumpFor(500);
    EXPECT_TRUE(scr.Running()) << "the runner waits for the process the child handed over to";
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_FALSE(ProcessAlive(starts[1].pid));
}

TEST_F(RunSession, DamagedHookLibraryIsReportedAndNothingStarts) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({alpha});
    SetOptions(false);
    for (const char* variant : {"", "trapline_noname.dll", "trapline_refuse.dll"}) {
        SCOPED_TRACE(*variant ? variant : "missing");
        if (*variant)
            InstallTrapline(variant);
        else
            DeleteFileA(trapline.c_str());
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        HWND box = WaitForDialog(scr.Id(), "Velmora Error", kWait);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box),
                  "Unable to load or initialize Trapline.dll, file damaged or not found.\n"
                  "Try to uninstall and reinstall Velmora");
        PressButton(box, IDOK);
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(Starts().empty());
    }
}

TEST_F(RunSession, MissingBrokenAndSpacedEntries) {
    std::string spaced = AddSaver(savers / "my savers", "Deep Sea Saver");
    std::string failing = AddSaver(savers.path(), "failing", "fail");
    std::string gone = savers / "gone.scr";
    std::string notAProgram = savers / "text.scr";
    WriteFileBytes(notAProgram, "not a program\r\n");

    // A deleted entry is skipped; the one after it (in a folder with spaces) runs.
    SetList({gone, spaced});
    SetOptions(true);
    {
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        ASSERT_TRUE(WaitForStarts(1));
        ProbeStart start = Starts()[0];
        EXPECT_EQ(start.commandLine, ShortPath(spaced) + " /s");
        EXPECT_TRUE(SamePath(start.currentDir, savers / "my savers"));
        ASSERT_TRUE(WaitForForeground(start.pid));
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
    }

    // Only missing entries: the run ends after one miss per entry.
    DeleteFileA(log.c_str());
    SetList({gone, gone + "2", gone + "3"});
    {
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(Starts().empty());
    }

    // A child that cannot start, or one that ends at once with no tick, ends the run.
    for (const std::string& entry : {notAProgram, failing}) {
        SCOPED_TRACE(entry);
        DeleteFileA(log.c_str());
        SetList({entry, spaced});
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        PumpFor(300);
        EXPECT_EQ(Starts().size(), entry == failing ? 1u : 0u);
    }
}

}  // namespace
}  // namespace run_session_test
