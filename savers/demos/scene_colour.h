#pragma once
// Colours as the scenes compute them, and the pixel format they render:
// 0x00RRGGBB, which is the byte order B, G, R, 0 of a 32-bit top-down DIB.
#include <algorithm>
#include <cstdint>

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Rgb Scale(const Rgb& c, double k) { return {c.r * k, c.g * k, c.b * k}; }

inline Rgb Add(const Rgb& a, const Rgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

inline uint8_t ClampByte(double v) {
    return static_cast<uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

inline uint32_t PackPixel(const Rgb& c) {
    return (uint32_t{ClampByte(c.r)} << 16) | (uint32_t{ClampByte(c.g)} << 8) | ClampByte(c.b);
}

inline int PixelRed(uint32_t p) { return (p >> 16) & 0xFF; }
inline int PixelGreen(uint32_t p) { return (p >> 8) & 0xFF; }
inline int PixelBlue(uint32_t p) { return p & 0xFF; }
