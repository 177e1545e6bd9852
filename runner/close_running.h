#pragma once

// Makes the running child screensaver end, in the way that suits the
// Windows version this program runs on.
void CloseRunningScreensaver();
