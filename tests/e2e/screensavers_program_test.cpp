// The catalogue page of the real Velmora.exe, started as a user starts it and
// driven from outside with real mouse clicks: the catalogue and the stored
// rotation list it shows, adding a row, a full-screen trial, and what OK
// writes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/remote_list.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 20000;

void FlushIni() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

void Ini(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), "Velmora.ini");
}

std::vector<std::string> Section(const char* name) {
    std::vector<char> buffer(8192);
    DWORD n = GetPrivateProfileSectionA(name, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        "Velmora.ini");
    std::vector<std::string> lines;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += lstrlenA(p) + 1)
        lines.push_back(p);
    return lines;
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n ? std::string(buffer, n) : path;
}

class ScreensaversProgram : public ::testing::Test {
protected:
    void SetUp() override {
        FlushIni();
        DeleteFileA(IniPath().c_str());
    }
    void TearDown() override { FlushIni(); }

    std::string AddSaver(const std::string& fileName) {
        std::string path = savers / fileName;
        CopyFileA((BinDir() + "\\probe.scr").c_str(), path.c_str(), FALSE);
        return path;
    }

    FileRestorer ini{IniPath()};
    TempDir savers{"catalogue"};
    std::string log = savers / "starts.log";
    ScopedEnv logVar{"VELMORA_SAVER_PROBE_LOG", log};
};

TEST_F(ScreensaversProgram, AUserAddsASaverTriesItAndPressesOk) {
    const std::string alpha = AddSaver("Alpha Probe Saver.scr");
    const std::string beta = AddSaver("Beta Probe Saver.scr");
    const std::string probe = AddSaver("vtprobe.scr");
    Ini("Additional Path", "Path0", savers.path() + "\\");
    Ini("Screensaver", "nScr", "1");
    Ini("Screensaver", "Scr0", beta);
    Ini("Screensaver", "LastScrShow", "0");
    Ini("Options", "ShowTime", "3");
    FlushIni();

    Process program;
    const std::string exe = BinDir() + "\\Velmora.exe";
    ASSERT_TRUE(program.Start(exe, "\"" + exe + "\"", BinDir()));
    HWND sheet = WaitForDialog(program.Id(), "Velmora 2.0.1", kWait);
    ASSERT_NE(sheet, nullptr);
    WaitUntil([&] { return IsWindowVisible(sheet) != FALSE; }, kWait);
    SetForegroundWindow(sheet);
    WaitUntil([&] { return GetForegroundWindow() == sheet; }, kWait);
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_EQ(WindowText(page), "Screensavers");
    RemoteList catalogue(GetDlgItem(page, 1002), program.Id());
    RemoteList rotation(GetDlgItem(page, 1001), program.Id());
    ASSERT_TRUE(catalogue.Usable() && rotation.Usable());

    EXPECT_EQ(catalogue.Column(0),
              (std::vector<std::string>{"Alpha Probe Saver", "Beta Probe Saver", "Velmora Probe"}));
    EXPECT_EQ(catalogue.Column(1), (std::vector<std::string>{alpha, beta, probe}));
    EXPECT_EQ(rotation.Column(0), std::vector<std::string>{"Beta Probe Saver"});
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1004)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1003)));

    // The page enables the buttons one after another as it handles the
    // click: wait for the last of them.
    catalogue.Click(0);
    WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, 1003)) && IsWindowEnabled(GetDlgItem(page, 1008)); },
              kWait);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(page, 1003)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1008)));
    SendMessageA(GetDlgItem(page, 1003), BM_CLICK, 0, 0);
    EXPECT_EQ(rotation.Column(0), (std::vector<std::string>{"Beta Probe Saver", "Alpha Probe Saver"}));

    // Preview starts the marked saver full screen and does not wait for it.
    catalogue.Click(2);
    // Preview runs the marked row; the click marks it as the button goes down.
    ASSERT_TRUE(WaitUntil([&] { return catalogue.Mark() == 2; }, kWait));
    SendMessageA(GetDlgItem(page, 1008), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !ReadProbeLog(log).empty(); }, kWait));
    const ProbeStart start = ReadProbeLog(log)[0];
    OpenedProcess trial(start.pid);
    EXPECT_EQ(start.commandLine, ShortPath(probe) + " /s");
    EXPECT_TRUE(SamePath(start.currentDir, savers.path())) << start.currentDir;
    EXPECT_EQ(start.ppid, program.Id());
    EXPECT_TRUE(trial.Running());
    EXPECT_TRUE(program.Running());

    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(program.WaitForExit(kWait));
    FlushIni();
    EXPECT_EQ(Section("Screensaver"),
              (std::vector<std::string>{"Scr0=" + beta, "Scr1=" + alpha, "nScr=2"}));
    EXPECT_EQ(Section("Options"), std::vector<std::string>{"ShowTime=3"});
}

}  // namespace
