#include "runner/run_session.h"

#include "framework/win_app.h"
#include "runner/session_window.h"

namespace {

// Held by a running session for the life of its process. The session window
// appears only once the first screensaver has been started; the mutex, made
// before anything else, marks the run from its very first moment.
constexpr char kRunMutex[] = "VelmoraRunSession";

}  // namespace

bool StartRunSession() {
    // One run at a time: a second start while a session runs ends at once.
    if (FindWindowA(nullptr, "VelmoraScrWnd")) return false;
    HANDLE running = CreateMutexA(nullptr, FALSE, kRunMutex);
    if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(running);
        return false;
    }
    // The handle stays open until the process ends, whatever the run does.
    auto* wnd = new CScrWnd;
    if (!wnd->CreateSessionWindow()) return false;
    AfxGetApp()->m_pMainWnd = wnd;
    return true;
}
