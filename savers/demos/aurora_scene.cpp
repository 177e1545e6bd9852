#include "savers/demos/aurora_scene.h"

#include <algorithm>
#include <cmath>

#include "savers/demos/scene_random.h"
#include "savers/demos/value_noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTick = 0.030;  // seconds per timer tick

// Bright overlaps glow towards white instead of clipping into flat patches.
double ToneMap(double v) {
    if (v < 200) return v;
    return 200 + 55 * (1 - std::exp(-(v - 200) / 55));
}

const Rgb kEdgeWhite{170, 255, 200};
const Rgb kGreens[] = {{60, 240, 120}, {40, 225, 160}, {90, 245, 100}};
const Rgb kCrowns[] = {{150, 60, 215}, {205, 55, 165}, {70, 90, 230}};

}  // namespace

AuroraScene::AuroraScene(uint32_t seed, int speed)
    : m_speed(std::clamp(speed, kMinSpeed, kMaxSpeed)), m_seed(seed) {
    SceneRandom random(seed);
    const int count = 4;
    for (int i = 0; i < count; ++i) {
        Curtain c;
        // Back curtains sit higher and shine less, which reads as depth.
        c.base = 0.34 + 0.085 * i + random.Uniform(-0.025, 0.025);
        c.reach = random.Uniform(0.20, 0.33);
        c.strength = 0.85 + 0.15 * i;
        c.edge[0] = {random.Uniform(0.035, 0.055), random.Uniform(2.5, 5.0),
                     random.Uniform(0.10, 0.25), random.Uniform(0, 2 * kPi)};
        c.edge[1] = {random.Uniform(0.015, 0.025), random.Uniform(7, 11),
                     random.Uniform(-0.45, 0.45), random.Uniform(0, 2 * kPi)};
        c.edge[2] = {random.Uniform(0.005, 0.009), random.Uniform(16, 24),
                     random.Uniform(0.5, 0.9), random.Uniform(0, 2 * kPi)};
        c.reachWave = {random.Uniform(0.04, 0.07), random.Uniform(3, 6),
                       random.Uniform(0.15, 0.3), random.Uniform(0, 2 * kPi)};
        c.rays[0] = {1, random.Uniform(35, 65), random.Uniform(0.15, 0.4),
                     random.Uniform(0, 2 * kPi)};
        c.rays[1] = {1, random.Uniform(110, 170), random.Uniform(-0.6, -0.3),
                     random.Uniform(0, 2 * kPi)};
        c.centre = random.Uniform(0.25, 0.75);
        c.drift = random.Uniform(0.18, 0.3);
        c.driftSpeed = random.Uniform(0.04, 0.09);
        c.driftPhase = random.Uniform(0, 2 * kPi);
        c.width = random.Uniform(0.40, 0.65);
        c.breathSpeed = random.Uniform(0.12, 0.25);
        c.breathPhase = random.Uniform(0, 2 * kPi);

        Rgb green = kGreens[random.Below(3)];
        Rgb crown = kCrowns[random.Below(3)];
        c.light.resize(256);
        for (int k = 0; k < 256; ++k) {
            double f = k / 255.0;
            // A thin pale seam at the edge, green through most of the ray,
            // turning to the crown colour near its tip.
            Rgb colour = f < 0.06 ? Mix(kEdgeWhite, green, f / 0.06)
                         : f < 0.32 ? green
                                    : Mix(green, crown, std::min(1.0, (f - 0.32) / 0.38));
            double glow = std::pow(1 - f, 1.1) * (0.42 + 0.58 * std::exp(-f * 6));
            // The crown is faint in a picture, so it gets a lift to show.
            if (f > 0.4) glow *= 1 + 0.8 * std::min(1.0, (f - 0.4) / 0.3);
            c.light[k] = Scale(colour, glow);
        }
        m_curtains.push_back(std::move(c));
    }

    for (int i = 0; i < 320; ++i) {
        Star s;
        s.u = random.Uniform(0, 1);
        // More stars high up, where the sky is darkest.
        s.v = std::pow(random.Uniform(0, 1), 1.3) * (kHorizon - 0.08);
        s.brightness = std::pow(random.Uniform(0.15, 1), 2.2);
        s.twinkleRate = random.Uniform(1.5, 4.5);
        s.twinklePhase = random.Uniform(0, 2 * kPi);
        m_stars.push_back(s);
    }
}

double AuroraScene::SecondsAt(int frame) const {
    return frame * kTick * (0.25 + 0.15 * (m_speed - 1));
}

double AuroraScene::WaveAt(const Wave& w, double u, double t) {
    return w.amplitude * std::sin(w.frequency * u + w.speed * t + w.phase);
}

double AuroraScene::EdgeAt(int curtain, double u, double t) const {
    const Curtain& c = m_curtains[curtain];
    return c.base + WaveAt(c.edge[0], u, t) + WaveAt(c.edge[1], u, t) + WaveAt(c.edge[2], u, t);
}

double AuroraScene::ReachAt(int curtain, double u, double t) const {
    const Curtain& c = m_curtains[curtain];
    return c.reach + WaveAt(c.reachWave, u, t);
}

double AuroraScene::BrightnessAt(int curtain, double u, double t) const {
    const Curtain& c = m_curtains[curtain];
    double centre = c.centre + c.drift * std::sin(c.driftSpeed * t + c.driftPhase);
    double d = (u - centre) / c.width;
    double envelope = std::max(0.0, 1 - d * d);
    envelope *= envelope;
    double breath = 0.65 + 0.35 * std::sin(c.breathSpeed * t + c.breathPhase);
    double r1 = 0.5 + 0.5 * std::sin(c.rays[0].frequency * u + c.rays[0].speed * t + c.rays[0].phase);
    double r2 = 0.5 + 0.5 * std::sin(c.rays[1].frequency * u + c.rays[1].speed * t + c.rays[1].phase);
    double rays = 0.22 + 0.78 * r1 * (0.3 + 0.7 * r2);
    // Where the edge folds it is seen edge-on, and so brighter.
    const double du = 1e-3;
    double slope = std::fabs(EdgeAt(curtain, u + du, t) - EdgeAt(curtain, u - du, t)) / (2 * du);
    double fold = 1 + 0.6 * std::min(1.0, slope * 1.5);
    return std::min(1.3, c.strength * envelope * breath * rays * fold);
}

Rgb AuroraScene::LightAt(int curtain, double f) const {
    const std::vector<Rgb>& light = m_curtains[curtain].light;
    int k = static_cast<int>(std::clamp(f, 0.0, 1.0) * 255 + 0.5);
    return light[k];
}

Rgb AuroraScene::SkyAt(double v) {
    double k = std::clamp(v / kHorizon, 0.0, 1.0);
    return Mix({2, 4, 15}, {12, 32, 50}, std::pow(k, 1.7));
}

void AuroraScene::Render(uint32_t* pixels, int width, int height, double t) {
    if (width <= 0 || height <= 0) return;
    const int horizon = std::clamp(static_cast<int>(kHorizon * height + 0.5), 1, height);
    m_scratch.assign(static_cast<size_t>(width) * horizon * 3, 0.0f);
    float* sky = m_scratch.data();

    for (int y = 0; y < horizon; ++y) {
        Rgb c = SkyAt((y + 0.5) / height);
        float* row = sky + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<float>(c.r);
            row[3 * x + 1] = static_cast<float>(c.g);
            row[3 * x + 2] = static_cast<float>(c.b);
        }
    }

    // Below the edge the light ends within a few pixels of a full screen.
    const double tail = std::max(1.0, 0.012 * height);
    for (int i = 0; i < CurtainCount(); ++i) {
        const std::vector<Rgb>& light = m_curtains[i].light;
        for (int x = 0; x < width; ++x) {
            double u = (x + 0.5) / width;
            double b = BrightnessAt(i, u, t);
            if (b < 0.004) continue;
            double edge = EdgeAt(i, u, t) * height;
            double reach = std::max(1.0, ReachAt(i, u, t) * height);
            int y0 = std::max(0, static_cast<int>(edge - reach));
            int y1 = std::min(horizon - 1, static_cast<int>(edge + 3 * tail));
            for (int y = y0; y <= y1; ++y) {
                double dy = edge - (y + 0.5);
                Rgb c;
                if (dy >= 0) {
                    int k = std::min(255, static_cast<int>(dy / reach * 255));
                    c = Scale(light[k], b);
                } else {
                    c = Scale(light[12], b * std::exp(dy / tail));
                }
                float* p = sky + (static_cast<size_t>(y) * width + x) * 3;
                p[0] += static_cast<float>(c.r);
                p[1] += static_cast<float>(c.g);
                p[2] += static_cast<float>(c.b);
            }
        }
    }

    for (int y = 0; y < horizon; ++y) {
        const float* row = sky + static_cast<size_t>(y) * width * 3;
        uint32_t* out = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = PackPixel({ToneMap(row[3 * x]), ToneMap(row[3 * x + 1]),
                                ToneMap(row[3 * x + 2])});
    }

    // Stars shine through the curtains, so their light is added on top; the
    // number follows the area, so the preview is not crowded.
    int stars = std::min(static_cast<int>(m_stars.size()), width * height / 2400);
    auto plot = [&](int x, int y, double light) {
        if (x < 0 || y < 0 || x >= width || y >= horizon) return;
        uint32_t& p = pixels[static_cast<size_t>(y) * width + x];
        p = PackPixel({PixelRed(p) + 225 * light, PixelGreen(p) + 232 * light,
                       PixelBlue(p) + 255 * light});
    };
    for (int i = 0; i < stars; ++i) {
        const Star& s = m_stars[i];
        int x = static_cast<int>(s.u * width), y = static_cast<int>(s.v * height);
        double level = StarLevel(s, t);
        plot(x, y, level);
        if (level > 0.45 && width >= 400) {
            plot(x - 1, y, level * 0.3);
            plot(x + 1, y, level * 0.3);
            plot(x, y - 1, level * 0.3);
            plot(x, y + 1, level * 0.3);
        }
    }

    // The lake: the sky mirrored at the horizon, darker with depth and
    // shifted sideways by ripples that grow towards the viewer. The mirror
    // image is squashed so that the curtains, high above, still show in it.
    const int lake = height - horizon;
    for (int y = horizon; y < height; ++y) {
        double d = lake > 0 ? (y - horizon + 0.5) / lake : 0;
        int source = std::clamp(
            horizon - 1 - static_cast<int>((y - horizon) * kReflectionStretch), 0, horizon - 1);
        double amplitude = (0.002 + 0.010 * d) * width;
        double phase = (y - horizon) * 220.0 / height * (1 + 2 * d) + t * 1.7;
        int shift = static_cast<int>(std::lround(amplitude * std::sin(phase)));
        double dim = 0.72 - 0.24 * d;
        const uint32_t* from = pixels + static_cast<size_t>(source) * width;
        uint32_t* out = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            uint32_t p = from[std::clamp(x + shift, 0, width - 1)];
            out[x] = PackPixel({PixelRed(p) * dim + 2, PixelGreen(p) * dim + 4,
                                PixelBlue(p) * dim + 9});
        }
    }
}

double AuroraScene::StarLevel(const Star& star, double t) {
    return star.brightness * (0.72 + 0.28 * std::sin(star.twinkleRate * t + star.twinklePhase));
}

std::vector<double> AuroraScene::Ridge(int layer, int samples) const {
    ValueNoise noise(m_seed * 2654435761u + 977u * static_cast<uint32_t>(layer + 1));
    std::vector<double> crest;
    for (int i = 0; i < samples; ++i) {
        double u = samples > 1 ? static_cast<double>(i) / (samples - 1) : 0;
        double h;
        if (layer == 0) {
            // Sharp peaks: folded noise has creases where it crosses its middle.
            double n = noise.Fractal(u * 5 + 3.7, 1.3, 5);
            double ridged = 1 - std::fabs(2 * n - 1);
            h = 0.035 + 0.15 * ridged * ridged;
        } else {
            // A low shore, and a forest of pointed firs along it.
            double n = noise.Fractal(u * 3 + 11.1, 7.9, 3);
            double shore = 0.008 + 0.03 * n * n;
            double spacing = 1.0 / 95;
            int tree = static_cast<int>(u / spacing);
            double tallest = 0;
            for (int j = tree - 2; j <= tree + 2; ++j) {
                double at = (j + 0.5 + 0.9 * (noise.At(j * 0.77, 1.7) - 0.5)) * spacing;
                // Groves and clearings: a slow noise scales the trees in and out.
                double grove = noise.Fractal(at * 7 + 2.5, 6.1, 2);
                double height = (0.006 + 0.05 * noise.At(j * 0.93, 9.2)) *
                                std::clamp((grove - 0.25) * 2.5, 0.2, 1.0);
                tallest = std::max(tallest, height - std::fabs(u - at) * 4.5);
            }
            h = shore + std::max(0.0, tallest);
        }
        crest.push_back(kHorizon - h);
    }
    return crest;
}

Rgb AuroraScene::RidgeColour(int layer) { return layer == 0 ? Rgb{8, 13, 24} : Rgb{2, 3, 6}; }

Rgb AuroraScene::ReflectionColour(int layer) {
    return layer == 0 ? Rgb{7, 12, 22} : Rgb{2, 3, 7};
}
