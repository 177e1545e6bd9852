#pragma once
#include <windows.h>

// High contrast. With a high-contrast theme on, every control the program
// draws itself takes the system colours of the theme instead of its own, and
// follows a change of theme while it runs; off, its own colours stay exactly
// as designed.
namespace velmora::toolkit {

// Whether a high-contrast theme is on now (SPI_GETHIGHCONTRAST, asked at
// every paint: the answer is cheap and changes while the program runs).
bool HighContrastOn();

// own when high contrast is off, else the system colour systemIndex
// (COLOR_WINDOWTEXT, COLOR_HOTLIGHT, ...).
COLORREF ContrastColor(COLORREF own, int systemIndex);

// Takes the answer of HighContrastOn from the caller instead of the system
// (1 on, 0 off, -1 the system again): for an accessibility tool or a test
// driving the program in the same process where the system keeps no such
// setting (Wine answers SPI_SETHIGHCONTRAST with an error).
void OverrideHighContrast(int state);

// After a change of colours or theme: tells the common controls under root
// (WM_SYSCOLORCHANGE, which only top-level windows receive) and repaints
// everything.
void RepaintForColours(HWND root);

}  // namespace velmora::toolkit
