#include "savers/demos/value_noise.h"

#include <cmath>

double ValueNoise::Lattice(int x, int y) const {
    uint32_t h = m_seed ^ (static_cast<uint32_t>(x) * 0x8DA6B343u) ^
                 (static_cast<uint32_t>(y) * 0xD8163841u);
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h = (h ^ (h >> 12)) * 0x297A2D39u;
    h ^= h >> 15;
    return h / 4294967295.0;
}

double ValueNoise::At(double x, double y) const {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
    double c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
    double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double ValueNoise::Fractal(double x, double y, int octaves) const {
    double sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += At(x, y) * weight;
        total += weight;
        weight *= 0.5;
        x = x * 2 + 17.3;
        y = y * 2 + 5.1;
    }
    return total > 0 ? sum / total : 0;
}
