#pragma once
// What handoff_helper.exe and the tests that start it agree on.
#include <windows.h>

// The title of the window "window" makes.
constexpr char kHelperWindowTitle[] = "Trapline helper window";

// Exit codes of "ask" other than a process id.
constexpr DWORD kAskNone = 1;
constexpr DWORD kAskNoLibrary = 2;
constexpr DWORD kAskNotReady = 3;
