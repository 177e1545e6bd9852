#include "config/controls/gdi_thread.h"

#include "framework/wnd.h"

CGDIThread::CGDIThread(CWnd* owner, HDC target) : m_hTargetDC(target) {
    m_pMainWnd = owner;
    m_bAutoDelete = FALSE;  // the owner waits for the thread, then deletes
    DrawingLock();          // made before any thread could race for it
}

CGDIThread::~CGDIThread() { m_dc.Detach(); }

CRITICAL_SECTION& CGDIThread::DrawingLock() {
    // Initialised on first use (thread-safe), deliberately never deleted.
    static CRITICAL_SECTION* lock = [] {
        auto* section = new CRITICAL_SECTION;
        InitializeCriticalSection(section);
        return section;
    }();
    return *lock;
}

BOOL CGDIThread::InitInstance() {
    m_dc.Attach(m_hTargetDC);
    DWORD wait = 0;
    while (!IsStopRequested(wait)) wait = DrawStep();
    m_dc.Detach();
    return FALSE;
}
