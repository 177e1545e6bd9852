#pragma once
// Starting a program as its own process: the one way Velmora.scr starts the
// configuration program and child screensavers, and Velmora.exe starts a
// screensaver's settings or a full-screen trial.
#include <windows.h>

#include <string>

#include "framework/handle.h"

namespace velmora::process {

// The process and thread handles of a started process, and their ids.
// Move-only; both handles are closed with it.
class ProcessHandles {
public:
    ProcessHandles() = default;
    explicit ProcessHandles(const PROCESS_INFORMATION& pi)
        : m_process(pi.hProcess), m_thread(pi.hThread), m_processId(pi.dwProcessId) {}
    ProcessHandles(ProcessHandles&&) noexcept = default;
    ProcessHandles& operator=(ProcessHandles&&) noexcept = default;

    HANDLE Process() const { return m_process.Get(); }
    DWORD ProcessId() const { return m_processId; }
    explicit operator bool() const { return static_cast<bool>(m_process); }
    // Nobody here uses the primary thread: its handle can go at once.
    void CloseThread() { m_thread.Reset(); }
    // Waits until the process has ended (no time-out).
    void WaitForExit() const;

private:
    CHandle m_process;
    CHandle m_thread;
    DWORD m_processId = 0;
};

// What a start needs, worked out from a file's path.
struct StartPlan {
    std::string program;      // the short (8.3) path, or the path when it has none
    std::string commandLine;  // the program, quoted when it has a space, then the arguments
    std::string folder;       // the program's folder; a drive root keeps its backslash
};

// The short form of a path. GetShortPathNameA fails for a file that is gone
// and answers the long path on volumes without 8.3 names; the path as given
// is then the best there is.
std::string ShortPathOf(const std::string& path);

// A window handle as it travels on a command line (" /p 1234", " /c:1234"):
// the decimal text of its low 32 bits as a signed number. Only those bits
// are significant, in 32-bit and 64-bit processes alike, and a receiver
// reading the text as atoi does and sign-extending it gets the same handle
// back, whichever edition it is.
std::string HandleDecimal(HWND window);

// withProgram false: the command line is empty, so that the program gets no
// arguments at all.
StartPlan PlanStart(const std::string& path, const std::string& arguments,
                    bool withProgram = true);

// CreateProcessA with the plan: no inherited handles, NORMAL_PRIORITY_CLASS,
// this process's environment, the plan's folder as working folder and a
// STARTUPINFOA with only cb set (the program runs on this desktop with no
// window-placement overrides). Empty handles when it could not be started.
ProcessHandles StartProcess(const StartPlan& plan);

}  // namespace velmora::process
