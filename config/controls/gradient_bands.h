#pragma once
// The bands of the label's left-to-right gradient, free of Win32: the label
// paints each band as one solid rectangle.
#include <vector>

struct RgbColor {
    int r = 0, g = 0, b = 0;
};

struct GradientBand {
    // Horizontal extent [left, right); the painter draws
    // Rectangle(left, top, right + 1, bottom + 1) with the null pen, which
    // fills exactly left .. right - 1 and top .. bottom - 1.
    int left = 0, right = 0;
    int r = 0, g = 0, b = 0;
};

// The most bands a gradient is split into.
constexpr int kGradientBandLimit = 100;

// Bands of equal width from left to right, the last one reaching right and
// absorbing the remainder. Each colour component runs in 8.8 fixed point:
// it starts at from × 256 and advances by (to − from) × 256 ÷ d per band,
// d being the band count (at least 1); a band shows the accumulated value
// ÷ 256. Empty when right <= left or limit <= 0.
std::vector<GradientBand> GradientBands(int left, int right, RgbColor from, RgbColor to,
                                        int limit = kGradientBandLimit);
