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

TEST(RunSessionTimer, OneMinuteRotationAndNoneWhenPasswordProtected) {
    FileRestorer ini{IniPath()};
    std::string trapline = SystemDir() + "\\Trapline.dll";
    FileRestorer installed{trapline};
    RegValueRestorer secure{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure"};
    TempDir savers{"slow"};
    std::string log = savers / "starts.log";
    ScopedEnv logVar{"VELMORA_SAVER_PROBE_LOG", log};
    CopyFileA((BinDir() + "\\Trapline.dll").c_str(), trapline.c_str(), FALSE);
    for (const char* name : {"one", "two"})
        CopyFileA((BinDir() + "\\probe.scr").c_str(), (savers / (std::string(name) + ".scr")).c_str(),
                  FALSE);

    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    DeleteFileA(IniPath().c_str());
    Ini("Screensaver", "Scr0", savers / "one.scr");
    Ini("Screensaver", "Scr1", savers / "two.scr");
    Ini("Screensaver", "nScr", "2");
    Ini("Options", "ShowForXMinuts", "1");
    Ini("Options", "ShowTime", "1");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    std::string exe = BinDir() + "\\Velmora.scr";

    for (const char* isSecure : {"0", "1"}) {
        SCOPED_TRACE(std::string("ScreenSaverIsSecure = ") + isSecure);
        SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", isSecure);
        DeleteFileA(log.c_str());
        SetCursorPos(500, 400);
        Process scr;
        ASSERT_TRUE(scr.Start(exe, "\"" + exe + "\" /s"));
        ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(log).size() == 1; }, 20000));
        // The show time is one minute: by 75 seconds the timer has fired once.
        bool rotated = WaitUntil([&] { return ReadProbeLog(log).size() >= 2; }, 75000);
        EXPECT_EQ(rotated, isSecure[0] == '0');
        EXPECT_EQ(ReadProbeLog(log).size(), isSecure[0] == '0' ? 2u : 1u);
        EXPECT_TRUE(scr.Running());
        SetCursorPos(100, 100);
        PumpFor(50);
        SetCursorPos(700, 500);
        EXPECT_TRUE(scr.WaitForExit(20000));
    }
}

}  // namespace
