// The credits text of the About page in any shape: split, parsed and laid
// out as the drawing thread does, with a double-byte code page.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "config/controls/credits_markup.h"
#include "fuzz/fuzz_input.h"

using namespace velmora::credits;

namespace {

bool DoubleByteLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Pictures named "missing" are not found; the others have a height from
// their name's length.
struct Heights : PictureHeights {
    int HeightOf(const std::string& name) override {
        return name == "missing" ? -1 : static_cast<int>(name.size() % 200);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::FuzzInput in(data, size);
    const int areaHeight = in.Int() % 2000;
    const int colours = static_cast<int>(in.Byte() % 8);
    const bool doubleByte = in.Byte() & 1;
    std::vector<int> lineHeights;
    for (int i = 0, n = in.Byte() % 8; i < n; ++i) lineHeights.push_back(in.Byte());
    const std::string text = in.Rest();

    std::vector<std::string> lines =
        SplitCredits(text, areaHeight, doubleByte ? DoubleByteLead : NoLeadBytes);
    for (const std::string& line : lines) ParseCreditLine(line);
    Heights heights;
    CreditsLayout layout = LayOutCredits(lines, lineHeights, colours, heights);
    VELMORA_FUZZ_CHECK(layout.totalHeight >= 0);
    // Items may reach outside the picture (a negative spacing moves up);
    // drawing clips them, and their top and bottom rows, as drawing adds
    // them, fit an int. The tables are only ever indexed inside.
    for (const PlacedItem& item : layout.items) {
        const long long bottom = static_cast<long long>(item.y) + item.height;
        VELMORA_FUZZ_CHECK(bottom >= INT_MIN && bottom <= INT_MAX);
        VELMORA_FUZZ_CHECK(item.selectFont >= -1 &&
                           item.selectFont < static_cast<int>(lineHeights.size()));
        VELMORA_FUZZ_CHECK(item.selectColour >= -1 && item.selectColour < colours);
    }
    // The scroll never leaves the picture, and the overlay never reads past it.
    int position = 0;
    for (int step = 0; step < 4; ++step) {
        position = NextScrollPosition(position, 1 + step, layout.totalHeight);
        int rows = OverlayRows(position, layout.totalHeight, areaHeight < 0 ? 0 : areaHeight);
        VELMORA_FUZZ_CHECK(rows >= 0);
        VELMORA_FUZZ_CHECK(rows == 0 || position + rows <= layout.totalHeight);
    }
    return 0;
}
