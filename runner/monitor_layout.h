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
