#include "runner/close_running.h"

#include "runner/close_method.h"

namespace {

struct CloseRequest {
    const ChildProcessIds* ids;
    int closed;
};

BOOL CALLBACK CloseIfOwned(HWND hwnd, LPARAM param) {
    auto* request = reinterpret_cast<CloseRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (request->ids->Owns(pid) && IsWindowVisible(hwnd) &&
        PostMessageA(hwnd, WM_CLOSE, 0, 0))
        ++request->closed;
    return TRUE;
}

BOOL CALLBACK CloseVisibleWindow(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd) && PostMessageA(hwnd, WM_CLOSE, 0, 0))
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}


}  // namespace

int CloseWindowsOf(const ChildProcessIds& ids, HWND host) {
    CloseRequest request{&ids, 0};
    EnumWindows(CloseIfOwned, reinterpret_cast<LPARAM>(&request));
    if (host) EnumChildWindows(host, CloseIfOwned, reinterpret_cast<LPARAM>(&request));
    return request.closed;
}

void CloseRunningScreensaver(const ChildProcessIds& ids) {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    GetVersionExA(&vi);
    switch (CloseMethodFor(vi.dwPlatformId == VER_PLATFORM_WIN32_NT, vi.dwMajorVersion,
                           vi.dwMinorVersion)) {
    case CloseMethod::CloseForegroundWindow: {
        // The window in front may be the user's own, come back meanwhile.
        HWND front = GetForegroundWindow();
        DWORD owner = 0;
        if (front) GetWindowThreadProcessId(front, &owner);
        if (ids.Owns(owner))
            PostMessageA(front, WM_CLOSE, 0, 0);
        else
            CloseWindowsOf(ids);
        break;
    }
    case CloseMethod::CloseScreenSaverDesktop: {
        // Windows runs a password-protected screensaver on a desktop of its
        // own; otherwise that desktop does not exist.
        HDESK desktop = OpenDesktopA("Screen-saver", 0, FALSE, MAXIMUM_ALLOWED);
        if (!desktop) {
            CloseWindowsOf(ids);
            break;
        }
        int closed = 0;
        EnumDesktopWindows(desktop, CloseVisibleWindow, reinterpret_cast<LPARAM>(&closed));
        CloseDesktop(desktop);
        break;
    }
    case CloseMethod::CloseChildWindows:
        CloseWindowsOf(ids);
        break;
    }
}
