#include "savers/demos/orbits_scene.h"

#include <algorithm>
#include <cmath>

#include "savers/demos/scene_random.h"
#include "savers/demos/value_noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTick = 0.030;
// The orbit plane seen from above its edge: vertical squash, and a slight
// turn of the whole system for a less static picture.
constexpr double kTilt = 0.36;
constexpr double kTurn = -0.16;
// Seconds per revolution at the system's radius; inner orbits are faster
// (period grows with a^1.5).
constexpr double kOuterPeriod = 90;
constexpr double kTrailShare = 0.30;  // of a revolution

const Rgb kPalette[] = {
    {245, 170, 80},   // amber
    {235, 105, 85},   // coral
    {250, 215, 120},  // gold
    {225, 125, 165},  // rose
    {95, 185, 200},   // sea
    {200, 95, 55},    // rust
    {175, 150, 235},  // lavender
    {225, 195, 150},  // sand
    {130, 200, 140},  // sage
};

}  // namespace

OrbitsScene::OrbitsScene(uint32_t seed, int planets) : m_seed(seed) {
    SceneRandom random(seed);
    int n = std::clamp(planets, kMinPlanets, kMaxPlanets);
    // Colours dealt from a shuffled palette, so no two planets share one.
    int order[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 8; i > 0; --i) std::swap(order[i], order[random.Below(i + 1)]);
    int ringedOne = 1 + random.Below(n - 1);
    for (int i = 0; i < n; ++i) {
        Planet p;
        double spacing = 0.78 / (n - 1);
        p.a = 0.2 + spacing * i + random.Uniform(-0.15, 0.15) * spacing;
        p.e = random.Uniform(0.02, 0.16);
        p.omega = random.Uniform(0, 2 * kPi);
        p.period = kOuterPeriod * std::pow(p.a, 1.5);
        p.phase = random.Uniform(0, 2 * kPi);
        p.size = random.Uniform(0.011, 0.026);
        p.colour = kPalette[order[i]];
        p.ringed = i == ringedOne;
        if (p.ringed) p.size = std::max(p.size, 0.02);
        p.hasMoon = !p.ringed && i >= 2 && random.Uniform(0, 1) < 0.5;
        p.moonPeriod = random.Uniform(2.5, 4.5);
        p.moonPhase = random.Uniform(0, 2 * kPi);
        m_planets.push_back(p);
    }
    SetViewport(1024, 768);
}

double OrbitsScene::SecondsAt(int frame) { return frame * kTick; }

void OrbitsScene::OrbitPoint(const Planet& p, double t, double& px, double& py) {
    double m = p.phase + 2 * kPi * t / p.period;
    m = std::fmod(m, 2 * kPi);
    // Newton's method on E - e sin E = M converges in a few steps for e < 0.2.
    double e = m;
    for (int k = 0; k < 6; ++k) e -= (e - p.e * std::sin(e) - m) / (1 - p.e * std::cos(e));
    double x = p.a * (std::cos(e) - p.e);
    double y = p.a * std::sqrt(1 - p.e * p.e) * std::sin(e);
    px = x * std::cos(p.omega) - y * std::sin(p.omega);
    py = x * std::sin(p.omega) + y * std::cos(p.omega);
}

void OrbitsScene::SetViewport(int width, int height) {
    m_width = std::max(1, width);
    m_height = std::max(1, height);
    m_cx = m_width / 2.0;
    m_cy = m_height * 0.5;
    // The widest orbit fits the width, and its squashed height the height.
    m_scale = std::min(m_width * 0.47, m_height * 0.44 / kTilt);
    m_unit = std::min(m_width, m_height);
}

OrbitsScene::Projected OrbitsScene::Project(double px, double py) const {
    double sx = px, sy = py * kTilt;
    double x = sx * std::cos(kTurn) - sy * std::sin(kTurn);
    double y = sx * std::sin(kTurn) + sy * std::cos(kTurn);
    return {m_cx + x * m_scale, m_cy + y * m_scale, py, 0};
}

OrbitsScene::Projected OrbitsScene::PlanetAt(int i, double t) const {
    const Planet& p = m_planets[i];
    double px, py;
    OrbitPoint(p, t, px, py);
    Projected q = Project(px, py);
    // Nearer planets look a little larger.
    q.radius = std::max(1.5, p.size * m_unit * (1 + 0.18 * py));
    return q;
}

OrbitsScene::Projected OrbitsScene::MoonAt(int i, double t) const {
    const Planet& p = m_planets[i];
    Projected planet = PlanetAt(i, t);
    double angle = p.moonPhase + 2 * kPi * t / p.moonPeriod;
    double d = planet.radius * 2.4;
    double mx = d * std::cos(angle), my = d * std::sin(angle) * kTilt;
    double x = mx * std::cos(kTurn) - my * std::sin(kTurn);
    double y = mx * std::sin(kTurn) + my * std::cos(kTurn);
    return {planet.x + x, planet.y + y, planet.depth + 0.01 * std::sin(angle),
            std::max(1.0, planet.radius * 0.32)};
}

std::vector<OrbitsScene::Projected> OrbitsScene::Trail(int i, double t, int samples) const {
    const Planet& p = m_planets[i];
    std::vector<Projected> points;
    double step = p.period * kTrailShare / std::max(1, samples - 1);
    for (int k = 0; k < samples; ++k) {
        double px, py;
        OrbitPoint(p, t - k * step, px, py);
        points.push_back(Project(px, py));
    }
    return points;
}

std::vector<OrbitsScene::Projected> OrbitsScene::OrbitPath(int i, int samples) const {
    const Planet& p = m_planets[i];
    std::vector<Projected> points;
    for (int k = 0; k <= samples; ++k) {
        double px, py;
        OrbitPoint(p, p.period * k / samples, px, py);
        points.push_back(Project(px, py));
    }
    return points;
}

std::vector<OrbitsScene::Projected> OrbitsScene::RingHalf(const Projected& planet, bool front,
                                                          int samples) const {
    std::vector<Projected> points;
    double rx = planet.radius * 2.1, ry = planet.radius * 2.1 * kTilt * 1.3;
    for (int k = 0; k <= samples; ++k) {
        // The far half of the ring is the upper one on the screen.
        double angle = (front ? 0 : kPi) + kPi * k / samples;
        double x = rx * std::cos(angle), y = ry * std::sin(angle);
        double tx = x * std::cos(kTurn) - y * std::sin(kTurn);
        double ty = x * std::sin(kTurn) + y * std::cos(kTurn);
        points.push_back({planet.x + tx, planet.y + ty, planet.depth, 0});
    }
    return points;
}

std::vector<int> OrbitsScene::BackToFront(double t) const {
    std::vector<std::pair<double, int>> order;
    for (int i = 0; i < static_cast<int>(m_planets.size()); ++i)
        order.push_back({PlanetAt(i, t).depth, i});
    std::sort(order.begin(), order.end());
    std::vector<int> result;
    for (const auto& o : order) result.push_back(o.second);
    return result;
}

OrbitsScene::Projected OrbitsScene::Sun() const {
    return {m_cx, m_cy, 0, std::max(3.0, 0.055 * m_unit)};
}

Rgb OrbitsScene::SunColour(double f) {
    // Limb darkening: white-gold at the centre, deep orange at the rim.
    f = std::clamp(f, 0.0, 1.0);
    return f < 0.6 ? Mix({255, 250, 225}, {255, 215, 120}, f / 0.6)
                   : Mix({255, 215, 120}, {245, 140, 45}, (f - 0.6) / 0.4);
}

void OrbitsScene::RenderBackdrop(uint32_t* pixels) const {
    ValueNoise cloud(m_seed ^ 0x51ED270Bu);
    ValueNoise tint(m_seed ^ 0x2545F491u);
    SceneRandom random(m_seed ^ 0x9E3779B9u);
    const Projected sun = Sun();
    const double glowWide = m_unit * 0.42, glowNear = sun.radius * 2.2;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            double u = static_cast<double>(x) / m_unit, v = static_cast<double>(y) / m_unit;
            double dx = x - sun.x, dy = (y - sun.y) * 1.15;
            double d2 = dx * dx + dy * dy;
            Rgb c = Mix({4, 2, 10}, {16, 6, 24}, static_cast<double>(y) / m_height);
            // Nebula: soft clouds in plum and ember, thicker in patches.
            double n = cloud.Fractal(u * 2.2, v * 2.2, 5);
            double density = std::pow(std::max(0.0, n - 0.38) / 0.62, 1.6);
            double warm = tint.At(u * 1.3 + 4, v * 1.3 + 9);
            c = Add(c, Scale(Mix({95, 30, 95}, {150, 60, 30}, warm), density * 0.55));
            // The corona: a wide warm haze and a bright close glow.
            c = Add(c, Scale({190, 80, 25}, 0.55 * std::exp(-d2 / (glowWide * glowWide))));
            c = Add(c, Scale({255, 170, 70}, 0.9 * std::exp(-d2 / (glowNear * glowNear))));
            pixels[static_cast<size_t>(y) * m_width + x] = PackPixel(c);
        }
    }
    // Stars: about one per 900 pixels, a few of them larger.
    int stars = m_width * m_height / 900;
    for (int i = 0; i < stars; ++i) {
        int x = random.Below(m_width), y = random.Below(m_height);
        double level = std::pow(random.Uniform(0.2, 1), 2.5);
        Rgb tone = Mix({255, 225, 200}, {200, 215, 255}, random.Uniform(0, 1));
        auto plot = [&](int px, int py, double k) {
            if (px < 0 || py < 0 || px >= m_width || py >= m_height) return;
            uint32_t& p = pixels[static_cast<size_t>(py) * m_width + px];
            p = PackPixel(Add({double(PixelRed(p)), double(PixelGreen(p)), double(PixelBlue(p))},
                              Scale(tone, level * k)));
        };
        plot(x, y, 1);
        if (level > 0.55) {
            plot(x - 1, y, 0.35);
            plot(x + 1, y, 0.35);
            plot(x, y - 1, 0.35);
            plot(x, y + 1, 0.35);
        }
    }
}

double OrbitsScene::TrailOpacity(double age) {
    return 0.8 * std::pow(1 - std::clamp(age, 0.0, 1.0), 1.5);
}

double OrbitsScene::TrailWidth(double head, double age) {
    return 1 + std::max(0.0, head) * 0.9 * (1 - std::clamp(age, 0.0, 1.0));
}
