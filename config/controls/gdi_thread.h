#pragma once
#include <windows.h>

#include "framework/dc.h"
#include "framework/win_thread.h"

class CWnd;

// A worker thread that draws into a window of the user-interface thread
// through that window's device context, one DrawStep after another, until its
// owner asks it to stop. The owner keeps the device context (and deletes the
// object after the thread has ended: automatic deletion is off), and starts
// it suspended at idle priority:
//   CreateThread(CREATE_SUSPENDED); SetThreadPriority(THREAD_PRIORITY_IDLE);
//   ResumeThread(); ... RequestStop(); WaitForEnd(); delete; release the DC.
class CGDIThread : public CWinThread {
    VELMORA_RUNTIME_CLASS(CGDIThread)
public:
    CGDIThread(CWnd* owner, HDC target);
    ~CGDIThread() override;

    // Taken around each frame by every drawing thread of the process, so
    // that two of them never draw over each other. Made once per process and
    // never deleted: a thread may hold it while another object goes away.
    static CRITICAL_SECTION& DrawingLock();

    int m_nDelay = 25;       // milliseconds one frame should last
    int m_nScrollInc = 1;    // rows the picture moves per frame

protected:
    // The thread body: DrawStep until the stop event is set, then the thread
    // ends without a message loop. Between frames the thread waits on the
    // stop event itself, so that a stop ends the wait at once.
    BOOL InitInstance() override;
    // One frame; answers the milliseconds to wait before the next.
    virtual DWORD DrawStep() = 0;

    HDC m_hTargetDC;
    CDCRef m_dc;  // the target while the body runs
};

// Holds the drawing lock for one scope.
class CDrawingLock {
public:
    CDrawingLock() { EnterCriticalSection(&CGDIThread::DrawingLock()); }
    ~CDrawingLock() { LeaveCriticalSection(&CGDIThread::DrawingLock()); }
    CDrawingLock(const CDrawingLock&) = delete;
    CDrawingLock& operator=(const CDrawingLock&) = delete;
};
