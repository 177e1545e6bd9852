#pragma once
#include <windows.h>

// The processes a close is meant for: the running child screensaver and the
// process it handed its work to (0 when there is none).
struct ChildProcessIds {
    DWORD child = 0;
    DWORD handOff = 0;
    bool Owns(DWORD pid) const { return pid != 0 && (pid == child || pid == handOff); }
};

// Makes the running child screensaver end, in the way that suits the
// Windows version this program runs on.
void CloseRunningScreensaver(const ChildProcessIds& ids);

// Posts WM_CLOSE to every visible top-level window of the given processes,
// and to their windows inside host (a screensaver shown in a window of
// ours); the number of windows it went to.
int CloseWindowsOf(const ChildProcessIds& ids, HWND host = nullptr);
