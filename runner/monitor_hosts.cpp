#include "runner/monitor_hosts.h"

#include "runner/monitor_covers.h"

namespace velmora::runner {

bool MonitorHosts::Start(const ModeRules& rules) {
    const std::vector<Area> monitors = ReadMonitors();
    m_picks.Size(static_cast<int>(monitors.size()));
    for (size_t i = 0; i < monitors.size(); ++i) {
        auto host = std::make_unique<Host>();
        host->owner = this;
        if (!host->window.CreateOver(monitors[i])) return false;
        LaunchPlace place{host->window.GetSafeHwnd(), static_cast<int>(i),
                          static_cast<int>(monitors.size()), &m_picks};
        host->launcher = std::make_unique<Launcher>(m_control, *host, place);
        if (!host->launcher->Open(rules)) return false;
        m_hosts.push_back(std::move(host));
    }
    if (m_hosts.empty()) return false;
    for (auto& host : m_hosts) {
        InterlockedIncrement(&m_running);
        host->thread.Attach(
            CreateThread(nullptr, 0, LauncherThread, host->launcher.get(), 0, nullptr));
        if (!host->thread) {
            InterlockedDecrement(&m_running);
            return false;
        }
    }
    // Shown once every screensaver is on its way: a start takes longer
    // than the showing, and a preview is drawn once its host is visible.
    for (auto& host : m_hosts) host->window.ShowOnTop();
    // The primary monitor's host holds the foreground and the focus.
    for (auto& host : m_hosts) {
        const Area& area = host->window.AreaOf();
        if (area.left <= 0 && area.top <= 0 && area.right > 0 && area.bottom > 0) {
            host->window.HoldFocus();
            break;
        }
    }
    return true;
}

HANDLE MonitorHosts::FirstStart() const {
    return m_hosts.empty() ? nullptr : m_hosts.front()->launcher->FirstStart();
}

void MonitorHosts::Join() {
    for (auto& host : m_hosts) {
        if (host->thread) WaitForSingleObject(host->thread.Get(), INFINITE);
        host->thread.Reset();
    }
}

void MonitorHosts::Destroy() {
    Join();
    m_hosts.clear();
}

void MonitorHosts::LauncherOver() {
    if (InterlockedDecrement(&m_running) == 0) m_allOver.RunOver();
}

}  // namespace velmora::runner
