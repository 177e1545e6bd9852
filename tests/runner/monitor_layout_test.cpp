// The monitors' modes: which a run takes, and what each does.
#include "runner/monitor_layout.h"

#include <gtest/gtest.h>

namespace {

using velmora::runner::ModeForRun;
using velmora::runner::MonitorMode;
using velmora::runner::RulesOf;

TEST(MonitorModes, TheStoredOneWhereTheMachineAllowsIt) {
    EXPECT_EQ(ModeForRun(1, 2, false), MonitorMode::Black);
    EXPECT_EQ(ModeForRun(2, 3, true), MonitorMode::OwnEach);
    EXPECT_EQ(ModeForRun(2, 1, true), MonitorMode::AsDrawn) << "one monitor";
    EXPECT_EQ(ModeForRun(2, 2, false), MonitorMode::AsDrawn) << "nothing could end it";
    EXPECT_EQ(ModeForRun(7, 2, true), MonitorMode::AsDrawn) << "unknown";
}

TEST(MonitorModes, OnlyEachMonitorsOwnRotatesWithoutTheSessionTimer) {
    for (MonitorMode mode : {MonitorMode::AsDrawn, MonitorMode::Black, MonitorMode::OwnEach}) {
        const auto rules = RulesOf(mode);
        const bool each = mode == MonitorMode::OwnEach;
        EXPECT_EQ(rules.sessionTimer, !each);
        EXPECT_EQ(rules.hostPerMonitor && rules.dropsKeys && rules.ownShowTimes, each);
        EXPECT_EQ(rules.blackCovers, mode == MonitorMode::Black);
        EXPECT_EQ(rules.asksAtOnceWhenUserBack, mode != MonitorMode::AsDrawn);
    }
}

}  // namespace
