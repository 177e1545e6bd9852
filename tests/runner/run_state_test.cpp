// The run's transitions and a child's deadlines, with the clock passed in.
#include "runner/run_state.h"

#include <gtest/gtest.h>

#include "runner/input_rules.h"

namespace {

using namespace velmora::runner;

// Near the wrap of the tick count, so that every deadline crosses it.
constexpr uint32_t kStart = 0xFFFFF000u;

void ExpectWait(const ChildStep& step, uint32_t ms) {
    EXPECT_EQ(step.action, ChildAction::Wait);
    EXPECT_EQ(step.waitMs, ms);
}

TEST(RunState, RotationPendingThenUserBackEndsTheRun) {
    RunState run;
    run.ChildStarted();
    ASSERT_TRUE(run.Rotation(kStart));
    EXPECT_FALSE(run.EndOnChildExit());
    EXPECT_FALSE(run.Rotation(kStart + 100)) << "a second tick asks nothing more";
    ExpectWait(run.Child(kStart + 1000), kRotationGraceMs - 1000);
    run.UserBack(kStart + 1500);
    EXPECT_TRUE(run.EndOnChildExit()) << "the pending rotation starts nothing";
    // The earlier of the two deadlines: the rotation's second request.
    ExpectWait(run.Child(kStart + 2000), kRotationGraceMs - 2000);
    run.ChildEnded();
    EXPECT_EQ(run.Next(kStart + 2100).move, NextMove::EndRun);
}

TEST(RunState, UserBackAndAChildThatHangs) {
    RunState run;
    run.ChildStarted();
    run.UserBack(kStart);
    ExpectWait(run.Child(kStart + 1000), kUserGraceMs - 1000);
    EXPECT_EQ(run.Child(kStart + kUserGraceMs).action, ChildAction::AskToEnd);
    run.EndAsked(kStart + kUserGraceMs);
    ExpectWait(run.Child(kStart + kUserGraceMs + 500), kTerminateAfterMs - 500);
    EXPECT_EQ(run.Child(kStart + kUserGraceMs + kTerminateAfterMs).action, ChildAction::Terminate);
    EXPECT_FALSE(run.Rotation(kStart + 4000)) << "no rotation once the user is back";
    run.ChildEnded();
    EXPECT_EQ(run.Next(kStart + 6000).move, NextMove::EndRun);
}

TEST(RunState, RotationEscalatesAndTheNextStarts) {
    RunState run;
    EXPECT_FALSE(run.Rotation(kStart)) << "a tick while no child runs";
    EXPECT_EQ(run.Next(kStart).move, NextMove::StartNext);
    run.ChildStarted();
    ASSERT_TRUE(run.Rotation(kStart));
    EXPECT_EQ(run.Child(kStart + kRotationGraceMs).action, ChildAction::CloseAgain);
    run.ClosedAgain();
    ExpectWait(run.Child(kStart + kRotationGraceMs + 1), kTerminateAfterMs - 1);
    EXPECT_EQ(run.Child(kStart + kRotationGraceMs + kTerminateAfterMs).action,
              ChildAction::Terminate);
    run.ChildEnded();
    EXPECT_TRUE(run.EndOnChildExit());
    EXPECT_EQ(run.Next(kStart + 7000).move, NextMove::StartNext);
    // The next child, ending by itself with no tick, ends the run.
    run.ChildStarted();
    ExpectWait(run.Child(kStart + 8000), kNoDeadline);
    run.ChildEnded();
    EXPECT_EQ(run.Next(kStart + 8000).move, NextMove::EndRun);
}

TEST(RunState, QuitDuringAHandOff) {
    // The child handed over and ended; the run waits on the hand-off, which
    // is the same running child to the state.
    RunState run;
    run.ChildStarted();
    ASSERT_TRUE(run.Rotation(kStart));
    run.Quit();
    EXPECT_TRUE(run.EndOnChildExit());
    EXPECT_EQ(run.Child(kStart + 10).action, ChildAction::AskToEnd);
    run.EndAsked(kStart + 10);
    ExpectWait(run.Child(kStart + 20), kTerminateAfterMs - 10);
    EXPECT_EQ(run.Child(kStart + 10 + kTerminateAfterMs).action, ChildAction::Terminate);
    run.ChildEnded();
    EXPECT_EQ(run.Next(kStart + 3000).move, NextMove::EndRun);
    // A quit before any child starts nothing.
    RunState early;
    early.Quit();
    EXPECT_EQ(early.Next(kStart).move, NextMove::EndRun);
}

TEST(RunState, DisplayOffDuringARotation) {
    RunState run;
    run.ChildStarted();
    ASSERT_TRUE(run.Rotation(kStart));
    EXPECT_FALSE(run.DisplayOff(kStart + 100)) << "the child was asked already";
    run.ChildEnded();
    EXPECT_EQ(run.Next(kStart + 200).move, NextMove::Wait);
    EXPECT_EQ(run.Next(kStart + 200).waitMs, kNoDeadline) << "nothing starts while it is off";
    EXPECT_FALSE(run.Rotation(kStart + 300));
    run.DisplayOn(kStart + 1000);
    const Between settle = run.Next(kStart + 1100);
    EXPECT_EQ(settle.move, NextMove::Wait);
    EXPECT_EQ(settle.waitMs, RunState::kDisplayOnSettleMs - 100);
    EXPECT_EQ(run.Next(kStart + 1000 + RunState::kDisplayOnSettleMs).move, NextMove::StartNext);
    // The display goes off under a child that runs: it is asked to close,
    // and the user's return while it is off ends the run.
    run.ChildStarted();
    EXPECT_TRUE(run.DisplayOff(kStart + 5000));
    EXPECT_FALSE(run.EndOnChildExit());
    run.ChildEnded();
    EXPECT_EQ(run.Next(kStart + 5100).move, NextMove::Wait);
    run.UserBack(kStart + 9000);
    EXPECT_EQ(run.Next(kStart + 9000).move, NextMove::EndRun);
}

TEST(InputRules, FirstMoveIsTheOriginAndMissedInputIsSeen) {
    PointerOrigin origin;
    // Whatever the coordinates' scale, the first event only sets the origin.
    EXPECT_FALSE(MoveCounts(origin, 1200, 900));
    EXPECT_FALSE(MoveCounts(origin, 1200 + kMoveTolerance, 900 - kMoveTolerance));
    EXPECT_TRUE(MoveCounts(origin, 1200 + kMoveTolerance + 1, 900));
    EXPECT_TRUE(MoveCounts(origin, 1200, 900 - kMoveTolerance - 1));

    // Known beforehand only where logical and physical positions agree.
    EXPECT_TRUE(OriginFromCursor(10, 20, false, 0, 0).known);
    EXPECT_TRUE(OriginFromCursor(10, 20, true, 10, 20).known);
    EXPECT_FALSE(OriginFromCursor(10, 20, true, 15, 30).known) << "scaled";
    PointerOrigin known = OriginFromCursor(500, 400, true, 500, 400);
    EXPECT_TRUE(MoveCounts(known, 500 + kMoveTolerance + 1, 400)) << "the first move counts";

    const uint32_t seen = kStart;
    // An input the hooks saw, or one seen a moment later than the clock said.
    EXPECT_FALSE(InputMissedByHooks(seen - 10, seen, seen + 5000));
    EXPECT_FALSE(InputMissedByHooks(seen + kInputClockSlackMs, seen, seen + 5000));
    // A later one, once a live hook would have answered it.
    EXPECT_FALSE(InputMissedByHooks(seen + 2000, seen, seen + 2000 + kHookAnswerMs - 1));
    EXPECT_TRUE(InputMissedByHooks(seen + 2000, seen, seen + 2000 + kHookAnswerMs));
    // At a child's end no wait: its input went through a live hook first.
    EXPECT_FALSE(InputNewerThanHooks(seen + kInputClockSlackMs, seen));
    EXPECT_TRUE(InputNewerThanHooks(seen + kInputClockSlackMs + 1, seen));
    EXPECT_TRUE(InputNewerThanHooks(5u, 0xFFFFFF00u)) << "across the tick counter's wrap";
}

}  // namespace
