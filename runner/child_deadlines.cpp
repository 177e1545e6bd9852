#include "runner/child_deadlines.h"

namespace velmora::runner {

namespace {

ChildStep WaitFor(uint32_t ms) { return ChildStep{ChildAction::Wait, ms}; }
ChildStep Do(ChildAction action) { return ChildStep{action, 0}; }

}  // namespace

ChildStep NextChildStep(const ChildClock& c, uint32_t now) {
    if (c.endAsked) {
        uint32_t elapsed = now - c.endAskedAt;
        return elapsed >= kTerminateAfterMs ? Do(ChildAction::Terminate)
                                            : WaitFor(kTerminateAfterMs - elapsed);
    }
    if (c.quit) return Do(ChildAction::AskToEnd);

    ChildStep step;
    if (c.userBack) {
        uint32_t elapsed = now - c.userBackAt;
        if (elapsed >= c.userGraceMs) return Do(ChildAction::AskToEnd);
        step = WaitFor(c.userGraceMs - elapsed);
    }
    if (!c.closeAsked && !c.userBack && c.rotateAfterMs != kNoDeadline) {
        uint32_t elapsed = now - c.startedAt;
        if (elapsed >= c.rotateAfterMs) return Do(ChildAction::Rotate);
        if (c.rotateAfterMs - elapsed < step.waitMs) step.waitMs = c.rotateAfterMs - elapsed;
    }
    if (c.closeAsked) {
        uint32_t elapsed = now - c.closeAskedAt;
        constexpr uint32_t kGiveUp = kRotationGraceMs + kTerminateAfterMs;
        if (elapsed >= kGiveUp) return Do(ChildAction::Terminate);
        if (elapsed >= kRotationGraceMs && !c.closedAgain) return Do(ChildAction::CloseAgain);
        uint32_t next = elapsed >= kRotationGraceMs ? kGiveUp - elapsed : kRotationGraceMs - elapsed;
        if (next < step.waitMs) step.waitMs = next;
    }
    return step;
}

}  // namespace velmora::runner
