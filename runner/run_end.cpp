#include "runner/run_end.h"

#include "runner/run_timings.h"
namespace velmora::runner {

namespace {

// How long the main thread has to make its window and then take up the end;
// how long the release may take (the launcher may still be ending a child:
// a request, then two terminations of a few seconds each); and how long the
// process may take to be gone after it.
// (kHandBackMs, kReleaseMs, kProcessEndMs, kPostRetryMs: run_timings.h)

HANDLE ManualEvent() { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }

[[noreturn]] void EndProcess(UINT code) {
    // Nothing more runs in a process whose threads may hold its locks.
    TerminateProcess(GetCurrentProcess(), code);
    for (;;) Sleep(INFINITE);
}

}  // namespace

RunEnd::~RunEnd() {
    if (!m_watchdog) return;
    SetEvent(m_stop.Get());
    HANDLE handles[2] = {m_watchdog.Get(), m_detached.Get()};
    WaitForMultipleObjects(2, handles, FALSE, INFINITE);
}

bool RunEnd::Start(bool endsProcess) {
    m_endsProcess = endsProcess;
    m_windowMade.Attach(ManualEvent());
    m_runOver.Attach(ManualEvent());
    m_releaseBegun.Attach(ManualEvent());
    m_releaseOver.Attach(ManualEvent());
    m_stop.Attach(ManualEvent());
    m_detached.Attach(ManualEvent());
    return m_windowMade && m_runOver && m_releaseBegun && m_releaseOver && m_stop && m_detached;
}

bool RunEnd::StartWatching() {
    if (!m_watchdog) m_watchdog.Attach(CreateThread(nullptr, 0, WatchdogThread, this, 0, nullptr));
    return static_cast<bool>(m_watchdog);
}

void RunEnd::WindowMade(HWND window) {
    m_window = window;
    SetEvent(m_windowMade.Get());
}

void RunEnd::RunOver() { SetEvent(m_runOver.Get()); }
void RunEnd::ReleaseBegun() { SetEvent(m_releaseBegun.Get()); }
void RunEnd::ReleaseOver() { SetEvent(m_releaseOver.Get()); }

DWORD WINAPI RunEnd::WatchdogThread(LPVOID self) {
    static_cast<RunEnd*>(self)->Watch();
    return 0;
}

bool RunEnd::WaitUntil(HANDLE event, DWORD deadline) {
    const DWORD left = deadline - GetTickCount();
    // A deadline that has passed reads as a huge remainder.
    const DWORD wait = static_cast<LONG>(left) > 0 ? left : 0;
    return WaitForSingleObject(event, wait) == WAIT_OBJECT_0;
}

void RunEnd::Watch() {
    // Until the run is over (or its release begins without that: a window
    // that could not be made) there is nothing to watch.
    HANDLE start[3] = {m_runOver.Get(), m_releaseBegun.Get(), m_stop.Get()};
    DWORD first = WaitForMultipleObjects(3, start, FALSE, INFINITE);
    if (first != WAIT_OBJECT_0 && first != WAIT_OBJECT_0 + 1) return;
    if (first == WAIT_OBJECT_0) {
        const DWORD deadline = GetTickCount() + kHandBackMs;
        HandBack(deadline);
        if (!WaitUntil(m_releaseBegun.Get(), deadline)) EndProcess(kExitHandBack);
    }
    if (!WaitUntil(m_releaseOver.Get(), GetTickCount() + kReleaseMs)) EndProcess(kExitRelease);
    if (!m_endsProcess) return;
    // The object may go from here on: the last stage reads nothing of it.
    SetEvent(m_detached.Get());
    Sleep(kProcessEndMs);
    EndProcess(kExitProcessEnd);
}

void RunEnd::HandBack(DWORD deadline) {
    // The window is made once the first screensaver has started; a run over
    // before that waits for its creation to end, made or not.
    if (!WaitUntil(m_windowMade.Get(), deadline)) EndProcess(kExitHandBack);
    // A window that was not made is released by its own creation.
    if (!m_window) return;
    // A post fails when the main thread's queue is full; it is tried again
    // while the main thread may still take up the end.
    while (!PostMessageA(m_window, WM_DESTROY, 0, 0)) {
        if (WaitUntil(m_releaseBegun.Get(), GetTickCount() + kPostRetryMs)) return;
        if (static_cast<LONG>(deadline - GetTickCount()) <= 0) EndProcess(kExitHandBack);
    }
}

}  // namespace velmora::runner
