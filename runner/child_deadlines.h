#pragma once
// When a running child screensaver is asked again to close, or ended, free of
// Win32: what has been asked of it and the time now in, its next step out.
// Times are millisecond ticks that wrap (GetTickCount), compared by difference.
#include <cstdint>

#include "runner/run_timings.h"
namespace velmora::runner {

constexpr uint32_t kNoDeadline = 0xFFFFFFFFu;

// What has been asked of one child, and when.
struct ChildClock {
    // Its own show time, counted from its start (kNoDeadline: none; the run's
    // timer, if any, rotates it).
    uint32_t startedAt = 0;
    uint32_t rotateAfterMs = kNoDeadline;
    // A rotation, or a display that went off, asked it to close.
    bool closeAsked = false;
    uint32_t closeAskedAt = 0;
    bool closedAgain = false;
    bool userBack = false;
    uint32_t userBackAt = 0;
    // How long it may take to end by itself once the user is back.
    uint32_t userGraceMs = kUserGraceMs;
    // The run stops now.
    bool quit = false;
    // Asked to close one last time before it is terminated.
    bool endAsked = false;
    uint32_t endAskedAt = 0;
};

enum class ChildAction {
    Wait,        // nothing to do for waitMs (kNoDeadline: until something happens)
    Rotate,      // its show time is over: ask it to close, as at a rotation
    CloseAgain,  // the rotation's request went unheeded: ask once more
    AskToEnd,    // ask it to close; it is terminated kTerminateAfterMs later
    Terminate,
};

struct ChildStep {
    ChildAction action = ChildAction::Wait;
    uint32_t waitMs = kNoDeadline;
};

ChildStep NextChildStep(const ChildClock& clock, uint32_t now);

}  // namespace velmora::runner
