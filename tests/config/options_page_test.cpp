// The Options page in a real property sheet: what it loads from the
// settings file and the desktop registry values, what its controls do, and
// what pressing OK writes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/velmora_exe_ids.h"
#include "tests/config/options_sheet.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

const char kDesktop[] = "Control Panel\\Desktop";

class OptionsPage : public ::testing::Test {
protected:
    void SetUp() override {
        FlushIni();
        DeleteFileA(IniPath().c_str());
        SetRegString(HKEY_CURRENT_USER, kDesktop, "ScreenSaverIsSecure", "0");
    }
    void TearDown() override { FlushIni(); }

    static std::vector<std::string> Items(const CEditableList& list) {
        std::vector<std::string> items;
        for (int i = 0; i < list.GetCount(); ++i) items.push_back(list.GetItemText(i));
        return items;
    }

    // Adds a folder as a user does: New, typing, Enter.
    static void AddTyped(OptionsSheet& sheet, const std::string& folder) {
        CEditableList* paths = sheet.Paths();
        int before = paths->GetCount();
        SendMessageA(sheet.NewButton(), BM_CLICK, 0, 0);
        ASSERT_TRUE(sheet.PumpUntil([&] { return paths->IsEditing(); }));
        Type(folder);
        Key(VK_RETURN);
        ASSERT_TRUE(sheet.PumpUntil([&] {
            return !paths->IsEditing() && paths->GetCount() == before + 1 &&
                   paths->GetItemText(before) == folder;
        })) << folder;
    }

    FileRestorer ini{IniPath()};
    RegValueRestorer secure{HKEY_CURRENT_USER, kDesktop, "ScreenSaverIsSecure"};
};

TEST_F(OptionsPage, FoldersAreNormalisedAndWrittenOnceEach) {
    Ini("Additional Path", "Path0", "  C:\\Savers  ");
    // After a gap: never read, and gone once the section is rewritten.
    Ini("Additional Path", "Path2", "e:\\stale");
    FlushIni();

    OptionsSheet sheet;
    ASSERT_TRUE(sheet.Show());
    ASSERT_NE(sheet.OpenOptions(), nullptr);
    CEditableList* paths = sheet.Paths();
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(paths->GetCaption(), "Additional paths");
    EXPECT_EQ(Items(*paths), std::vector<std::string>{"C:\\Savers"}) << "trimmed, as stored";

    AddTyped(sheet, "c:\\savers\\");
    AddTyped(sheet, "D:\\More");
    EXPECT_EQ(Items(*paths), (std::vector<std::string>{"C:\\Savers", "c:\\savers\\", "D:\\More"}));
    ASSERT_TRUE(sheet.Close(PSBTN_OK));

    FlushIni();
    EXPECT_EQ(IniValue("Additional Path", "Path0"), "c:\\savers\\");
    EXPECT_EQ(IniValue("Additional Path", "Path1"), "d:\\more\\");
    EXPECT_EQ(IniValue("Additional Path", "Path2"), "<none>");
    // The options were written with the page's values.
    EXPECT_EQ(IniValue("Options", "ShowRandomOrder"), "0");
    EXPECT_EQ(IniValue("Options", "ShowForXMinuts"), "0");
    EXPECT_EQ(IniValue("Options", "ShowTime"), "15");
}

TEST_F(OptionsPage, StoredChoicesLoadAndSaveAsOneOrZero) {
    struct Case {
        const char* what;
        const char *order, *rotate, *minutes;  // null: key missing
        bool list, random, infinite, timed;    // radios checked
        bool minutesEnabled;
        const char* shownMinutes;
        const char *savedOrder, *savedRotate;
    };
    const Case cases[] = {
        {"nothing stored", nullptr, nullptr, nullptr, true, false, true, false, false, "15", "0",
         "0"},
        {"random, timed", "1", "1", "30", false, true, false, true, true, "30", "1", "1"},
        {"list, infinite", "0", "0", "7", true, false, true, false, false, "7", "0", "0"},
        {"values that are no choice", "2", "5", "0042", false, false, false, false, true, "0042",
         "0", "0"},
        {"negative values", "-1", "-3", "", false, false, false, false, true, "", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FlushIni();
        DeleteFileA(IniPath().c_str());
        if (c.order) Ini("Options", "ShowRandomOrder", c.order);
        if (c.rotate) Ini("Options", "ShowForXMinuts", c.rotate);
        if (c.minutes) Ini("Options", "ShowTime", c.minutes);
        FlushIni();

        OptionsSheet sheet;
        ASSERT_TRUE(sheet.Show());
        ASSERT_NE(sheet.OpenOptions(), nullptr);
        EXPECT_EQ(Checked(sheet.Item(IDC_LIST_ORDER)), c.list);
        EXPECT_EQ(Checked(sheet.Item(IDC_RANDOM_ORDER)), c.random);
        EXPECT_EQ(Checked(sheet.Item(IDC_SHOW_INFINITE)), c.infinite);
        EXPECT_EQ(Checked(sheet.Item(IDC_SHOW_MINUTES)), c.timed);
        EXPECT_EQ(IsWindowEnabled(sheet.Item(IDC_SHOW_TIME)) != FALSE, c.minutesEnabled);
        EXPECT_EQ(IsWindowEnabled(sheet.Item(IDC_SHOW_TIME_SPIN)) != FALSE, c.minutesEnabled);
        EXPECT_TRUE(IsWindowEnabled(sheet.Item(IDC_SHOW_MINUTES)));
        EXPECT_EQ(WindowText(sheet.Item(IDC_SHOW_TIME)), c.shownMinutes);
        EXPECT_FALSE(IsWindowVisible(sheet.Item(IDC_PASSWORD_NOTE)));
        INT low = 0, high = 0;
        SendMessageA(sheet.Item(IDC_SHOW_TIME_SPIN), UDM_GETRANGE32,
                     reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 1);
        EXPECT_EQ(high, 10000);
        ASSERT_TRUE(sheet.Close(PSBTN_OK));

        FlushIni();
        EXPECT_EQ(IniValue("Options", "ShowRandomOrder"), c.savedOrder);
        EXPECT_EQ(IniValue("Options", "ShowForXMinuts"), c.savedRotate);
        // The minutes text goes back exactly as the field holds it.
        EXPECT_EQ(IniValue("Options", "ShowTime"), c.shownMinutes);
    }
}

TEST_F(OptionsPage, RadiosSwitchTheMinutesAndAnEmptyFieldIsSavedEmpty) {
    OptionsSheet sheet;
    ASSERT_TRUE(sheet.Show());
    ASSERT_NE(sheet.OpenOptions(), nullptr);
    HWND edit = sheet.Item(IDC_SHOW_TIME);
    HWND spin = sheet.Item(IDC_SHOW_TIME_SPIN);
    struct Step {
        int click;
        bool enabled;
    };
    for (Step step : {Step{IDC_SHOW_MINUTES, true}, Step{IDC_SHOW_INFINITE, false},
                      Step{IDC_SHOW_MINUTES, true}}) {
        SendMessageA(sheet.Item(step.click), BM_CLICK, 0, 0);
        sheet.Settle();
        EXPECT_EQ(IsWindowEnabled(edit) != FALSE, step.enabled) << step.click;
        EXPECT_EQ(IsWindowEnabled(spin) != FALSE, step.enabled) << step.click;
    }
    // The order radios switch nothing.
    SendMessageA(sheet.Item(IDC_RANDOM_ORDER), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(edit));

    // The user empties the minutes field.
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    Key(VK_DELETE);
    ASSERT_TRUE(sheet.PumpUntil([&] { return WindowText(edit).empty(); }));
    ASSERT_TRUE(sheet.Close(PSBTN_OK));

    FlushIni();
    EXPECT_EQ(IniValue("Options", "ShowRandomOrder"), "1");
    EXPECT_EQ(IniValue("Options", "ShowForXMinuts"), "1");
    EXPECT_EQ(IniValue("Options", "ShowTime"), "") << "present, and empty";
    std::vector<std::string> lines = ReadLines(IniPath());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ShowTime="), lines.end());
}

// Red pixels of a window as the screen shows it.
int RedPixels(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
    RECT client{};
    GetClientRect(hwnd, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HDC window = GetDC(hwnd);
    BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, window);
    int red = 0;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (LONG i = 0; i < client.right * client.bottom; ++i) {
        DWORD p = pixels[i];  // 0x00RRGGBB
        if (((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80) ++red;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return red;
}

// "Rotate also when Windows asks for the password" ("1" only) lifts the note
// and the switch-off on the NT line (the 9x line: rotation_program_test).
TEST_F(OptionsPage, PasswordProtectionShowsTheNoteAndSwitchesTimingOff) {
    struct Case {
        const char* secure;
        const char* rotateWhenLocked;
        bool protectedScreen;
    };
    for (Case c : {Case{"1", nullptr, true}, Case{"0", nullptr, false}, Case{"1", "1", false},
                   Case{"1", "2", true}}) {
        SCOPED_TRACE(std::string(c.secure) + (c.rotateWhenLocked ? c.rotateWhenLocked : "-"));
        SetRegString(HKEY_CURRENT_USER, kDesktop, "ScreenSaverIsSecure", c.secure);
        WritePrivateProfileStringA("Options", "RotateWhenLocked", c.rotateWhenLocked, "Velmora.ini");
        Ini("Options", "ShowForXMinuts", "1");
        Ini("Options", "ShowTime", "20");
        FlushIni();

        OptionsSheet sheet;
        ASSERT_TRUE(sheet.Show());
        ASSERT_NE(sheet.OpenOptions(), nullptr);
        sheet.Settle();
        HWND note = sheet.Item(IDC_PASSWORD_NOTE);
        EXPECT_EQ(IsWindowVisible(note) != FALSE, c.protectedScreen);
        if (c.protectedScreen) {
            EXPECT_EQ(WindowText(note), "NOTE: Screensaver password protection detected, "
                                        "disactivate it for use this option");
            EXPECT_GT(RedPixels(note), 20) << "the note is written in red";
        }
        EXPECT_EQ(Checked(sheet.Item(IDC_SHOW_INFINITE)), c.protectedScreen);
        EXPECT_EQ(Checked(sheet.Item(IDC_SHOW_MINUTES)), !c.protectedScreen);
        EXPECT_EQ(IsWindowEnabled(sheet.Item(IDC_SHOW_MINUTES)) != FALSE, !c.protectedScreen);
        EXPECT_EQ(IsWindowEnabled(sheet.Item(IDC_MINUTES_LABEL)) != FALSE, !c.protectedScreen);
        EXPECT_EQ(IsWindowEnabled(sheet.Item(IDC_SHOW_TIME)) != FALSE, !c.protectedScreen);
        EXPECT_EQ(IsWindowEnabled(sheet.Item(IDC_SHOW_TIME_SPIN)) != FALSE, !c.protectedScreen);
        // The rest of the page's pixels are not red: the note's colour is its own.
        EXPECT_EQ(RedPixels(sheet.Item(IDC_LIST_ORDER)), 0);
        ASSERT_TRUE(sheet.Close(PSBTN_OK));

        FlushIni();
        EXPECT_EQ(IniValue("Options", "ShowForXMinuts"), c.protectedScreen ? "0" : "1");
        EXPECT_EQ(IniValue("Options", "ShowTime"), "20");
    }
}

TEST_F(OptionsPage, OptionsStayAsTheyWereUnlessOkFollowsOpeningThePage) {
    struct Case {
        const char* what;
        bool open;
        int button;
    };
    const Case cases[] = {
        {"OK without opening the page", false, PSBTN_OK},
        {"Cancel after changes on the page", true, PSBTN_CANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FlushIni();
        DeleteFileA(IniPath().c_str());
        Ini("Options", "ShowRandomOrder", "7");
        Ini("Options", "ShowForXMinuts", "1");
        Ini("Options", "ShowTime", "abc");
        Ini("Additional Path", "Path0", "  C:\\Mixed Case ");
        Ini("Additional Path", "Path1", "c:\\mixed case\\");
        Ini("Additional Path", "Path4", "after a gap");
        FlushIni();
        std::string before = ReadFileBytes(IniPath());

        OptionsSheet sheet;
        ASSERT_TRUE(sheet.Show());
        if (c.open) {
            ASSERT_NE(sheet.OpenOptions(), nullptr);
            SendMessageA(sheet.Item(IDC_LIST_ORDER), BM_CLICK, 0, 0);
            SendMessageA(sheet.Item(IDC_SHOW_INFINITE), BM_CLICK, 0, 0);
            AddTyped(sheet, "D:\\New");
        }
        EXPECT_EQ(sheet.options.IsCreated() != FALSE, c.open);
        ASSERT_TRUE(sheet.Close(c.button));
        FlushIni();
        EXPECT_EQ(ReadFileBytes(IniPath()), before);
    }
}

}  // namespace
