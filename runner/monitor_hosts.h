#pragma once
// A screensaver of its own on each monitor: a black host window per monitor,
// each with a launcher that plays the rotation list in preview mode inside
// it, on a clock of its own. The run's events reach every launcher; the run
// is over when every launcher is done.
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/handle.h"
#include "runner/launcher.h"
#include "runner/monitor_window.h"
#include "runner/run_control.h"

namespace velmora::runner {

class MonitorHosts {
public:
    // allOver hears RunOver once, when the last launcher is done.
    MonitorHosts(RunControl& control, LauncherEvents& allOver)
        : m_control(control), m_allOver(allOver) {}
    MonitorHosts(const MonitorHosts&) = delete;
    MonitorHosts& operator=(const MonitorHosts&) = delete;
    ~MonitorHosts() { Join(); }

    // Shows a host window on each monitor and starts its launcher, for a
    // run of the given mode; false when a window or a launcher could not be
    // made (those started stop with the run).
    bool Start(const ModeRules& rules);
    // Set once the first monitor's first child has been started (or tried).
    HANDLE FirstStart() const;
    // Waits for every launcher to end.
    void Join();
    // The host windows go.
    void Destroy();

private:
    struct Host : LauncherEvents {
        MonitorHosts* owner = nullptr;
        CMonitorWnd window;
        std::unique_ptr<Launcher> launcher;
        CHandle thread;
        void RunOver() override { owner->LauncherOver(); }
        // Its screensaver's own windows are kept in sight; one that is about
        // to close, or gone, leaves the host on top.
        void ChildStarted(DWORD pid) override { window.FollowScreensaver(pid); }
        void ClosingChild() override { window.FollowScreensaver(0, true); }
        void ChildGone() override { window.FollowScreensaver(0); }
    };
    void LauncherOver();

    RunControl& m_control;
    LauncherEvents& m_allOver;
    SharedPicks m_picks;
    std::vector<std::unique_ptr<Host>> m_hosts;
    volatile LONG m_running = 0;
};

}  // namespace velmora::runner
