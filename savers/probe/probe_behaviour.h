#pragma once
// What the sidecar INI asks the probe to do, and the switch its handoff uses.
// Free of <windows.h> so that tests can check it directly.

enum class ProbeBehaviour {
    Normal,       // runs until the user comes back or it is closed
    Fail,         // ends at once with kExitFail, no window
    Handoff,      // /s starts a second copy with the handoff switch and ends
    HandoffWait,  // the same, but waits (windowless) until the second copy ends
    IgnoreClose,  // like Normal, but WM_CLOSE does not end it
    Hang,         // full screen, but neither WM_CLOSE nor input ends it
};

// The values of Behaviour= in any case; anything else is Normal.
ProbeBehaviour ParseBehaviour(const char* text);

// True when a whole command line, program path included, passes only
// "/handoff" (or "-handoff"): the second process of a handoff.
bool IsHandoffCommandLine(const char* commandLine);

// Exit codes beyond 0 (ended as asked).
constexpr int kExitNotStarted = 2;  // unknown switch, no preview parent, no window
constexpr int kExitFail = 3;        // Behaviour=fail
constexpr int kExitByInput = 4;     // the full-screen window ended on a key, button or move
constexpr int kExitAlreadyRunning = 5;  // SingleInstance=1 found a screensaver window
