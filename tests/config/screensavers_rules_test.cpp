// The catalogue page's decisions: where a display name comes from, which
// buttons a click and a move leave enabled, where Up and Down go, and the
// command line of a started screensaver.
#include "config/screensavers_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace velmora::catalogue;

TEST(ScreensaversRules, DisplayNameSourceAndFileNameName) {
    struct Case {
        bool nt;
        std::string file;
        NameSource source;
        std::string fileName;
    } cases[] = {
        {true, "ssbezier.scr", NameSource::StringResource, "ssbezier"},
        {true, "abcdefgh.scr", NameSource::StringResource, "abcdefgh"},    // 12: still 8.3
        {true, "abcdefghi.scr", NameSource::FileName, "abcdefghi"},        // 13
        {true, "My Long Saver.scr", NameSource::FileName, "My Long Saver"},
        {false, "ssbezier.scr", NameSource::FileName, "ssbezier"},
        {false, "a.SCR", NameSource::FileName, "a"},
        {true, "x.scr", NameSource::StringResource, "x"},
        {true, "scr", NameSource::StringResource, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayNameSource(c.nt, c.file.size()), c.source) << c.file << " nt=" << c.nt;
        EXPECT_EQ(NameWithoutExtension(c.file), c.fileName) << c.file;
    }
}

TEST(ScreensaversRules, OnlyTheRotatorItselfIsLeftOut) {
    EXPECT_TRUE(IsRotatorFile("velmora.scr"));
    for (const char* other : {"velmora2.scr", "velmora.scr2", "xvelmora.scr", "velmora", ""})
        EXPECT_FALSE(IsRotatorFile(other)) << other;
}

TEST(ScreensaversRules, CatalogueClick) {
    struct Case {
        int selected;
        Change add, settings;
    } cases[] = {
        {0, Change::Keep, Change::Disable},
        {1, Change::Enable, Change::Enable},
        {2, Change::Enable, Change::Disable},
        {7, Change::Enable, Change::Disable},
    };
    for (const Case& c : cases) {
        CatalogueClick click = OnCatalogueClick(c.selected);
        EXPECT_EQ(click.addSelected, c.add) << c.selected;
        EXPECT_EQ(click.settingsPreview, c.settings) << c.selected;
    }
}

TEST(ScreensaversRules, RotationClick) {
    const Change K = Change::Keep, E = Change::Enable, D = Change::Disable;
    struct Case {
        int selected, rows, mark;
        Change remove, up, down;
    } cases[] = {
        {0, 0, -1, K, D, D},  // click on an empty list
        {0, 3, 1, K, D, D},   // click beside the rows
        {1, 1, 0, E, D, D},   // the only row: nowhere to go
        {1, 3, 0, E, D, E},   // first row
        {1, 3, 1, E, E, E},   // middle row
        {1, 3, 2, E, E, D},   // last row
        {2, 3, 1, E, D, D},   // several rows selected
        {1, 3, -1, E, D, D},  // a selection without a mark moves nothing
    };
    for (const Case& c : cases) {
        RotationClick click = OnRotationClick(c.selected, c.rows, c.mark);
        EXPECT_EQ(click.removeSelected, c.remove) << c.selected << "/" << c.rows << "@" << c.mark;
        EXPECT_EQ(click.up, c.up) << c.selected << "/" << c.rows << "@" << c.mark;
        EXPECT_EQ(click.down, c.down) << c.selected << "/" << c.rows << "@" << c.mark;
    }
}

TEST(ScreensaversRules, MovesAndTheButtonsAfterwards) {
    struct Case {
        int mark, rows, direction, target;
    } cases[] = {
        {1, 3, -1, 0}, {0, 3, -1, -1}, {2, 3, -1, 1}, {1, 3, +1, 2}, {2, 3, +1, -1},
        {0, 1, +1, -1}, {-1, 3, +1, -1}, {-1, 3, -1, -1}, {3, 3, -1, -1}, {0, 0, +1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MoveTarget(c.mark, c.rows, c.direction), c.target)
            << c.mark << "/" << c.rows << " " << c.direction;

    MoveButtons up = AfterMove(0, 3, -1);
    EXPECT_EQ(up.up, Change::Disable);
    EXPECT_EQ(up.down, Change::Enable);
    up = AfterMove(1, 3, -1);
    EXPECT_EQ(up.up, Change::Keep);
    EXPECT_EQ(up.down, Change::Enable);
    MoveButtons down = AfterMove(2, 3, +1);
    EXPECT_EQ(down.down, Change::Disable);
    EXPECT_EQ(down.up, Change::Enable);
    down = AfterMove(1, 3, +1);
    EXPECT_EQ(down.down, Change::Keep);
    EXPECT_EQ(down.up, Change::Enable);
}

}  // namespace
