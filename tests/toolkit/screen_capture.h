#pragma once
// A copy of part of the screen, taken once, read pixel by pixel.
#include <windows.h>

#include <functional>
#include <vector>

namespace vtest {

class ScreenCapture {
public:
    // rect in screen coordinates.
    explicit ScreenCapture(const RECT& rect);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // (x, y) relative to the captured rectangle's top-left corner.
    COLORREF At(int x, int y) const;
    int Count(COLORREF color) const;
    int CountIf(const std::function<bool(COLORREF)>& test) const;
    // The smallest rectangle (relative, right and bottom exclusive) holding
    // every pixel of the colour; empty when there is none.
    RECT BoundsOf(COLORREF color) const;
    bool SameAs(const ScreenCapture& other) const {
        return m_width == other.m_width && m_height == other.m_height &&
               m_pixels == other.m_pixels;
    }

private:
    int m_width;
    int m_height;
    std::vector<COLORREF> m_pixels;
};

// Puts a window above all others, has it paint, and waits until what the
// screen shows of it has settled.
void BringToScreen(HWND hwnd);

// Waits (pumping messages) until the screen's rectangle has shown the same
// pixels for a quarter of a second: a repaint reaches the screen a moment
// after the window drew it.
void WaitForSteadyScreen(const RECT& rect);

}  // namespace vtest
