#include "runner/run_session.h"

#include "framework/win_app.h"
#include "runner/session_window.h"

BOOL StartRunSession() {
    // One run at a time: a second start while a session runs ends at once.
    if (FindWindowA(nullptr, "VelmoraScrWnd")) return FALSE;
    auto* wnd = new CScrWnd;
    if (!wnd->CreateSessionWindow()) return FALSE;
    AfxGetApp()->m_pMainWnd = wnd;
    return TRUE;
}
