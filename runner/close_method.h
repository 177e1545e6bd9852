#pragma once
// How a running child screensaver is told to close, by Windows line.

enum class CloseMethod {
    // Windows 9x: WM_CLOSE to the foreground window.
    CloseForegroundWindow,
    // Early NT: WM_CLOSE to the visible windows of the "Screen-saver"
    // desktop, or the Control key where that desktop cannot be opened.
    CloseScreenSaverDesktop,
    // Later NT: a synthetic press and release of the left Control key, which
    // a screensaver takes as the user's return.
    PressControlKey,
};

// platformIsNt: dwPlatformId == VER_PLATFORM_WIN32_NT.
inline CloseMethod CloseMethodFor(bool platformIsNt, unsigned major, unsigned minor) {
    if (!platformIsNt) return CloseMethod::CloseForegroundWindow;
    if (major <= 4 || minor == 0) return CloseMethod::CloseScreenSaverDesktop;
    return CloseMethod::PressControlKey;
}
