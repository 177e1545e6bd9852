#pragma once
// The launcher thread: picks the child screensavers and starts them one after
// the other, waits for each, ends one that must go, and reports the end of the
// run. It knows no window: what happens to the run reaches it through the
// run's control, and its end goes out through a callback, its last act.
#include <windows.h>

#include "framework/handle.h"
#include "runner/run_control.h"
#include "runner/run_state.h"
#include "runner/running_child.h"

namespace velmora::runner {

class Launcher {
public:
    using RunOver = void (*)(void* context);
    Launcher(RunControl& control, RunOver runOver, void* context)
        : m_control(control), m_runOver(runOver), m_context(context) {}
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Reads how the run rotates, makes its events and listens to the run's
    // control; false when it could not.
    bool Open();
    // Whether the session window's timer rotates the children (every
    // TimerMinutes from the start of the run); otherwise, when the list
    // gives screensavers show times of their own, each child's show time
    // counts from its start, and the launcher rotates them itself.
    bool RotatesByTimer() const { return m_rotate && !m_ownShowTimes; }
    int TimerMinutes() const { return m_minutes; }
    // Set once the first child has been started (or tried), or the run ended.
    HANDLE FirstStart() const { return m_firstStart.Get(); }

    // The thread's work, up to the report that the run is over.
    void Run();

private:
    void Launch();
    // The run's events since the last look, taken up into the state; a
    // rotation or a display that went off asks the child to close.
    void TakeUpEvents();
    // Waits for the running child and ends it when it must.
    void WaitForChild();
    // Waits, without busy spinning, until a new pick can differ from the one
    // just made (the random choice depends on the clock's millisecond).
    void WaitForNextPick();

    RunControl& m_control;
    RunOver m_runOver;
    void* m_context;
    CHandle m_wake;
    CHandle m_firstStart;
    RunState m_state;
    RunningChild m_child;
    LONG m_rotationsSeen = 0;
    LONG m_activitySeen = 0;
    bool m_displayOff = false;
    bool m_inputUnwatched = false;
    bool m_rotate = false;
    bool m_ownShowTimes = false;
    int m_minutes = 0;
};

// The launcher's thread procedure; its parameter is the Launcher.
DWORD WINAPI LauncherThread(LPVOID launcher);

}  // namespace velmora::runner
