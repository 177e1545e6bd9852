#include "config/controls/point_size.h"

#include <climits>

int FontHeightForPoints(int points, int logPixelsY) {
    // × 10 ÷ 720 is the same rational as ÷ 72, so truncating either gives the
    // same quotient; 64 bits hold any int × int.
    long long height = static_cast<long long>(logPixelsY) * points / 72;
    if (height < 0) height = -height;
    if (height > INT_MAX) height = INT_MAX;
    return static_cast<int>(-height);
}
