#pragma once
#include <windows.h>

// Display scaling. Velmora.exe declares itself per-monitor aware in its
// manifest, so Windows does not stretch it: everything it sizes or draws
// itself is given in pixels at 96 dots per inch and scaled here to the dots
// per inch of the monitor its window is on. Dialog templates scale by
// themselves (dialog units follow the dialog font).
namespace velmora::toolkit {

constexpr UINT kDefaultDpi = 96;

// Pixels given at 96 dpi, at dpi.
inline int ScaleForDpi(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

// The dpi a window is drawn at. GetDpiForWindow where Windows has it (10
// version 1607), else GetDpiForMonitor of its monitor (8.1), else the
// screen's LOGPIXELSY, which is the system dpi on Vista to 8 (the manifest
// makes the program system aware there) and 96 before.
UINT WindowDpi(HWND hwnd);

// A system metric (SM_CXSMICON, SM_CXVSCROLL, ...) at dpi:
// GetSystemMetricsForDpi where it exists, else the system's value scaled from
// the system dpi.
int MetricForDpi(int index, UINT dpi);

// Whether the dialog manager itself moves, sizes and refonts dialog controls
// when the dpi changes: in per-monitor version 2 (Windows 10 1703 and later).
bool DialogsScaleThemselves();

// The message each window of the program receives when the dpi it is drawn
// at changed (the sheet moved to another monitor): wParam is the new dpi.
UINT DpiChangedMessage();
// Sends it to root's descendants.
void NotifyDpiChanged(HWND root, UINT dpi);

// The pictures drawn for a dpi: 100, 150 or 200 (percent), the smallest set
// at least as large as the dpi needs, else the largest; a size in between is
// scaled down from the next larger set.
int PictureSetFor(UINT dpi);

// An icon of the program's resources at size × size pixels (the icon file
// holds sizes from 16 to 64); the caller destroys it.
HICON LoadIconSized(HINSTANCE instance, UINT iconId, int size);

// A picture drawn at 100 % (at96) and at 200 % (at192), for dpi: the 100 %
// one up to 96 dpi, else the 200 % one, scaled down (with halftone) where dpi
// is below 192. The caller deletes it; null if neither loads.
HBITMAP LoadBitmapForDpi(HINSTANCE instance, UINT at96, UINT at192, UINT dpi);

}  // namespace velmora::toolkit
