// The demo scenes' math, without a window: noise, orbits and the aurora's
// sky are pure functions of their seed, settings and time.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "savers/demos/aurora_scene.h"
#include "savers/demos/orbits_scene.h"
#include "savers/demos/value_noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(ValueNoise, StaysInRangeAndIsContinuousAcrossTheLattice) {
    const ValueNoise noise(1234);
    // Lattice lines, negative ones included, where a truncating floor would
    // break the surface.
    for (double x = -3.0; x <= 3.0; x += 0.5) {
        for (double y = -2.0; y <= 2.0; y += 1.0) {
            SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
            double here = noise.At(x, y);
            EXPECT_GE(here, 0.0);
            EXPECT_LE(here, 1.0);
            EXPECT_NEAR(noise.At(x - 1e-7, y), here, 1e-5);
            EXPECT_NEAR(noise.At(x + 1e-7, y), here, 1e-5);
            EXPECT_NEAR(noise.At(x, y - 1e-7), here, 1e-5);
            double fractal = noise.Fractal(x + 0.3, y + 0.7, 5);
            EXPECT_GE(fractal, 0.0);
            EXPECT_LE(fractal, 1.0);
        }
    }
}

TEST(ValueNoise, ASeedFixesItAndSeedsDiffer) {
    const ValueNoise a(7), b(7), c(8);
    std::set<double> values;
    int differ = 0;
    for (int i = 0; i < 50; ++i) {
        double x = i * 0.37 - 9, y = i * 0.61 - 4;
        // x87 keeps one of the two in a wider register: equal to a few units
        // in the last place.
        EXPECT_DOUBLE_EQ(a.At(x, y), b.At(x, y));
        if (a.At(x, y) != c.At(x, y)) ++differ;
        values.insert(a.At(x, y));
    }
    EXPECT_GT(differ, 45);
    EXPECT_GT(values.size(), 45u) << "not flat";
}

// Kepler's laws: the distance stays between perihelion and aphelion, the
// planet is back after one period, and it sweeps equal areas in equal times.
TEST(OrbitsScene, PlanetsFollowKeplersLaws) {
    for (int planets : {OrbitsScene::kMinPlanets, OrbitsScene::kMaxPlanets}) {
        const OrbitsScene scene(99, planets);
        for (const OrbitsScene::Planet& p : scene.Planets()) {
            SCOPED_TRACE(p.a);
            double x0, y0;
            OrbitsScene::OrbitPoint(p, 0, x0, y0);
            double x1, y1;
            OrbitsScene::OrbitPoint(p, p.period, x1, y1);
            EXPECT_NEAR(x1, x0, 1e-9);
            EXPECT_NEAR(y1, y0, 1e-9);
            std::vector<double> sweeps;
            const double dt = p.period / 400;
            for (int k = 0; k < 400; ++k) {
                double ax, ay, bx, by;
                OrbitsScene::OrbitPoint(p, k * dt, ax, ay);
                OrbitsScene::OrbitPoint(p, (k + 1) * dt, bx, by);
                double r = std::hypot(ax, ay);
                EXPECT_GE(r, p.a * (1 - p.e) - 1e-9);
                EXPECT_LE(r, p.a * (1 + p.e) + 1e-9);
                sweeps.push_back(std::fabs(ax * by - ay * bx) / 2);
            }
            double mean = p.a * p.a * std::sqrt(1 - p.e * p.e) * kPi / 400;
            for (double s : sweeps) EXPECT_NEAR(s, mean, mean * 0.01);
        }
    }
}

TEST(OrbitsScene, PlanetsAreOrderedAndTheirNumberInRange) {
    struct Case {
        int asked, made;
    };
    for (Case c : {Case{0, 3}, Case{3, 3}, Case{6, 6}, Case{9, 9}, Case{40, 9}}) {
        SCOPED_TRACE(c.asked);
        const OrbitsScene scene(5, c.asked);
        const auto& planets = scene.Planets();
        ASSERT_EQ(static_cast<int>(planets.size()), c.made);
        std::set<std::vector<double>> colours;
        int ringed = 0;
        for (size_t i = 0; i < planets.size(); ++i) {
            const auto& p = planets[i];
            EXPECT_GT(p.a, 0.0);
            EXPECT_LE(p.a, 1.0);
            EXPECT_GE(p.e, 0.0);
            EXPECT_LT(p.e, 0.2);
            if (i > 0) {
                EXPECT_GT(p.a, planets[i - 1].a) << "outer orbits come later";
                EXPECT_GT(p.period, planets[i - 1].period) << "and take longer";
            }
            colours.insert({p.colour.r, p.colour.g, p.colour.b});
            if (p.ringed) ++ringed;
            EXPECT_FALSE(p.ringed && p.hasMoon);
        }
        EXPECT_EQ(colours.size(), planets.size()) << "no two planets share a colour";
        EXPECT_EQ(ringed, 1);
    }
}

// Every orbit, the planets on it and their trails fit the screen, whatever
// its shape, and the sun is in the middle.
TEST(OrbitsScene, TheSystemFitsTheViewport) {
    struct Size {
        int w, h;
    };
    for (Size size : {Size{1024, 768}, Size{152, 112}, Size{1920, 1080}, Size{600, 1000}}) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        OrbitsScene scene(31337, OrbitsScene::kMaxPlanets);
        scene.SetViewport(size.w, size.h);
        EXPECT_NEAR(scene.Sun().x, size.w / 2.0, 1);
        EXPECT_NEAR(scene.Sun().y, size.h / 2.0, 1);
        for (int i = 0; i < static_cast<int>(scene.Planets().size()); ++i) {
            for (const auto& p : scene.OrbitPath(i, 90)) {
                EXPECT_GE(p.x, 0);
                EXPECT_LE(p.x, size.w);
                EXPECT_GE(p.y, 0);
                EXPECT_LE(p.y, size.h);
            }
            const auto at = scene.PlanetAt(i, 12.5);
            const auto trail = scene.Trail(i, 12.5, 16);
            ASSERT_EQ(trail.size(), 16u);
            EXPECT_NEAR(trail[0].x, at.x, 1e-9) << "a trail starts at its planet";
            EXPECT_NEAR(trail[0].y, at.y, 1e-9);
            EXPECT_GT(at.radius, 0);
        }
    }
}

TEST(OrbitsScene, PlanetsAreDrawnFromTheFarthest) {
    const OrbitsScene scene(2024, OrbitsScene::kMaxPlanets);
    for (double t : {0.0, 10.0, 47.3, 300.0}) {
        SCOPED_TRACE(t);
        std::vector<int> order = scene.BackToFront(t);
        ASSERT_EQ(order.size(), scene.Planets().size());
        EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size());
        for (size_t k = 1; k < order.size(); ++k)
            EXPECT_LE(scene.PlanetAt(order[k - 1], t).depth, scene.PlanetAt(order[k], t).depth);
    }
}

TEST(OrbitsScene, TrailsFadeAndNarrowTowardsTheirEnd) {
    EXPECT_NEAR(OrbitsScene::TrailOpacity(0), 0.8, 1e-9);
    EXPECT_EQ(OrbitsScene::TrailOpacity(1), 0.0);
    EXPECT_EQ(OrbitsScene::TrailOpacity(2), 0.0);
    EXPECT_NEAR(OrbitsScene::TrailWidth(10, 0), 10, 1.5) << "about as wide as the planet";
    EXPECT_EQ(OrbitsScene::TrailWidth(10, 1), 1.0);
    for (double age = 0.05; age <= 1.0; age += 0.05) {
        EXPECT_LT(OrbitsScene::TrailOpacity(age), OrbitsScene::TrailOpacity(age - 0.05));
        EXPECT_LT(OrbitsScene::TrailWidth(10, age), OrbitsScene::TrailWidth(10, age - 0.05));
    }
}

// Pixels with a guard band after them, to catch writes past the end.
std::vector<uint32_t> Guarded(int w, int h) {
    return std::vector<uint32_t>(static_cast<size_t>(w) * h + 64, 0xA5A5A5A5u);
}

bool GuardIntact(const std::vector<uint32_t>& pixels) {
    for (size_t i = pixels.size() - 64; i < pixels.size(); ++i)
        if (pixels[i] != 0xA5A5A5A5u) return false;
    return true;
}

TEST(OrbitsScene, TheBackdropIsDarkSpaceWithTheSunsGlowInTheMiddle) {
    const int w = 200, h = 150;
    OrbitsScene scene(8, 6);
    scene.SetViewport(w, h);
    std::vector<uint32_t> pixels = Guarded(w, h);
    scene.RenderBackdrop(pixels.data());
    EXPECT_TRUE(GuardIntact(pixels));
    auto level = [&](int x, int y) {
        uint32_t p = pixels[static_cast<size_t>(y) * w + x];
        EXPECT_EQ(p >> 24, 0u);
        return PixelRed(p) + PixelGreen(p) + PixelBlue(p);
    };
    const int corona = level(w / 2, h / 2);
    EXPECT_GT(corona, 450) << "the corona";
    for (int corner : {level(1, 1), level(w - 2, 1), level(1, h - 2), level(w - 2, h - 2)})
        EXPECT_LT(corner, corona / 2) << "dark corners";
    std::vector<uint32_t> again = Guarded(w, h);
    scene.RenderBackdrop(again.data());
    EXPECT_EQ(again, pixels);
}

TEST(AuroraScene, SpeedIsInRangeAndSetsThePace) {
    struct Case {
        int asked, speed;
    };
    for (Case c : {Case{-5, 1}, Case{1, 1}, Case{5, 5}, Case{10, 10}, Case{11, 10}}) {
        EXPECT_EQ(AuroraScene(1, c.asked).Speed(), c.speed) << c.asked;
    }
    double previous = 0;
    for (int speed = AuroraScene::kMinSpeed; speed <= AuroraScene::kMaxSpeed; ++speed) {
        const AuroraScene scene(1, speed);
        EXPECT_EQ(scene.SecondsAt(0), 0.0);
        EXPECT_GT(scene.SecondsAt(100), previous) << "speed " << speed;
        EXPECT_NEAR(scene.SecondsAt(200), 2 * scene.SecondsAt(100), 1e-9);
        previous = scene.SecondsAt(100);
    }
}

TEST(AuroraScene, RidgesAndStarsStayInTheSky) {
    const AuroraScene scene(4321, 5);
    for (int layer = 0; layer < AuroraScene::kLayers; ++layer) {
        std::vector<double> crest = scene.Ridge(layer, 300);
        ASSERT_EQ(crest.size(), 300u);
        for (double v : crest) {
            EXPECT_GT(v, 0.3);
            EXPECT_LT(v, AuroraScene::kHorizon);
        }
        EXPECT_EQ(scene.Ridge(layer, 300), crest);
    }
    for (const auto& star : scene.Stars()) {
        EXPECT_GE(star.u, 0.0);
        EXPECT_LT(star.u, 1.0);
        EXPECT_GE(star.v, 0.0);
        EXPECT_LT(star.v, AuroraScene::kHorizon);
        for (double t : {0.0, 1.3, 77.0}) {
            EXPECT_GE(AuroraScene::StarLevel(star, t), 0.0);
            EXPECT_LE(AuroraScene::StarLevel(star, t), 1.0);
        }
    }
}

TEST(AuroraScene, RendersANightSkyOverALakeThatMirrorsIt) {
    struct Size {
        int w, h;
    };
    for (Size size : {Size{320, 240}, Size{152, 112}, Size{1, 1}, Size{7, 3}}) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        AuroraScene scene(99, 5);
        std::vector<uint32_t> pixels = Guarded(size.w, size.h);
        scene.Render(pixels.data(), size.w, size.h, 3.5);
        EXPECT_TRUE(GuardIntact(pixels));
        for (size_t i = 0; i + 64 < pixels.size(); ++i) EXPECT_EQ(pixels[i] >> 24, 0u);
        std::vector<uint32_t> again = Guarded(size.w, size.h);
        scene.Render(again.data(), size.w, size.h, 3.5);
        EXPECT_EQ(again, pixels) << "the same time, the same picture";
    }
    const int w = 320, h = 240;
    AuroraScene scene(99, 5);
    std::vector<uint32_t> a = Guarded(w, h), b = Guarded(w, h);
    scene.Render(a.data(), w, h, 3.5);
    scene.Render(b.data(), w, h, 4.0);
    EXPECT_NE(a, b) << "the curtains move";
    // The lake is the sky mirrored, dimmer: its light follows the sky's.
    const int horizon = static_cast<int>(AuroraScene::kHorizon * h + 0.5);
    double sky = 0, lake = 0;
    for (int x = 0; x < w; ++x) {
        uint32_t above = a[static_cast<size_t>(horizon - 1) * w + x];
        uint32_t below = a[static_cast<size_t>(horizon) * w + x];
        sky += PixelGreen(above);
        lake += PixelGreen(below);
    }
    EXPECT_LT(lake, sky);
    EXPECT_GT(lake, sky * 0.5);
}

}  // namespace
