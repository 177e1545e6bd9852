// The path a 64-bit screensaver started through the Sysnative alias is given.
#include <gtest/gtest.h>

#include "settings/native_view.h"

using velmora::settings::IsInFolder;
using velmora::settings::NativeViewPath;

namespace {

const std::string kSysnative = "C:\\windows\\Sysnative\\";
const std::string kSystem = "C:\\windows\\system32\\";

TEST(NativeView, ASysnativePathMovesToTheSystemFolder) {
    EXPECT_EQ(NativeViewPath("C:\\windows\\Sysnative\\probe64.scr", kSysnative, kSystem),
              "C:\\windows\\system32\\probe64.scr");
    // Case does not matter in file names.
    EXPECT_EQ(NativeViewPath("c:\\WINDOWS\\SYSNATIVE\\Bubbles.scr", kSysnative, kSystem),
              "C:\\windows\\system32\\Bubbles.scr");
}

TEST(NativeView, OtherPathsStay) {
    for (const char* path : {"C:\\windows\\system32\\a.scr", "C:\\windows\\a.scr",
                             "C:\\windows\\Sysnativex\\a.scr", "D:\\savers\\Sysnative\\a.scr",
                             "C:\\windows\\Sysnative\\", ""})
        EXPECT_EQ(NativeViewPath(path, kSysnative, kSystem), path);
    // On 32-bit Windows there is no alias.
    EXPECT_EQ(NativeViewPath("C:\\windows\\Sysnative\\a.scr", "", kSystem),
              "C:\\windows\\Sysnative\\a.scr");
}

TEST(NativeView, InFolderMeansBelowIt) {
    EXPECT_TRUE(IsInFolder("C:\\windows\\Sysnative\\a.scr", kSysnative));
    EXPECT_TRUE(IsInFolder("C:\\windows\\Sysnative\\sub\\a.scr", kSysnative));
    EXPECT_FALSE(IsInFolder("C:\\windows\\Sysnative", kSysnative));
    EXPECT_FALSE(IsInFolder("C:\\windows\\a.scr", kSysnative));
    EXPECT_FALSE(IsInFolder("C:\\windows\\a.scr", ""));
}

}  // namespace
