#pragma once
// How a running child screensaver is told to close, by Windows line. None of
// the ways sends input while the child has a window to close: a key press
// would reset the system's idle time and wake a display that power
// management switched off.

enum class CloseMethod {
    // Windows 9x: WM_CLOSE to the foreground window when it is the child's,
    // otherwise to the child's own windows.
    CloseForegroundWindow,
    // NT 4 and every NT version whose minor number is 0 (2000, Vista, and a
    // Windows 10 that reports 10.0): WM_CLOSE to the visible windows of the
    // "Screen-saver" desktop; where that desktop cannot be opened, as the
    // next method.
    CloseScreenSaverDesktop,
    // The other NT versions (XP, 7, 8, 8.1): WM_CLOSE to the child's visible top-level windows; a
    // synthetic Control key press only for a child with no such window.
    CloseChildWindows,
};

// platformIsNt: dwPlatformId == VER_PLATFORM_WIN32_NT.
CloseMethod CloseMethodFor(bool platformIsNt, unsigned major, unsigned minor);
