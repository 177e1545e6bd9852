#pragma once
// Smooth two-dimensional noise for clouds and ridges, seeded, in [0, 1].
#include <cstdint>

class ValueNoise {
public:
    explicit ValueNoise(uint32_t seed) : m_seed(seed) {}
    // One octave: lattice values blended with a smooth step.
    double At(double x, double y) const;
    // Several octaves, each twice as fine and half as strong.
    double Fractal(double x, double y, int octaves) const;

private:
    double Lattice(int x, int y) const;
    uint32_t m_seed;
};
