#pragma once
// The launcher thread: picks the child screensavers and starts them one after
// the other, waits for each, ends one that must go, and reports the end of the
// run. It knows no window: what happens to the run reaches it through the
// run's control, and its end goes out through a callback, its last act.
#include <windows.h>

#include <vector>

#include "framework/critical_section.h"
#include "framework/handle.h"
#include "runner/monitor_layout.h"
#include "runner/run_control.h"
#include "runner/pick_next.h"
#include "runner/run_state.h"
#include "runner/running_child.h"

namespace velmora::runner {

// What a launcher tells whoever started it, on the launcher's thread.
class LauncherEvents {
public:
    // Its last act: its part of the run is over.
    virtual void RunOver() = 0;
    // A child started (its process id; again with the id of the process it
    // handed its work to, once that is known); the running child is about
    // to be asked to close for the next; a child has gone.
    virtual void ChildStarted(DWORD) {}
    virtual void ClosingChild() {}
    virtual void ChildGone() {}

protected:
    ~LauncherEvents() = default;
};

// The entries on show when each monitor plays a screensaver of its own: a
// monitor takes an entry no other one shows while the list has enough, and
// the monitors pick one at a time (the picks read and write the settings).
class SharedPicks {
public:
    void Size(int monitors) { m_showing.assign(static_cast<size_t>(monitors), -1); }
    CCriticalSection& Lock() { return m_lock; }
    // Under the lock: whether no other monitor shows the entry.
    bool Free(int monitor, int index) const;
    void Show(int monitor, int index) { m_showing[static_cast<size_t>(monitor)] = index; }

private:
    CCriticalSection m_lock;
    std::vector<int> m_showing;
};

// Where a launcher's children show: full screen, or in preview mode inside a
// window of ours that covers monitor `monitor` of `monitors`.
struct LaunchPlace {
    HWND host = nullptr;
    int monitor = 0;
    int monitors = 1;
    SharedPicks* picks = nullptr;
};

class Launcher {
public:
    Launcher(RunControl& control, LauncherEvents& events, LaunchPlace place = LaunchPlace{})
        : m_control(control), m_events(events), m_place(place) {}
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Makes its events and listens to the run's control, for a run of the
    // given mode; false when it could not.
    bool Open(const ModeRules& rules);
    // Set once the launcher has read how the run rotates (just after its
    // first start, or before its second pick); RotatesByTimer and
    // TimerMinutes answer from then on.
    HANDLE Configured() const { return m_configured.Get(); }
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
    // Reads how the run rotates, once.
    void Configure();
    // The next entry; with several monitors, one no other monitor shows
    // while the list has enough.
    PickedEntry Pick();
    // The run's events since the last look, taken up into the state; a
    // rotation or a display that went off asks the child to close.
    void TakeUpEvents();
    // Waits for the running child and ends it when it must.
    void WaitForChild();
    // Asks the child to close for the next one.
    void CloseChild();
    // Waits, without busy spinning, until a new pick can differ from the one
    // just made (the random choice depends on the clock's millisecond).
    void WaitForNextPick();

    RunControl& m_control;
    LauncherEvents& m_events;
    const LaunchPlace m_place;
    ModeRules m_rules;
    // Until its first change, a monitor's show time is staggered.
    bool m_rotatedOnce = false;
    CHandle m_wake;
    CHandle m_firstStart;
    CHandle m_configured;
    bool m_isConfigured = false;
    RunState m_state;
    RunningChild m_child;
    LONG m_rotationsSeen = 0;
    LONG m_activitySeen = 0;
    // Listed files found gone since the last one that was there.
    int m_skipsInARow = 0;
    bool m_displayOff = false;
    bool m_inputUnwatched = false;
    bool m_rotate = false;
    bool m_ownShowTimes = false;
    int m_minutes = 0;
};

// The launcher's thread procedure; its parameter is the Launcher.
DWORD WINAPI LauncherThread(LPVOID launcher);

}  // namespace velmora::runner
