// Velmora as VelmoraSetup.exe installed it, checked from inside the fresh
// prefix that setup_test.sh made: Velmora.scr started as Windows starts it
// (from SCRNSAVE.EXE), the configuration program it opens, the help file,
// and on 64-bit Windows the screensavers of the other bitness (the 64-bit ones
// of the real system folder for the 32-bit edition, the 32-bit ones of
// SysWOW64 for the x64 edition).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "tests/support/remote_list.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 30000;
constexpr char kSheetCaption[] = "Velmora 2.0.1";

std::string RegText(HKEY root, const char* key, const char* value) {
    char data[MAX_PATH] = "";
    DWORD size = sizeof data;
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::string();
    RegQueryValueExA(opened, value, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    return data;
}

std::string Screensaver() { return RegText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"); }

std::string IniText(const char* section, const char* key) {
    char text[MAX_PATH] = "";
    GetPrivateProfileStringA(section, key, "", text, sizeof text, "Velmora.ini");
    return text;
}

void FlushIni() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

std::string SystemFolder() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\";
}

bool IsWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The screensavers of the other bitness: 64-bit ones in the real system
// folder, which the 32-bit edition reaches through Sysnative, or 32-bit ones
// in SysWOW64 for the x64 edition. The probe of the other bitness is built
// beside each edition.
constexpr bool kX64 = sizeof(void*) == 8;
std::string OtherSystemFolder() {
    if (!kX64) return WindowsDir() + "\\Sysnative\\";
    char folder[MAX_PATH] = "";
    GetSystemWow64DirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\";
}
const std::string kOtherProbe = kX64 ? "probe32.scr" : "probe64.scr";
const std::string kOtherProbeName = kX64 ? "Probe Thirty-Two" : "Probe Sixty-Four";
bool OnSixtyFourBitWindows() { return kX64 || IsWow64(); }
// The x64 edition plays a 32-bit screensaver only where 32-bit code runs;
// scripts/test says whether it does (other_bitness_test plays one there,
// and is reported as skipped elsewhere).
bool OtherBitnessRuns() {
    if (!kX64) return true;
    char value[8] = "";
    return GetEnvironmentVariableA("VELMORA_I386", value, sizeof value) && lstrcmpA(value, "yes") == 0;
}

// The file name and parent of a running process.
struct ProcessInfo {
    std::string exe;
    DWORD parent = 0;
};
ProcessInfo InfoOf(DWORD pid) {
    ProcessInfo info;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry))
        if (entry.th32ProcessID == pid) info = {entry.szExeFile, entry.th32ParentProcessID};
    CloseHandle(snap);
    return info;
}

// The configuration program's sheet, once it is shown.
HWND WaitForSheet() {
    HWND sheet = nullptr;
    WaitUntil(
        [&] {
            sheet = FindWindowA("#32770", kSheetCaption);
            return sheet && IsWindowVisible(sheet);
        },
        kWait);
    return sheet && IsWindowVisible(sheet) ? sheet : nullptr;
}

// Ends a screensaver the way a returning user does: its windows close.
void CloseWindowsOf(DWORD pid) {
    for (HWND w : TopLevelWindowsOf(pid)) PostMessageA(w, WM_CLOSE, 0, 0);
}

class InstalledVelmora : public ::testing::Test {
protected:
    void SetUp() override {
        program = IniText("General", "ProgramPath");
        scr = Screensaver();
        ASSERT_FALSE(program.empty());
        ASSERT_FALSE(scr.empty());
    }
    void TearDown() override {
        for (const std::string& file : copied) DeleteFileA(file.c_str());
        WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
        FlushIni();
    }
    // Copies a screensaver into a system folder for this test only.
    std::string Place(const std::string& from, const std::string& to) {
        EXPECT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << to;
        copied.push_back(to);
        return to;
    }
    // Starts the installed Velmora.exe in its folder and gives its sheet
    // (nullptr if it did not show) and the catalogue page.
    HWND OpenSheet(Process& config, HWND& page) {
        const std::string folder = program.substr(0, program.rfind('\\'));
        if (!config.Start(program, "\"" + program + "\"", folder)) return nullptr;
        HWND sheet = WaitForDialog(config.Id(), kSheetCaption, kWait);
        if (sheet) page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        return sheet;
    }
    // Starts Velmora.scr /s as Windows does and waits for the probe it plays.
    ProbeStart PlayOnce(const std::string& log) {
        Process run;
        EXPECT_TRUE(run.Start(scr, "\"" + scr + "\" /s"));
        ProbeStart started;
        if (!WaitUntil([&] { return !ReadProbeLog(log).empty(); }, kWait)) return started;
        started = ReadProbeLog(log).front();
        EXPECT_EQ(started.ppid, run.Id());
        // The probe's shown window first, then the end its closing brings
        // about. A probe that does not end is ended, so that its file can go.
        EXPECT_NE(WaitForVisibleWindow(started.pid, kWait), nullptr);
        CloseWindowsOf(started.pid);
        EXPECT_TRUE(run.WaitForExit(kWait));
        if (HANDLE probe = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started.pid)) {
            if (WaitForSingleObject(probe, 0) == WAIT_TIMEOUT) {
                TerminateProcess(probe, 1);
                WaitForSingleObject(probe, kWait);
            }
            CloseHandle(probe);
        }
        return started;
    }

    std::string program, scr;
    std::vector<std::string> copied;
    TempDir temp{"setup"};
};

TEST_F(InstalledVelmora, SettingsOpensTheProgramAtOnceAndHelpOpensTheHelpFile) {
    EXPECT_TRUE(PathExists(program));
    EXPECT_TRUE(PathExists(scr));

    // .chm files open with a probe that logs how it was started.
    RegValueRestorer keepChm(HKEY_CLASSES_ROOT, ".chm", "");
    ASSERT_TRUE(SetRegString(HKEY_CLASSES_ROOT, ".chm", "", "VelmoraTest.chm"));
    ASSERT_TRUE(SetRegString(HKEY_CLASSES_ROOT, "VelmoraTest.chm\\shell\\open\\command", "",
                             "\"" + BinDir() + "\\config_probe.exe\" \"%1\""));
    struct Cleanup {
        ~Cleanup() { DeleteRegTree(HKEY_CLASSES_ROOT, "VelmoraTest.chm"); }
    } cleanup;
    const std::string log = temp / "help.log";
    ScopedEnv logTo("VELMORA_CONFIG_PROBE_LOG", log);

    // Windows starts the screensaver's settings from its system folder.
    Process configure;
    ASSERT_TRUE(configure.Start(scr, "\"" + scr + "\" /c", SystemFolder()));
    HWND sheet = WaitForSheet();
    ASSERT_NE(sheet, nullptr) << "no configuration program";
    DWORD pid = 0;
    GetWindowThreadProcessId(sheet, &pid);
    const ProcessInfo info = InfoOf(pid);
    EXPECT_STREQ(info.exe.c_str(), "Velmora.exe");
    EXPECT_EQ(info.parent, configure.Id());
    // No question for the program's folder came first.
    EXPECT_EQ(AnyDialogOf(configure.Id()), nullptr);

    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
    ASSERT_TRUE(WaitUntil([&] { return !ReadProbeLog(log).empty(); }, kWait));
    const std::string args = ArgumentsOf(ReadProbeLog(log).front().commandLine);
    const std::string installedHelp = program.substr(0, program.rfind('\\')) + "\\Velmora.chm";
    const size_t begin = args.find_first_not_of(" \"");
    const size_t end = args.find("Velmora.chm");
    ASSERT_NE(end, std::string::npos) << args;
    EXPECT_TRUE(SamePath(args.substr(begin, end + 11 - begin), installedHelp)) << args;

    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(configure.WaitForExit(kWait));
}

TEST_F(InstalledVelmora, RunPlaysTheRotationList) {
    const std::string log = temp / "run.log";
    ScopedEnv logTo("VELMORA_SAVER_PROBE_LOG", log);
    const std::string probe = Place(BinDir() + "\\probe.scr", SystemFolder() + "probe.scr");
    WritePrivateProfileStringA("Screensaver", "nScr", "1", "Velmora.ini");
    WritePrivateProfileStringA("Screensaver", "Scr0", probe.c_str(), "Velmora.ini");
    FlushIni();

    const ProbeStart started = PlayOnce(log);
    ASSERT_NE(started.pid, 0u) << "the probe did not start";
    EXPECT_NE(started.commandLine.find(" /s"), std::string::npos) << started.commandLine;
}

TEST_F(InstalledVelmora, OtherBitnessScreensaversAreListedSavedAndPlayed) {
    if (!OnSixtyFourBitWindows()) GTEST_SKIP() << "32-bit Windows";
    const std::string log = temp / "run64.log";
    ScopedEnv logTo("VELMORA_SAVER_PROBE_LOG", log);
    // One screensaver only in the other system folder, one in both.
    Place(BinDir() + "\\" + kOtherProbe, OtherSystemFolder() + kOtherProbe);
    Place(BinDir() + "\\probe.scr", SystemFolder() + "twice.scr");
    Place(BinDir() + "\\" + kOtherProbe, OtherSystemFolder() + "twice.scr");

    Process config;
    HWND page = nullptr;
    HWND sheet = OpenSheet(config, page);
    ASSERT_NE(sheet, nullptr);
    RemoteList catalogue(GetDlgItem(page, 1002), config.Id());
    int probeRow = -1, twiceRows = 0;
    std::string twiceFile;
    for (int row = 0; row < catalogue.Count(); ++row) {
        const std::string file = catalogue.Text(row, 1);
        if (catalogue.Text(row, 0) == kOtherProbeName) {
            EXPECT_EQ(probeRow, -1) << "listed twice";
            probeRow = row;
            EXPECT_TRUE(SamePath(file, OtherSystemFolder() + kOtherProbe)) << file;
        }
        if (file.size() >= 9 && lstrcmpiA(file.c_str() + file.size() - 9, "twice.scr") == 0) {
            ++twiceRows;
            twiceFile = file;
        }
    }
    ASSERT_NE(probeRow, -1) << "the other bitness's screensaver is not in the catalogue";
    EXPECT_EQ(twiceRows, 1);
    EXPECT_TRUE(SamePath(twiceFile, SystemFolder() + "twice.scr")) << twiceFile;

    catalogue.Select(probeRow);
    PressButton(page, 1003);
    HWND rotation = GetDlgItem(page, 1001);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(rotation, LVM_GETITEMCOUNT, 0, 0) == 1; }, kWait));
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(config.WaitForExit(kWait));
    FlushIni();
    EXPECT_EQ(IniText("Screensaver", "nScr"), "1");
    const std::string stored = IniText("Screensaver", "Scr0");
    EXPECT_TRUE(SamePath(stored, OtherSystemFolder() + kOtherProbe)) << stored;

    // The runner starts it with its switch, named as the started program
    // sees itself.
    if (!OtherBitnessRuns()) return;
    const ProbeStart started = PlayOnce(log);
    ASSERT_NE(started.pid, 0u) << "the other bitness's screensaver did not start";
    EXPECT_NE(started.commandLine.find(kOtherProbe + " /s"), std::string::npos) << started.commandLine;
    EXPECT_EQ(started.commandLine.find("Sysnative"), std::string::npos) << started.commandLine;
}

TEST_F(InstalledVelmora, UnderTheNineXLineOnlyItsFoldersAreListed) {
    if (!OnSixtyFourBitWindows()) GTEST_SKIP() << "32-bit Windows";
    Place(BinDir() + "\\" + kOtherProbe, OtherSystemFolder() + kOtherProbe);
    Place(BinDir() + "\\probe.scr", SystemFolder() + "nine.scr");
    WineVersionFor win98("Velmora.exe", "win98");

    Process config;
    HWND page = nullptr;
    HWND sheet = OpenSheet(config, page);
    ASSERT_NE(sheet, nullptr);
    RemoteList catalogue(GetDlgItem(page, 1002), config.Id());
    // The system folder's screensaver is there, under its file name as on
    // that line; the other system folder's is not.
    EXPECT_EQ(catalogue.Column(0), std::vector<std::string>{"nine"});
    for (int row = 0; row < catalogue.Count(); ++row)
        EXPECT_FALSE(SamePath(catalogue.Text(row, 1), OtherSystemFolder() + kOtherProbe))
            << catalogue.Text(row, 1);
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(config.WaitForExit(kWait));
}

}  // namespace
