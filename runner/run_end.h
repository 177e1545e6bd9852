#pragma once
// The end of a run: the hand-back from the launcher to the main thread, and a
// watchdog over every stage of the end. A process that stays behind holds the
// run's mutex (and perhaps its window) and so refuses every later run: when a
// stage does not finish in time, the watchdog ends the process, with an exit
// code that names the stage. The screensavers are ended before any of it.
#include <windows.h>

#include "framework/handle.h"

namespace velmora::runner {

class RunEnd {
public:
    // The main thread neither took up the end nor made its window.
    static constexpr UINT kExitHandBack = 3;
    // The release (the launcher's last waits, the input watch, the window,
    // the hook library) did not finish.
    static constexpr UINT kExitRelease = 4;
    // The process did not end once everything was released.
    static constexpr UINT kExitProcessEnd = 5;

    RunEnd() = default;
    ~RunEnd();
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

    // Makes the events the stages are told by. endsProcess: the process ends
    // with the run (the screensaver itself), so the last stage is watched too.
    bool Start(bool endsProcess);
    // Starts the watchdog (after the first screensaver's start, which its
    // thread would only hold up); what happened before it is taken up.
    bool StartWatching();
    // The main thread's window creation is over: the window, or null.
    void WindowMade(HWND window);
    // The launcher's last act: the run is over. The main thread is asked
    // (WM_DESTROY to the session window) to release it.
    void RunOver();
    // Main thread: the release has begun, and is over.
    void ReleaseBegun();
    void ReleaseOver();

private:
    static DWORD WINAPI WatchdogThread(LPVOID self);
    void Watch();
    // Posts the end to the window until a post goes through or the time is up.
    void HandBack(DWORD deadline);
    // Waits for the event until the tick deadline; false when the time ran out.
    static bool WaitUntil(HANDLE event, DWORD deadline);

    bool m_endsProcess = false;
    HWND m_window = nullptr;
    CHandle m_windowMade, m_runOver, m_releaseBegun, m_releaseOver, m_stop;
    // Set by the watchdog once it has nothing left to read of this object.
    CHandle m_detached;
    CHandle m_watchdog;
};

}  // namespace velmora::runner
