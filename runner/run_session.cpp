#include "runner/run_session.h"

#include "framework/win_app.h"
#include "runner/preview_window.h"
#include "runner/session_window.h"

BOOL StartRunSession() {
    // One run at a time: a second start while a session runs ends at once.
    if (FindWindowA(nullptr, "VelmoraScrWnd")) return FALSE;
    auto* wnd = new CScrWnd;
    if (!wnd->CreateSessionWindow()) return FALSE;
    AfxGetApp()->m_pMainWnd = wnd;
    return TRUE;
}

BOOL StartPreview(HWND parent) {
    if (!parent || !IsWindow(parent)) return FALSE;
    RECT client;
    GetClientRect(parent, &client);
    auto* wnd = new CPreviewWnd(TRUE);
    // On failure the auto-deleting object is gone already.
    if (!wnd->Create(0, "Preview", WS_CHILD | WS_VISIBLE, client, parent, 0)) return FALSE;
    AfxGetApp()->m_pMainWnd = wnd;
    return TRUE;
}
