#include "config/controls/point_size.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PointSize, HeightForTheScreen) {
    struct Case {
        int points, dpi, height;
    };
    const Case cases[] = {
        {13, 96, -17},   // 96 × 130 ÷ 720 = 17.33
        {8, 96, -10},    // 10.67, truncated
        {9, 96, -12},
        {12, 96, -16},
        {13, 120, -21},  // 21.67
        {72, 96, -96},   // one inch is the resolution itself
        {0, 96, 0},
        {-13, 96, -17},  // the magnitude counts, the result is always a character height
        {13, 0, 0},
        {INT_MAX, 96, INT_MIN + 1},  // saturates at -INT_MAX
        {INT_MIN, 96, INT_MIN + 1},
        {INT_MAX, INT_MAX, INT_MIN + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << " pt at " << c.dpi << " dpi");
        EXPECT_EQ(FontHeightForPoints(c.points, c.dpi), c.height);
    }
}

}  // namespace
