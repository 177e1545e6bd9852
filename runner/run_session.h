#pragma once
#include <windows.h>

// Run mode: ends at once (FALSE) when a session window already exists;
// otherwise creates the session window and makes it the main window.
BOOL StartRunSession();

// Preview mode: the program's picture as a child of the given window. FALSE
// when the window cannot be created (a null or invalid parent).
BOOL StartPreview(HWND parent);
