// The settings dialog of aurora.scr and orbits.scr, started with /c as
// Display Properties starts it: the stored value shown, changed with the
// keyboard, kept by OK only, and the window that owns it.
#include <gtest/gtest.h>

#include <string>

#include "tests/demos/demo_fixture.h"

#include <commctrl.h>

namespace {

using namespace vtest;

class DemoSettings : public ::testing::TestWithParam<DemoSaver> {};

INSTANTIATE_TEST_SUITE_P(Savers, DemoSettings, ::testing::ValuesIn(kDemoSavers),
                         [](const ::testing::TestParamInfo<DemoSaver>& info) {
                             return std::string(info.param.section);
                         });

// The settings dialog of a started saver, with its trackbar and value label.
struct SettingsDialog {
    HWND dialog = nullptr;
    HWND bar = nullptr;
    HWND value = nullptr;
    int Position() const { return static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0)); }
};

SettingsDialog WaitForSettings(const Process& saver, const DemoSaver& kind) {
    SettingsDialog d;
    d.dialog = WaitForDialog(saver.Id(), std::string(kind.name) + " Settings", kDemoWait);
    if (!d.dialog) return d;
    d.bar = FindDescendant(d.dialog, TRACKBAR_CLASSA);
    // The label that repeats the value is the one that changes with it.
    for (HWND child = GetWindow(d.dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (lstrcmpiA(ClassNameOf(child).c_str(), "Static") == 0 &&
            WindowText(child) == ValueText(kind, d.Position()))
            d.value = child;
    return d;
}

// The dialog shows the stored value, brought into the saver's range.
TEST_P(DemoSettings, SettingsShowTheStoredValueInRange) {
    const DemoSaver& kind = GetParam();
    DemoSettingsKeeper keep;
    struct Case {
        const char* stored;  // nullptr: no value stored
        int shown;
    };
    const std::string inside = std::to_string(kind.minimum + 1);
    const Case table[] = {{nullptr, kind.fallback},
                          {inside.c_str(), kind.minimum + 1},
                          {"99", kind.maximum},
                          {"-4", kind.minimum}};
    for (const Case& c : table) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        StoreSetting(kind, c.stored);
        Process saver;
        ASSERT_TRUE(StartSaver(saver, kind, "/c"));
        SettingsDialog d = WaitForSettings(saver, kind);
        ASSERT_NE(d.dialog, nullptr);
        ASSERT_NE(d.bar, nullptr);
        EXPECT_EQ(SendMessageA(d.bar, TBM_GETRANGEMIN, 0, 0), kind.minimum);
        EXPECT_EQ(SendMessageA(d.bar, TBM_GETRANGEMAX, 0, 0), kind.maximum);
        EXPECT_EQ(d.Position(), c.shown);
        EXPECT_NE(d.value, nullptr) << "a label reads " << ValueText(kind, c.shown);
        PressButton(d.dialog, IDCANCEL);
        EXPECT_TRUE(saver.WaitForExit(kDemoWait));
    }
}

// Presses a key in the trackbar, as a user with the dialog in front does,
// and waits for the label to follow.
bool PressKey(const SettingsDialog& d, const DemoSaver& kind, UINT key, int expected) {
    PostMessageA(d.bar, WM_KEYDOWN, key, 1);
    PostMessageA(d.bar, WM_KEYUP, key, 0xC0000001);
    return WaitUntil([&] { return d.Position() == expected &&
                                  WindowText(d.value) == ValueText(kind, expected); },
                     kDemoWait);
}

// The value a restarted dialog shows; it is closed by Cancel.
int ShownByANewDialog(const DemoSaver& kind) {
    Process saver;
    if (!StartSaver(saver, kind, "/c")) return -1;
    SettingsDialog d = WaitForSettings(saver, kind);
    if (!d.dialog || !d.bar) return -1;
    int shown = d.Position();
    PressButton(d.dialog, IDCANCEL);
    return saver.WaitForExit(kDemoWait) ? shown : -1;
}

TEST_P(DemoSettings, SettingsOkKeepsTheNewValue) {
    const DemoSaver& kind = GetParam();
    DemoSettingsKeeper keep;
    const int start = kind.minimum + 2;
    struct Case {
        const char* what;
        UINT key;
        int expected;
    };
    const Case table[] = {{"right", VK_RIGHT, start + 1},
                          {"left", VK_LEFT, start - 1},
                          {"end", VK_END, kind.maximum},
                          {"home", VK_HOME, kind.minimum}};
    for (const Case& c : table) {
        SCOPED_TRACE(c.what);
        StoreSetting(kind, std::to_string(start).c_str());
        Process saver;
        ASSERT_TRUE(StartSaver(saver, kind, "/c"));
        SettingsDialog d = WaitForSettings(saver, kind);
        ASSERT_NE(d.dialog, nullptr);
        ASSERT_NE(d.value, nullptr);
        ASSERT_EQ(d.Position(), start);
        ASSERT_TRUE(PressKey(d, kind, c.key, c.expected)) << WindowText(d.value);
        EXPECT_EQ(StoredSetting(kind), std::to_string(start)) << "nothing is kept before OK";
        PressButton(d.dialog, IDOK);
        ASSERT_TRUE(saver.WaitForExit(kDemoWait));
        EXPECT_EQ(saver.ExitCode(), 0u);
        EXPECT_EQ(StoredSetting(kind), std::to_string(c.expected));
        EXPECT_EQ(ShownByANewDialog(kind), c.expected);
    }
}

TEST_P(DemoSettings, SettingsCancelKeepsTheOldValue) {
    const DemoSaver& kind = GetParam();
    DemoSettingsKeeper keep;
    const int start = kind.maximum - 1;
    for (bool byCloseBox : {false, true}) {
        SCOPED_TRACE(byCloseBox ? "close box" : "Cancel");
        StoreSetting(kind, std::to_string(start).c_str());
        const std::string before = ReadFileBytes(DemoIniPath());
        Process saver;
        ASSERT_TRUE(StartSaver(saver, kind, "/c"));
        SettingsDialog d = WaitForSettings(saver, kind);
        ASSERT_NE(d.dialog, nullptr);
        ASSERT_NE(d.value, nullptr);
        ASSERT_TRUE(PressKey(d, kind, VK_HOME, kind.minimum));
        if (byCloseBox)
            PostMessageA(d.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PressButton(d.dialog, IDCANCEL);
        ASSERT_TRUE(saver.WaitForExit(kDemoWait));
        EXPECT_EQ(saver.ExitCode(), 0u);
        EXPECT_EQ(ReadFileBytes(DemoIniPath()), before) << "the file is left alone";
        EXPECT_EQ(ShownByANewDialog(kind), start);
    }
}

// Display Properties passes its own window after "/c:"; "/c" alone means the
// window in front; a start without arguments has no owner.
TEST_P(DemoSettings, SettingsAreOwnedByTheWindowTheyAreGiven) {
    const DemoSaver& kind = GetParam();
    HostWindow owner(100, 100, 240, 120, RGB(0, 128, 128));
    ASSERT_NE(owner.Hwnd(), nullptr);
    struct Case {
        std::string arguments;
        HWND owner;
    };
    const Case table[] = {{"/c:" + owner.HandleText(), owner.Hwnd()},
                          {"/c " + owner.HandleText(), owner.Hwnd()},
                          {"/c", owner.Hwnd()},
                          {"", nullptr}};
    for (const Case& c : table) {
        SCOPED_TRACE("\"" + c.arguments + "\"");
        SetForegroundWindow(owner.Hwnd());
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == owner.Hwnd(); }, kDemoWait));
        Process saver;
        ASSERT_TRUE(StartSaver(saver, kind, c.arguments));
        SettingsDialog d = WaitForSettings(saver, kind);
        ASSERT_NE(d.dialog, nullptr);
        EXPECT_EQ(GetWindow(d.dialog, GW_OWNER), c.owner);
        EXPECT_TRUE(saver.Running());
        PressButton(d.dialog, IDCANCEL);
        EXPECT_TRUE(saver.WaitForExit(kDemoWait));
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

}  // namespace
