#include "runner/monitor_covers.h"

#include "runner/hook_library.h"
#include "runner/run_timings.h"

namespace velmora::runner {

namespace {

// Looks for the running child's windows, to black out what they leave
// uncovered: often at first, then for as long as it runs, since a
// screensaver may make its window late (.NET, Unity or web-based ones take
// seconds), grow or move it, or hand its work to another process.
constexpr UINT_PTR kCoverTimer = 2;
// (kCoverCheckMs, kCoverQuickChecks, kCoverFollowMs: run_timings.h)
constexpr UINT kCoverAround = WM_APP + 1;
constexpr UINT kCoverAll = WM_APP + 2;

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
    ScreensaverWindows* found = nullptr;
};

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM param) {
    auto* windows = reinterpret_cast<ProcessWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    RECT r;
    if (owner != windows->pid || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r) ||
        IsRectEmpty(&r))
        return TRUE;
    if (!windows->found->top) windows->found->top = hwnd;
    windows->found->areas.push_back(Area{r.left, r.top, r.right, r.bottom});
    return TRUE;
}

}  // namespace

std::vector<Area> ReadMonitors() {
    std::vector<Area> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

ScreensaverWindows WindowsOfScreensaver(DWORD pid) {
    ScreensaverWindows found;
    if (!pid) return found;
    ProcessWindows windows{pid, &found};
    EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
    // A stub that handed its work to a process of its own and waits for it
    // has no window: its worker's windows are the screensaver's.
    DWORD handOff = 0;
    if (!found.top && g_hookLibrary.FindProcessChild &&
        g_hookLibrary.FindProcessChild(pid, &handOff) && handOff) {
        windows.pid = handOff;
        EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
    }
    return found;
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
    const ScreensaverWindows windows = WindowsOfScreensaver(pid);
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

void MonitorCovers::ChildStarted(HWND window, DWORD pid) {
    if (pid) InterlockedExchange(&m_pid, static_cast<LONG>(pid));
    if (window) PostMessageA(window, kCoverAround, 0, 0);
}

void MonitorCovers::ClosingChild(HWND window) {
    // Waited for, but never long on a main thread that does not answer.
    DWORD_PTR answer = 0;
    if (window) SendMessageTimeoutA(window, kCoverAll, 0, 0, SMTO_NORMAL, 1000, &answer);
}

void MonitorCovers::ChildGone(HWND window) {
    if (window) PostMessageA(window, kCoverAll, 0, 0);
}

bool MonitorCovers::OnMessage(HWND window, UINT message, WPARAM wParam) {
    switch (message) {
    case kCoverAround:
        m_checks = 0;
        SetTimer(window, kCoverTimer, kCoverCheckMs, nullptr);
        return true;
    case kCoverAll:
        KillTimer(window, kCoverTimer);
        CoverAll();
        return true;
    case WM_TIMER:
        if (wParam != kCoverTimer) return false;
        CoverAround(static_cast<DWORD>(InterlockedExchangeAdd(&m_pid, 0)));
        // After the first moments, a slower watch until the child goes.
        if (++m_checks == kCoverQuickChecks) SetTimer(window, kCoverTimer, kCoverFollowMs, nullptr);
        return true;
    case WM_DISPLAYCHANGE:
        // Monitors came or went: the covers are laid out anew, around the
        // running screensaver at once, so that none is raised over it.
        if (Create() && !CoverAround(static_cast<DWORD>(InterlockedExchangeAdd(&m_pid, 0))))
            CoverAll();
        PostMessageA(window, kCoverAround, 0, 0);
        return false;
    default:
        return false;
    }
}

}  // namespace velmora::runner
