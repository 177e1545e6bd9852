// The x64 edition with the screensavers that 32-bit installers put into
// SysWOW64: Velmora.scr plays one there, named by its real path, and the
// returning user ends both. It needs 32-bit code (ctest skips it where none
// runs).
#include <vector>

#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

std::string SysWow64() {
    char folder[MAX_PATH] = "";
    GetSystemWow64DirectoryA(folder, sizeof folder);
    return folder;
}

TEST_F(RunSession, ThirtyTwoBitScreensaverOfSysWow64IsPlayed) {
    const std::string saver = SysWow64() + "\\probe32.scr";
    FileRestorer placed{saver};
    ASSERT_TRUE(CopyFileA((BinDir() + "\\probe32.scr").c_str(), saver.c_str(), FALSE));
    SetList({saver});
    SetOptions(false);

    Process scr;
    ProbeStart first;
    ASSERT_TRUE(StartRunToFirst(scr, first));
    EXPECT_EQ(first.ppid, scr.Id());
    EXPECT_EQ(first.commandLine, ShortPath(saver) + " /s");
    HWND window = FindWindowA("VelmoraProbe32", "Velmora Probe32");
    EXPECT_NE(window, nullptr);

    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_TRUE(WaitUntil([&] { return !ProcessAlive(first.pid); }, kWait));
}

}  // namespace
}  // namespace run_session_test
