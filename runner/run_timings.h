#pragma once
// Every waiting time of a run, in one place, with the order they must keep.
// Milliseconds. Free of Win32, so that the order is checked when it builds.
#include <cstdint>

namespace velmora::runner {

// Starting. The window waits a moment for the first start (which comes
// before any window, see CScrWnd), and a while longer for the launcher to
// have read how the run rotates; a start slower than that (a sleeping disk,
// a network share, a virus scan) is looked at again every poll, so that the
// rotation timer is set all the same.
constexpr uint32_t kFirstStartWaitMs = 1000;
constexpr uint32_t kConfiguredWaitMs = 5000;
constexpr uint32_t kConfiguredPollMs = 250;

// A child's end. After the user came back it may take the user grace to end
// by itself (then it is asked to close); after a rotation asked it to close,
// the rotation grace (then it is asked once more); after that last request,
// the terminate delay (then it is terminated, and its process given the
// terminate wait to be gone).
constexpr uint32_t kUserGraceMs = 3000;
constexpr uint32_t kRotationGraceMs = 4000;
constexpr uint32_t kTerminateAfterMs = 2000;
constexpr uint32_t kTerminateWaitMs = 5000;

// Between two children. One that quit by itself waits the pass-over grace
// before the next starts (input meanwhile ends the run); a display that came
// back on, the settle time.
constexpr uint32_t kPassOverGraceMs = 500;
constexpr uint32_t kDisplayOnSettleMs = 500;

// The input watch. Its thread may take the ready wait to set its hooks. A
// live low-level hook answers within the hook answer time; the system's
// last-input clock may run the slack ahead of the hooks' own; the backstop
// looks at the last-input time every backstop period.
constexpr uint32_t kReadyWaitMs = 5000;
constexpr uint32_t kHookAnswerMs = 1000;
constexpr uint32_t kInputClockSlackMs = 250;
constexpr uint32_t kBackstopMs = 3000;

// The black covers look for the running screensaver's windows every check
// period for the quick checks, then every follow period until it goes.
constexpr uint32_t kCoverCheckMs = 100;
constexpr int kCoverQuickChecks = 30;
constexpr uint32_t kCoverFollowMs = 1000;

// The watchdog of the run's end: the main thread must take the end up within
// the hand-back time, the release finish within the release time, and the
// process be gone within the process-end time after it; a post to a full
// queue is tried again after the retry period.
constexpr uint32_t kHandBackMs = 8000;
constexpr uint32_t kReleaseMs = 20000;
constexpr uint32_t kProcessEndMs = 5000;
constexpr uint32_t kPostRetryMs = 100;

// The order they keep.
static_assert(kFirstStartWaitMs < kConfiguredWaitMs && kConfiguredPollMs < kConfiguredWaitMs,
              "the window first waits for the start, then for the settings");
static_assert(kInputClockSlackMs < kHookAnswerMs && kHookAnswerMs < kBackstopMs,
              "the backstop finds missed input old enough to judge");
static_assert(kPassOverGraceMs < kUserGraceMs,
              "a quit passed over is judged before a child would be asked to close");
static_assert(kUserGraceMs + kTerminateAfterMs < kHandBackMs,
              "a child ends before the watchdog takes the run's end for stuck");
static_assert(kRotationGraceMs + kTerminateAfterMs + 2 * kTerminateWaitMs < kReleaseMs,
              "the release outlasts a request and two terminations");
static_assert(kCoverCheckMs < kCoverFollowMs, "the covers look often first, then less often");

}  // namespace velmora::runner
