#pragma once
// Velmora Aurora: curtains of green light over a night sky, mirrored in a lake
// below a mountain range. Everything here is a pure function of the seed, the
// speed setting and the animation time, so it can be tested without a screen.
#include <cstdint>
#include <vector>

#include "savers/demos/scene_colour.h"

class AuroraScene {
public:
    static constexpr int kMinSpeed = 1;
    static constexpr int kMaxSpeed = 10;
    static constexpr int kDefaultSpeed = 5;
    // Where the lake begins, as a fraction of the height from the top.
    static constexpr double kHorizon = 0.76;
    static constexpr int kLayers = 2;  // mountain ranges: 0 far, 1 near
    // How many sky rows one lake row mirrors.
    static constexpr double kReflectionStretch = 1.9;

    struct Star {
        double u, v;  // position as fractions of the width and height
        double brightness, twinkleRate, twinklePhase;
    };

    AuroraScene(uint32_t seed, int speed);

    int Speed() const { return m_speed; }
    int CurtainCount() const { return static_cast<int>(m_curtains.size()); }
    // Animation seconds after `frame` ticks of 30 ms, faster for a higher speed.
    double SecondsAt(int frame) const;

    // A curtain across the sky at u (0 left .. 1 right) and time t: its lower
    // edge as a fraction of the height, how far its rays reach up, and how
    // bright it is there (0 .. 1).
    double EdgeAt(int curtain, double u, double t) const;
    double ReachAt(int curtain, double u, double t) const;
    double BrightnessAt(int curtain, double u, double t) const;
    // The light along a ray, f = 0 at the lower edge .. 1 at the tip, with
    // the fall-off of its intensity already applied.
    Rgb LightAt(int curtain, double f) const;

    // Sky, stars, curtains and their reflection in the lake, as 0x00RRGGBB pixels,
    // top row first. Not thread-safe: it reuses a scratch buffer.
    void Render(uint32_t* pixels, int width, int height, double t);

    const std::vector<Star>& Stars() const { return m_stars; }
    // 0 .. 1: a star's light at time t.
    static double StarLevel(const Star& star, double t);

    // A range's crest at `samples` points evenly spaced across the width, as
    // fractions of the height from the top; all above the horizon.
    std::vector<double> Ridge(int layer, int samples) const;
    static Rgb RidgeColour(int layer);
    static Rgb ReflectionColour(int layer);
    static Rgb SkyAt(double v);  // v: fraction of the height, 0 .. kHorizon

private:
    struct Wave {
        double amplitude, frequency, speed, phase;
    };
    struct Curtain {
        double base, reach, strength;
        Wave edge[3];
        Wave reachWave;
        Wave rays[2];
        double centre, drift, driftSpeed, driftPhase, width;
        double breathSpeed, breathPhase;
        std::vector<Rgb> light;  // 256 steps along a ray
    };

    static double WaveAt(const Wave& w, double u, double t);

    int m_speed;
    uint32_t m_seed;
    std::vector<Curtain> m_curtains;
    std::vector<Star> m_stars;
    std::vector<float> m_scratch;
};
