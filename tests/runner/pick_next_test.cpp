// PickNextScreensaver against the real profile functions.
#include "runner/pick_next.h"
#include "runner/rotation_checks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

std::string Read(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

void Write(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, "Velmora.ini");
}

class PickNext : public ::testing::Test {
protected:
    void SetUp() override {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        DeleteFileA(IniPath().c_str());
    }
    // The rotation section, rewritten whole: count entries and nScr.
    void List(int count) {
        std::string section;
        for (int i = 0; i < count; ++i)
            section += "Scr" + std::to_string(i) + "=C:\\savers\\entry" + std::to_string(i) + ".scr" + '\0';
        section += "nScr=" + std::to_string(count) + '\0' + '\0';
        WritePrivateProfileSectionA("Screensaver", section.data(), "Velmora.ini");
    }
    // Wine keeps the file in a cache and writes it out later, even over the
    // restored one: out first, then restored.
    void TearDown() override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }
    FileRestorer ini{IniPath()};
};

TEST_F(PickNext, ListOrderAdvancesLastShown) {
    EXPECT_EQ(PickNextScreensaver(), "") << "no file at all";
    EXPECT_EQ(Read("Screensaver", "LastScrShow"), "<none>");

    List(3);
    for (int expected : {0, 1, 2, 0, 1}) {
        EXPECT_EQ(PickNextScreensaver(), "C:\\savers\\entry" + std::to_string(expected) + ".scr");
        EXPECT_EQ(Read("Screensaver", "LastScrShow"), std::to_string(expected));
    }
    Write("Screensaver", "LastScrShow", "7");
    EXPECT_EQ(PickNextScreensaver(), "C:\\savers\\entry0.scr");

    // A missing entry is the end of the run; the index still advances.
    Write("Screensaver", "Scr1", nullptr);
    EXPECT_EQ(PickNextScreensaver(), "");
    EXPECT_EQ(Read("Screensaver", "LastScrShow"), "1");

    // Values are used as read: not trimmed, spaces inside kept.
    Write("Screensaver", "Scr2", "\"C:\\my savers\\a b.scr\"");
    EXPECT_EQ(PickNextScreensaver(), "C:\\my savers\\a b.scr");
}

// Files that cannot be started are passed over in one go: the position is
// written once, for the entry that plays, and the list is gone round once.
TEST_F(PickNext, ListOrderPassesOverFilesThatCannotStart) {
    List(5);
    auto there = [](const std::string& path) {
        return path.find("entry2") != std::string::npos || path.find("entry4") != std::string::npos;
    };
    Write("Screensaver", "LastScrShow", "0");
    for (int expected : {2, 4, 2}) {
        EXPECT_EQ(PickNextEntry(false, nullptr, there).path,
                  "C:\\savers\\entry" + std::to_string(expected) + ".scr");
        EXPECT_EQ(Read("Screensaver", "LastScrShow"), std::to_string(expected));
    }
    // None there: the next one, as without the check.
    EXPECT_EQ(PickNextEntry(false, nullptr, [](const std::string&) { return false; }).path,
              "C:\\savers\\entry3.scr");
    EXPECT_EQ(Read("Screensaver", "LastScrShow"), "3");
}

// The same with the launcher's look-up, which lists a folder once a file of
// it was found gone: a name in another case, or with the trailing dot
// Windows drops, is there; one that is gone, or in a folder that is gone, is
// not.
TEST_F(PickNext, ListedFilesAnswersAsEachFileWould) {
    TempDir folder("listed");
    WriteFileBytes(folder / "Alpha.SCR", "x");
    velmora::runner::ListedFiles files;
    for (const std::string& gone : {folder / "beta.scr", folder / "gamma.scr",
                                    folder / "gone\\alpha.scr", folder.path()})
        EXPECT_FALSE(files.Usable(gone)) << gone;
    for (const std::string& there : {folder / "alpha.scr", folder / "ALPHA.SCR.", folder / "Alpha.SCR"})
        EXPECT_TRUE(files.Usable(there)) << there;
}

TEST_F(PickNext, SingleEntryAndRandomOrder) {
    List(1);
    Write("Options", "ShowRandomOrder", "1");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(PickNextScreensaver(), "C:\\savers\\entry0.scr");
    EXPECT_EQ(Read("Screensaver", "LastScrShow"), "<none>");

    List(10);
    for (int i = 0; i < 20; ++i) {
        std::string pick = PickNextScreensaver();
        ASSERT_EQ(pick.rfind("C:\\savers\\entry", 0), 0u) << pick;
    }
    EXPECT_EQ(Read("Screensaver", "LastScrShow"), "<none>") << "random order writes nothing";
    for (int i = 0; i < 50; ++i) {
        int k = RandomInRange(0, 9);
        ASSERT_GE(k, 0);
        ASSERT_LE(k, 9);
    }
}

// The deck is kept as one value of the settings file, which carries at most
// 32767 characters: a list of more cards than fit plays by weight without one
// (writing it crashed 64-bit Wine, and Windows does not write it).
TEST_F(PickNext, DeckOnlyWhereTheSettingsFileCarriesIt) {
    Write("Options", "ShowRandomOrder", "1");
    Write("Options", "PlayEachOnce", "1");
    List(4000);
    Write("Screensaver", "Weight0", "10");
    ASSERT_EQ(PickNextScreensaver().rfind("C:\\savers\\entry", 0), 0u);
    char deck[40000] = "";
    EXPECT_GT(GetPrivateProfileStringA("Screensaver", "Deck", "", deck, sizeof deck, "Velmora.ini"),
              15000u);
    Write("Screensaver", "Deck", nullptr);
    List(7000);
    ASSERT_EQ(PickNextScreensaver().rfind("C:\\savers\\entry", 0), 0u);
    EXPECT_EQ(Read("Screensaver", "Deck"), "<none>");
}

// Weights are Velmora's own: the run's generator picks among every place of
// the weighted list, so every entry of a long list comes (the design's draw,
// one of a thousand milliseconds, never reached some of 400 entries with
// every fourth of weight 10).
TEST_F(PickNext, EveryEntryOfALongWeightedListComes) {
    Write("Options", "ShowRandomOrder", "1");
    List(400);
    for (int i = 0; i < 400; i += 4)
        Write("Screensaver", ("Weight" + std::to_string(i)).c_str(), "10");
    std::vector<bool> seen(400, false);
    int left = 400;
    for (int pick = 0; pick < 40000 && left > 0; ++pick) {
        const std::string path = PickNextScreensaver();
        const int index = std::atoi(path.c_str() + std::strlen("C:\\savers\\entry"));
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 400);
        if (!seen[static_cast<size_t>(index)]) {
            seen[static_cast<size_t>(index)] = true;
            --left;
        }
    }
    EXPECT_EQ(left, 0);
}

}  // namespace
