#include "runner/run_session.h"

#include "framework/win_app.h"
#include "runner/session_window.h"

bool StartRunSession() {
    // One run at a time: a second start while a session runs ends at once.
    if (FindWindowA(nullptr, "VelmoraScrWnd")) return false;
    auto* wnd = new CScrWnd;
    if (!wnd->CreateSessionWindow()) return false;
    AfxGetApp()->m_pMainWnd = wnd;
    return true;
}
