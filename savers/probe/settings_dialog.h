#pragma once
// The probe's /c dialog: a caption, a line of text and OK.
#include <windows.h>

// Shows it modally over the owner (which may be null); false when it could
// not be shown.
bool ShowSettingsDialog(HWND owner);
