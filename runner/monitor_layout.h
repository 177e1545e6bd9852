#pragma once
// Several monitors, free of Win32: how the user asked them to be covered,
// which monitors a screensaver's windows cover, and when each monitor's own
// screensaver first changes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::runner {

enum class MonitorMode {
    AsDrawn,   // the screensaver covers what it covers
    Black,     // black wherever the running screensaver does not draw
    OwnEach,   // a screensaver of its own on each monitor
};
MonitorMode MonitorModeOf(int stored);

// What a run does in a mode: the one place the session window and the
// launchers ask.
struct ModeRules {
    // Black covers around the running screensaver, on the monitors its
    // windows leave uncovered.
    bool blackCovers = false;
    // A host window and a launcher per monitor; the screensavers run in
    // preview mode inside the hosts.
    bool hostPerMonitor = false;
    // No screensaver window holds the focus: the input watch keeps the user's
    // keys from every program.
    bool dropsKeys = false;
    // The session window's timer rotates (from the start of the run);
    // otherwise each launcher counts its screensaver's show time itself.
    bool sessionTimer = true;
    // The user's input may not reach the screensaver (over a cover, or in a
    // window of ours): it is asked to close as soon as the user is back.
    bool asksAtOnceWhenUserBack = false;
    // Screensavers that will not run there end at once: the next one always
    // comes, and each show time counts from its start.
    bool passesOverQuits = false;
    bool ownShowTimes = false;
};
ModeRules RulesOf(MonitorMode mode);

// The mode a run takes: the stored one where this machine allows it. One
// monitor is the plain run; so is a screensaver per monitor without
// low-level hooks (the 9x line), since nothing could end a run of previews,
// which ignore input.
MonitorMode ModeForRun(int stored, int monitors, bool lowLevelHooks);

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// For each monitor, whether one of the windows covers it whole.
std::vector<bool> CoveredMonitors(const std::vector<Area>& monitors,
                                  const std::vector<Area>& windows);

// The first show time of monitor k of n: the monitors change one after the
// other, ShowTime / n apart (the first after a whole show time).
uint32_t FirstShowTimeMs(uint32_t showTimeMs, int monitor, int monitors);

}  // namespace velmora::runner
