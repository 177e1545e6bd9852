#include "runner/close_running.h"

#include <windows.h>

#include "runner/close_method.h"

namespace {

BOOL CALLBACK CloseVisibleWindow(HWND hwnd, LPARAM) {
    if (IsWindowVisible(hwnd)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

void PressControlKey() {
    keybd_event(VK_LCONTROL, 0, 0, 0);
    Sleep(1);
    keybd_event(VK_LCONTROL, 0, KEYEVENTF_KEYUP, 0);
}

}  // namespace

void CloseRunningScreensaver() {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    GetVersionExA(&vi);
    switch (CloseMethodFor(vi.dwPlatformId == VER_PLATFORM_WIN32_NT, vi.dwMajorVersion,
                           vi.dwMinorVersion)) {
    case CloseMethod::CloseForegroundWindow:
        PostMessageA(GetForegroundWindow(), WM_CLOSE, 0, 0);
        break;
    case CloseMethod::CloseScreenSaverDesktop: {
        // Windows runs a screensaver on its own desktop when it is password
        // protected; otherwise the desktop does not exist.
        HDESK desktop = OpenDesktopA("Screen-saver", 0, FALSE, MAXIMUM_ALLOWED);
        if (!desktop) {
            PressControlKey();
            break;
        }
        EnumDesktopWindows(desktop, CloseVisibleWindow, 0);
        CloseDesktop(desktop);
        break;
    }
    case CloseMethod::PressControlKey:
        PressControlKey();
        break;
    }
}
