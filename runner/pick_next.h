#pragma once
#include <string>

// The path of the next screensaver of the rotation list, read from the
// settings file at this moment, or "" when there is nothing to show.
// Called on the launcher thread.
std::string PickNextScreensaver();

// A pseudo-random integer from lo to hi inclusive, seeded afresh from the
// millisecond field of the system time (UTC) on every call.
int RandomInRange(int lo, int hi);
