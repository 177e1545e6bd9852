#pragma once
#include <windows.h>

#include "framework/handle.h"
#include "framework/wnd.h"
#include "runner/display_power.h"
#include "runner/input_watch.h"
#include "runner/launcher.h"
#include "runner/monitor_covers.h"
#include "runner/monitor_hosts.h"
#include "runner/run_control.h"
#include "runner/run_end.h"

// The hidden window that owns a run. It maps what reaches it to the run's
// parts: its creation sets the run up (the launcher starts the first child
// before the window is made), its timer and the display's power become the
// run's events, the launcher's end comes back as a posted WM_DESTROY, and the
// release that follows ends the program.
class CScrWnd : public CWnd, private velmora::runner::LauncherEvents {
public:
    // endsProcess: the program ends with the run (false for a run hosted by
    // another program, which goes on afterwards).
    explicit CScrWnd(bool endsProcess = true) : m_endsProcess(endsProcess) {}

    // Starts the run, holding runMutex for it, then registers the class and
    // creates the window titled "VelmoraScrWnd". FALSE when the run could not
    // start or the window could not be made (the run is then released
    // again); the object has deleted itself by then.
    BOOL CreateSessionWindow(CHandle runMutex);

    // The exit code of a process its watchdog ended because the main thread
    // did not take up the end of the run.
    static constexpr UINT kExitMainThreadStuck = velmora::runner::RunEnd::kExitHandBack;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA cs) override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    // The rotation timer, once the launcher has read how the run rotates.
    void StartRotationTimer();
    // Sets the run up (working folder, hook library, watchdog) and starts
    // the launchers; FALSE when the run cannot start, the user told why.
    BOOL StartLauncher();
    HANDLE FirstStart() const;
    // The launchers' reports (on their threads).
    void RunOver() override { m_end.RunOver(); }
    void ChildStarted(DWORD pid) override;
    void ClosingChild() override;
    void ChildGone() override;
    static void UserReturned(void* self);
    static void InputActivity(void* self);
    // The launcher is done: release the run and end the program.
    void EndRun();
    // Stops the run's threads, destroys the windows, lets go of the run's
    // mutex, and only then unloads the hook library.
    void ReleaseRun();

    const bool m_endsProcess;
    // What the run does in the monitors' mode it takes.
    velmora::runner::ModeRules m_rules;
    velmora::runner::RunControl m_control;
    velmora::runner::Launcher m_launcher{m_control, *this};
    CHandle m_hLauncherThread;
    velmora::runner::MonitorHosts m_hosts{m_control, *this};
    velmora::runner::MonitorCovers m_covers;
    velmora::runner::InputWatch m_input;
    velmora::runner::DisplayPower m_power;
    velmora::runner::RunEnd m_end;
    CHandle m_runMutex;

    // Main thread only.
    bool m_bReleased = false;
    bool m_bCreating = false;
    bool m_bDestroying = false;
};
