#include "framework/win_thread.h"
#include "framework/message_loop.h"

#include <utility>

CWinThread::CWinThread() = default;

CWinThread::CWinThread(CManualResetEvent stop) : m_stop(std::move(stop)) {}

CWinThread::~CWinThread() = default;

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
    if (m_hThread) return FALSE;
    if (!m_stop) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD id = 0;
    // Suspended first in any case, so the handle and id are stored before the
    // thread can run (and, with auto-delete, end and delete the object).
    HANDLE thread =
        ::CreateThread(security, stackSize, ThreadProc, this, createFlags | CREATE_SUSPENDED, &id);
    if (!thread) return FALSE;
    m_hThread.Attach(thread);
    m_nThreadID = id;
    if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(thread);
    return TRUE;
}

BOOL CWinThread::WaitForEnd(DWORD timeoutMs) const {
    if (!m_hThread) return TRUE;
    return WaitForSingleObject(m_hThread, timeoutMs) == WAIT_OBJECT_0;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    m_exitCode = RunMessageLoop(-1);
    return ExitInstance();
}

int CWinThread::ExitInstance() { return m_exitCode; }

DWORD WINAPI CWinThread::ThreadProc(LPVOID param) {
    return static_cast<CWinThread*>(param)->Body();
}

DWORD CWinThread::Body() noexcept {
    int code = -1;
    try {
        code = InitInstance() ? Run() : ExitInstance();
    } catch (...) {
        // A failure of the thread's own work ends the thread, not the process.
        code = -1;
    }
    if (m_bAutoDelete) delete this;  // destructors do not throw
    return static_cast<DWORD>(code);
}
