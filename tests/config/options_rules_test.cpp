// The options page's decisions: stored folders, normalisation and
// de-duplication before saving, and what the stored choices show.
#include "config/options_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace velmora::options;

// A single-byte code page, lowered byte by byte like the C locale.
std::string AsciiLower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

const MultibyteText kSingleByte{[](unsigned char) { return false; }, AsciiLower};
// Lead bytes as in code page 932, where 0x95 0x5C is one character whose
// second byte is the backslash's.
const MultibyteText kDoubleByte{
    [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); },
    AsciiLower};

TEST(OptionsRules, TrimsWhiteSpaceAtBothEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"  C:\\Savers \t\r\n", "C:\\Savers"},
        {"", ""},
        {" \t ", ""},
        {"\va b\f", "a b"},
        {"x", "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimWhiteSpace(c.first), c.second) << c.first;
}

TEST(OptionsRules, StoredFoldersEndAtTheFirstEmptyValue) {
    struct Case {
        const char* what;
        std::map<int, std::string> stored;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {"none", {}, {}},
        {"trimmed, unchanged otherwise",
         {{0, " C:\\Savers "}, {1, "d:\\More\\"}},
         {"C:\\Savers", "d:\\More\\"}},
        {"white space ends the list", {{0, "a"}, {1, " \t"}, {2, "c"}}, {"a"}},
        {"a gap ends the list", {{0, "a"}, {2, "c"}}, {"a"}},
        {"an empty first value hides the rest", {{0, ""}, {1, "b"}}, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> asked;
        auto read = [&](int i) {
            asked.push_back(i);
            auto it = c.stored.find(i);
            return it == c.stored.end() ? std::string() : it->second;
        };
        EXPECT_EQ(StoredFolders(read), c.folders) << c.what;
        // Keys are asked in order, up to and including the one that ended the list.
        ASSERT_EQ(asked.size(), c.folders.size() + 1) << c.what;
        for (size_t i = 0; i < asked.size(); ++i) EXPECT_EQ(asked[i], static_cast<int>(i));
    }
}

TEST(OptionsRules, FoldersAreNormalisedByTheirLastCharacter) {
    struct Case {
        const char* what;
        const MultibyteText* text;
        std::string folder, normal;
    };
    const Case cases[] = {
        {"backslash added, lowered", &kSingleByte, "C:\\Savers", "c:\\savers\\"},
        {"backslash kept", &kSingleByte, "c:\\savers\\", "c:\\savers\\"},
        {"a drive root", &kSingleByte, "D:", "d:\\"},
        {"nothing at all", &kSingleByte, "", "\\"},
        {"single-byte 0x5C", &kSingleByte, "\x95\\", "\x95\\"},
        {"double-byte character ending in 0x5C", &kDoubleByte, "c:\\\x95\\", "c:\\\x95\\\\"},
        {"double-byte character, then a backslash", &kDoubleByte, "c:\\\x95\\\\",
         "c:\\\x95\\\\"},
        // Half a character names nothing, and kept it would take the added
        // backslash as its trail byte when read back: it is dropped.
        {"a lead byte alone at the end", &kDoubleByte, "c:\\\x95", "c:\\"},
        {"a lone lead byte after a character", &kDoubleByte, "\xaa\x81", "\xaa\\"},
        {"a lone lead byte after a double-byte one", &kDoubleByte, "a\x95\\\x81",
         "a\x95\\\\"},
        {"a lone lead byte alone", &kDoubleByte, "\x81", "\\"},
        {"a backslash after single bytes", &kDoubleByte, "C:\\A\\", "c:\\a\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseFolder(c.folder, *c.text), c.normal) << c.what;
        // What is stored comes back unchanged from the next save.
        EXPECT_EQ(NormaliseFolder(c.normal, *c.text), c.normal) << c.what;
    }
}

TEST(OptionsRules, FoldersToSaveLeaveOutRepeatsWithoutGaps) {
    struct Case {
        const char* what;
        std::vector<std::string> items, saved;
    };
    const Case cases[] = {
        {"case and backslash differ", {"C:\\Savers", "c:\\savers\\", "D:\\More"},
         {"c:\\savers\\", "d:\\more\\"}},
        {"repeats anywhere", {"a", "b", "A\\", "B", "c"}, {"a\\", "b\\", "c\\"}},
        {"the first keeps its place, lowered", {"X\\Y\\", "x\\y"}, {"x\\y\\"}},
        {"empty", {}, {}},
        {"no repeats", {"e:\\1", "e:\\2"}, {"e:\\1\\", "e:\\2\\"}},
    };
    for (const Case& c : cases) EXPECT_EQ(FoldersToSave(c.items, kSingleByte), c.saved) << c.what;
}

TEST(OptionsRules, ChoicesAreStoredAsOneOrZero) {
    const std::pair<int, const char*> cases[] = {{0, "0"}, {1, "1"}, {-1, "0"}, {2, "0"},
                                                 {7, "0"}};
    for (const auto& c : cases) EXPECT_STREQ(ChoiceFlag(c.first), c.second) << c.first;
}

TEST(OptionsRules, LoadedChoicesAndWhatThePasswordSwitchesOff) {
    struct Case {
        int order, showTime;
        bool protectedScreen;
        LoadedOptions loaded;
    };
    const Case cases[] = {
        {0, 0, false, {0, 0, false, true, false}},
        {1, 1, false, {1, 1, false, true, true}},
        {5, 3, false, {5, 3, false, true, true}},    // no radio, the edit still on
        {-1, -1, false, {-1, -1, false, true, true}},
        {1, 1, true, {1, 0, true, false, false}},
        {0, 7, true, {0, 0, true, false, false}},
    };
    for (const Case& c : cases) {
        LoadedOptions got = LoadOptions(c.order, c.showTime, c.protectedScreen);
        SCOPED_TRACE(::testing::Message() << c.order << " " << c.showTime << " "
                                          << c.protectedScreen);
        EXPECT_EQ(got.order, c.loaded.order);
        EXPECT_EQ(got.showTime, c.loaded.showTime);
        EXPECT_EQ(got.passwordNote, c.loaded.passwordNote);
        EXPECT_EQ(got.minutesChoiceEnabled, c.loaded.minutesChoiceEnabled);
        EXPECT_EQ(got.minutesFieldEnabled, c.loaded.minutesFieldEnabled);
    }
}

}  // namespace
