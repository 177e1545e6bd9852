#include "config/controls/credits_markup.h"

#include <climits>

namespace velmora::credits {

bool NoLeadBytes(unsigned char) { return false; }

std::vector<std::string> SplitCredits(const std::string& text, int areaHeight,
                                      LeadBytePredicate isLeadByte) {
    std::vector<std::string> lines;
    lines.push_back("S:" + std::to_string(areaHeight));
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (isLeadByte && isLeadByte(byte) && i + 1 < text.size()) {
            ++i;  // the second byte of a character may look like "|"
            continue;
        }
        if (byte == '|') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    lines.push_back("S:30");
    return lines;
}

int ReadNumber(const std::string& field) {
    size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < field.size() && isSpace(field[i])) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

namespace {
// Characters [from, from + count) of the line, as far as it reaches.
std::string Field(const std::string& line, size_t from, size_t count = std::string::npos) {
    return from < line.size() ? line.substr(from, count) : std::string();
}
}  // namespace

CreditLine ParseCreditLine(const std::string& line) {
    CreditLine parsed;
    char first = line.empty() ? '\0' : line[0];
    if (first == 'S') {
        parsed.kind = LineKind::Spacing;
        parsed.spacing = ReadNumber(Field(line, 2));
    } else if (first == 'B') {
        parsed.kind = LineKind::Picture;
        parsed.picture = Field(line, 2);
    } else {
        parsed.kind = LineKind::Text;
        parsed.font = ReadNumber(Field(line, 0, 2));
        parsed.colour = ReadNumber(Field(line, 3, 2));
        parsed.text = Field(line, 6);
    }
    return parsed;
}

namespace {
int Clamp(long long v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// The top row of an item of this height: y, moved as far as needed for
// top + height to fit an int. Only rows beyond every picture that can be
// made move, so nothing drawn changes.
int ItemTop(long long y, int height) {
    const long long lowest = height < 0 ? static_cast<long long>(INT_MIN) - height : INT_MIN;
    const long long highest = height > 0 ? static_cast<long long>(INT_MAX) - height : INT_MAX;
    return static_cast<int>(y < lowest ? lowest : y > highest ? highest : y);
}
}  // namespace

CreditsLayout LayOutCredits(const std::vector<std::string>& lines,
                            const std::vector<int>& lineHeights, int colourCount,
                            PictureHeights& pictures) {
    CreditsLayout layout;
    const int fonts = static_cast<int>(lineHeights.size());
    int lineHeight = fonts > 0 ? lineHeights[0] : 0;
    long long y = 0;
    for (const std::string& text : lines) {
        CreditLine line = ParseCreditLine(text);
        switch (line.kind) {
        case LineKind::Spacing:
            y += line.spacing;
            break;
        case LineKind::Picture: {
            int height = pictures.HeightOf(line.picture);
            if (height < 0) {
                layout.failed = true;
                layout.missingPicture = line.picture;
                layout.totalHeight = Clamp(y < 0 ? 0 : y);
                return layout;
            }
            PlacedItem item;
            item.kind = LineKind::Picture;
            item.y = ItemTop(y, height);
            item.height = height;
            item.picture = line.picture;
            layout.items.push_back(item);
            y += height;
            break;
        }
        case LineKind::Text: {
            PlacedItem item;
            item.kind = LineKind::Text;
            if (line.font >= 0 && line.font < fonts) {
                item.selectFont = line.font;
                lineHeight = lineHeights[static_cast<size_t>(line.font)];
            }
            if (line.colour >= 0 && line.colour < colourCount) item.selectColour = line.colour;
            item.y = ItemTop(y, lineHeight);
            item.height = lineHeight;
            item.text = line.text;
            layout.items.push_back(item);
            y += lineHeight;
            break;
        }
        }
    }
    layout.totalHeight = Clamp(y < 0 ? 0 : y);
    return layout;
}

int CentredLeft(int width, int pictureWidth) {
    return static_cast<int>((static_cast<long long>(width) - pictureWidth) / 2);
}

int NextScrollPosition(int position, int increment, int totalHeight) {
    long long next = static_cast<long long>(position) + increment;
    return next >= totalHeight || next < 0 ? 0 : static_cast<int>(next);
}

int OverlayRows(int position, int totalHeight, int areaHeight) {
    long long rows = static_cast<long long>(totalHeight) - position;
    if (rows > areaHeight) rows = areaHeight;
    return rows > 0 ? static_cast<int>(rows) : 0;
}

std::vector<char> InkedRows(const std::vector<char>& pictureInk, int position, int totalHeight,
                            int areaHeight) {
    std::vector<char> rows(static_cast<size_t>(areaHeight > 0 ? areaHeight : 0), 0);
    const int overlay = OverlayRows(position, totalHeight, areaHeight);
    for (int r = 0; r < overlay; ++r) {
        const long long row = static_cast<long long>(position) + r;
        if (row >= 0 && row < static_cast<long long>(pictureInk.size()))
            rows[static_cast<size_t>(r)] = pictureInk[static_cast<size_t>(row)];
    }
    return rows;
}

std::vector<Band> ChangedBands(const std::vector<char>& shown, const std::vector<char>& now) {
    const int height = static_cast<int>(now.size());
    if (shown.size() != now.size()) {
        if (height == 0) return {};
        return {Band{0, height}};
    }
    std::vector<Band> bands;
    for (int r = 0; r < height; ++r) {
        if (!shown[static_cast<size_t>(r)] && !now[static_cast<size_t>(r)]) continue;
        if (!bands.empty() && bands.back().bottom == r)
            bands.back().bottom = r + 1;
        else
            bands.push_back(Band{r, r + 1});
    }
    return bands;
}

int PacingSleep(long long elapsedTicks, long long frequency, int frameDelay) {
    if (frequency <= 0) return frameDelay > 0 ? frameDelay : 0;
    long long elapsedMs = elapsedTicks / frequency * 1000 + elapsedTicks % frequency * 1000 / frequency;
    if (elapsedMs < 0) elapsedMs = 0;
    return elapsedMs < frameDelay ? static_cast<int>(frameDelay - elapsedMs) : 0;
}

}  // namespace velmora::credits
