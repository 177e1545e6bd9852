#pragma once
// A small deterministic generator: one seed fixes a whole scene, on every
// compiler and host, which the standard distributions do not promise.
#include <cstdint>

class SceneRandom {
public:
    explicit SceneRandom(uint32_t seed) : m_state(seed) {}

    // SplitMix32-style step: every seed, including 0, gives a full sequence.
    uint32_t Next() {
        uint32_t z = (m_state += 0x9E3779B9u);
        z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
        z = (z ^ (z >> 13)) * 0xC2B2AE35u;
        return z ^ (z >> 16);
    }
    // A value in [lo, hi).
    double Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 4294967296.0); }
    // An index in [0, n).
    int Below(int n) { return n > 0 ? static_cast<int>(Next() % static_cast<uint32_t>(n)) : 0; }

private:
    uint32_t m_state;
};
