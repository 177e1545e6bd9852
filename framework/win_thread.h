#pragma once
#include <windows.h>

#include "framework/handle.h"
#include "framework/runtime_class.h"

class CWnd;

// A worker thread run by an object. The usual start is: CreateThread with
// CREATE_SUSPENDED, SetThreadPriority, ResumeThread. On the new thread the
// framework calls InitInstance; TRUE runs the message loop (Run) until
// WM_QUIT, FALSE ends the thread at once with ExitInstance's result.
//
// With m_bAutoDelete (the default) the object deletes itself when its thread
// ends, so it must be made with new and nobody may touch it afterwards. An
// owner that stops the thread and waits for it switches m_bAutoDelete off,
// asks it to stop with RequestStop (a manual-reset event the thread polls or
// waits on), waits with WaitForEnd, and deletes the object after that.
//
// The object owns the thread handle and closes it with itself. It is neither
// copied nor moved: the running thread holds its address.
class CWinThread {
    VELMORA_RUNTIME_CLASS(CWinThread)
public:
    CWinThread();
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    CWinThread(CWinThread&&) = delete;
    CWinThread& operator=(CWinThread&&) = delete;

    // Starts the thread (once per object). FALSE when it could not be made,
    // and when the stop event could not be: nothing could stop that thread.
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0,
                      LPSECURITY_ATTRIBUTES security = nullptr);
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    // Both answer the previous suspend count, or (DWORD)-1.
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }

    HANDLE GetThreadHandle() const { return m_hThread; }
    DWORD GetThreadId() const { return m_nThreadID; }

    // The stop request: a manual-reset event, non-signalled until an owner
    // sets it. The thread body checks it (or waits on it) between steps.
    BOOL RequestStop() { return m_stop.Set(); }
    BOOL IsStopRequested(DWORD waitMs = 0) const { return m_stop.IsSet(waitMs); }
    HANDLE GetStopEvent() const { return m_stop.Get(); }
    BOOL ResetStop() { return m_stop.Reset(); }
    // Waits for the thread to end; TRUE when it has (or never started).
    BOOL WaitForEnd(DWORD timeoutMs = INFINITE) const;

    // The window this thread works for: its message boxes belong to the
    // top-level window that contains it.
    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;

protected:
    // With a stop event made elsewhere (one that failed, for instance).
    explicit CWinThread(CManualResetEvent stop);

    // The thread's start: TRUE runs the message loop, FALSE ends the thread.
    virtual BOOL InitInstance();
    // The message loop; ends on WM_QUIT and answers ExitInstance's result.
    virtual int Run();
    // The thread's exit code.
    virtual int ExitInstance();

    int m_exitCode = 0;

private:
    static DWORD WINAPI ThreadProc(LPVOID param);
    // The thread's whole life on the new thread; no exception leaves it.
    DWORD Body() noexcept;

    CHandle m_hThread;
    DWORD m_nThreadID = 0;
    CManualResetEvent m_stop;
};
