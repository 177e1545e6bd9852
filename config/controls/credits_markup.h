#pragma once
// The credits markup and the layout of the credits picture, free of Win32.
//
// The credits are lines, each ended by "|" (text after the last "|" belongs
// to no line). The first character decides the kind: "S:n" moves the next
// item n pixels down, "B:name" is a bitmap resource drawn centred, and
// anything else is a text line "FF:CC:text" (font index, colour index, text).
// Numbers are read as atoi reads them; -1 keeps the current font or colour.
#include <string>
#include <vector>

namespace velmora::credits {

enum class LineKind { Spacing, Picture, Text };

struct CreditLine {
    LineKind kind = LineKind::Text;
    int spacing = 0;          // Spacing: n
    std::string picture;      // Picture: the resource name
    int font = 0;             // Text: font index
    int colour = 0;           // Text: colour index
    std::string text;         // Text: what is drawn
};

// Whether a byte starts a two-byte character in the current code page; the
// search for "|" steps over the second byte of such a character.
using LeadBytePredicate = bool (*)(unsigned char);
bool NoLeadBytes(unsigned char);

// The lines of the credits text, with "S:<areaHeight>" before them (the
// credits enter from below the area) and "S:30" after them.
std::vector<std::string> SplitCredits(const std::string& text, int areaHeight,
                                      LeadBytePredicate isLeadByte = NoLeadBytes);

// Reads a decimal number as atoi does: leading white space, a sign, digits
// up to the first non-digit; no digits read as 0. Values beyond int are
// clamped instead of overflowing.
int ReadNumber(const std::string& field);

CreditLine ParseCreditLine(const std::string& line);

// One item of the credits picture at its place.
struct PlacedItem {
    LineKind kind = LineKind::Text;  // Text or Picture
    int y = 0;                       // top row in the credits picture
    int height = 0;                  // rows the item takes; y + height fits an int
    int selectFont = -1;             // Text: font to select first, -1 keeps the current one
    int selectColour = -1;           // Text: colour to set first, -1 keeps the current one
    std::string text;                // Text
    std::string picture;             // Picture
};

struct CreditsLayout {
    std::vector<PlacedItem> items;
    int totalHeight = 0;             // rows of the whole picture (never below 0)
    bool failed = false;             // a picture could not be found
    std::string missingPicture;      // its name
};

// Answers the height of a named picture, or -1 when there is no such picture.
struct PictureHeights {
    virtual int HeightOf(const std::string& name) = 0;
    virtual ~PictureHeights() = default;
};

// The one walk that places every line, for measuring and drawing alike.
// lineHeights has one entry per font; colourCount is the number of colours.
// A text line selects font f (and its line height) when 0 <= f < fonts, and
// colour c when 0 <= c < colourCount; any other index (-1 included) keeps
// the current one. The current line height starts as font 0's. The walk
// stops at the first picture whose height is unknown (failed).
CreditsLayout LayOutCredits(const std::vector<std::string>& lines,
                            const std::vector<int>& lineHeights, int colourCount,
                            PictureHeights& pictures);

// x of a picture of pictureWidth centred across width (truncating toward 0).
int CentredLeft(int width, int pictureWidth);

// The scroll position after one frame: it wraps to 0 on reaching the total.
int NextScrollPosition(int position, int increment, int totalHeight);

// Rows of the credits picture laid over the area at this scroll position:
// never past the picture's last row, so the rows below it keep the background.
int OverlayRows(int position, int totalHeight, int areaHeight);

// Which rows of the area show something of the credits at this scroll
// position: area row r shows picture row position + r while that lies in the
// overlay, and the picture row has ink when pictureInk says so.
std::vector<char> InkedRows(const std::vector<char>& pictureInk, int position, int totalHeight,
                            int areaHeight);

// Rows top to bottom - 1 of the area.
struct Band {
    int top;
    int bottom;
};

// The rows a frame has to draw, as runs: those that show ink now or showed
// it in the frame before; every other row keeps the background it already
// shows. With no frame before (shown of another size), the whole area.
std::vector<Band> ChangedBands(const std::vector<char>& shown, const std::vector<char>& now);

// Milliseconds to sleep so that a frame lasts frameDelay: elapsed counter
// ticks at frequency ticks per second; nothing when the frame took longer.
int PacingSleep(long long elapsedTicks, long long frequency, int frameDelay);

}  // namespace velmora::credits
