#pragma once
// The probe's colours as 0xRRGGBB, free of <windows.h>.
#include <cstdint>

// Exactly six hex digits, RRGGBB; false (and rgb untouched) otherwise.
bool ParseHexColour(const char* text, std::uint32_t& rgb);

// The colour of a probe without Color=: fixed by its file name, in any case,
// so that copies under different names tell themselves apart.
std::uint32_t ColourFromName(const char* fileName);

// Black or white, whichever stands out more on the colour.
std::uint32_t ContrastingColour(std::uint32_t rgb);
