#pragma once
#include <windows.h>

// True when Windows protects the screensaver with a password. On the NT line
// the desktop value "ScreenSaverIsSecure" must read exactly as the text "1";
// on the 9x line "ScreenSaveUsePassword" must hold the 32-bit value 1.
// A key or value that cannot be read counts as not protected.
bool IsPasswordProtected();

// True when Options/RotateWhenLocked is set (OptionSet: it reads as 1).
bool RotateWhenLockedSet();

// True when password protection holds the run's rotation back (no timed
// rotation, nothing closed while the display is off): the screensaver is
// protected, and either this is the 9x line, where the screensaver itself
// asks for the password when it is closed, so that every rotation would put
// a password box in front of an empty room, or RotateWhenLocked is not set.
// On the NT line Windows locks the session when the screensaver it started,
// Velmora.scr, ends; closing one of Velmora's children asks for nothing.
bool ProtectionHoldsRotation();
