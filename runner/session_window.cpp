#include "runner/session_window.h"

#include "framework/win_app.h"
#include "resources/velmora_scr_ids.h"
#include "runner/hook_library.h"
#include "runner/run_timings.h"
#include "settings/password_protection.h"
#include "settings/settings_names.h"
#include "settings/windows_line.h"

namespace names = velmora::settings;


namespace {

constexpr UINT_PTR kRotationTimer = 1;
constexpr char kSessionTitle[] = "VelmoraScrWnd";
// How long the session window waits for the first child to be started, and
// then for the launcher to know how the run rotates.
using velmora::runner::kConfiguredPollMs;
using velmora::runner::kConfiguredWaitMs;
using velmora::runner::kFirstStartWaitMs;
constexpr UINT_PTR kConfiguredTimer = 3;  // 2 is the black covers' (monitor_covers.cpp)

}  // namespace

BOOL CScrWnd::CreateSessionWindow(CHandle runMutex) {
    m_runMutex = std::move(runMutex);
    // The first screensaver starts before any window exists: making the
    // first window of a process connects it to the display, which takes
    // longer than the start itself and, made meanwhile, holds the start up.
    // A start that takes longer (missing files in random order) is not
    // waited for beyond a moment.
    if (!StartLauncher()) {
        ReleaseRun();
        delete this;
        return FALSE;
    }
    WaitForSingleObject(FirstStart(), kFirstStartWaitMs);
    if (!m_end.StartWatching()) {
        ReleaseRun();
        delete this;
        return FALSE;
    }
    const char* cls = RegisterWndClass(
        CS_HREDRAW | CS_VREDRAW, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
        LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_VELMORA)));
    RECT rect = {1, 1, 1, 1};
    // A refused creation destroys the window it made; the object goes after
    // the creation call either way, once.
    m_bCreating = true;
    BOOL created = cls && CreateEx(0, cls, kSessionTitle, 0, rect, HWND{}, 0);
    m_bCreating = false;
    // The user's return normally reaches the run as the child's end; a child
    // that does not end on input is ended all the same. Without low-level
    // hooks (Windows 98) the run still works, only without that guard. Set
    // once the window is made: the watch's thread connects to the display
    // too, which would hold up the first screensaver's start.
    if (m_rules.dropsKeys) m_input.DropKeys();
    if (!m_input.Start(UserReturned, InputActivity, this)) m_control.InputUnwatched();
    m_end.WindowMade(created ? m_hWnd : nullptr);
    if (!created) {
        ReleaseRun();
        delete this;
    }
    return created;
}

BOOL CScrWnd::StartLauncher() {
    // The whole run works from the system directory, where the hook library
    // and the usual screensavers live.
    char system[names::kPathBuffer];
    UINT n = GetSystemDirectoryA(system, sizeof system);
    if (n > 0 && n < sizeof system) SetCurrentDirectoryA(system);

    if (!LoadHookLibrary() || !g_hookLibrary.EnableFunctionAddress(TRUE)) {
        MessageBoxA(GetDesktopWindow(),
                    "Unable to load or initialize Trapline.dll, file damaged or not found.\n"
                    "Try to uninstall and reinstall Velmora",
                    "Velmora Error", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (!m_end.Start(m_endsProcess)) return FALSE;
    // Several monitors are covered as the user asked; one is the design's
    // run. The monitors are counted only then: asking connects this process
    // to the display, which would hold up the first screensaver's start.
    // The low-level hooks are the NT line's.
    const int stored = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionOptions, names::kKeyMonitors, 0, names::kIniFile));
    const bool several =
        velmora::runner::MonitorModeOf(stored) != velmora::runner::MonitorMode::AsDrawn;
    m_rules = velmora::runner::RulesOf(velmora::runner::ModeForRun(
        stored, several ? GetSystemMetrics(SM_CMONITORS) : 1, IsNtLine()));
    // Each monitor's own screensaver needs its window before it starts.
    if (m_rules.hostPerMonitor) return m_hosts.Start(m_rules) ? TRUE : FALSE;
    if (m_rules.blackCovers && !m_covers.Create()) return FALSE;
    if (!m_launcher.Open(m_rules)) return FALSE;
    m_hLauncherThread.Attach(
        CreateThread(nullptr, 0, velmora::runner::LauncherThread, &m_launcher, 0, nullptr));
    return m_hLauncherThread ? TRUE : FALSE;
}

HANDLE CScrWnd::FirstStart() const {
    return m_rules.hostPerMonitor ? m_hosts.FirstStart() : m_launcher.FirstStart();
}

void CScrWnd::ChildStarted(DWORD pid) {
    if (m_rules.blackCovers) m_covers.ChildStarted(m_hWnd, pid);
}

void CScrWnd::ClosingChild() {
    if (m_rules.blackCovers) m_covers.ClosingChild(m_hWnd);
}

void CScrWnd::ChildGone() {
    if (m_rules.blackCovers) m_covers.ChildGone(m_hWnd);
}

LRESULT CScrWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // No C++ exception may cross into user32.
    try {
        if (m_rules.blackCovers && m_covers.OnMessage(m_hWnd, message, wParam)) return 0;
        switch (message) {
        case WM_ENDSESSION:
            // Answered at once: the run ends as when the window is closed,
            // and the process with it (the Restart Manager's
            // ENDSESSION_CLOSEAPP does not end it for us).
            if (wParam) m_control.Quit();
            return 0;
        case WM_POWERBROADCAST: {
            using State = velmora::runner::DisplayPower::State;
            State state = velmora::runner::DisplayPower::StateOf(wParam, lParam);
            if (state != State::Unknown) m_control.Display(state == State::On);
            return TRUE;
        }
        case WM_DESTROY:
            // Posted by the run's end, not sent by a destruction of ours.
            if (!m_bDestroying) {
                EndRun();
                return 0;
            }
            break;
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    } catch (...) {
        if (message == WM_CREATE) return -1;
        return 0;
    }
}

int CScrWnd::OnCreate(LPCREATESTRUCTA cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    // The launcher reads how the run rotates just after its first start. A
    // start that takes longer than the wait here (a sleeping disk, a network
    // share, a virus scan inside CreateProcessA) sets the timer later, once
    // it has: otherwise the run would never rotate, with no sign of it.
    if (m_rules.sessionTimer) {
        if (WaitForSingleObject(m_launcher.Configured(), kConfiguredWaitMs) == WAIT_OBJECT_0)
            StartRotationTimer();
        else
            SetTimer(m_hWnd, kConfiguredTimer, kConfiguredPollMs, nullptr);
    }
    // Unless password protection holds rotation back, the running
    // screensaver may be closed while the display is off: nothing then runs
    // that nobody sees.
    if (!ProtectionHoldsRotation()) m_power.Register(m_hWnd);
    // A child started before this window existed.
    if (m_rules.blackCovers) m_covers.ChildStarted(m_hWnd, 0);
    return 0;
}

void CScrWnd::StartRotationTimer() {
    if (m_launcher.RotatesByTimer())
        SetTimer(m_hWnd, kRotationTimer, static_cast<UINT>(m_launcher.TimerMinutes()) * 60000u,
                 nullptr);
}

void CScrWnd::OnTimer(UINT_PTR id) {
    // The launcher, which holds the child's handles, asks it to close.
    if (id == kRotationTimer) m_control.Rotate();
    if (id == kConfiguredTimer && WaitForSingleObject(m_launcher.Configured(), 0) == WAIT_OBJECT_0) {
        KillTimer(m_hWnd, kConfiguredTimer);
        StartRotationTimer();
    }
    Default();
}

void CScrWnd::OnClose() {
    // Not DestroyWindow: the launcher ends the child, then the run ends as
    // every run does.
    m_control.Quit();
}

void CScrWnd::OnDestroy() {
    KillTimer(m_hWnd, kRotationTimer);
    KillTimer(m_hWnd, kConfiguredTimer);
    Default();
}

void CScrWnd::PostNcDestroy() {
    if (!m_bCreating) delete this;
}

void CScrWnd::UserReturned(void* self) { static_cast<CScrWnd*>(self)->m_control.UserBack(); }

void CScrWnd::InputActivity(void* self) { static_cast<CScrWnd*>(self)->m_control.Activity(); }

void CScrWnd::EndRun() {
    // The window is destroyed from inside this message, so the object
    // deletes itself only once the message has been handled.
    ReleaseRun();
    PostQuitMessage(0);
}

void CScrWnd::ReleaseRun() {
    if (m_bReleased) return;
    m_bReleased = true;
    m_end.ReleaseBegun();
    KillTimer(m_hWnd, kRotationTimer);
    KillTimer(m_hWnd, kConfiguredTimer);
    m_power.Unregister();
    m_control.Quit();
    m_input.Stop();
    // The launchers call into the hook library until they return.
    if (m_hLauncherThread) WaitForSingleObject(m_hLauncherThread.Get(), INFINITE);
    m_hLauncherThread.Reset();
    m_hosts.Join();
    // A later run may start once the window and the mutex are gone, even if
    // what follows hangs (the watchdog then ends this process).
    m_covers.Destroy();
    m_hosts.Destroy();
    if (m_hWnd) {
        m_bDestroying = true;
        ::DestroyWindow(m_hWnd);
    }
    m_runMutex.Reset();
    UnloadHookLibrary();
    m_end.ReleaseOver();
}
