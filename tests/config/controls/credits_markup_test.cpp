// The credits markup: lines, kinds, fields and the one layout walk that both
// measures and places them; and the About page's own credits and area.
#include "config/controls/credits_markup.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "config/about_credits.h"

namespace {

using namespace velmora::credits;

// Font 0 is 18 rows, font 1 is 16, font 2 is 37 (as "Wy" measures them).
const std::vector<int> kHeights{18, 16, 37};
constexpr int kColours = 7;

struct Pictures : PictureHeights {
    std::map<std::string, int> heights{{"LOGO", 40}, {"TINY", 3}};
    int HeightOf(const std::string& name) override {
        auto it = heights.find(name);
        return it == heights.end() ? -1 : it->second;
    }
};

struct Item {
    LineKind kind;
    int y, height, font, colour;
    std::string content;  // text or picture name
};

TEST(CreditsMarkup, EdgeCases) {
    struct Case {
        const char* name;
        std::string text;
        int area;
        std::vector<std::string> lines;  // between the two added spacing lines
        std::vector<Item> items;
        int total;
    };
    const LineKind T = LineKind::Text, P = LineKind::Picture;
    const Case cases[] = {
        {"no bar at all", "00:06:never shown", 100, {}, {}, 130},
        {"empty text", "", 50, {}, {}, 80},
        {"text after the last bar", "00:06:Title|01:06:lost", 10, {"00:06:Title"},
         {{T, 10, 18, 0, 6, "Title"}}, 58},
        {"S:-5 moves up", "00:06:A|S:-5|01:06:B|", 0, {"00:06:A", "S:-5", "01:06:B"},
         {{T, 0, 18, 0, 6, "A"}, {T, 13, 16, 1, 6, "B"}}, 59},
        {"empty lines: font 0, colour 0, no text", "01:01:x|||", 0, {"01:01:x", "", ""},
         {{T, 0, 16, 1, 1, "x"}, {T, 16, 18, 0, 0, ""}, {T, 34, 18, 0, 0, ""}}, 82},
        {"nothing after the second colon", "02:03:|02:03|", 0, {"02:03:", "02:03"},
         {{T, 0, 37, 2, 3, ""}, {T, 37, 37, 2, 3, ""}}, 104},
        {"-1 keeps font and line height", "02:04:Big|-1:06:still big|01:-1:small|", 0,
         {"02:04:Big", "-1:06:still big", "01:-1:small"},
         {{T, 0, 37, 2, 4, "Big"}, {T, 37, 37, -1, 6, "still big"}, {T, 74, 16, 1, -1, "small"}},
         120},
        {"-1 before any font: font 0's height", "-1:-1:first|", 5, {"-1:-1:first"},
         {{T, 5, 18, -1, -1, "first"}}, 53},
        {"indices outside the tables keep font and colour", "02:05:a|07:09:b|99:-7:c|", 0,
         {"02:05:a", "07:09:b", "99:-7:c"},
         {{T, 0, 37, 2, 5, "a"}, {T, 37, 37, -1, -1, "b"}, {T, 74, 37, -1, -1, "c"}}, 141},
        {"S and B decide whatever follows", "Saturday|BxTINY|S|", 0,
         {"Saturday", "BxTINY", "S"},
         {{P, 0, 3, -1, -1, "TINY"}}, 33},
        {"atoi fields", "S: +7x|S:\t-3|S:abc| 1:6 :x|", 0,
         {"S: +7x", "S:\t-3", "S:abc", " 1:6 :x"},
         {{T, 4, 16, 1, 6, "x"}}, 50},
        {"pictures centred rows", "B:LOGO|00:06:under|", 20, {"B:LOGO", "00:06:under"},
         {{P, 20, 40, -1, -1, "LOGO"}, {T, 60, 18, 0, 6, "under"}}, 108},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto lines = SplitCredits(c.text, c.area);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front(), "S:" + std::to_string(c.area));
        EXPECT_EQ(lines.back(), "S:30");
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 1), c.lines);
        Pictures pictures;
        CreditsLayout layout = LayOutCredits(lines, kHeights, kColours, pictures);
        EXPECT_FALSE(layout.failed);
        EXPECT_EQ(layout.totalHeight, c.total);
        ASSERT_EQ(layout.items.size(), c.items.size());
        for (size_t i = 0; i < c.items.size(); ++i) {
            const Item& want = c.items[i];
            const PlacedItem& got = layout.items[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(got.kind, want.kind);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.height, want.height);
            if (want.kind == T) {
                EXPECT_EQ(got.selectFont, want.font);
                EXPECT_EQ(got.selectColour, want.colour);
                EXPECT_EQ(got.text, want.content);
            } else {
                EXPECT_EQ(got.picture, want.content);
            }
        }
    }
}

TEST(CreditsMarkup, LineKindsByTheFirstCharacterAlone) {
    CreditLine s = ParseCreditLine("Saturday");
    EXPECT_EQ(s.kind, LineKind::Spacing);
    EXPECT_EQ(s.spacing, 0);  // "turday" has no digits
    CreditLine b = ParseCreditLine("Bob");
    EXPECT_EQ(b.kind, LineKind::Picture);
    EXPECT_EQ(b.picture, "b");
    EXPECT_EQ(ParseCreditLine("B").picture, "");
    CreditLine t = ParseCreditLine("01:06:Kestrune & Co");
    EXPECT_EQ(t.kind, LineKind::Text);
    EXPECT_EQ(t.font, 1);
    EXPECT_EQ(t.colour, 6);
    EXPECT_EQ(t.text, "Kestrune & Co");
    // The second, third and sixth characters are skipped unread.
    CreditLine odd = ParseCreditLine("02x04yz");
    EXPECT_EQ(odd.font, 2);
    EXPECT_EQ(odd.colour, 4);
    EXPECT_EQ(odd.text, "z");
}

TEST(CreditsMarkup, AMissingPictureStopsTheWalk) {
    Pictures pictures;
    auto lines = SplitCredits("00:06:a|Bob|00:06:never|", 10);
    CreditsLayout layout = LayOutCredits(lines, kHeights, kColours, pictures);
    EXPECT_TRUE(layout.failed);
    EXPECT_EQ(layout.missingPicture, "b");
    ASSERT_EQ(layout.items.size(), 1u);
    EXPECT_EQ(layout.items[0].text, "a");
}

TEST(CreditsMarkup, NumbersAsAtoiWithoutOverflow) {
    EXPECT_EQ(ReadNumber(""), 0);
    EXPECT_EQ(ReadNumber("-"), 0);
    EXPECT_EQ(ReadNumber("  -12abc"), -12);
    EXPECT_EQ(ReadNumber("+5"), 5);
    EXPECT_EQ(ReadNumber("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadNumber("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ReadNumber("-2147483648"), INT_MIN);
    // A huge spacing does not overflow the total.
    Pictures pictures;
    auto lines = SplitCredits("S:2147483647|S:2147483647|", 10);
    EXPECT_EQ(LayOutCredits(lines, kHeights, kColours, pictures).totalHeight, INT_MAX);
    lines = SplitCredits("S:-99999|", 10);
    EXPECT_EQ(LayOutCredits(lines, kHeights, kColours, pictures).totalHeight, 0);
}

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(CreditsMarkup, TheBarSearchStepsOverDoubleByteCharacters) {
    // 0x83 0x7C is one double-byte character whose second byte is "|".
    const std::string text = "01:06:\x83\x7C|00:06:b|";
    auto lines = SplitCredits(text, 0, ShiftJisLead);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "01:06:\x83\x7C");
    EXPECT_EQ(lines[2], "00:06:b");
    // Read byte by byte, the same text splits inside the character.
    EXPECT_EQ(SplitCredits(text, 0).size(), 5u);
    // A lead byte at the very end has no second byte to skip.
    EXPECT_EQ(SplitCredits("a|\x83", 0, ShiftJisLead).size(), 3u);
}

TEST(CreditsMovement, ScrollOverlayAndPacing) {
    EXPECT_EQ(NextScrollPosition(0, 1, 100), 1);
    EXPECT_EQ(NextScrollPosition(98, 1, 100), 99);
    EXPECT_EQ(NextScrollPosition(99, 1, 100), 0);  // wraps on reaching the total
    EXPECT_EQ(NextScrollPosition(0, 1, 0), 0);
    EXPECT_EQ(NextScrollPosition(INT_MAX, 1, INT_MAX), 0);
    // The overlay never reads past the picture's last row.
    EXPECT_EQ(OverlayRows(0, 500, 100), 100);
    EXPECT_EQ(OverlayRows(400, 500, 100), 100);
    EXPECT_EQ(OverlayRows(450, 500, 100), 50);
    EXPECT_EQ(OverlayRows(499, 500, 100), 1);
    EXPECT_EQ(OverlayRows(0, 0, 100), 0);
    // Only the remainder of 25 ms is slept.
    EXPECT_EQ(PacingSleep(0, 1000, 25), 25);
    EXPECT_EQ(PacingSleep(10, 1000, 25), 15);
    EXPECT_EQ(PacingSleep(25, 1000, 25), 0);
    EXPECT_EQ(PacingSleep(3'000'000'000LL, 1'000'000, 25), 0);
    EXPECT_EQ(PacingSleep(-5, 1000, 25), 25);
    EXPECT_EQ(PacingSleep(10, 0, 25), 25);  // no counter: the whole frame
    EXPECT_EQ(CentredLeft(100, 40), 30);
    EXPECT_EQ(CentredLeft(40, 100), -30);
    EXPECT_EQ(CentredLeft(40, 101), -30);  // toward zero
}

TEST(AboutCredits, TheSixBlocksInTheMarkup) {
    const std::string text = velmora::about::CreditsText();
    EXPECT_EQ(text.rfind("00:06:Velmora|01:06:Version 2.0.1|S:10|", 0), 0u);
    EXPECT_EQ(text.back(), '|');
    auto lines = SplitCredits(text, 150);
    int headings = 0, bodies = 0, spacings = 0;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        CreditLine line = ParseCreditLine(lines[i]);
        if (line.kind == LineKind::Spacing) {
            ++spacings;
            continue;
        }
        ASSERT_EQ(line.kind, LineKind::Text) << lines[i];
        EXPECT_EQ(line.colour, 6);
        (line.font == 0 ? headings : bodies)++;
        EXPECT_TRUE(line.font == 0 || line.font == 1);
    }
    EXPECT_EQ(headings, 5);  // the copyright block has none
    EXPECT_EQ(spacings, 5);
    EXPECT_EQ(bodies, 1 + 2 + 1 + 4 + 1 + 22);
    EXPECT_EQ(lines[lines.size() - 2], "01:06:");  // the legal block ends the text
    EXPECT_NE(text.find("01:06:send by E-Mail! :-)You may|"), std::string::npos);
}

TEST(AboutCredits, AreaOverThePicturesRightHalf) {
    using velmora::about::Area;
    Area a = velmora::about::CreditsArea({11, 11, 440, 275});
    EXPECT_EQ(a.left, 11 + 214 + 15);
    EXPECT_EQ(a.top, 14);
    EXPECT_EQ(a.right, 440);
    EXPECT_EQ(a.bottom, 272);
    Area odd = velmora::about::CreditsArea({-11, 0, 0, 10});
    EXPECT_EQ(odd.left, -11 + 5 + 15);  // 11 / 2 truncates
}

}  // namespace
