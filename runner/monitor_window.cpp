#include "runner/monitor_window.h"

#include "runner/monitor_covers.h"
#include "runner/run_timings.h"

#ifndef WS_EX_NOACTIVATE
#define WS_EX_NOACTIVATE 0x08000000L
#endif

namespace {

constexpr UINT kShowFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
constexpr UINT kFollowMessage = WM_APP + 1;
constexpr UINT_PTR kFollowTimer = 1;
using velmora::runner::kCoverCheckMs;
using velmora::runner::kCoverFollowMs;
using velmora::runner::kCoverQuickChecks;

}  // namespace

BOOL CMonitorWnd::CreateOver(const velmora::runner::Area& area) {
    m_area = area;
    // No class cursor: the pointer stays hidden over the window. A
    // screensaver draws in it as a child window of another process: the
    // black background must leave that child alone.
    const char* cls = RegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr,
                                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), nullptr);
    RECT rect = {area.left, area.top, area.right, area.bottom};
    return cls && CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, "",
                           WS_POPUP | WS_CLIPCHILDREN, rect, HWND{}, 0);
}

void CMonitorWnd::ShowOnTop() {
    SetWindowPos(m_hWnd, HWND_TOPMOST, m_area.left, m_area.top, m_area.right - m_area.left,
                 m_area.bottom - m_area.top, kShowFlags);
    // Black on the screen before anything under it goes, not at the next
    // turn of the message loop.
    UpdateWindow(m_hWnd);
    GdiFlush();
}

void CMonitorWnd::ShowBelow(HWND above) {
    SetWindowPos(m_hWnd, above, m_area.left, m_area.top, m_area.right - m_area.left,
                 m_area.bottom - m_area.top, kShowFlags);
    UpdateWindow(m_hWnd);
}

void CMonitorWnd::Hide() {
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void CMonitorWnd::HoldFocus() {
    m_holdsFocus = true;
    ModifyStyleEx(WS_EX_NOACTIVATE, 0);
    // The screensaver process Windows starts may take the foreground (real
    // screensavers' windows are activated too); where the foreground lock
    // refuses it all the same, the input watch still drops the user's keys.
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
}

void CMonitorWnd::FollowScreensaver(DWORD pid, bool wait) {
    InterlockedExchange(&m_followPid, static_cast<LONG>(pid));
    DWORD_PTR answer = 0;
    // Never long on a main thread that does not answer.
    if (wait)
        SendMessageTimeoutA(m_hWnd, kFollowMessage, 0, 0, SMTO_NORMAL, 1000, &answer);
    else
        ::PostMessageA(m_hWnd, kFollowMessage, 0, 0);
}

void CMonitorWnd::Follow() {
    // Looked for often at first, then for as long as it runs: its windows
    // may come late, or move.
    const velmora::runner::ScreensaverWindows windows = velmora::runner::WindowsOfScreensaver(
        static_cast<DWORD>(InterlockedExchangeAdd(&m_followPid, 0)));
    if (windows.top && GetWindow(windows.top, GW_HWNDNEXT) != m_hWnd) ShowBelow(windows.top);
    if (++m_followChecks == kCoverQuickChecks) SetTimer(m_hWnd, kFollowTimer, kCoverFollowMs, nullptr);
}

LRESULT CMonitorWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kFollowMessage:
        m_followChecks = 0;
        if (InterlockedExchangeAdd(&m_followPid, 0)) {
            SetTimer(m_hWnd, kFollowTimer, kCoverCheckMs, nullptr);
        } else {
            KillTimer(m_hWnd, kFollowTimer);
            if (::IsWindowVisible(m_hWnd)) ShowOnTop();
        }
        return 0;
    case WM_TIMER:
        if (wParam != kFollowTimer) return CWnd::WindowProc(message, wParam, lParam);
        Follow();
        return 0;
    case WM_MOUSEACTIVATE:
        return m_holdsFocus ? MA_ACTIVATEANDEAT : MA_NOACTIVATE;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        // Alt+F4 and the like close nothing here.
        return 0;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
