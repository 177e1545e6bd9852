// The soft strokes Orbits lays its trails and orbit lines with: each pixel
// takes one cover per stroke, however many pieces of the stroke reach it.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "savers/demos/trail_layer.h"

namespace {

using Vertex = TrailLayer::Vertex;

// A straight stroke from (x0, y) to (x1, y) in `pieces` segments, its half
// width and opacity going linearly from the first values to the second.
std::vector<Vertex> Straight(double x0, double x1, double y, int pieces, double hw0, double hw1,
                             double op0, double op1, double depth0 = 1, double depth1 = 1) {
    std::vector<Vertex> v;
    for (int k = 0; k <= pieces; ++k) {
        double f = static_cast<double>(k) / pieces;
        v.push_back({x0 + (x1 - x0) * f, y, hw0 + (hw1 - hw0) * f, op0 + (op1 - op0) * f,
                     depth0 + (depth1 - depth0) * f});
    }
    return v;
}

// Pixels with a guard band after them, to catch writes past the end.
struct Canvas {
    static constexpr uint32_t kGuard = 0xA5A5A5A5u;
    Canvas(int w, int h, uint32_t fill) : width(w), pixels(static_cast<size_t>(w) * h + 64, kGuard) {
        std::fill(pixels.begin(), pixels.end() - 64, fill);
    }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool GuardIntact() const {
        for (size_t i = pixels.size() - 64; i < pixels.size(); ++i)
            if (pixels[i] != kGuard) return false;
        return true;
    }
    int width;
    std::vector<uint32_t> pixels;
};

TEST(TrailLayer, CoversAStrokeOnceWithSoftEdges) {
    // The same line traced in one piece and in many overlapping short ones.
    for (int pieces : {1, 7, 60}) {
        SCOPED_TRACE(pieces);
        TrailLayer layer;
        layer.Resize(80, 40);
        layer.Add(Straight(10, 70, 20, pieces, 3, 3, 1, 1), {255, 255, 255});
        ASSERT_EQ(layer.StrokeCount(), 1);
        std::set<uint32_t> seen;
        std::vector<float> alpha(80 * 40, 0.0f);
        for (const TrailLayer::Cell& cell : layer.Cells(0)) {
            EXPECT_TRUE(seen.insert(cell.index).second) << "pixel " << cell.index << " twice";
            EXPECT_GT(cell.alpha, 0.0f);
            EXPECT_LE(cell.alpha, 1.0f);
            alpha[cell.index] = cell.alpha;
        }
        auto at = [&](int x, int y) { return alpha[y * 80 + x]; };
        for (int x = 12; x <= 68; ++x) {
            SCOPED_TRACE(x);
            EXPECT_FLOAT_EQ(at(x, 20), 1.0f);
            EXPECT_FLOAT_EQ(at(x, 18), 1.0f);  // 2 from the middle: inside
            EXPECT_FLOAT_EQ(at(x, 22), 1.0f);
            EXPECT_FLOAT_EQ(at(x, 17), 0.5f);  // on the edge: half covered
            EXPECT_FLOAT_EQ(at(x, 23), 0.5f);
            EXPECT_FLOAT_EQ(at(x, 16), 0.0f);
            EXPECT_FLOAT_EQ(at(x, 24), 0.0f);
        }
        // Round ends, reaching as far as the sides.
        EXPECT_FLOAT_EQ(at(8, 20), 1.0f);
        EXPECT_FLOAT_EQ(at(7, 20), 0.5f);
        EXPECT_FLOAT_EQ(at(6, 20), 0.0f);
        EXPECT_FLOAT_EQ(at(73, 20), 0.5f);
    }
}

// Blended over a dark ground, a fading stroke brightens smoothly from its
// faint end to its strong one, with no spot brighter where pieces overlap.
TEST(TrailLayer, BlendsAFadingStrokeWithoutSeams) {
    for (int pieces : {1, 5, 45}) {
        SCOPED_TRACE(pieces);
        TrailLayer layer;
        layer.Resize(120, 20);
        layer.Add(Straight(110, 10, 10, pieces, 4, 1, 0.9, 0.0), {250, 250, 250});
        Canvas canvas(120, 20, 0x000000);
        layer.Blend(canvas.pixels.data(), true);
        EXPECT_TRUE(canvas.GuardIntact());
        // Along the middle the light follows the opacity: 2.25 levels a pixel.
        int previous = 0;
        for (int x = 10; x <= 110; ++x) {
            int level = canvas.At(x, 10) & 0xFF;
            EXPECT_GE(level, previous) << "a dip at x = " << x;
            EXPECT_LE(level - previous, 3) << "a step at x = " << x;
            EXPECT_NEAR(level, 2.25 * (x - 10), 1) << "at x = " << x;
            previous = level;
        }
        // The colour is the stroke's on every channel: none is mixed up.
        uint32_t p = canvas.At(100, 10);
        EXPECT_EQ(p >> 16 & 0xFF, p & 0xFF);
        EXPECT_EQ(p >> 8 & 0xFF, p & 0xFF);
        EXPECT_EQ(p >> 24, 0u);
    }
}

TEST(TrailLayer, BlendsEachSideOfThePlaneInItsOwnPass) {
    TrailLayer layer;
    layer.Resize(100, 20);
    // Behind the plane on the left, in front of it on the right.
    layer.Add(Straight(10, 90, 10, 8, 2, 2, 1, 1, -1, 1), {200, 100, 50});
    Canvas behind(100, 20, 0x000000), before(100, 20, 0x000000);
    layer.Blend(behind.pixels.data(), false);
    layer.Blend(before.pixels.data(), true);
    EXPECT_EQ(behind.At(20, 10), 0xC86432u);
    EXPECT_EQ(behind.At(80, 10), 0u);
    EXPECT_EQ(before.At(20, 10), 0u);
    EXPECT_EQ(before.At(80, 10), 0xC86432u);
    // Each pixel of the stroke is in exactly one of the two passes.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            EXPECT_TRUE(behind.At(x, y) == 0 || before.At(x, y) == 0) << x << ", " << y;
}

TEST(TrailLayer, KeepsStrokesInsideThePixels) {
    struct Case {
        const char* what;
        std::vector<Vertex> stroke;
        bool touches;
    };
    const double inf = HUGE_VAL;
    const Case cases[] = {
        {"across the left edge", Straight(-30, 10, 5, 3, 3, 3, 1, 1), true},
        {"across every edge", {{-50, -50, 4, 1, 1}, {90, 70, 4, 1, 1}}, true},
        {"through a corner", {{-5, 45, 6, 1, 1}, {5, 35, 6, 1, 1}}, true},
        {"wholly outside", Straight(-40, -10, 10, 2, 3, 3, 1, 1), false},
        {"below", Straight(5, 30, 60, 2, 3, 3, 1, 1), false},
        {"not a number", {{NAN, 5, 3, 1, 1}, {10, 5, 3, 1, 1}}, false},
        {"endless", {{0, 5, 3, 1, 1}, {inf, 5, 3, 1, 1}}, false},
        {"no width", {{5, 5, -3, 1, 1}, {20, 5, -3, 1, 1}}, false},
        {"one point", {{20, 20, 2, 1, 1}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrailLayer layer;
        layer.Resize(40, 40);
        layer.Add(c.stroke, {255, 0, 0});
        EXPECT_EQ(layer.StrokeCount(), c.touches ? 1 : 0);
        for (int s = 0; s < layer.StrokeCount(); ++s)
            for (const TrailLayer::Cell& cell : layer.Cells(s)) EXPECT_LT(cell.index, 40u * 40u);
        Canvas canvas(40, 40, 0x102030);
        layer.Blend(canvas.pixels.data(), true);
        EXPECT_TRUE(canvas.GuardIntact());
    }
}

TEST(TrailLayer, StrokesAreLaidInOrderAndForgottenOnResize) {
    TrailLayer layer;
    layer.Resize(30, 10);
    layer.Add(Straight(2, 28, 5, 4, 3, 3, 1, 1), {255, 0, 0});
    layer.Add(Straight(2, 28, 5, 4, 3, 3, 0.5, 0.5), {0, 0, 255});
    ASSERT_EQ(layer.StrokeCount(), 2);
    Canvas canvas(30, 10, 0x000000);
    layer.Blend(canvas.pixels.data(), true);
    EXPECT_EQ(canvas.At(15, 5), 0x800080u) << "blue at half over red";
    // The second stroke starts from nothing, not from the first one's cover.
    EXPECT_EQ(layer.Cells(1).size(), layer.Cells(0).size());

    layer.Clear();
    EXPECT_EQ(layer.StrokeCount(), 0);
    layer.Add(Straight(2, 28, 5, 4, 3, 3, 1, 1), {255, 0, 0});
    layer.Resize(20, 20);
    EXPECT_EQ(layer.StrokeCount(), 0);
    EXPECT_EQ(layer.Width(), 20);
    layer.Add(Straight(2, 18, 5, 4, 3, 3, 1, 1), {255, 0, 0});
    ASSERT_EQ(layer.StrokeCount(), 1);
    for (const TrailLayer::Cell& cell : layer.Cells(0)) EXPECT_LT(cell.index, 400u);
}

}  // namespace
