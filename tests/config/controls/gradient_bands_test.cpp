#include "config/controls/gradient_bands.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const RgbColor kBlack{0, 0, 0};
const RgbColor kWhite{255, 255, 255};

// The bands tile [left, right) without gaps or overlaps.
void ExpectContiguous(const std::vector<GradientBand>& bands, int left, int right) {
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().left, left);
    EXPECT_EQ(bands.back().right, right);
    for (size_t i = 1; i < bands.size(); ++i) {
        ASSERT_EQ(bands[i].left, bands[i - 1].right) << "band " << i;
    }
}

TEST(GradientBands, CountAndWidths) {
    struct Case {
        int left, right;
        size_t count;
        int width;      // of every band but the last
        int lastLeft;   // where the last band starts
    };
    const Case cases[] = {
        {0, 40, 40, 1, 39},       // narrower than the limit: one pixel per band
        {0, 250, 100, 2, 198},    // 99 bands of 2, the last 52 wide
        {0, 100, 100, 1, 99},
        {0, 150, 100, 1, 99},     // the last band takes the remaining 51
        {0, 199, 100, 1, 99},
        {0, 200, 100, 2, 198},
        {10, 260, 100, 2, 208},   // an offset rectangle keeps its origin
        {-30, 10, 40, 1, 9},
        {0, 2, 2, 1, 1},
        {5, 6, 1, 0, 5},          // one band: the whole width
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ".." << c.right);
        auto bands = GradientBands(c.left, c.right, kBlack, kWhite);
        ASSERT_EQ(bands.size(), c.count);
        ExpectContiguous(bands, c.left, c.right);
        for (size_t i = 0; i + 1 < bands.size(); ++i) {
            ASSERT_EQ(bands[i].right - bands[i].left, c.width) << "band " << i;
        }
        EXPECT_EQ(bands.back().left, c.lastLeft);
    }
    // 250 pixels: 99 bands of 2, the last from 198 to the right edge.
    auto wide = GradientBands(0, 250, kBlack, kWhite);
    EXPECT_EQ(wide[98].right, 198);
    EXPECT_EQ(wide[99].right - wide[99].left, 52);

    // Nothing to paint: empty or inverted rectangles, no bands allowed.
    EXPECT_TRUE(GradientBands(0, 0, kBlack, kWhite).empty());
    EXPECT_TRUE(GradientBands(50, 20, kBlack, kWhite).empty());
    EXPECT_TRUE(GradientBands(0, 100, kBlack, kWhite, 0).empty());
    EXPECT_TRUE(GradientBands(0, 100, kBlack, kWhite, -5).empty());
    // Extreme edges do not overflow (the sanitizers watch this).
    auto huge = GradientBands(INT_MIN, INT_MAX, kBlack, kWhite);
    ASSERT_EQ(huge.size(), 100u);
    EXPECT_EQ(huge.back().right, INT_MAX);
    // A smaller limit is honoured.
    EXPECT_EQ(GradientBands(0, 100, kBlack, kWhite, 10).size(), 10u);
}

TEST(GradientBands, FixedPointColours) {
    // Black to white over 100 or more pixels: the step is 255 × 256 ÷ 100 =
    // 652 in 8.8, so the greys run 0, 2, 5, 7, 10, ...
    for (int width : {100, 250, 1000}) {
        SCOPED_TRACE(width);
        auto bands = GradientBands(0, width, kBlack, kWhite);
        const int greys[] = {0, 2, 5, 7, 10, 12, 15, 17, 20, 22};
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(bands[i].r, greys[i]) << "band " << i;
            EXPECT_EQ(bands[i].g, greys[i]);
            EXPECT_EQ(bands[i].b, greys[i]);
        }
        // The last band stops short of white: 99 × 652 ÷ 256.
        EXPECT_EQ(bands[99].r, 252);
    }
    // Downwards the step truncates toward zero (-652, not -653): band 60 is
    // (65280 - 39120) ÷ 256 = 102, where a floored step would give 101.
    auto down = GradientBands(0, 100, kWhite, kBlack);
    EXPECT_EQ(down[0].r, 255);
    EXPECT_EQ(down[1].r, 252);
    EXPECT_EQ(down[60].r, 102);
    EXPECT_EQ(down[99].r, 2);
    // Components run independently; a constant one stays put.
    auto mixed = GradientBands(0, 40, RgbColor{200, 0, 17}, RgbColor{0, 255, 17});
    // red: 51200 - 1280 i; green: 1632 i
    EXPECT_EQ(mixed[0].r, 200);
    EXPECT_EQ(mixed[0].g, 0);
    EXPECT_EQ(mixed[1].r, 195);
    EXPECT_EQ(mixed[1].g, 6);
    EXPECT_EQ(mixed[39].r, 5);
    EXPECT_EQ(mixed[39].g, 248);
    for (const GradientBand& band : mixed) EXPECT_EQ(band.b, 17);
    // One band shows the start colour; two bands reach the end colour.
    auto one = GradientBands(0, 1, RgbColor{1, 2, 3}, kWhite);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].r, 1);
    EXPECT_EQ(one[0].g, 2);
    EXPECT_EQ(one[0].b, 3);
    auto two = GradientBands(0, 2, kBlack, kWhite);
    EXPECT_EQ(two[1].r, 127);  // step 65280 ÷ 2 = 32640, ÷ 256 = 127.5
}

}  // namespace
