#include <gtest/gtest.h>

#include <string>

#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

const char kDesktop[] = "Control Panel\\Desktop";
const char kNtValue[] = "ScreenSaverIsSecure";
const char kValue9x[] = "ScreenSaveUsePassword";

class PasswordProtection : public ::testing::Test {
protected:
    DWORD Check(const char* argument = "") {
        return RunToEnd("\"" + BinDir() + "\\password_check.exe\" " + argument);
    }
    RegValueRestorer m_nt{HKEY_CURRENT_USER, kDesktop, kNtValue};
    RegValueRestorer m_9x{HKEY_CURRENT_USER, kDesktop, kValue9x};
};

TEST_F(PasswordProtection, NtLineReadsTheStringValue) {
    ASSERT_EQ(Check("version"), 2u * 100 + 6) << "Wine should report an NT version by default";

    struct Case {
        const char* what;
        std::string bytes;  // stored as given, terminator included only if listed
        DWORD type;
        DWORD expected;
    };
    const Case cases[] = {
        {"\"1\"", std::string("1\0", 2), REG_SZ, 1},
        {"\"0\"", std::string("0\0", 2), REG_SZ, 0},
        {"\"1 \"", std::string("1 \0", 3), REG_SZ, 0},
        {"\"01\"", std::string("01\0", 3), REG_SZ, 0},
        {"\"\"", std::string("\0", 1), REG_SZ, 0},
        {"\"1\" without terminator", std::string("1"), REG_SZ, 1},
        {"\"1\" then 20 bytes of padding", std::string("1\0", 2) + std::string(20, 'x'), REG_SZ,
         1},
        {"twelve characters", std::string("111111111111\0", 13), REG_SZ, 0},
        {"ten characters without terminator", std::string("1111111111"), REG_SZ, 0},
        {"REG_EXPAND_SZ \"1\"", std::string("1\0", 2), REG_EXPAND_SZ, 1},
        {"REG_DWORD 1", std::string("\x01\0\0\0", 4), REG_DWORD, 0},
        {"REG_DWORD 0x31", std::string("\x31\0\0\0", 4), REG_DWORD, 1},
        {"REG_BINARY 0x31", std::string("\x31", 1), REG_BINARY, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(SetRegBytes(HKEY_CURRENT_USER, kDesktop, kNtValue, c.bytes.data(),
                                static_cast<DWORD>(c.bytes.size()), c.type));
        EXPECT_EQ(Check(), c.expected);
    }

    // The 9x value does not count on the NT line.
    DeleteRegValue(HKEY_CURRENT_USER, kDesktop, kNtValue);
    SetRegDword(HKEY_CURRENT_USER, kDesktop, kValue9x, 1);
    EXPECT_EQ(Check(), 0u) << "missing value";

    DeleteRegTree(HKEY_CURRENT_USER, "Software\\VelmoraTest");
    EXPECT_EQ(Check("empty-profile"), 0u) << "missing desktop key";
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\VelmoraTest");
}

TEST_F(PasswordProtection, NineXLineReadsTheDwordValue) {
    WineVersionFor win98("password_check.exe", "win98");
    ASSERT_EQ(Check("version"), 1u * 100 + 4) << "Wine should pretend to be Windows 98";

    // The NT value means nothing on the 9x line.
    SetRegString(HKEY_CURRENT_USER, kDesktop, kNtValue, "1");
    DeleteRegValue(HKEY_CURRENT_USER, kDesktop, kValue9x);
    EXPECT_EQ(Check(), 0u) << "missing value";

    SetRegDword(HKEY_CURRENT_USER, kDesktop, kValue9x, 1);
    EXPECT_EQ(Check(), 1u);
    SetRegDword(HKEY_CURRENT_USER, kDesktop, kValue9x, 0);
    EXPECT_EQ(Check(), 0u);
    SetRegDword(HKEY_CURRENT_USER, kDesktop, kValue9x, 2);
    EXPECT_EQ(Check(), 0u);
    // A string "1" is two bytes, not the number 1.
    SetRegString(HKEY_CURRENT_USER, kDesktop, kValue9x, "1");
    EXPECT_EQ(Check(), 0u);
    // Longer than a DWORD: the read fails and nothing counts.
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    SetRegBytes(HKEY_CURRENT_USER, kDesktop, kValue9x, eight, sizeof eight, REG_BINARY);
    EXPECT_EQ(Check(), 0u);

    DeleteRegTree(HKEY_CURRENT_USER, "Software\\VelmoraTest");
    EXPECT_EQ(Check("empty-profile"), 0u) << "missing desktop key";
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\VelmoraTest");
}

}  // namespace
