#pragma once
// Black where the running screensaver does not draw: a cover per monitor,
// shown on the monitors its windows leave uncovered (just below its window),
// and on every monitor while one screensaver makes way for the next, so that
// the desktop never shows. Before the first screensaver draws, nothing is
// covered: one that draws over the desktop picture still sees it.
#include <windows.h>

#include <memory>
#include <vector>

#include "runner/monitor_layout.h"
#include "runner/monitor_window.h"

namespace velmora::runner {

// The monitors now, the primary first.
std::vector<Area> ReadMonitors();

class MonitorCovers {
public:
    // One hidden cover per monitor now; false when one could not be made.
    bool Create();
    void Destroy() { m_covers.clear(); }
    void CoverAll();
    // Covers what the process's visible windows leave uncovered; false while
    // it has no visible window.
    bool CoverAround(DWORD pid);

private:
    std::vector<std::unique_ptr<CMonitorWnd>> m_covers;
};

}  // namespace velmora::runner
