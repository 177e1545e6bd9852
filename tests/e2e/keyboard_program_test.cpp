// Velmora.exe from the keyboard alone, as a user without a mouse meets it:
// Ctrl+Tab through every page, a screensaver added to the rotation list with
// the arrow keys and Enter on the picture button, the order changed with an
// arrow key, and Enter for OK; the settings file shows both changes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "resources/velmora_exe_ids.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 20000;

void Key(WORD vk, bool control = false, bool shift = false) {
    INPUT in[6]{};
    int n = 0;
    auto add = [&](WORD key, bool up) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = key;
        in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++n;
    };
    if (control) add(VK_CONTROL, false);
    if (shift) add(VK_SHIFT, false);
    add(vk, false);
    add(vk, true);
    if (shift) add(VK_SHIFT, true);
    if (control) add(VK_CONTROL, true);
    SendInput(static_cast<UINT>(n), in, sizeof(INPUT));
}

std::string IniValue(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

struct Program : ConfigProgram {
    DWORD thread = sheet ? GetWindowThreadProcessId(sheet, nullptr) : 0;
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }
    int Page() const {
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
    }
    HWND Item(int id) const {
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        return GetDlgItem(page, id);
    }
    // Tab until the control has the focus.
    bool TabTo(HWND control) {
        for (int i = 0; i < 30 && Focus() != control; ++i) {
            Key(VK_TAB);
            WaitUntil([&] { return Focus() == control; }, 300);
        }
        return Focus() == control;
    }
};

TEST(KeyboardProgram, EveryPageAListEntryAnOptionAndOkFromTheKeys) {
    FileRestorer ini(IniPath());
    TempDir savers("keys");
    const std::string saver = savers / "Alpha Probe Saver.scr";
    CopyFileA((BinDir() + "\\probe.scr").c_str(), saver.c_str(), FALSE);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    DeleteFileA(IniPath().c_str());
    WritePrivateProfileStringA("Additional Path", "Path0", (savers.path() + "\\").c_str(), "Velmora.ini");
    WritePrivateProfileStringA("Screensaver", "nScr", "0", "Velmora.ini");
    WritePrivateProfileStringA("Options", "ShowRandomOrder", "0", "Velmora.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");

    Program program;
    ASSERT_NE(program.sheet, nullptr);
    SetForegroundWindow(program.sheet);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program.sheet; }, kWait));

    // Ctrl+Tab reaches every page in turn and comes round; Ctrl+Shift+Tab
    // goes back.
    for (int expected : {1, 2, 3, 4, 0}) {
        Key(VK_TAB, true);
        EXPECT_TRUE(WaitUntil([&] { return program.Page() == expected; }, kWait)) << expected;
    }
    Key(VK_TAB, true, true);
    EXPECT_TRUE(WaitUntil([&] { return program.Page() == 4; }, kWait));
    Key(VK_TAB, true);
    ASSERT_TRUE(WaitUntil([&] { return program.Page() == 0; }, kWait));

    // The catalogue: the arrow key selects the saver, Enter on the focused
    // picture button adds it.
    HWND available = program.Item(IDC_AVAILABLE_LIST);
    HWND selected = program.Item(IDC_SELECTED_LIST);
    ASSERT_TRUE(program.TabTo(available));
    Key(VK_DOWN);
    HWND add = program.Item(IDC_ADD_SELECTED);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(add) != FALSE; }, kWait))
        << SendMessageA(available, LVM_GETITEMCOUNT, 0, 0) << " listed, "
        << SendMessageA(available, LVM_GETSELECTEDCOUNT, 0, 0) << " selected, focus "
        << ClassNameOf(program.Focus());
    ASSERT_TRUE(program.TabTo(add));
    Key(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(selected, LVM_GETITEMCOUNT, 0, 0) == 1; }, kWait));
    EXPECT_TRUE(IsWindow(program.sheet));  // Enter clicked the button, not OK

    // The order: an arrow key inside the radio group.
    Key(VK_TAB, true);
    ASSERT_TRUE(WaitUntil([&] { return program.Page() == 1; }, kWait));
    HWND listOrder = program.Item(IDC_LIST_ORDER);
    HWND randomOrder = program.Item(IDC_RANDOM_ORDER);
    ASSERT_TRUE(program.TabTo(listOrder));
    Key(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(randomOrder, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kWait));

    // Enter: OK.
    Key(VK_RETURN);
    ASSERT_TRUE(program.process.WaitForExit(kWait));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    EXPECT_EQ(IniValue("Screensaver", "nScr"), "1");
    EXPECT_TRUE(SamePath(LongPath(IniValue("Screensaver", "Scr0")), saver)) << IniValue("Screensaver", "Scr0");
    EXPECT_EQ(IniValue("Options", "ShowRandomOrder"), "1");
}

}  // namespace
