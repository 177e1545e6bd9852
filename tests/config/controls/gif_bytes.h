#pragma once
// GIF files built byte by byte, for the tests of the GIF walk (on the host)
// and of the animated picture (under Wine).
#include <cstdint>
#include <vector>

namespace gifbytes {

using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Le(int v) { return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)}; }

// Header and logical screen descriptor; tableBits >= 0 announces a global
// table of 2^(tableBits + 1) colours, which withTable puts behind it: the
// colours given (red, green, blue...), then 0x11 bytes.
inline Bytes Head(int width, int height, int tableBits = 1, bool withTable = true,
                  const char* version = "89a", const Bytes& colours = {}) {
    Bytes b{'G', 'I', 'F', uint8_t(version[0]), uint8_t(version[1]), uint8_t(version[2])};
    b = b + Le(width) + Le(height) + Bytes{uint8_t(tableBits >= 0 ? 0x80 | tableBits : 0), 0, 0};
    if (tableBits < 0 || !withTable) return b;
    Bytes table(3u * (2u << tableBits), 0x11);
    for (size_t i = 0; i < colours.size() && i < table.size(); ++i) table[i] = colours[i];
    return b + table;
}

inline Bytes Gce(int delay, int disposal) {
    return Bytes{0x21, 0xF9, 4, uint8_t(disposal << 2)} + Le(delay) + Bytes{0, 0};
}

// An image of one colour index (0 to 3). Its codes are 3 bits wide with a
// clear code before every two pixels, so no decoder reads a grown code.
inline Bytes Image(int left, int top, int width, int height, int colour = 0, int localBits = -1) {
    Bytes b = Bytes{0x2C} + Le(left) + Le(top) + Le(width) + Le(height);
    b.push_back(localBits >= 0 ? uint8_t(0x80 | localBits) : 0);
    if (localBits >= 0) b.resize(b.size() + 3 * (2u << localBits), 0x22);
    b.push_back(2);  // minimum code size
    Bytes codes;
    unsigned acc = 0, bits = 0;
    auto emit = [&](unsigned code) {
        acc |= code << bits;
        for (bits += 3; bits >= 8; bits -= 8, acc >>= 8) codes.push_back(uint8_t(acc));
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 2 == 0) emit(4);  // clear
        emit(unsigned(colour));
    }
    emit(5);  // end of information
    if (bits) codes.push_back(uint8_t(acc));
    for (size_t i = 0; i < codes.size(); i += 255) {
        const size_t n = codes.size() - i < 255 ? codes.size() - i : 255;
        b.push_back(uint8_t(n));
        b.insert(b.end(), codes.begin() + long(i), codes.begin() + long(i + n));
    }
    b.push_back(0);
    return b;
}

inline Bytes Application() {
    return Bytes{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
}
inline Bytes Comment() { return Bytes{0x21, 0xFE, 4, 'n', 'o', 't', 'e', 0}; }
inline Bytes PlainText(int left, int top, int width, int height) {
    return Bytes{0x21, 0x01, 12} + Le(left) + Le(top) + Le(width) + Le(height) +
           Bytes{8, 16, 1, 0, 2, 'h', 'i', 0};
}
const Bytes kTrailer{0x3B};

}  // namespace gifbytes
