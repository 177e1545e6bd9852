// The Options page of the real Velmora.exe, started as a user starts it and
// driven from outside: what OK writes, what the next run of Velmora.scr /s
// makes of it, and the browse button with the real folder browser.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 20000;
// Ids inside the paths list (the toolkit's editable list over group box 1017).
constexpr int kPathsBox = 1017;
constexpr int kPathsList = 100;
constexpr int kPathsNew = 101;

std::string SystemDir() {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n);
}

std::string IniValue(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

void Ini(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, "Velmora.ini");
}

void FlushIni() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

std::string Section(const char* section) {
    std::vector<char> buffer(8192, '\0');
    DWORD n = GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        "Velmora.ini");
    return std::string(buffer.data(), n);
}

std::string Lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n ? std::string(buffer, n) : path;
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Velmora.exe, running, with its sheet found.
class Program {
public:
    bool Start() {
        std::string exe = BinDir() + "\\Velmora.exe";
        if (!m_process.Start(exe, "\"" + exe + "\"", BinDir())) return false;
        m_sheet = WaitForDialog(m_process.Id(), "Velmora 2.0.1", kWait);
        return m_sheet != nullptr;
    }
    HWND Sheet() const { return m_sheet; }
    DWORD Id() const { return m_process.Id(); }
    HWND CurrentPage() const {
        return reinterpret_cast<HWND>(SendMessageA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    // Opens the page with this title and answers it.
    HWND OpenPage(const char* title) {
        for (int i = 0; i < 8; ++i) {
            if (!SendMessageA(m_sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0)) break;
            HWND page = CurrentPage();
            if (WindowText(page) == title) return page;
        }
        return nullptr;
    }
    // Presses a sheet button and waits for the program to end.
    bool Press(int button) {
        PostMessageA(m_sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
        bool ended = m_process.WaitForExit(kWait);
        FlushIni();
        return ended;
    }

private:
    Process m_process;
    HWND m_sheet = nullptr;
};

// Adds a folder to the paths list as a user types it: New, the text, Enter.
void AddTyped(HWND page, const std::string& folder) {
    HWND box = GetDlgItem(page, kPathsBox);
    HWND list = GetDlgItem(box, kPathsList);
    LRESULT before = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    SendMessageA(GetDlgItem(box, kPathsNew), BM_CLICK, 0, 0);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (editor = FindDescendant(list, "Edit")) != nullptr; },
                          kWait));
    SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !IsWindow(editor) && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == before + 1;
        },
        kWait));
}

class OptionsProgram : public ::testing::Test {
protected:
    void SetUp() override {
        FlushIni();
        DeleteFileA(IniPath().c_str());
        CopyFileA((BinDir() + "\\Trapline.dll").c_str(), trapline.c_str(), FALSE);
        SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", "0");
        SetCursorPos(500, 400);
    }
    void TearDown() override { FlushIni(); }

    // A probe screensaver in the folder, under a name long enough to be
    // shown by its file name in the catalogue.
    std::string AddSaver(const std::string& name) {
        std::string path = savers / (name + ".scr");
        CopyFileA((BinDir() + "\\probe.scr").c_str(), path.c_str(), FALSE);
        return path;
    }

    // The user comes back once the run watches the input: its window
    // answers only when that is in place. Earlier, the probe may end on the
    // move while the run has seen no input, and starts the next one.
    static void ReturningUser() {
        EXPECT_NE(WaitForAnsweringWindow("VelmoraScrWnd", kWait), nullptr);
        SetCursorPos(100, 100);
        PumpFor(50);
        SetCursorPos(700, 500);
    }

    std::string trapline = SystemDir() + "\\Trapline.dll";
    FileRestorer ini{IniPath()};
    FileRestorer installed{trapline};
    RegValueRestorer secure{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure"};
    TempDir savers{"Extra Savers"};
    std::string log = savers / "starts.log";
    ScopedEnv logVar{"VELMORA_SAVER_PROBE_LOG", log};
};

// A user adds an extra folder, chooses list order and a one-minute show
// time, and presses OK; after a restart the catalogue lists the folder's
// screensavers, the user puts them all into the rotation list; the next run
// plays them in list order and replaces each after the minute.
TEST_F(OptionsProgram, ChoicesMadeInTheProgramAreWhatTheNextRunFollows) {
    std::string alpha = AddSaver("Alpha Probe Saver");
    std::string beta = AddSaver("Beta Probe Saver");
    // The folder as a user might type it: other case, no backslash.
    std::string typed = savers.path();
    std::transform(typed.begin(), typed.end(), typed.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    {
        Program program;
        ASSERT_TRUE(program.Start());
        HWND page = program.OpenPage("Options");
        ASSERT_NE(page, nullptr);
        AddTyped(page, typed);
        SendMessageA(GetDlgItem(page, 1011), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(page, 1014), BM_CLICK, 0, 0);
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(page, 1015)));
        SendMessageA(GetDlgItem(page, 1015), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1"));
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    const std::string folder = Lower(savers.path()) + "\\";
    EXPECT_EQ(IniValue("Additional Path", "Path0"), folder);
    EXPECT_EQ(IniValue("Additional Path", "Path1"), "<none>");
    EXPECT_EQ(IniValue("Options", "ShowRandomOrder"), "0");
    EXPECT_EQ(IniValue("Options", "ShowForXMinuts"), "1");
    EXPECT_EQ(IniValue("Options", "ShowTime"), "1");

    // Restarted, the program finds the folder's screensavers.
    {
        Program program;
        ASSERT_TRUE(program.Start());
        HWND page = program.OpenPage("Screensavers");
        ASSERT_NE(page, nullptr);
        HWND catalogue = GetDlgItem(page, 1002);
        EXPECT_EQ(SendMessageA(catalogue, LVM_GETITEMCOUNT, 0, 0), 2);
        SendMessageA(GetDlgItem(page, 1004), BM_CLICK, 0, 0);  // add all
        EXPECT_EQ(SendMessageA(GetDlgItem(page, 1001), LVM_GETITEMCOUNT, 0, 0), 2);
        // The options are shown as they were saved.
        HWND options = program.OpenPage("Options");
        ASSERT_NE(options, nullptr);
        EXPECT_TRUE(Checked(GetDlgItem(options, 1011)));
        EXPECT_TRUE(Checked(GetDlgItem(options, 1014)));
        EXPECT_EQ(WindowText(GetDlgItem(options, 1015)), "1");
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    ASSERT_EQ(IniValue("Screensaver", "nScr"), "2");
    std::string first = IniValue("Screensaver", "Scr0");
    std::string second = IniValue("Screensaver", "Scr1");
    EXPECT_TRUE(SamePath(first, alpha)) << first;
    EXPECT_TRUE(SamePath(second, beta)) << second;
    EXPECT_EQ(IniValue("Additional Path", "Path0"), folder) << "saved again, unchanged";

    // The next run: list order, and the minute's timer replaces the first.
    std::string scrExe = BinDir() + "\\Velmora.scr";
    Process scr;
    ASSERT_TRUE(scr.Start(scrExe, "\"" + scrExe + "\" /s"));
    ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(log).size() == 1; }, kWait));
    EXPECT_EQ(ReadProbeLog(log)[0].commandLine, ShortPath(first) + " /s");
    EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), "0") << "list order";
    // The show time is one minute: by 75 seconds the timer has fired.
    ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(log).size() == 2; }, 75000));
    EXPECT_EQ(ReadProbeLog(log)[1].commandLine, ShortPath(second) + " /s");
    EXPECT_TRUE(scr.Running());
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

// Random order chosen in the program: the run picks without stepping
// through the list (list order would note its place in LastScrShow).
TEST_F(OptionsProgram, RandomOrderChosenInTheProgramIsFollowed) {
    std::string alpha = AddSaver("Alpha Probe Saver");
    std::string beta = AddSaver("Beta Probe Saver");
    Ini("Screensaver", "Scr0", alpha.c_str());
    Ini("Screensaver", "Scr1", beta.c_str());
    Ini("Screensaver", "nScr", "2");
    Ini("Options", "ShowForXMinuts", "1");
    FlushIni();
    {
        Program program;
        ASSERT_TRUE(program.Start());
        HWND page = program.OpenPage("Options");
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(Checked(GetDlgItem(page, 1014)));
        SendMessageA(GetDlgItem(page, 1012), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(page, 1013), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1015)));
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    EXPECT_EQ(IniValue("Options", "ShowRandomOrder"), "1");
    EXPECT_EQ(IniValue("Options", "ShowForXMinuts"), "0");
    EXPECT_EQ(IniValue("Options", "ShowTime"), "15");
    // The catalogue did not know the folder, so its rotation list is empty
    // now: the run gets its list back directly.
    Ini("Screensaver", "Scr0", alpha.c_str());
    Ini("Screensaver", "Scr1", beta.c_str());
    Ini("Screensaver", "nScr", "2");
    FlushIni();

    std::string scrExe = BinDir() + "\\Velmora.scr";
    Process scr;
    ASSERT_TRUE(scr.Start(scrExe, "\"" + scrExe + "\" /s"));
    ASSERT_TRUE(WaitUntil([&] { return ReadProbeLog(log).size() == 1; }, kWait));
    std::string started = ReadProbeLog(log)[0].commandLine;
    EXPECT_TRUE(started == ShortPath(alpha) + " /s" || started == ShortPath(beta) + " /s")
        << started;
    EXPECT_EQ(IniValue("Screensaver", "LastScrShow"), "<none>") << "random order";
    ReturningUser();
    EXPECT_TRUE(scr.WaitForExit(kWait));
}

TEST_F(OptionsProgram, OptionsStayUnlessOkFollowsOpeningThePage) {
    Ini("Options", "ShowRandomOrder", "3");
    Ini("Options", "ShowForXMinuts", "1");
    Ini("Options", "ShowTime", "abc");
    Ini("Additional Path", "Path0", " C:\\Mixed\\Case ");
    Ini("Additional Path", "Path1", "c:\\mixed\\case\\");
    FlushIni();
    const std::string options = Section("Options");
    const std::string paths = Section("Additional Path");
    {
        // OK on the first page: the catalogue saves its list, nothing else.
        Program program;
        ASSERT_TRUE(program.Start());
        EXPECT_NE(WindowText(program.CurrentPage()), "Options");
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    EXPECT_EQ(Section("Options"), options);
    EXPECT_EQ(Section("Additional Path"), paths);
    {
        // Cancel after changes: nothing at all.
        const std::string before = ReadFileBytes(IniPath());
        Program program;
        ASSERT_TRUE(program.Start());
        HWND page = program.OpenPage("Options");
        ASSERT_NE(page, nullptr);
        AddTyped(page, "D:\\Other");
        SendMessageA(GetDlgItem(page, 1011), BM_CLICK, 0, 0);
        ASSERT_TRUE(program.Press(PSBTN_CANCEL));
        EXPECT_EQ(ReadFileBytes(IniPath()), before);
    }
}

// The browse button in the real program: the folder browser belongs to the
// program's sheet, the first folder added brings the restart warning owned
// by the sheet, the second does not.
TEST_F(OptionsProgram, BrowseAddsFoldersAndWarnsOnceARun) {
    Program program;
    ASSERT_TRUE(program.Start());
    HWND page = program.OpenPage("Options");
    ASSERT_NE(page, nullptr);
    HWND box = GetDlgItem(page, kPathsBox);
    HWND list = GetDlgItem(box, kPathsList);

    int warnings = 0;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        SendMessageA(GetDlgItem(box, kPathsNew), BM_CLICK, 0, 0);
        HWND editor = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (editor = FindDescendant(list, "Edit")) != nullptr; },
                              kWait));
        HWND browse = FindDescendant(editor, "Button");
        ASSERT_NE(browse, nullptr);
        SendMessageA(browse, BM_CLICK, 0, 0);

        HWND browser = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (HWND d : TopLevelWindowsOf(program.Id()))
                    if (ClassNameOf(d) == "#32770" && IsWindowVisible(d))
                        for (const std::string& t : StaticTexts(d))
                            if (t == "Select path to add") browser = d;
                return browser != nullptr;
            },
            kWait));
        EXPECT_EQ(GetWindow(browser, GW_OWNER), program.Sheet());
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

        // Once the browser is gone, a message answered by the program's
        // thread comes back from the warning's loop if there is a warning:
        // nothing else between the browser and the warning takes messages.
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }, kWait));
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(program.Sheet(), WM_NULL, 0, 0, SMTO_NORMAL, kWait,
                                        &answer));
        HWND warning = nullptr;
        for (HWND d : TopLevelWindowsOf(program.Id()))
            if (ClassNameOf(d) == "#32770" && WindowText(d) == "Warning") warning = d;
        if (warning) {
            ++warnings;
            ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(warning) != FALSE; }, kWait));
            EXPECT_EQ(MessageBoxText(warning),
                      "You must close and restart the program\nfor update the available "
                      "screensaver list\nwith new screensavers coming from additional paths.");
            EXPECT_EQ(GetWindow(warning, GW_OWNER), program.Sheet());
            PressButton(warning, IDOK);
            ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Sheet()) != FALSE; }, kWait));
        }
        EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), round + 1);
        EXPECT_EQ(warnings, 1) << "the warning comes with the first folder of the run only";
    }
    ASSERT_TRUE(program.Press(PSBTN_OK));
    std::string stored = IniValue("Additional Path", "Path0");
    EXPECT_TRUE(PathExists(stored)) << stored;
    EXPECT_EQ(stored, Lower(stored));
    EXPECT_EQ(stored.back(), '\\');
    EXPECT_EQ(IniValue("Additional Path", "Path1"), "<none>") << "the same folder twice";
}

}  // namespace
