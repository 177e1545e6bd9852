#include "runner/run_session.h"

#include "framework/handle.h"
#include "framework/win_app.h"
#include "runner/session_window.h"

namespace {

// Held by a running session until its release. The session window appears
// only once the first screensaver has been started; the mutex, made before
// anything else, marks the run from its very first moment.
constexpr char kRunMutex[] = "VelmoraRunSession";

}  // namespace

CScrWnd* OpenRunSession(bool endsProcess) {
    // One run at a time: a second start while a session runs ends at once.
    if (FindWindowA(nullptr, "VelmoraScrWnd")) return nullptr;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kRunMutex);
    const bool another = mutex && GetLastError() == ERROR_ALREADY_EXISTS;
    CHandle running(mutex);
    if (another) return nullptr;
    auto* wnd = new CScrWnd(endsProcess);
    if (!wnd->CreateSessionWindow(std::move(running))) return nullptr;
    return wnd;
}

bool StartRunSession() {
    CScrWnd* wnd = OpenRunSession(true);
    if (!wnd) return false;
    AfxGetApp()->m_pMainWnd = wnd;
    return true;
}
