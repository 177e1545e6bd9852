#include "runner/session_window.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/win_app.h"
#include "resources/velmora_scr_ids.h"
#include "runner/hand_off_rule.h"
#include "runner/hook_library.h"
#include "runner/next_choice.h"
#include "runner/pick_next.h"
#include "runner/show_time.h"
#include "settings/password_protection.h"
#include "settings/settings_names.h"

namespace names = velmora::settings;
using velmora::process::ProcessHandles;

namespace {

constexpr UINT_PTR kRotationTimer = 1;
constexpr char kSessionTitle[] = "VelmoraScrWnd";
// How long a child asked to close at the end of the run may take.
constexpr DWORD kQuitGraceMs = 2000;
// How long a terminated process may take to be gone.
constexpr DWORD kTerminateWaitMs = 5000;
// How long the session window waits for the first child to be started.
constexpr DWORD kFirstStartWaitMs = 1000;
// How long the launcher, its run over, waits for the main thread to make the
// session window and then to take up the end of the run.
constexpr DWORD kMainThreadAnswerMs = 8000;

#ifndef PROCESS_QUERY_LIMITED_INFORMATION
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#endif

DWORD WINAPI LauncherThread(LPVOID param) {
    auto* wnd = static_cast<CScrWnd*>(param);
    // Nothing may leave a thread procedure; whatever happened, the run ends.
    try {
        wnd->RunLauncher();
    } catch (...) {
    }
    wnd->EndProgram();
    return 0;
}

DWORD Since(DWORD then) { return GetTickCount() - then; }

DWORD Remaining(DWORD elapsed, DWORD limit) { return elapsed >= limit ? 0 : limit - elapsed; }

uint64_t FileTimeValue(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

uint64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

bool Running(HANDLE process) { return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

void Terminate(HANDLE process) {
    if (!Running(process)) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kTerminateWaitMs);
}

// A listed file that can be started: a plain file (no pattern, no folder)
// whose path fits a MAX_PATH buffer.
bool ListedFileUsable(const std::string& path) {
    if (path.empty() || path.size() >= static_cast<size_t>(names::kPathBuffer)) return false;
    if (path.find_first_of("*?") != std::string::npos) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The key names of the rotation section, read whole.
std::vector<char> RotationKeys() {
    std::vector<char> keys(4096);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(names::kSectionScreensaver, nullptr, "", keys.data(),
                                           static_cast<DWORD>(keys.size()), names::kIniFile);
        // A list that did not fit comes back cut at size - 2.
        if (n + 2 < keys.size() || keys.size() >= (1u << 24)) {
            keys.resize(n + 2);
            keys[n] = keys[n + 1] = '\0';
            return keys;
        }
        keys.resize(keys.size() * 4);
    }
}

// Whether any entry the picker can reach names a file that can be started.
// The section's own key names are walked, so a count that is garbage costs
// nothing.
bool AnyListedFileUsable() {
    int count = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));
    if (count <= 0) return false;
    std::vector<char> keys = RotationKeys();
    for (const char* key = keys.data(); *key; key += std::strlen(key) + 1) {
        if (!IsListedEntryKey(key, count)) continue;
        char value[names::kPathBuffer + 1] = "";
        GetPrivateProfileStringA(names::kSectionScreensaver, key, "", value, sizeof value,
                                 names::kIniFile);
        if (ListedFileUsable(value)) return true;
    }
    return false;
}

}  // namespace

BOOL CScrWnd::CreateSessionWindow() {
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
    WaitForSingleObject(m_firstStart.Get(), kFirstStartWaitMs);
    const char* cls = RegisterWndClass(
        CS_HREDRAW | CS_VREDRAW, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
        LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_VELMORA)));
    RECT rect = {1, 1, 1, 1};
    // A refused creation destroys the window it made; the object goes after
    // the creation call either way, once.
    m_bCreating = true;
    BOOL created = cls && CreateEx(0, cls, kSessionTitle, 0, rect, HWND{}, 0);
    m_bCreating = false;
    SetEvent(m_windowMade.Get());
    if (!created) {
        ReleaseRun();  // done already when the window was made and refused
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
    m_windowMade.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_firstStart.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_releasing.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_wake.Attach(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!m_windowMade || !m_firstStart || !m_releasing || !m_wake) return FALSE;
    m_hLauncherThread.Attach(CreateThread(nullptr, 0, LauncherThread, this, 0, nullptr));
    return m_hLauncherThread ? TRUE : FALSE;
}

LRESULT CScrWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // No C++ exception may cross into user32.
    try {
        if (message == WM_ENDSESSION) {
            // Windows ends this process after the answer: the child and the
            // launcher go first.
            if (wParam) ReleaseRun();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    } catch (...) {
        if (message == WM_CREATE) return -1;
        if (message == WM_DESTROY || message == WM_CLOSE) {
            try {
                ReleaseRun();
            } catch (...) {
            }
        }
        return 0;
    }
}

int CScrWnd::OnCreate(LPCREATESTRUCTA cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;

    if (GetPrivateProfileIntA(names::kSectionOptions, names::kKeyRotate, 0, names::kIniFile) &&
        !IsPasswordProtected()) {
        int minutes = ShowTimeMinutes(static_cast<int>(GetPrivateProfileIntA(
            names::kSectionOptions, names::kKeyShowTime, names::kDefaultShowTime,
            names::kIniFile)));
        SetTimer(m_hWnd, kRotationTimer, static_cast<UINT>(minutes) * 60000u, nullptr);
    }
    // The user's return normally reaches us as the child's end; a child that
    // does not end on input is ended here. Without the hooks (no low-level
    // hooks on this Windows) the run still works, only without that guard.
    m_input.Start(UserReturned, this);
    return 0;
}

void CScrWnd::OnTimer(UINT_PTR id) {
    if (id == kRotationTimer) {
        ChildProcessIds ids;
        bool close = false;
        {
            CSingleLock hold(m_lock);
            if (m_running.child && !m_bEnding && !m_bUserBack && !m_bQuit && !m_bRotating) {
                m_bEndOnChildExit = FALSE;
                m_bRotating = true;
                m_rotationAt = GetTickCount();
                ids = m_running;
                close = true;
            }
        }
        if (close) {
            CloseRunningScreensaver(ids);
            SetEvent(m_wake.Get());
        }
    }
    Default();
}

void CScrWnd::OnClose() {
    // Not DestroyWindow: the launcher ends the child, then posts the message
    // that ends the program, as at the end of every run.
    RequestEnd();
}

void CScrWnd::OnDestroy() {
    // The run is over: no more rotations.
    KillTimer(m_hWnd, kRotationTimer);
    Default();
    if (m_bReleased) return;
    ReleaseRun();
    PostQuitMessage(0);
}

void CScrWnd::PostNcDestroy() {
    if (!m_bCreating) delete this;
}

void CScrWnd::ReleaseRun() {
    if (m_bReleased) return;
    m_bReleased = true;
    KillTimer(m_hWnd, kRotationTimer);
    // A waiting main thread must not hold up everyone's input.
    m_input.Stop();
    RequestEnd();
    // The launcher calls into the hook library and this object until it
    // returns; all it waits for from this thread is the end of the window's
    // creation and the start of the release, both over from here on.
    if (m_windowMade) SetEvent(m_windowMade.Get());
    if (m_releasing) SetEvent(m_releasing.Get());
    if (m_hLauncherThread) WaitForSingleObject(m_hLauncherThread.Get(), INFINITE);
    m_hLauncherThread.Reset();
    UnloadHookLibrary();
}

void CScrWnd::RequestEnd() {
    {
        CSingleLock hold(m_lock);
        m_bQuit = true;
        m_bEndOnChildExit = TRUE;
    }
    if (m_wake) SetEvent(m_wake.Get());
}

void CScrWnd::UserReturned(void* self) {
    // Called from a hook procedure: nothing may leave it.
    try {
        static_cast<CScrWnd*>(self)->OnUserReturned();
    } catch (...) {
    }
}

void CScrWnd::OnUserReturned() {
    {
        CSingleLock hold(m_lock);
        if (m_bUserBack) return;
        m_bUserBack = true;
        m_userBackAt = GetTickCount();
        // A pending rotation no longer starts the next screensaver.
        m_bEndOnChildExit = TRUE;
    }
    SetEvent(m_wake.Get());
}

CScrWnd::RunState CScrWnd::ReadState() {
    CSingleLock hold(m_lock);
    RunState state;
    state.ids = m_running;
    state.rotating = m_bRotating;
    state.rotationAt = m_rotationAt;
    state.userBack = m_bUserBack;
    state.userBackAt = m_userBackAt;
    state.quit = m_bQuit;
    return state;
}

bool CScrWnd::MayStartNext() {
    CSingleLock hold(m_lock);
    return !m_bQuit && !m_bUserBack;
}

void CScrWnd::RunLauncher() {
    while (MayStartNext()) {
        std::string path = PickNextScreensaver();
        if (path.empty()) break;
        if (!ListedFileUsable(path)) {
            // A file that is gone is skipped while another listed one exists.
            if (!AnyListedFileUsable()) break;
            WaitForNextPick();
            continue;
        }
        ProcessHandles child =
            velmora::process::StartProcess(velmora::process::PlanStart(path, " /s"));
        SetEvent(m_firstStart.Get());
        if (child) {
            child.CloseThread();
            {
                CSingleLock hold(m_lock);
                m_running = ChildProcessIds{child.ProcessId(), 0};
            }
            WaitForChild(child);
        }
        if (!ContinueAfterChild()) break;
    }
    CSingleLock hold(m_lock);
    m_bEnding = true;
    m_running = ChildProcessIds{};
}

void CScrWnd::EndProgram() {
    // The main thread ends the program, through the session window once its
    // creation is over; a window that was never made needs no message.
    SetEvent(m_firstStart.Get());
    if (WaitForSingleObject(m_windowMade.Get(), kMainThreadAnswerMs) == WAIT_OBJECT_0) {
        HWND hwnd = m_hWnd;
        if (!hwnd || !::PostMessageA(hwnd, WM_DESTROY, 0, 0)) return;
        if (WaitForSingleObject(m_releasing.Get(), kMainThreadAnswerMs) == WAIT_OBJECT_0) return;
    }
    // The main thread neither made its window nor took up the end: it hangs
    // (in the system, since it runs nothing of ours that can wait this
    // long). The screensavers are ended already, and a process left behind
    // would refuse every later run, so this one ends here, without running
    // anything more in a process whose main thread may hold its locks.
    TerminateProcess(GetCurrentProcess(), kExitMainThreadStuck);
}

void CScrWnd::WaitForNextPick() {
    SYSTEMTIME then;
    GetSystemTime(&then);
    for (int i = 0; i < 100; ++i) {
        // The wake event only shortens the wait; the loop looks at the state.
        if (WaitForSingleObject(m_wake.Get(), 1) == WAIT_OBJECT_0) return;
        SYSTEMTIME now;
        GetSystemTime(&now);
        if (now.wMilliseconds != then.wMilliseconds || now.wSecond != then.wSecond) return;
    }
}

void CScrWnd::WaitForChild(ProcessHandles& child) {
    CHandle handOff;
    bool closedAgain = false;
    for (;;) {
        const RunState state = ReadState();
        if (state.quit) {
            EndChild(child, handOff, true);
            return;
        }
        DWORD timeout = INFINITE;
        if (state.userBack) {
            DWORD elapsed = Since(state.userBackAt);
            if (elapsed >= kUserGraceMs) {
                EndChild(child, handOff, false);
                return;
            }
            timeout = kUserGraceMs - elapsed;
        }
        if (state.rotating) {
            DWORD elapsed = Since(state.rotationAt);
            if (elapsed >= kRotationGraceMs + kTerminateAfterMs) {
                EndChild(child, handOff, false);
                return;
            }
            if (elapsed >= kRotationGraceMs && !closedAgain) {
                CloseWindowsOf(state.ids);
                closedAgain = true;
            }
            DWORD next = closedAgain ? Remaining(elapsed, kRotationGraceMs + kTerminateAfterMs)
                                     : Remaining(elapsed, kRotationGraceMs);
            if (next < timeout) timeout = next;
        }

        HANDLE handles[2] = {handOff ? handOff.Get() : child.Process(), m_wake.Get()};
        DWORD result = WaitForMultipleObjects(2, handles, FALSE, timeout);
        if (result == WAIT_OBJECT_0) {
            if (handOff) return;
            // The child ended; it may have handed its work to a process of
            // its own, which is waited for in the same way.
            DWORD id = 0;
            handOff = FindHandOff(child, id);
            if (!handOff) return;
            CSingleLock hold(m_lock);
            m_running.handOff = id;
            continue;
        }
        if (result == WAIT_FAILED) {
            // Nothing left to wait on safely: end what may still run.
            EndChild(child, handOff, false);
            return;
        }
        // Woken or a deadline came: the state is looked at again.
    }
}

CHandle CScrWnd::FindHandOff(const ProcessHandles& child, DWORD& handOffId) {
    // The child's handle is still open, so its id is not reused meanwhile and
    // the hook library can read its times too.
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(child.Process(), &created, &exited, &kernel, &user)) return CHandle();
    velmora::handoff::ChildLife life;
    life.id = child.ProcessId();
    life.created = FileTimeValue(created);
    life.ended = Running(child.Process()) ? Now() : FileTimeValue(exited);

    DWORD id = 0;
    if (!g_hookLibrary.FindProcessChild || !g_hookLibrary.FindProcessChild(life.id, &id))
        return CHandle();
    const DWORD rights = SYNCHRONIZE | PROCESS_TERMINATE;
    HANDLE process = OpenProcess(rights | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process) process = OpenProcess(rights | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    CHandle handOff(process);
    if (!handOff) return CHandle();
    // Only a process created while the child ran is its hand-off: an older
    // one merely inherited a parent id that the child's id once was.
    if (!GetProcessTimes(handOff.Get(), &created, &exited, &kernel, &user) ||
        !velmora::handoff::CreatedWhileRunning(life, FileTimeValue(created)))
        return CHandle();
    handOffId = id;
    return handOff;
}

void CScrWnd::EndChild(ProcessHandles& child, CHandle& handOff, bool askFirst) {
    ChildProcessIds ids;
    {
        CSingleLock hold(m_lock);
        ids = m_running;
    }
    HANDLE current = handOff ? handOff.Get() : child.Process();
    if (askFirst && Running(current) && CloseWindowsOf(ids) > 0)
        WaitForSingleObject(current, kQuitGraceMs);
    Terminate(child.Process());
    // A child that ended meanwhile may have handed over: that one goes too.
    if (!handOff) {
        DWORD id = 0;
        handOff = FindHandOff(child, id);
    }
    Terminate(handOff.Get());
}

bool CScrWnd::ContinueAfterChild() {
    CSingleLock hold(m_lock);
    m_running = ChildProcessIds{};
    bool rotate = !m_bEndOnChildExit && !m_bUserBack && !m_bQuit;
    m_bRotating = false;
    if (!rotate) {
        m_bEnding = true;
        return false;
    }
    m_bEndOnChildExit = TRUE;
    return true;
}
