#pragma once
#include <windows.h>

// True when Windows protects the screensaver with a password. On the NT line
// the desktop value "ScreenSaverIsSecure" must read exactly as the text "1";
// on the 9x line "ScreenSaveUsePassword" must hold the 32-bit value 1.
// A key or value that cannot be read counts as not protected.
bool IsPasswordProtected();
