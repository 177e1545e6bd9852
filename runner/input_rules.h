#pragma once
// What counts as the user's return, free of Win32: the rules the input watch
// applies to the events its low-level hooks see, and its check on the hooks.
#include <cstdint>

#include "runner/run_timings.h"
namespace velmora::runner {

// A pointer that drifts by a pixel or two, or the move Windows reports when a
// window appears under it, is not a returning user.
constexpr int kMoveTolerance = 4;

// Where the pointer was when the watch began. It is in the hooks' own
// coordinates: a program that is not DPI aware gets logical coordinates from
// GetCursorPos, while the hooks report physical pixels, so at any display
// scaling but 100 % the two never match.
struct PointerOrigin {
    bool known = false;
    int x = 0;
    int y = 0;
};

// A pointer move to (x, y): true when it counts as the user's return. The
// first move only sets the origin, when none was known.
bool MoveCounts(PointerOrigin& origin, int x, int y);

// The origin known before any event, from the pointer's position in this
// program's (logical) coordinates and, where Windows can tell it
// (GetPhysicalCursorPos, Vista and later), in physical pixels: where the two
// agree no scaling applies at the pointer, so the position is the hooks' own
// too; where they differ, none is known and the first event gives it.
// Before Vista no program's coordinates are scaled.
PointerOrigin OriginFromCursor(int x, int y, bool physicalKnown, int physicalX, int physicalY);

// Windows 7 and later remove a low-level hook silently when it is slow to
// answer. Every input moves the system's last-input time, and the hooks see
// every input while they are in place: an input time later than the last
// event the hooks saw (lastSeen, taken when the hook ran), and old enough that
// a live hook would have run by now, was missed by them.
// (kHookAnswerMs, kInputClockSlackMs: run_timings.h)
bool InputMissedByHooks(uint32_t lastInput, uint32_t lastSeen, uint32_t now);
// The same without the wait for a live hook: for input that has already
// reached a program (a child that ended), which a live hook saw first.
bool InputNewerThanHooks(uint32_t lastInput, uint32_t lastSeen);

}  // namespace velmora::runner
