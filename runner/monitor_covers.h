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

// A running screensaver's visible top-level windows: those of its process,
// or, while it has none (a stub that handed its work on and waits), those of
// the process it handed its work to.
struct ScreensaverWindows {
    HWND top = nullptr;  // the first in z-order; null when there is none
    std::vector<Area> areas;
};
ScreensaverWindows WindowsOfScreensaver(DWORD pid);

class MonitorCovers {
public:
    // One hidden cover per monitor now; false when one could not be made.
    bool Create();
    // The covers go (a timer of the window's for them stops with its window).
    void Destroy() { m_covers.clear(); }
    void CoverAll();
    // Covers what the process's visible windows leave uncovered; false while
    // it has no visible window.
    bool CoverAround(DWORD pid);

    // The run's side, told on the launcher's thread and taken up on the
    // thread of the session window (window; null before it exists): a child
    // started (pid 0: the one started before the window), is about to be
    // asked to close for the next (black everywhere first, waited for), or
    // has gone.
    void ChildStarted(HWND window, DWORD pid);
    void ClosingChild(HWND window);
    void ChildGone(HWND window);
    // The session window's messages for the covers; true when taken up.
    bool OnMessage(HWND window, UINT message, WPARAM wParam);

private:
    std::vector<std::unique_ptr<CMonitorWnd>> m_covers;
    // The child the covers are laid out around, and how often its windows
    // have been looked for.
    volatile LONG m_pid = 0;
    int m_checks = 0;
};

}  // namespace velmora::runner
