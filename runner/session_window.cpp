#include "runner/session_window.h"

#include "framework/win_app.h"
#include "resources/velmora_scr_ids.h"
#include "runner/child_command.h"
#include "runner/close_running.h"
#include "runner/configure.h"
#include "runner/hook_library.h"
#include "runner/pick_next.h"
#include "runner/show_time.h"
#include "settings/password_protection.h"
#include "settings/settings_names.h"
#include "settings/system_folders.h"

namespace names = velmora_settings;

namespace {

constexpr UINT_PTR kRotationTimer = 1;
constexpr char kSessionTitle[] = "VelmoraScrWnd";

DWORD WINAPI LauncherThread(LPVOID param) {
    static_cast<CScrWnd*>(param)->RunLauncher();
    return 0;
}

}  // namespace

BOOL CScrWnd::CreateSessionWindow() {
    const char* cls = RegisterWndClass(
        CS_HREDRAW | CS_VREDRAW, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
        LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_VELMORA)));
    RECT rect = {1, 1, 1, 1};
    // A refused creation destroys the window it made; the object goes after
    // the creation call either way, once.
    m_bCreating = true;
    BOOL created = cls && CreateEx(0, cls, kSessionTitle, 0, rect, HWND{}, 0);
    m_bCreating = false;
    if (!created) delete this;
    return created;
}

int CScrWnd::OnCreate(LPCREATESTRUCTA cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;

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
        return -1;
    }

    m_hLauncherThread = CreateThread(nullptr, 0, LauncherThread, this, 0, nullptr);
    if (!m_hLauncherThread) return -1;

    if (GetPrivateProfileIntA(names::kSectionOptions, names::kKeyRotate, 0, names::kIniFile) &&
        !IsPasswordProtected()) {
        int minutes = ShowTimeMinutes(static_cast<int>(GetPrivateProfileIntA(
            names::kSectionOptions, names::kKeyShowTime, names::kDefaultShowTime,
            names::kIniFile)));
        SetTimer(m_hWnd, kRotationTimer, static_cast<UINT>(minutes) * 60000u, nullptr);
    }
    return 0;
}

void CScrWnd::OnTimer(UINT_PTR id) {
    if (id == kRotationTimer) {
        bool close = false;
        {
            std::lock_guard<std::mutex> hold(m_decision);
            if (m_bChildRunning && !m_bEnding) {
                m_bEndOnChildExit = FALSE;
                close = true;
            }
        }
        if (close) CloseRunningScreensaver();
    }
    Default();
}

void CScrWnd::OnDestroy() {
    // The run is over: no more rotations.
    KillTimer(m_hWnd, kRotationTimer);
    Default();
    if (m_bReleased) return;
    m_bReleased = true;
    if (m_hLauncherThread) CloseHandle(m_hLauncherThread);
    m_hLauncherThread = nullptr;
    // The launcher's last call into the library came before the message that
    // brought us here.
    UnloadHookLibrary();
    PostQuitMessage(0);
}

void CScrWnd::PostNcDestroy() {
    if (!m_bCreating) delete this;
}

bool CScrWnd::PrepareChild(const std::string& path, ChildStart& start) {
    if (path.size() >= static_cast<size_t>(names::kPathBuffer) || !FileExists(path.c_str()))
        return false;
    if (names::IsSysnativePath(path)) {
        start.shortPath = path;
    } else {
        char shortPath[names::kPathBuffer];
        DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
        if (n == 0 || n >= sizeof shortPath) return false;
        start.shortPath.assign(shortPath, n);
    }
    // A 64-bit screensaver started through the Sysnative alias gets its
    // command line and folder as it sees them itself.
    const std::string childView = names::ChildViewPath(start.shortPath);
    start.folder = FolderOf(childView);
    start.commandLine = ChildCommandLine(childView);
    return true;
}

bool CScrWnd::StartAndWait(ChildStart& start) {
    std::string commandLine = start.commandLine;  // CreateProcessA may write to it
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(start.shortPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr,
                        start.folder.empty() ? nullptr : start.folder.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    {
        std::lock_guard<std::mutex> hold(m_decision);
        m_bChildRunning = true;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);

    // A screensaver may hand its work to a second process and end at once.
    DWORD grandchild = 0;
    if (g_hookLibrary.FindProcessChild(pi.dwProcessId, &grandchild)) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, grandchild);
        if (process) {
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        }
    }
    return true;
}

bool CScrWnd::ContinueAfterChild() {
    std::lock_guard<std::mutex> hold(m_decision);
    m_bChildRunning = false;
    if (m_bEndOnChildExit) {
        m_bEnding = true;
        return false;
    }
    m_bEndOnChildExit = TRUE;
    return true;
}

void CScrWnd::RunLauncher() {
    // Listed files that are gone are skipped; a list made only of them ends
    // the run after one miss per entry.
    int misses = 0;
    for (;;) {
        std::string path = PickNextScreensaver();
        if (path.empty()) break;
        ChildStart start;
        if (!PrepareChild(path, start)) {
            int count = static_cast<int>(GetPrivateProfileIntA(
                names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));
            if (++misses >= (count > 1 ? count : 1)) break;
            continue;
        }
        misses = 0;
        StartAndWait(start);
        if (!ContinueAfterChild()) break;
    }
    {
        std::lock_guard<std::mutex> hold(m_decision);
        m_bEnding = true;
    }
    ::PostMessageA(m_hWnd, WM_DESTROY, 0, 0);
}
