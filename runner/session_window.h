#pragma once
#include <windows.h>

#include <string>

#include "framework/critical_section.h"
#include "framework/handle.h"
#include "framework/wnd.h"
#include "runner/close_running.h"
#include "runner/input_watch.h"
#include "runner/process_start.h"

// The hidden window that owns a run: its object sets the run up and starts
// the launcher thread just before the window is made (the first child starts
// meanwhile), its timer rotates the child screensavers, and its destruction
// releases everything and ends the program.
class CScrWnd : public CWnd {
public:
    // Starts the run, then registers the class and creates the window
    // titled "VelmoraScrWnd". FALSE when the run could not start or the
    // window could not be made (the run is then released again); the object
    // has deleted itself by then.
    BOOL CreateSessionWindow();

    // Runs on the launcher thread: starts the children one after the other.
    void RunLauncher();
    // The launcher's last act, whatever ended the run: hands the end to the
    // main thread, or ends the process when the main thread does not answer.
    void EndProgram();
    // The exit code of a process its launcher had to end.
    static constexpr UINT kExitMainThreadStuck = 3;

    // How long a child may take to end before the runner ends it: after the
    // user came back, and after a rotation asked it to close (then it is
    // asked again, and after kTerminateAfterMs more it is terminated).
    static constexpr DWORD kUserGraceMs = 3000;
    static constexpr DWORD kRotationGraceMs = 4000;
    static constexpr DWORD kTerminateAfterMs = 2000;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA cs) override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    using ProcessHandles = velmora::process::ProcessHandles;

    // What the launcher reads of the shared state at one moment.
    struct RunState {
        ChildProcessIds ids;
        bool rotating = false;
        DWORD rotationAt = 0;
        bool userBack = false;
        DWORD userBackAt = 0;
        bool quit = false;
    };
    RunState ReadState();

    // The launcher's steps.
    bool MayStartNext();
    // Waits for the child and the process it handed over to, ending them
    // itself when the user is back, a rotation's close went unheeded, or
    // the run must stop.
    void WaitForChild(ProcessHandles& child);
    // The process the ended child handed its work to, if it was created
    // while the child ran; empty otherwise.
    CHandle FindHandOff(const ProcessHandles& child, DWORD& handOffId);
    // Asks the child's windows to close, waits a little, then terminates
    // what is left, hand-off included.
    void EndChild(ProcessHandles& child, CHandle& handOff, bool askFirst);
    // Waits, without busy spinning, until a new pick can differ from the one
    // just made (the random choice depends on the clock's millisecond).
    void WaitForNextPick();
    // The decision after a child ended (or failed to start): true to start
    // the next one, false to end the run.
    bool ContinueAfterChild();

    // Main thread.
    // Sets the run up (working folder, hook library) and starts the
    // launcher; FALSE when the run cannot start, the user told why.
    BOOL StartLauncher();
    static void UserReturned(void* self);
    void OnUserReturned();
    void RequestEnd();
    // Stops the launcher, waits for it to end, and releases the hook library.
    void ReleaseRun();

    CHandle m_hLauncherThread;
    // Set once the window's creation is over, made or not (manual reset).
    CHandle m_windowMade;
    // Set once the launcher has tried its first start, or ended (manual reset).
    CHandle m_firstStart;
    // Set once the main thread has begun releasing the run (manual reset).
    CHandle m_releasing;
    // Wakes the launcher when the shared state changed (auto-reset).
    CHandle m_wake;
    velmora::runner::InputWatch m_input;

    // Guards everything below; the launcher's decision after a child ended
    // and the timer's decision to close are serialised by it.
    CCriticalSection m_lock;
    // What the end of the running child means: TRUE = the user came back,
    // end the run; FALSE = the timer closed it, start the next one.
    BOOL m_bEndOnChildExit = TRUE;
    ChildProcessIds m_running;  // child 0 while none runs
    bool m_bRotating = false;
    DWORD m_rotationAt = 0;
    bool m_bUserBack = false;
    DWORD m_userBackAt = 0;
    bool m_bQuit = false;
    bool m_bEnding = false;

    // Main thread only.
    bool m_bReleased = false;
    bool m_bCreating = false;
};
