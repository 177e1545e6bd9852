// The credits markup and the one layout walk that measures and places it;
// the About page's credits and area.
#include "config/controls/credits_markup.h"

#include <gtest/gtest.h>

#include <climits>

#include "config/about_credits.h"

namespace {

using namespace velmora::credits;

struct Pictures : PictureHeights {
    int HeightOf(const std::string& name) override { return name == "LOGO" ? 40 : -1; }
};

// Font 0 is 18 rows high, font 1 16, font 2 37; seven colours.
CreditsLayout Lay(const std::vector<std::string>& lines) {
    Pictures pictures;
    return LayOutCredits(lines, {18, 16, 37}, 7, pictures);
}

TEST(CreditsMarkup, EdgeCases) {
    struct Case {
        const char* name;
        const char* text;
        int area;
        std::vector<std::string> lines;  // between "S:<area>" and "S:30"
        std::string placed;              // per item: y,height,font,colour,text;
        int total;
    };
    const Case cases[] = {
        {"no bar at all", "00:06:never", 100, {}, "", 130},
        {"text after the last bar", "00:06:A|01:06:lost", 10, {"00:06:A"}, "10,18,0,6,A;", 58},
        {"S:-5 moves up", "00:06:A|S:-5|01:06:B|", 0, {"00:06:A", "S:-5", "01:06:B"},
         "0,18,0,6,A;13,16,1,6,B;", 59},
        {"empty lines", "01:01:x|||", 0, {"01:01:x", "", ""}, "0,16,1,1,x;16,18,0,0,;34,18,0,0,;", 82},
        {"-1 keeps font, height and colour", "02:04:Big|-1:06:big|01:-1:small|", 0,
         {"02:04:Big", "-1:06:big", "01:-1:small"}, "0,37,2,4,Big;37,37,-1,6,big;74,16,1,-1,small;",
         120},
        {"-1 first: font 0's height", "-1:-1:a|", 5, {"-1:-1:a"}, "5,18,-1,-1,a;", 53},
        {"indices outside the tables keep", "02:05:a|07:09:b|", 0, {"02:05:a", "07:09:b"},
         "0,37,2,5,a;37,37,-1,-1,b;", 104},
        {"S and B whatever follows", "Saturday|BxLOGO|S|", 0, {"Saturday", "BxLOGO", "S"},
         "0,40,LOGO;", 70},
        {"atoi fields", "S: +7x|S:\t-3|S:abc| 1:6 :x|", 0, {"S: +7x", "S:\t-3", "S:abc", " 1:6 :x"},
         "4,16,1,6,x;", 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto lines = SplitCredits(c.text, c.area);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front(), "S:" + std::to_string(c.area));
        EXPECT_EQ(lines.back(), "S:30");
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 1), c.lines);
        CreditsLayout layout = Lay(lines);
        std::string placed;
        for (const PlacedItem& i : layout.items) {
            placed += std::to_string(i.y) + "," + std::to_string(i.height) + ",";
            if (i.kind == LineKind::Picture)
                placed += i.picture + ";";
            else
                placed += std::to_string(i.selectFont) + "," + std::to_string(i.selectColour) + "," +
                          i.text + ";";
        }
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(layout.totalHeight, c.total);
    }
    // A missing picture stops the walk and names the picture.
    CreditsLayout missing = Lay(SplitCredits("00:06:a|Bob|00:06:b|", 0));
    EXPECT_TRUE(missing.failed);
    EXPECT_EQ(missing.missingPicture, "b");
    EXPECT_EQ(missing.items.size(), 1u);
    // No overflow, and never a negative height.
    EXPECT_EQ(ReadNumber("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(Lay(SplitCredits("S:2147483647|S:9|", 0)).totalHeight, INT_MAX);
    EXPECT_EQ(Lay(SplitCredits("S:-99999|", 0)).totalHeight, 0);
    // An item's top and height add up without overflow, however far down
    // or up the spacing puts it.
    for (const char* text : {"S:2147483647|00:06:x|B:LOGO|", "S:-2147483648|S:-9|00:06:x|B:LOGO|"}) {
        SCOPED_TRACE(text);
        CreditsLayout far = Lay(SplitCredits(text, 0));
        ASSERT_EQ(far.items.size(), 2u);
        for (const PlacedItem& item : far.items) {
            EXPECT_LE(static_cast<long long>(item.y) + item.height, INT_MAX);
            EXPECT_GE(static_cast<long long>(item.y), INT_MIN);
        }
    }
    EXPECT_EQ(Lay(SplitCredits("S:2147483647|00:06:x|", 0)).items[0].y, INT_MAX - 18);
}

TEST(CreditsMarkup, BarSearchStepsOverDoubleByteCharacters) {
    auto shiftJisLead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || c >= 0xE0; };
    // 0x83 0x7C is one character whose second byte is "|".
    auto lines = SplitCredits("01:06:\x83\x7C|b|\x83", 0, shiftJisLead);
    EXPECT_EQ(lines, (std::vector<std::string>{"S:0", "01:06:\x83\x7C", "b", "S:30"}));
    EXPECT_EQ(SplitCredits("01:06:\x83\x7C|b|", 0).size(), 5u);
}

TEST(CreditsMarkup, ScrollOverlayAndPacing) {
    EXPECT_EQ(NextScrollPosition(98, 1, 100), 99);
    EXPECT_EQ(NextScrollPosition(99, 1, 100), 0);
    EXPECT_EQ(OverlayRows(400, 500, 100), 100);
    EXPECT_EQ(OverlayRows(450, 500, 100), 50);  // never past the last row
    EXPECT_EQ(PacingSleep(10, 1000, 25), 15);
    EXPECT_EQ(PacingSleep(30, 1000, 25), 0);
    EXPECT_EQ(PacingSleep(10, 0, 25), 25);  // no counter
    EXPECT_EQ(CentredLeft(40, 101), -30);
}

TEST(CreditsMarkup, AFrameDrawsOnlyTheRowsWhereCreditsShowOrShowed) {
    // Picture rows 2-3 and 6 have ink; an area of 4 rows.
    const std::vector<char> ink{0, 0, 1, 1, 0, 0, 1, 0};
    EXPECT_EQ(InkedRows(ink, 0, 8, 4), (std::vector<char>{0, 0, 1, 1}));
    EXPECT_EQ(InkedRows(ink, 5, 8, 4), (std::vector<char>{0, 1, 0, 0}));  // past the end: none
    EXPECT_EQ(InkedRows(ink, 9, 8, 4), (std::vector<char>(4, 0)));
    EXPECT_EQ(InkedRows({}, 0, 8, 4), (std::vector<char>(4, 0)));  // no picture
    EXPECT_TRUE(InkedRows(ink, 0, 8, -1).empty());

    auto bands = [](const std::vector<char>& shown, const std::vector<char>& now) {
        std::vector<std::pair<int, int>> out;
        for (Band b : ChangedBands(shown, now)) out.emplace_back(b.top, b.bottom);
        return out;
    };
    using Bands = std::vector<std::pair<int, int>>;
    EXPECT_EQ(bands({}, {0, 0, 0}), (Bands{{0, 3}}));  // first frame: all of it
    EXPECT_EQ(bands({0, 0, 0}, {0, 0, 0}), Bands{});    // nothing moved
    // A line moving up a row: the row it left is drawn back to background.
    EXPECT_EQ(bands({0, 0, 1, 1, 0, 0}, {0, 1, 1, 0, 0, 1}), (Bands{{1, 4}, {5, 6}}));
    EXPECT_TRUE(ChangedBands({}, {}).empty());
}

TEST(AboutCredits, BlocksAndArea) {
    const std::string text = velmora::about::CreditsText();
    EXPECT_EQ(text.rfind("00:06:Velmora|01:06:Version 2.0.1|S:10|", 0), 0u);
    auto lines = SplitCredits(text, 0);
    int headings = 0, bodies = 0, spacings = 0;
    for (const std::string& line : lines) {
        CreditLine l = ParseCreditLine(line);
        if (l.kind == LineKind::Spacing) ++spacings;
        if (l.kind == LineKind::Text) (l.font == 0 ? headings : bodies) += l.colour == 6;
    }
    EXPECT_EQ(headings, 5);
    EXPECT_EQ(bodies, 1 + 2 + 1 + 4 + 1 + 22);
    EXPECT_EQ(spacings, 2 + 5);
    EXPECT_EQ(lines[lines.size() - 2], "01:06:");
    velmora::about::Area a = velmora::about::CreditsArea({11, 11, 442, 275});
    EXPECT_EQ(a.left, 11 + 215 + 15);
    EXPECT_EQ(a.top, 14);
    EXPECT_EQ(a.right, 442);
    EXPECT_EQ(a.bottom, 272);
}

}  // namespace
