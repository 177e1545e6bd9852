// Whole runs: Velmora.scr /s started as Windows starts it, rotating copies of
// the probe screensaver, with Trapline.dll installed in the system folder.
#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

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

TEST_F(RunSession, TwoStartsInTheSameInstantMakeOneRun) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({alpha});
    SetOptions(false);

    // Neither finds the other's session window: it is made only once the
    // first screensaver runs.
    Process one, two;
    ASSERT_TRUE(StartRun(one));
    ASSERT_TRUE(StartRun(two));
    ASSERT_TRUE(WaitUntil([&] { return !one.Running() || !two.Running(); }, kWait))
        << "both starts went on to run";
    Process& run = one.Running() ? one : two;
    ASSERT_TRUE(WaitForStarts(1));
    ASSERT_TRUE(WaitForForeground(Starts()[0].pid));
    PumpFor(300);
    EXPECT_EQ(Starts().size(), 1u);
    ReturningUser();
    EXPECT_TRUE(run.WaitForExit(kWait));
}

TEST_F(RunSession, RotationClosesTheChildThroughItsWindowAndSendsNoInput) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    std::string beta = AddSaver(savers.path(), "beta");
    std::string gamma = AddSaver(savers.path(), "gamma");

    // The measure itself: a synthetic key press moves the last-input time.
    const DWORD quiet = LastInputTime();
    ASSERT_TRUE(WaitUntil([&] { return GetTickCount() != quiet; }, kWait));
    {
        InputCounter input;
        keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(WaitUntil([&] { return LastInputTime() != quiet; }, kWait));
        ASSERT_TRUE(WaitUntil([&] { return input.keys() == 2; }, kWait));
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
            ASSERT_TRUE(WaitForStarts(i + 1))
                << "start " << i << ": the run "
                << (scr.Running() ? "goes on" : "ended, " + std::to_string(scr.ExitCode()));
            ProbeStart start = Starts()[i];
            EXPECT_EQ(start.commandLine, ShortPath(expected[i]) + " /s");
            EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), std::to_string(i % 3));
            ASSERT_TRUE(WaitForForeground(start.pid));
            if (i + 1 < expected.size()) {
                OpenedProcess child(start.pid);
                ASSERT_TRUE(child.IsOpen());
                InputCounter input;
                const DWORD before = LastInputTime();
                Rotate();
                ASSERT_TRUE(child.WaitForExit(kWait)) << "the rotation closes the running probe";
                EXPECT_EQ(input.keys(), 0) << "the rotation pressed a key";
                EXPECT_EQ(input.mouse(), 0) << "the rotation moved or clicked the mouse";
                // The last-input time stays, unless Wine counted the probe's
                // window closing under the resting pointer (seen above as a
                // move to the same point, and as nothing else).
                if (input.mouse() == 0 && input.keys() == 0 && LastInputTime() != before)
                    std::printf("(the last-input time moved with a window under the pointer)\n");
                else
                    EXPECT_EQ(LastInputTime(), before) << "the rotation sent input";
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

// A stub that hands its work to a worker and waits for it has no window of
// its own: the rotation asks the worker's window, presses nothing, and the
// next screensaver starts.
TEST_F(RunSession, RotationFromAWaitingStubPressesNothing) {
    std::string stub = AddSaver(savers.path(), "stub", "handoffwait");
    std::string beta = AddSaver(savers.path(), "beta");
    SetList({stub, beta});
    SetOptions(true, 15);

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    ASSERT_TRUE(WaitForStarts(2));
    const std::vector<ProbeStart> starts = Starts();
    ASSERT_EQ(starts[1].ppid, starts[0].pid);
    ASSERT_TRUE(WaitForForeground(starts[1].pid));
    {
        InputCounter input;
        Rotate();
        ASSERT_TRUE(WaitForStarts(3));
        EXPECT_NE(Starts()[2].commandLine.find("beta"), std::string::npos);
        EXPECT_EQ(input.keys(), 0) << "the rotation pressed a key";
    }
    EXPECT_FALSE(ProcessAlive(starts[0].pid));
    EXPECT_FALSE(ProcessAlive(starts[1].pid));
    ASSERT_TRUE(WaitForForeground(Starts()[2].pid));
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
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

    // 1200 entries that are gone before one that is there, in list order: it
    // starts (asking at every skip whether any listed file is there cost the
    // square of the list, and nothing had started two minutes later).
    DeleteFileA(log.c_str());
    {
        std::vector<std::string> many;
        for (int i = 0; i < 1200; ++i) many.push_back(gone + std::to_string(i));
        many.push_back(spaced);
        SetList(many);
        Ini("Screensaver", "LastScrShow", "1200");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        ASSERT_TRUE(WaitForStarts(1));
        EXPECT_EQ(Starts()[0].commandLine, ShortPath(spaced) + " /s");
        ASSERT_TRUE(WaitForForeground(Starts()[0].pid));
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
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
