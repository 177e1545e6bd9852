#include "runner/monitor_layout.h"

namespace velmora::runner {

MonitorMode MonitorModeOf(int stored) {
    switch (stored) {
    case 1: return MonitorMode::Black;
    case 2: return MonitorMode::OwnEach;
    default: return MonitorMode::AsDrawn;
    }
}

ModeRules RulesOf(MonitorMode mode) {
    ModeRules rules;
    switch (mode) {
    case MonitorMode::AsDrawn:
        break;
    case MonitorMode::Black:
        rules.blackCovers = true;
        rules.asksAtOnceWhenUserBack = true;
        break;
    case MonitorMode::OwnEach:
        rules.hostPerMonitor = true;
        rules.dropsKeys = true;
        rules.sessionTimer = false;
        rules.asksAtOnceWhenUserBack = true;
        rules.passesOverQuits = true;
        rules.ownShowTimes = true;
        break;
    }
    return rules;
}

MonitorMode ModeForRun(int stored, int monitors, bool lowLevelHooks) {
    const MonitorMode mode = MonitorModeOf(stored);
    if (monitors < 2) return MonitorMode::AsDrawn;
    if (mode == MonitorMode::OwnEach && !lowLevelHooks) return MonitorMode::AsDrawn;
    return mode;
}

std::vector<bool> CoveredMonitors(const std::vector<Area>& monitors,
                                  const std::vector<Area>& windows) {
    std::vector<bool> covered(monitors.size(), false);
    for (size_t m = 0; m < monitors.size(); ++m) {
        const Area& a = monitors[m];
        for (const Area& w : windows)
            if (w.left <= a.left && w.top <= a.top && w.right >= a.right && w.bottom >= a.bottom)
                covered[m] = true;
    }
    return covered;
}

uint32_t FirstShowTimeMs(uint32_t showTimeMs, int monitor, int monitors) {
    if (monitors <= 1 || monitor <= 0 || monitor >= monitors) return showTimeMs;
    const uint64_t step = showTimeMs / static_cast<uint64_t>(monitors);
    return static_cast<uint32_t>(showTimeMs - step * static_cast<uint64_t>(monitor));
}

}  // namespace velmora::runner
