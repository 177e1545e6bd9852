#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

#include "framework/wnd.h"

// The hidden window that owns a run: its creation sets the run up and starts
// the launcher thread, its timer rotates the child screensavers, and its
// destruction releases everything and ends the program.
class CScrWnd : public CWnd {
public:
    // Registers the class and creates the window titled "VelmoraScrWnd".
    // FALSE when it could not be created, including when OnCreate refused;
    // a window that was made and refused has deleted its object by then.
    BOOL CreateSessionWindow();

    // Runs on the launcher thread: starts the children one after the other.
    void RunLauncher();

protected:
    int OnCreate(LPCREATESTRUCTA cs) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    struct ChildStart {
        std::string shortPath;
        std::string commandLine;
        std::string folder;
    };
    // The start of one listed file; false when the file is not there.
    static bool PrepareChild(const std::string& path, ChildStart& start);
    // Starts the child and waits for it and for a process it handed over to.
    // False when it could not be started.
    bool StartAndWait(ChildStart& start);
    // The decision after a child ended (or failed to start): true to start
    // the next one, false to end the run.
    bool ContinueAfterChild();

    HANDLE m_hLauncherThread = nullptr;
    // What the end of the running child means: TRUE = the user came back,
    // end the run; FALSE = the timer closed it, start the next one.
    std::atomic<BOOL> m_bEndOnChildExit{TRUE};
    std::atomic<bool> m_bChildRunning{false};
    std::atomic<bool> m_bEnding{false};
    // Serialises the timer's decision to close with the launcher's decision
    // after a child ended, so that a tick between the two closes nothing.
    std::mutex m_decision;
    bool m_bReleased = false;
    bool m_bCreating = false;
};
