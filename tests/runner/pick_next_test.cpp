// PickNextScreensaver against the real profile functions.
#include "runner/pick_next.h"

#include <gtest/gtest.h>

#include <string>

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
    void List(int count) {
        for (int i = 0; i < count; ++i) {
            std::string key = "Scr" + std::to_string(i);
            std::string value = "C:\\savers\\entry" + std::to_string(i) + ".scr";
            Write("Screensaver", key.c_str(), value.c_str());
        }
        Write("Screensaver", "nScr", std::to_string(count).c_str());
    }
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

}  // namespace
