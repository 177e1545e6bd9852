#pragma once
#include <windows.h>

class CScrWnd;

// Run mode: ends at once (false) when a session runs already; otherwise
// creates the session window and makes it the main window.
bool StartRunSession();

// The run itself, for a program that hosts it: null when a session runs
// already or the run could not start. endsProcess: the process ends with the
// run, and its end is watched to the last.
CScrWnd* OpenRunSession(bool endsProcess);
