#include "savers/probe/probe_colour.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseHexColour(const char* text, std::uint32_t& rgb) {
    if (!text) return false;
    std::uint32_t value = 0;
    for (int i = 0; i < 6; ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) return false;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    if (text[6] != '\0') return false;
    rgb = value;
    return true;
}

std::uint32_t ColourFromName(const char* fileName) {
    // FNV-1a over the lower-cased name: Windows file names ignore case.
    std::uint32_t hash = 2166136261u;
    for (const char* p = fileName ? fileName : ""; *p; ++p) {
        char c = *p >= 'A' && *p <= 'Z' ? static_cast<char>(*p - 'A' + 'a') : *p;
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    // Fold the high byte in, so that every character reaches all three channels.
    return (hash ^ hash >> 24) & 0xFFFFFFu;
}

std::uint32_t ContrastingColour(std::uint32_t rgb) {
    std::uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    // Perceived brightness (ITU-R BT.601 weights), 0..255000.
    std::uint32_t brightness = 299 * r + 587 * g + 114 * b;
    return brightness >= 128000 ? 0x000000u : 0xFFFFFFu;
}
