// A fair rotation: screensavers that quit by themselves passed over when the
// user asks for it, and random order played as a shuffled deck.
#include <set>

#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

TEST_F(RunSession, QuitsByItselfArePassedOverWhenAsked) {
    std::string failing = AddSaver(savers.path(), "failing", "fail");
    std::string broken = AddSaver(savers.path(), "broken", "fail");
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetOptions(false);
    Ini("Options", "GoOnWhenQuits", "1");

    // One that fails at once makes way for the next.
    SetList({failing, alpha});
    {
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        ASSERT_TRUE(WaitForStarts(2));
        EXPECT_EQ(Starts()[1].commandLine, ShortPath(alpha) + " /s");
        ASSERT_TRUE(WaitForForeground(Starts()[1].pid));
        // The user's return is still a return, even one single move.
        ASSERT_TRUE(XPointerMove(200, 150));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        PumpFor(1000);
        EXPECT_EQ(Starts().size(), 2u) << "a screensaver started for a returning user";
    }

    // A list of nothing but broken ones ends: each is passed over once.
    DeleteFileA(log.c_str());
    SetList({failing, broken});
    {
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        EXPECT_TRUE(scr.WaitForExit(kWait)) << "the run goes on and on";
        EXPECT_EQ(Starts().size(), 3u);
    }
}

TEST_F(RunSession, ShuffledDeckPlaysEveryOneOnceBeforeAnyComesAgain) {
    std::vector<std::string> entries;
    for (const char* name : {"alpha", "beta", "gamma"})
        entries.push_back(ShortPath(AddSaver(savers.path(), name)) + " /s");
    SetList({savers / "alpha.scr", savers / "beta.scr", savers / "gamma.scr"});
    SetOptions(true, 15, true);
    Ini("Options", "PlayEachOnce", "1");

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    const size_t kStarts = 7;
    for (size_t i = 0; i < kStarts; ++i) {
        ASSERT_TRUE(WaitForStarts(i + 1)) << "start " << i;
        ASSERT_TRUE(WaitForForeground(Starts()[i].pid));
        if (i + 1 < kStarts) Rotate();
    }
    const std::vector<ProbeStart> starts = Starts();
    for (size_t deck = 0; deck + 3 <= kStarts; deck += 3) {
        std::set<std::string> played;
        for (size_t i = deck; i < deck + 3; ++i) played.insert(starts[i].commandLine);
        EXPECT_EQ(played, std::set<std::string>(entries.begin(), entries.end())) << "deck " << deck / 3;
    }
    for (size_t i = 1; i < kStarts; ++i)
        EXPECT_NE(starts[i].commandLine, starts[i - 1].commandLine) << "twice in a row at " << i;
    // The deck is kept, for the next run to go on with.
    EXPECT_NE(IniValue("Screensaver", "Deck"), "<none>");
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

}  // namespace
}  // namespace run_session_test

namespace run_session_test {
namespace {

// One monitor: every way of covering several is the plain run.
TEST_F(RunSession, MonitorModesOnOneMonitorAreThePlainRun) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    std::string alpha = AddSaver(savers.path(), "alpha");
    for (const char* mode : {"1", "2"}) {
        SCOPED_TRACE(mode);
        DeleteFileA(log.c_str());
        SetList({alpha});
        SetOptions(false);
        Ini("Options", "Monitors", mode);
        Process scr;
        ProbeStart start;
        ASSERT_TRUE(StartRunToFirst(scr, start));
        EXPECT_EQ(start.commandLine, ShortPath(alpha) + " /s");
        for (HWND w : TopLevelWindowsOf(scr.Id())) EXPECT_FALSE(IsWindowVisible(w));
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
    }
}

}  // namespace
}  // namespace run_session_test
