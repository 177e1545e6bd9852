// Whole runs: Velmora.scr /s started as Windows starts it, rotating copies of
// the probe screensaver, with Trapline.dll installed in the system folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 20000;

std::string SystemDir() {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n);
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n ? std::string(buffer, n) : path;
}

void Ini(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), "Velmora.ini");
}

std::string IniValue(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

bool ProcessAlive(DWORD pid) {
    HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!p) return false;
    bool alive = WaitForSingleObject(p, 0) == WAIT_TIMEOUT;
    CloseHandle(p);
    return alive;
}

class RunSession : public ::testing::Test {
protected:
    void SetUp() override {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        DeleteFileA(IniPath().c_str());
        InstallTrapline("Trapline.dll");
        SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", "0");
        SetCursorPos(500, 400);
    }
    void TearDown() override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

    void InstallTrapline(const char* builtName) {
        CopyFileA((BinDir() + "\\" + builtName).c_str(), trapline.c_str(), FALSE);
    }

    // A copy of the probe under the given name, with its behaviour.
    std::string AddSaver(const std::string& folder, const std::string& name,
                         const char* behaviour = "normal") {
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string path = folder + "\\" + name + ".scr";
        CopyFileA((BinDir() + "\\probe.scr").c_str(), path.c_str(), FALSE);
        WritePrivateProfileStringA("Probe", "Behaviour", behaviour,
                                   (folder + "\\" + name + ".ini").c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, (folder + "\\" + name + ".ini").c_str());
        return path;
    }

    void SetList(const std::vector<std::string>& entries) {
        WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
        for (size_t i = 0; i < entries.size(); ++i)
            Ini("Screensaver", ("Scr" + std::to_string(i)).c_str(), entries[i]);
        Ini("Screensaver", "nScr", std::to_string(entries.size()));
    }

    void SetOptions(bool rotate, int minutes = 15, bool random = false) {
        Ini("Options", "ShowRandomOrder", random ? "1" : "0");
        Ini("Options", "ShowForXMinuts", rotate ? "1" : "0");
        Ini("Options", "ShowTime", std::to_string(minutes));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    }

    bool StartRun(Process& scr) {
        std::string exe = BinDir() + "\\Velmora.scr";
        return scr.Start(exe, "\"" + exe + "\" /s");
    }

    std::vector<ProbeStart> Starts() { return ReadProbeLog(log); }

    bool WaitForStarts(size_t n) {
        return WaitUntil([&] { return Starts().size() >= n; }, kWait);
    }

    // The probe's full-screen window, once it is up and in front.
    bool WaitForForeground(DWORD pid) {
        return WaitUntil(
            [&] {
                DWORD owner = 0;
                GetWindowThreadProcessId(GetForegroundWindow(), &owner);
                return owner == pid;
            },
            kWait);
    }

    static void ReturningUser() {
        SetCursorPos(100, 100);
        PumpFor(50);
        SetCursorPos(700, 500);
    }

    static void Rotate() {
        HWND session = FindWindowA(nullptr, "VelmoraScrWnd");
        ASSERT_NE(session, nullptr);
        PostMessageA(session, WM_TIMER, 1, 0);
    }

    std::string trapline = SystemDir() + "\\Trapline.dll";
    FileRestorer ini{IniPath()};
    FileRestorer installed{trapline};
    RegValueRestorer secure{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure"};
    TempDir savers{"savers"};
    std::string log = savers / "starts.log";
    ScopedEnv logVar{"VELMORA_SAVER_PROBE_LOG", log};
};

TEST_F(RunSession, OneEntryRunsUntilTheUserReturns) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({alpha});
    SetOptions(false);

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    ASSERT_TRUE(WaitForStarts(1));
    ProbeStart start = Starts()[0];
    EXPECT_EQ(start.ppid, scr.Id());
    EXPECT_EQ(start.commandLine, ShortPath(alpha) + " /s");
    EXPECT_TRUE(SamePath(start.currentDir, savers.path())) << start.currentDir;
    ASSERT_TRUE(WaitForForeground(start.pid));

    // A second start while the run goes on ends at once and starts nothing.
    {
        Process second;
        ASSERT_TRUE(StartRun(second));
        EXPECT_TRUE(second.WaitForExit(kWait));
        PumpFor(300);
        EXPECT_EQ(Starts().size(), 1u);
    }

    EXPECT_TRUE(scr.Running());
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_FALSE(ProcessAlive(start.pid));
    EXPECT_EQ(Starts().size(), 1u);
    EXPECT_EQ(FindWindowA(nullptr, "VelmoraScrWnd"), nullptr);
    EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), "<none>");
}

TEST_F(RunSession, RotationClosesTheChildInListOrderOnEveryWindowsLine) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    std::string beta = AddSaver(savers.path(), "beta");
    std::string gamma = AddSaver(savers.path(), "gamma");
    for (const char* version : {"win98", "vista", "win7"}) {
        SCOPED_TRACE(version);
        WineVersionFor pretend("Velmora.scr", version);
        DeleteFileA(log.c_str());
        SetList({alpha, beta, gamma});
        SetOptions(true, 15);

        Process scr;
        ASSERT_TRUE(StartRun(scr));
        const std::vector<std::string> expected = {alpha, beta, gamma, alpha};
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_TRUE(WaitForStarts(i + 1)) << "start " << i;
            ProbeStart start = Starts()[i];
            EXPECT_EQ(start.commandLine, ShortPath(expected[i]) + " /s");
            EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), std::to_string(i % 3));
            ASSERT_TRUE(WaitForForeground(start.pid));
            if (i + 1 < expected.size()) {
                Rotate();
                ASSERT_TRUE(WaitUntil([&] { return !ProcessAlive(start.pid); }, kWait))
                    << "the rotation closes the running probe";
            }
        }
        EXPECT_TRUE(scr.Running());
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_EQ(Starts().size(), expected.size());
    }
}

TEST_F(RunSession, HandOffProcessIsWaitedFor) {
    std::string relay = AddSaver(savers.path(), "relay", "handoff");
    SetList({relay});
    SetOptions(false);

    Process scr;
    ASSERT_TRUE(StartRun(scr));
    ASSERT_TRUE(WaitForStarts(2));
    std::vector<ProbeStart> starts = Starts();
    EXPECT_EQ(starts[0].ppid, scr.Id());
    EXPECT_EQ(starts[1].ppid, starts[0].pid);
    ASSERT_TRUE(WaitUntil([&] { return !ProcessAlive(starts[0].pid); }, kWait));
    ASSERT_TRUE(WaitForForeground(starts[1].pid));
    PumpFor(500);
    EXPECT_TRUE(scr.Running()) << "the runner waits for the process the child handed over to";
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
    EXPECT_FALSE(ProcessAlive(starts[1].pid));
}

TEST_F(RunSession, DamagedHookLibraryIsReportedAndNothingStarts) {
    std::string alpha = AddSaver(savers.path(), "alpha");
    SetList({alpha});
    SetOptions(false);
    for (const char* variant : {"", "trapline_noname.dll", "trapline_refuse.dll"}) {
        SCOPED_TRACE(*variant ? variant : "missing");
        if (*variant)
            InstallTrapline(variant);
        else
            DeleteFileA(trapline.c_str());
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        HWND box = WaitForDialog(scr.Id(), "Velmora Error", kWait);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box),
                  "Unable to load or initialize Trapline.dll, file damaged or not found.\n"
                  "Try to uninstall and reinstall Velmora");
        PressButton(box, IDOK);
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(Starts().empty());
    }
}

TEST_F(RunSession, MissingBrokenAndSpacedEntries) {
    std::string spaced = AddSaver(savers / "my savers", "Deep Sea Saver");
    std::string failing = AddSaver(savers.path(), "failing", "fail");
    std::string gone = savers / "gone.scr";
    std::string notAProgram = savers / "text.scr";
    WriteFileBytes(notAProgram, "not a program\r\n");

    // A deleted entry is skipped; the one after it (in a folder with spaces) runs.
    SetList({gone, spaced});
    SetOptions(true);
    {
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        ASSERT_TRUE(WaitForStarts(1));
        ProbeStart start = Starts()[0];
        EXPECT_EQ(start.commandLine, ShortPath(spaced) + " /s");
        EXPECT_TRUE(SamePath(start.currentDir, savers / "my savers"));
        ASSERT_TRUE(WaitForForeground(start.pid));
        ReturningUser();
        EXPECT_TRUE(scr.WaitForExit(kWait));
    }

    // Only missing entries: the run ends after one miss per entry.
    DeleteFileA(log.c_str());
    SetList({gone, gone + "2", gone + "3"});
    {
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(Starts().empty());
    }

    // A child that cannot start, or one that ends at once with no tick, ends the run.
    for (const std::string& entry : {notAProgram, failing}) {
        SCOPED_TRACE(entry);
        DeleteFileA(log.c_str());
        SetList({entry, spaced});
        Process scr;
        ASSERT_TRUE(StartRun(scr));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        PumpFor(300);
        EXPECT_EQ(Starts().size(), entry == failing ? 1u : 0u);
    }
}

}  // namespace
