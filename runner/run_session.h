#pragma once
#include <windows.h>

// Run mode: ends at once (false) when a session window already exists;
// otherwise creates the session window and makes it the main window.
bool StartRunSession();
