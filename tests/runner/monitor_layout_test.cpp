// The monitors' modes: which a run takes, and what each does.
#include "runner/monitor_layout.h"

#include <gtest/gtest.h>

namespace {

using velmora::runner::ModeForRun;
using velmora::runner::MonitorMode;
using velmora::runner::RulesOf;

TEST(MonitorModes, TheStoredOneWhereTheMachineAllowsIt) {
    EXPECT_EQ(ModeForRun(1, 2, true), MonitorMode::Black);
    EXPECT_EQ(ModeForRun(2, 3, true), MonitorMode::OwnEach);
    EXPECT_EQ(ModeForRun(2, 1, true), MonitorMode::AsDrawn) << "one monitor";
    EXPECT_EQ(ModeForRun(1, 1, true), MonitorMode::AsDrawn) << "one monitor";
    EXPECT_EQ(ModeForRun(2, 2, false), MonitorMode::AsDrawn) << "nothing could end it";
    EXPECT_EQ(ModeForRun(1, 2, false), MonitorMode::Black);
    EXPECT_EQ(ModeForRun(7, 2, true), MonitorMode::AsDrawn) << "unknown";
}

TEST(MonitorModes, WhatEachDoes) {
    const auto plain = RulesOf(MonitorMode::AsDrawn), black = RulesOf(MonitorMode::Black),
               each = RulesOf(MonitorMode::OwnEach);
    EXPECT_FALSE(plain.blackCovers || plain.hostPerMonitor || plain.dropsKeys ||
                 plain.asksAtOnceWhenUserBack || plain.passesOverQuits || plain.ownShowTimes);
    EXPECT_TRUE(plain.sessionTimer && black.sessionTimer);
    EXPECT_TRUE(black.blackCovers && black.asksAtOnceWhenUserBack);
    EXPECT_FALSE(black.hostPerMonitor || black.dropsKeys || black.passesOverQuits);
    EXPECT_TRUE(each.hostPerMonitor && each.dropsKeys && each.asksAtOnceWhenUserBack &&
                each.passesOverQuits && each.ownShowTimes);
    EXPECT_FALSE(each.sessionTimer || each.blackCovers);
}

}  // namespace
