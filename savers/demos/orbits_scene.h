#pragma once
// Velmora Orbits: planets on tilted elliptical orbits round a golden sun,
// each drawing a fading trail, over a warm nebula. Positions follow Kepler's
// laws as pure functions of the seed, the number of planets and the time.
#include <cstdint>
#include <vector>

#include "savers/demos/scene_colour.h"

class OrbitsScene {
public:
    static constexpr int kMinPlanets = 3;
    static constexpr int kMaxPlanets = 9;
    static constexpr int kDefaultPlanets = 6;

    struct Planet {
        double a;         // semi-major axis, as a fraction of the system's radius
        double e;         // eccentricity
        double omega;     // direction of the perihelion in the orbit plane
        double period;    // seconds per revolution
        double phase;     // mean anomaly at time 0
        double size;      // disc radius, as a fraction of the shorter screen side
        Rgb colour;
        bool ringed;
        bool hasMoon;
        double moonPeriod, moonPhase;
    };

    // A point of the system on the screen, with its depth: positive is
    // nearer the viewer (lower on the screen), negative behind the sun.
    struct Projected {
        double x, y, depth, radius;
    };

    OrbitsScene(uint32_t seed, int planets);

    const std::vector<Planet>& Planets() const { return m_planets; }
    // Animation seconds after `frame` ticks of 30 ms.
    static double SecondsAt(int frame);

    // Kepler's equation solved for the position in the orbit plane, with the
    // sun at the origin, in units of the system's radius.
    static void OrbitPoint(const Planet& p, double t, double& px, double& py);

    void SetViewport(int width, int height);
    Projected Project(double px, double py) const;
    Projected PlanetAt(int i, double t) const;
    Projected MoonAt(int i, double t) const;
    // The way a planet came, newest first: `samples` points over the last
    // stretch of its orbit.
    std::vector<Projected> Trail(int i, double t, int samples) const;
    // The whole orbit, once round.
    std::vector<Projected> OrbitPath(int i, int samples) const;
    // A ring round a planet, its back half (behind the planet) or front half.
    std::vector<Projected> RingHalf(const Projected& planet, bool front, int samples) const;
    // Planet indices from the farthest to the nearest at time t.
    std::vector<int> BackToFront(double t) const;

    Projected Sun() const;
    static Rgb SunColour(double f);  // f: 0 at the centre .. 1 at the rim
    // The still backdrop: space, nebula, stars and the sun's corona, as
    // 0x00RRGGBB pixels, top row first, for the current viewport.
    void RenderBackdrop(uint32_t* pixels) const;

    // A trail at age 0 (at the planet) .. 1 (where it ends): how much of the
    // planet's colour it shows, fading to nothing at the end, and how wide it
    // is in pixels behind a planet of radius `head`.
    static double TrailOpacity(double age);
    static double TrailWidth(double head, double age);
    // The faint line of an orbit.
    static Rgb OrbitLineColour() { return {170, 140, 190}; }
    static constexpr double kOrbitLineOpacity = 0.16;

private:
    uint32_t m_seed;
    std::vector<Planet> m_planets;
    int m_width = 1, m_height = 1;
    double m_cx = 0, m_cy = 0, m_scale = 1, m_unit = 1;
};
