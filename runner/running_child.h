#pragma once
// One running child screensaver: the holder of its process handle and of the
// handle of the process it handed its work to. It finds that hand-off, asks
// the child to close and ends it. Every request to close goes out from here,
// while the handles are held: a process id stays that process's as long as a
// handle to it is open, so a request never reaches a program that got the id
// after the child ended.
#include <windows.h>

#include <string>

#include "framework/handle.h"
#include "runner/close_running.h"
#include "runner/process_start.h"

namespace velmora::runner {

class RunningChild {
public:
    // Starts the screensaver full screen (its short path followed by
    // " /s"), or, given a host window, in preview mode inside it (" /p "
    // and the window in decimal).
    bool Start(const std::string& path, HWND host = nullptr);
    explicit operator bool() const { return static_cast<bool>(m_process); }
    DWORD ProcessId() const { return m_process.ProcessId(); }
    // The process the child handed its work to, once taken up (0 before).
    DWORD HandOffId() const { return m_handOffId; }

    // What to wait on: the process the child handed over to once there is one.
    HANDLE WaitHandle() const { return m_handOff ? m_handOff.Get() : m_process.Process(); }
    // The process waited on has ended. True when that was the child and it
    // handed its work to a process of its own, which is waited on from now.
    bool TakeUpEnd();

    // The rotation's request, made the way that suits this Windows; a
    // screensaver in a window of ours is asked through its windows there.
    void Close() const {
        if (m_host)
            AskToClose();
        else
            CloseRunningScreensaver(Ids());
    }
    // WM_CLOSE to its visible windows; the number of windows it went to.
    int AskToClose() const { return CloseWindowsOf(Ids(), m_host); }
    // Terminates what is left, hand-off included, and lets go of it.
    void End();
    // Lets go of the ended child.
    void Reset();

private:
    // The child and its hand-off: the one taken up at its end, or, while the
    // child still runs (a stub that waits for its worker, with no window of
    // its own), the process it handed its work to so far.
    ChildProcessIds Ids() const;
    // The process the child handed its work to, if it was created while the
    // child ran; empty otherwise.
    CHandle FindHandOff(DWORD& id) const;

    velmora::process::ProcessHandles m_process;
    CHandle m_handOff;
    DWORD m_handOffId = 0;
    HWND m_host = nullptr;
};

}  // namespace velmora::runner
