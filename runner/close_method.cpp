#include "runner/close_method.h"

CloseMethod CloseMethodFor(bool platformIsNt, unsigned major, unsigned minor) {
    if (!platformIsNt) return CloseMethod::CloseForegroundWindow;
    if (major <= 4 || minor == 0) return CloseMethod::CloseScreenSaverDesktop;
    return CloseMethod::CloseChildWindows;
}
