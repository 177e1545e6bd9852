#include "runner/monitor_covers.h"

namespace velmora::runner {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const Area area{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                    info.rcMonitor.bottom};
    auto* monitors = reinterpret_cast<std::vector<Area>*>(param);
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        monitors->insert(monitors->begin(), area);
    else
        monitors->push_back(area);
    return TRUE;
}

struct ProcessWindows {
    DWORD pid = 0;
    HWND top = nullptr;  // the first in z-order
    std::vector<Area> areas;
};

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<ProcessWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    RECT r;
    if (owner != found->pid || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r) ||
        IsRectEmpty(&r))
        return TRUE;
    if (!found->top) found->top = hwnd;
    found->areas.push_back(Area{r.left, r.top, r.right, r.bottom});
    return TRUE;
}

}  // namespace

std::vector<Area> ReadMonitors() {
    std::vector<Area> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

bool MonitorCovers::Create() {
    Destroy();
    for (const Area& area : ReadMonitors()) {
        auto cover = std::make_unique<CMonitorWnd>();
        if (!cover->CreateOver(area)) return false;
        m_covers.push_back(std::move(cover));
    }
    return true;
}

void MonitorCovers::CoverAll() {
    for (auto& cover : m_covers) cover->ShowOnTop();
}

bool MonitorCovers::CoverAround(DWORD pid) {
    ProcessWindows windows;
    windows.pid = pid;
    if (pid) EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
    if (!windows.top) return false;
    std::vector<Area> monitors;
    for (auto& cover : m_covers) monitors.push_back(cover->AreaOf());
    const std::vector<bool> covered = CoveredMonitors(monitors, windows.areas);
    for (size_t i = 0; i < m_covers.size(); ++i) {
        if (covered[i])
            m_covers[i]->Hide();
        else
            m_covers[i]->ShowBelow(windows.top);
    }
    return true;
}

}  // namespace velmora::runner
