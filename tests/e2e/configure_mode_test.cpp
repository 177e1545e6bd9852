// Velmora.scr started as Windows starts it for its one-shot modes: Configure
// (which starts Velmora.exe), ChangePassword and unknown switches.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/win_test_support.h"

#include <commctrl.h>

namespace {

using namespace vtest;

constexpr DWORD kWait = 15000;

class ConfigureMode : public ::testing::Test {
protected:
    void SetUp() override {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        DeleteFileA(IniPath().c_str());
    }

    std::string Scr() const { return BinDir() + "\\Velmora.scr"; }

    // The probe copied into a folder under the name of the configuration program.
    std::string PlaceProbe(const std::string& folder) {
        std::string target = folder + "\\Velmora.exe";
        CopyFileA((BinDir() + "\\config_probe.exe").c_str(), target.c_str(), FALSE);
        return target;
    }

    void StoreProgramPath(const std::string& path) {
        WritePrivateProfileStringA("General", "ProgramPath", path.c_str(), "Velmora.ini");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    }

    bool StartScr(Process& scr, const std::string& arguments) {
        return scr.Start(Scr(), "\"" + Scr() + "\" " + arguments, folder.path());
    }

    // The shell's folder browser, known by our title inside it.
    static HWND WaitForBrowser(const Process& scr) {
        HWND browser = nullptr;
        WaitUntil(
            [&] {
                HWND d = AnyDialogOf(scr.Id());
                if (!d) return false;
                for (const std::string& t : StaticTexts(d))
                    if (t == "Path where Velmora.exe is located") {
                        browser = d;
                        return true;
                    }
                return false;
            },
            kWait);
        return browser;
    }

    FileRestorer ini{IniPath()};
    TempDir folder{"cfg"};
    TempDir other{"cfgother"};
    NamedEvent release{"release"};
    ScopedEnv logVar{"VELMORA_CONFIG_PROBE_LOG", folder / "probe.log"};
    ScopedEnv releaseVar{"VELMORA_CONFIG_PROBE_RELEASE", release.name()};
};

TEST_F(ConfigureMode, StartsTheStoredProgramAndWaitsForIt) {
    std::string program = PlaceProbe(other.path());
    StoreProgramPath(program);
    std::string before = ReadFileBytes(IniPath());

    for (const char* arguments : {"/c", "", "/c:0"}) {
        SCOPED_TRACE(arguments);
        DeleteFileA((folder / "probe.log").c_str());
        release.Reset();
        Process scr;
        ASSERT_TRUE(StartScr(scr, arguments));
        ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(folder / "probe.log").size() == 1; },
                              kWait));
        std::vector<ProbeStart> starts = ReadProbeLog(folder / "probe.log");
        EXPECT_EQ(starts[0].ppid, scr.Id());
        EXPECT_EQ(ArgumentsOf(starts[0].commandLine), "") << starts[0].commandLine;
        EXPECT_TRUE(SamePath(starts[0].currentDir, other.path())) << starts[0].currentDir;

        // While the configuration program runs, the screensaver waits for it
        // and shows nothing.
        PumpFor(500);
        EXPECT_TRUE(scr.Running());
        EXPECT_EQ(AnyDialogOf(scr.Id()), nullptr);
        release.Set();
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_EQ(ReadFileBytes(IniPath()), before) << "ProgramPath must not be rewritten";
    }
}

TEST_F(ConfigureMode, MissingProgramAsksForTheFolderUntilCancelled) {
    struct Case {
        const char* what;
        std::string stored;  // empty: no ProgramPath key at all
    };
    const Case cases[] = {
        {"no ProgramPath", ""},
        {"ProgramPath pointing at nothing", other / "Nowhere.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(IniPath().c_str());
        if (!c.stored.empty()) StoreProgramPath(c.stored);
        std::string before = ReadFileBytes(IniPath());

        Process scr;
        ASSERT_TRUE(StartScr(scr, "/c"));
        HWND box = WaitForDialog(scr.Id(), "Error", kWait);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), "Unable to find " + c.stored +
                                           "\nPlease select the right path where the file is "
                                           "located.");
        PressButton(box, IDOK);

        HWND browser = WaitForBrowser(scr);
        ASSERT_NE(browser, nullptr);
        PressButton(browser, IDCANCEL);
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(ReadProbeLog(folder / "probe.log").empty()) << "nothing may be started";
        EXPECT_EQ(ReadFileBytes(IniPath()), before) << "nothing may be written";
    }
}

TEST_F(ConfigureMode, ProgramThatCannotStartIsReported) {
    // An existing file that is not a program.
    std::string notAProgram = other / "Velmora.exe";
    WriteFileBytes(notAProgram, "this is not a program\r\n");
    StoreProgramPath(notAProgram);

    Process scr;
    ASSERT_TRUE(StartScr(scr, "/c"));
    HWND box = WaitForDialog(scr.Id(), "Error", kWait);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Program execution error!");
    PressButton(box, IDOK);
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

TEST_F(ConfigureMode, UnknownSwitchesAndPasswordChangeEndSilently) {
    for (const char* arguments : {"/x", "/", "-", "/a", "/a 0", "/?"}) {
        SCOPED_TRACE(arguments);
        Process scr;
        ASSERT_TRUE(StartScr(scr, arguments));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(TopLevelWindowsOf(scr.Id()).empty());
    }
    EXPECT_FALSE(PathExists(IniPath())) << "nothing may be written";
}


// The real folder browser, answered with OK on the folder it offers: first
// without Velmora.exe there (the message names it, and the browser opens
// again), then with the program placed in it.
TEST_F(ConfigureMode, RealFolderBrowserChoiceIsCheckedAndStored) {
    Process scr;
    ASSERT_TRUE(StartScr(scr, "/c"));
    HWND box = WaitForDialog(scr.Id(), "Error", kWait);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDOK);
    // The browser offers the root of its tree, the desktop; choosing it
    // (selected explicitly: Wine leaves the tree without a selection when it
    // opens again) is a choice of the desktop folder.
    auto chooseRoot = [&](HWND browser) {
        HWND tree = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                tree = FindDescendant(browser, "SysTreeView32");
                return tree && SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0;
            },
            kWait));
        LRESULT root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, root);
        PressButton(browser, IDOK);
    };
    HWND browser = WaitForBrowser(scr);
    ASSERT_NE(browser, nullptr);
    chooseRoot(browser);
    box = WaitForDialog(scr.Id(), "Error", kWait);
    ASSERT_NE(box, nullptr);
    // The folder it offered, as the message names it.
    std::string text = MessageBoxText(box);
    const std::string head = "Unable to find ";
    const std::string tail = "\\Velmora.exe\nPlease select the right path where the file is located.";
    ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
    ASSERT_GT(text.size(), head.size() + tail.size()) << text;
    ASSERT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0) << text;
    std::string offered = text.substr(head.size(), text.size() - head.size() - tail.size());
    ASSERT_TRUE(PathExists(offered)) << offered;

    // Now the program is there: the same choice is accepted.
    std::string program = PlaceProbe(offered);
    struct Remove {
        std::string path;
        ~Remove() { DeleteFileA(path.c_str()); }
    } removeProgram{program};
    release.Set();
    PressButton(box, IDOK);
    browser = WaitForBrowser(scr);
    ASSERT_NE(browser, nullptr);
    chooseRoot(browser);
    EXPECT_TRUE(scr.WaitForExit(kWait));
    std::vector<ProbeStart> starts = ReadProbeLog(folder / "probe.log");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].ppid, scr.Id());
    EXPECT_TRUE(SamePath(starts[0].currentDir, offered));
    char stored[MAX_PATH] = "";
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    GetPrivateProfileStringA("General", "ProgramPath", "", stored, sizeof stored, "Velmora.ini");
    EXPECT_EQ(std::string(stored), program);
}
}  // namespace
