#include "runner/monitor_layout.h"

namespace velmora::runner {

MonitorMode MonitorModeOf(int stored) {
    switch (stored) {
    case 1: return MonitorMode::Black;
    case 2: return MonitorMode::OwnEach;
    default: return MonitorMode::AsDrawn;
    }
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
