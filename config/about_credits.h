#pragma once
// What the About page scrolls, and where, free of Win32.
#include <string>

namespace velmora::about {

// The credits text in the credits markup: title, copyright, author, partial
// copyrights, thanks and the legal notice.
std::string CreditsText();

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The area the credits scroll in, from the picture control's window
// rectangle in the page's client coordinates: its right half from 15 pixels
// right of the middle, 3 pixels inside the top and bottom edges (pixels at
// 96 dpi, scaled to dpi).
Area CreditsArea(const Area& picture, int dpi = 96);

}  // namespace velmora::about
