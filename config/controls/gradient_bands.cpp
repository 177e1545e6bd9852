#include "config/controls/gradient_bands.h"

#include <cstddef>

std::vector<GradientBand> GradientBands(int left, int right, RgbColor from, RgbColor to,
                                        int limit) {
    std::vector<GradientBand> bands;
    // Widen before subtracting: extreme edges must not overflow an int.
    long long width = static_cast<long long>(right) - left;
    long long count = limit < width ? limit : width;
    if (count <= 0) return bands;
    long long divisor = count > 1 ? count : 1;

    // C++ integer division truncates toward zero, as the fixed-point steps
    // and the band colours require for descending components.
    long long red = from.r * 256LL, green = from.g * 256LL, blue = from.b * 256LL;
    long long redStep = (to.r - static_cast<long long>(from.r)) * 256 / divisor;
    long long greenStep = (to.g - static_cast<long long>(from.g)) * 256 / divisor;
    long long blueStep = (to.b - static_cast<long long>(from.b)) * 256 / divisor;
    long long bandWidth = width / divisor;

    bands.reserve(static_cast<std::size_t>(count));
    long long x = left;
    for (long long i = 0; i < count; ++i) {
        GradientBand band;
        band.left = static_cast<int>(x);
        band.right = i == count - 1 ? right : static_cast<int>(x + bandWidth);
        band.r = static_cast<int>(red / 256);
        band.g = static_cast<int>(green / 256);
        band.b = static_cast<int>(blue / 256);
        bands.push_back(band);
        x = band.right;
        red += redStep;
        green += greenStep;
        blue += blueStep;
    }
    return bands;
}
