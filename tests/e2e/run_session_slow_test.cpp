// The real rotation timer: one-minute show times, waited for.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

std::string SystemDir() {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n);
}

void Ini(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), "Velmora.ini");
}

// A run with two probes and the show time at one minute, in the given state
// of password protection.
class RunSessionTimer : public ::testing::Test {
protected:
    void SetUp() override {
        CopyFileA((BinDir() + "\\Trapline.dll").c_str(), trapline.c_str(), FALSE);
        for (const char* name : {"one", "two"})
            CopyFileA((BinDir() + "\\probe.scr").c_str(),
                      (savers / (std::string(name) + ".scr")).c_str(), FALSE);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        DeleteFileA(IniPath().c_str());
        Ini("Screensaver", "Scr0", savers / "one.scr");
        Ini("Screensaver", "Scr1", savers / "two.scr");
        Ini("Screensaver", "nScr", "2");
        Ini("Options", "ShowForXMinuts", "1");
        Ini("Options", "ShowTime", "1");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    }

    // Starts the run and waits for its first screensaver; then waits (at
    // most 75 seconds: the show time is one minute) for a second one and
    // tells whether it came. The run is still going; the user then returns.
    void RunAndWaitForRotation(const char* isSecure, bool expectRotation,
                               const char* rotateWhenLocked = nullptr) {
        SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", isSecure);
        WritePrivateProfileStringA("Options", "RotateWhenLocked", rotateWhenLocked, "Velmora.ini");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        SetCursorPos(500, 400);
        std::string exe = BinDir() + "\\Velmora.scr";
        Process scr;
        ASSERT_TRUE(scr.Start(exe, "\"" + exe + "\" /s"));
        ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(log).size() == 1; }, 20000));
        bool rotated = WaitUntil([&] { return ReadProbeLog(log).size() >= 2; }, 75000);
        EXPECT_EQ(rotated, expectRotation);
        EXPECT_EQ(ReadProbeLog(log).size(), expectRotation ? 2u : 1u);
        EXPECT_TRUE(scr.Running());
        SetCursorPos(100, 100);
        PumpFor(50);
        SetCursorPos(700, 500);
        EXPECT_TRUE(scr.WaitForExit(20000));
    }

    // Wine writes its cached copy of the file out later, even over the
    // restored one: out first, then restored.
    void TearDown() override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }
    FileRestorer ini{IniPath()};
    std::string trapline = SystemDir() + "\\Trapline.dll";
    FileRestorer installed{trapline};
    RegValueRestorer secure{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure"};
    RegValueRestorer usePassword{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword"};
    TempDir savers{"slow"};
    std::string log = savers / "starts.log";
    ScopedEnv logVar{"VELMORA_SAVER_PROBE_LOG", log};
};

TEST_F(RunSessionTimer, OneMinuteRotation) { RunAndWaitForRotation("0", true); }

// Show times of their own, one and two minutes, each counted from the start
// of its screensaver (the Options page's 15 minutes apply to neither).
TEST_F(RunSessionTimer, OwnShowTimesOfOneAndTwoMinutes) {
    Ini("Options", "ShowTime", "15");
    Ini("Screensaver", "Time0", "1");
    Ini("Screensaver", "Time1", "2");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", "0");
    SetCursorPos(500, 400);
    std::string exe = BinDir() + "\\Velmora.scr";
    Process scr;
    ASSERT_TRUE(scr.Start(exe, "\"" + exe + "\" /s"));
    DWORD started[3] = {};
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(log).size() > i; }, 160000)) << i;
        started[i] = GetTickCount();
    }
    const std::vector<ProbeStart> starts = ReadProbeLog(log);
    EXPECT_NE(starts[0].commandLine.find("one"), std::string::npos) << starts[0].commandLine;
    EXPECT_NE(starts[1].commandLine.find("two"), std::string::npos) << starts[1].commandLine;
    const DWORD first = started[1] - started[0], second = started[2] - started[1];
    EXPECT_GE(first, 58000u);
    EXPECT_LE(first, 70000u);
    EXPECT_GE(second, 118000u);
    EXPECT_LE(second, 130000u);
    SetCursorPos(100, 100);
    PumpFor(50);
    SetCursorPos(700, 500);
    EXPECT_TRUE(scr.WaitForExit(20000));
}

TEST_F(RunSessionTimer, NoRotationWhenPasswordProtected) { RunAndWaitForRotation("1", false, "0"); }

// Asked to rotate all the same: on the NT line Windows, not the screensaver,
// asks for the password when Velmora.scr ends, so the run rotates as one
// without protection and the returning user still ends it.
TEST_F(RunSessionTimer, RotatesWhenProtectedAndAskedTo) { RunAndWaitForRotation("1", true, "1"); }

// On the 9x line a protected screensaver asks for the password itself when
// it is closed: the setting changes nothing there.
TEST_F(RunSessionTimer, NoRotationOnNineXEvenWhenAskedTo) {
    SetRegDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    WineVersionFor win98("Velmora.scr", "win98");
    RunAndWaitForRotation("0", false, "1");
}

}  // namespace
