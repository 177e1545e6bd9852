// The Rotation page of the real Velmora.exe, started as a user starts it:
// it mirrors the Screensavers page's list, edits each entry's show time and
// weight in place, OK writes them with the list, the next start reads them
// back the same, and Cancel writes nothing; likewise the choice for several
// monitors.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "tests/support/remote_list.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;
using Texts = std::vector<std::string>;

constexpr DWORD kWait = 20000;
constexpr int kRotationPage = 2, kRotationList = 1030, kPlayEachOnce = 1031, kGoOnWhenQuits = 1032,
              kMonitors = 1033, kRotateWhenLocked = 1034, kOptionsPage = 1, kPasswordNote = 1026;

void FlushIni() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

void Ini(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), "Velmora.ini");
}

std::string Section(const char* name) {
    std::vector<char> buffer(8192, '\0');
    DWORD n = GetPrivateProfileSectionA(name, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        "Velmora.ini");
    std::string lines(buffer.data(), n);
    for (char& c : lines)
        if (c == '\0') c = '|';
    return lines;
}

std::string IniValue(const char* section, const char* key) {
    char value[64] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, "Velmora.ini");
    return value;
}

bool Checked(HWND page, int id) {
    return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class Program {
public:
    Program() {
        const std::string exe = BinDir() + "\\Velmora.exe";
        if (process.Start(exe, "\"" + exe + "\"", BinDir()))
            sheet = WaitForDialog(process.Id(), "Velmora 2.0.1", kWait);
        // Clicks reach the sheet once it shows in front.
        WaitUntil([&] { return sheet && IsWindowVisible(sheet); }, kWait);
        SetForegroundWindow(sheet);
        WaitUntil([&] { return GetForegroundWindow() == sheet; }, kWait);
    }
    HWND Show(int index) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    bool Press(int button) {
        PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
        const bool ended = process.WaitForExit(kWait);
        FlushIni();
        return ended;
    }
    Process process;
    HWND sheet = nullptr;
};

// Types into the editor open over the list (F2 or a double click opened it)
// and, unless told to leave it open, ends the edit with Enter.
HWND Type(HWND list, const char* text, bool enter = true) {
    HWND editor = nullptr;
    if (!WaitUntil([&] { return (editor = FindDescendant(list, "Edit")) != nullptr; }, kWait))
        return nullptr;
    SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (enter) SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    if (enter && !WaitUntil([&] { return !IsWindow(editor); }, kWait)) return nullptr;
    return editor;
}

void EditTime(const RemoteList& list, HWND hwnd, int row, const char* text) {
    list.Select(row);
    PostMessageA(hwnd, WM_KEYDOWN, VK_F2, 0);
    ASSERT_NE(Type(hwnd, text), nullptr);
}

TEST(RotationProgram, EditsTimesAndWeightsInPlaceAndOkWritesThemWithTheList) {
    FileRestorer restore(IniPath());
    TempDir savers("rotation");
    std::vector<std::string> paths;
    for (const char* name : {"Alpha Probe Saver", "Beta Probe Saver", "Gamma Probe Saver"}) {
        paths.push_back(savers / (std::string(name) + ".scr"));
        ASSERT_TRUE(CopyFileA((BinDir() + "\\probe.scr").c_str(), paths.back().c_str(), FALSE));
    }
    const std::string &alpha = paths[0], &beta = paths[1], &gamma = paths[2];
    FlushIni();
    DeleteFileA(IniPath().c_str());
    Ini("Additional Path", "Path0", savers.path() + "\\");
    Ini("Screensaver", "nScr", "2");
    Ini("Screensaver", "Scr0", beta);
    Ini("Screensaver", "Time0", "20");
    Ini("Screensaver", "Weight0", "3");
    Ini("Screensaver", "Scr1", alpha);
    Ini("Screensaver", "Weight1", "heavy");  // no number: weight 1
    Ini("Options", "ShowTime", "7");
    Ini("Options", "PlayEachOnce", "1");
    FlushIni();
    {
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        HWND page = program.Show(0);
        RemoteList catalogue(GetDlgItem(page, 1002), program.process.Id());
        RemoteList selected(GetDlgItem(page, 1001), program.process.Id());
        // Gamma added, Alpha moved above Beta: the list as the Rotation page
        // first sees it. These clicks only prepare the list (the Screensavers
        // page's own tests are about them): one that a busy machine lost is
        // made again, well after the double-click time.
        auto clickFor = [&](const RemoteList& list, int row, int button) {
            auto enabled = [&] { return IsWindowEnabled(GetDlgItem(page, button)) != FALSE; };
            list.Click(row);
            if (WaitUntil(enabled, 2000)) return true;
            list.Click(row);
            return WaitUntil(enabled, kWait);
        };
        ASSERT_TRUE(clickFor(catalogue, 2, 1003));
        SendMessageA(GetDlgItem(page, 1003), BM_CLICK, 0, 0);
        ASSERT_TRUE(clickFor(selected, 1, 1009));
        SendMessageA(GetDlgItem(page, 1009), BM_CLICK, 0, 0);

        HWND rotation = program.Show(kRotationPage);
        ASSERT_EQ(WindowText(rotation), "Rotation");
        HWND hwnd = GetDlgItem(rotation, kRotationList);
        RemoteList list(hwnd, program.process.Id());
        EXPECT_EQ(list.Column(0), (Texts{"Alpha Probe Saver", "Beta Probe Saver", "Gamma Probe Saver"}));
        EXPECT_EQ(list.Column(1), (Texts{"Options time (7 min)", "20 min", "Options time (7 min)"}));
        EXPECT_EQ(list.Column(2), (Texts{"1", "3", "1"}));
        EXPECT_TRUE(Checked(rotation, kPlayEachOnce));
        EXPECT_FALSE(Checked(rotation, kGoOnWhenQuits));
        // No Monitors key: the first choice.
        EXPECT_EQ(SendMessageA(GetDlgItem(rotation, kMonitors), CB_GETCURSEL, 0, 0), 0);

        // A time beyond the range is held to it; a weight that is no number
        // is refused and the weight stays.
        EditTime(list, hwnd, 2, "25000");
        EXPECT_EQ(list.Text(2, 1), "10000 min");
        EditTime(list, hwnd, 1, "");
        EXPECT_EQ(list.Text(1, 1), "Options time (7 min)");
        EditTime(list, hwnd, 1, "20");
        const RECT weight = list.CellRect(1, 2);
        PostMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(weight.left + 5, weight.top + 3));
        ASSERT_NE(Type(hwnd, "x2"), nullptr);
        EXPECT_EQ(list.Column(1), (Texts{"Options time (7 min)", "20 min", "10000 min"}));
        EXPECT_EQ(list.Column(2), (Texts{"1", "3", "1"}));
        SendMessageA(GetDlgItem(rotation, kPlayEachOnce), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(rotation, kGoOnWhenQuits), BM_CLICK, 0, 0);

        // Alpha, still selected there since it moved, removed on the
        // Screensavers page is gone here at once.
        page = program.Show(0);
        SendMessageA(GetDlgItem(page, 1005), BM_CLICK, 0, 0);
        program.Show(kRotationPage);
        EXPECT_EQ(list.Column(0), (Texts{"Beta Probe Saver", "Gamma Probe Saver"}));
        // OK with an editor still open: what it holds counts.
        const RECT gammaWeight = list.CellRect(1, 2);
        PostMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(gammaWeight.left + 5, gammaWeight.top + 3));
        ASSERT_NE(Type(hwnd, "2", false), nullptr);
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    EXPECT_EQ(Section("Screensaver"), "Scr0=" + beta + "|Time0=20|Weight0=3|Scr1=" + gamma +
                                          "|Time1=10000|Weight1=2|nScr=2|");
    EXPECT_EQ(Section("Options"), "ShowTime=7|PlayEachOnce=0|GoOnWhenQuits=1|RotateWhenLocked=0|Monitors=0|");

    // The next start reads the list back the same; edits then cancelled
    // leave the file as it was.
    const std::string saved = ReadFileBytes(IniPath());
    Program program;
    ASSERT_NE(program.sheet, nullptr);
    HWND page = program.Show(0);
    EXPECT_EQ(RemoteList(GetDlgItem(page, 1001), program.process.Id()).Column(0),
              (Texts{"Beta Probe Saver", "Gamma Probe Saver"}));
    HWND rotation = program.Show(kRotationPage);
    HWND hwnd = GetDlgItem(rotation, kRotationList);
    RemoteList list(hwnd, program.process.Id());
    EXPECT_EQ(list.Column(1), (Texts{"20 min", "10000 min"}));
    EXPECT_EQ(list.Column(2), (Texts{"3", "2"}));
    EXPECT_FALSE(Checked(rotation, kPlayEachOnce));
    EXPECT_TRUE(Checked(rotation, kGoOnWhenQuits));
    EditTime(list, hwnd, 0, "5");
    EXPECT_EQ(list.Text(0, 1), "5 min");
    SendMessageA(GetDlgItem(rotation, kPlayEachOnce), BM_CLICK, 0, 0);
    ASSERT_TRUE(program.Press(PSBTN_CANCEL));
    EXPECT_EQ(ReadFileBytes(IniPath()), saved);
}

// Starts Velmora.exe, expects the choice for several monitors to show the
// choice numbered shown, picks the one numbered chosen and ends with button.
void ChooseMonitors(int shown, int chosen, int button) {
    Program program;
    ASSERT_NE(program.sheet, nullptr);
    HWND box = GetDlgItem(program.Show(kRotationPage), kMonitors);
    Texts items;
    for (int i = 0; i < SendMessageA(box, CB_GETCOUNT, 0, 0); ++i) {
        // Read as Unicode: version 6's combo box is a Unicode window, and
        // across processes Wine hands an ANSI caller its wide text unconverted.
        wchar_t text[128] = L"";
        SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        char narrow[128] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.push_back(narrow);
    }
    EXPECT_EQ(items, (Texts{"As the screensaver draws it", "Black where the screensaver does not draw",
                            "A screensaver of its own on each monitor"}));
    EXPECT_EQ(SendMessageA(box, CB_GETCURSEL, 0, 0), shown);
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    ASSERT_TRUE(program.Press(button));
}

TEST(RotationProgram, MonitorsChoiceShowsTheStoredNumberAndOkWritesTheChosenOne) {
    FileRestorer restore(IniPath());
    FlushIni();
    DeleteFileA(IniPath().c_str());
    Ini("Options", "Monitors", "9");  // no choice: the first
    FlushIni();
    ChooseMonitors(0, 1, PSBTN_OK);
    EXPECT_EQ(Section("Options"), "Monitors=1|PlayEachOnce=0|GoOnWhenQuits=0|RotateWhenLocked=0|");
    ChooseMonitors(1, 2, PSBTN_OK);
    EXPECT_EQ(Section("Options"), "Monitors=2|PlayEachOnce=0|GoOnWhenQuits=0|RotateWhenLocked=0|");
    const std::string saved = ReadFileBytes(IniPath());
    ChooseMonitors(2, 0, PSBTN_CANCEL);
    EXPECT_EQ(ReadFileBytes(IniPath()), saved);
}

// "Rotate also when Windows asks for the password on return": shown checked
// for a stored "1" only, OK writes "1" or "0", Cancel nothing; with it the
// Options page shows no password note on the NT line. On the 9x line the box
// is disabled, OK keeps what is stored, and the note stays.
TEST(RotationProgram, RotateWhenLockedBoxAndTheOptionsPage) {
    FileRestorer restore(IniPath());
    RegValueRestorer secure{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure"};
    RegValueRestorer usePassword{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword"};
    SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", "1");
    SetRegDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    FlushIni();
    DeleteFileA(IniPath().c_str());
    Ini("Options", "RotateWhenLocked", "2");
    FlushIni();
    auto noteShown = [](Program& program) {
        HWND options = program.Show(kOptionsPage);
        return IsWindowVisible(GetDlgItem(options, kPasswordNote)) != FALSE;
    };
    {
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        EXPECT_TRUE(noteShown(program));
        HWND page = program.Show(kRotationPage);
        EXPECT_FALSE(Checked(page, kRotateWhenLocked));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, kRotateWhenLocked)));
        EXPECT_EQ(WindowText(GetDlgItem(page, kRotateWhenLocked)),
                  "Rotate also when Windows asks for the password on return");
        SendMessageA(GetDlgItem(page, kRotateWhenLocked), BM_CLICK, 0, 0);
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    EXPECT_EQ(IniValue("Options", "RotateWhenLocked"), "1");
    {
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        EXPECT_FALSE(noteShown(program));
        HWND page = program.Show(kRotationPage);
        EXPECT_TRUE(Checked(page, kRotateWhenLocked));
        SendMessageA(GetDlgItem(page, kRotateWhenLocked), BM_CLICK, 0, 0);
        ASSERT_TRUE(program.Press(PSBTN_CANCEL));
    }
    EXPECT_EQ(IniValue("Options", "RotateWhenLocked"), "1");
    {
        WineVersionFor win98("Velmora.exe", "win98");
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        EXPECT_TRUE(noteShown(program));
        HWND page = program.Show(kRotationPage);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kRotateWhenLocked)));
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    EXPECT_EQ(IniValue("Options", "RotateWhenLocked"), "1");
}

// A hand-edited file, read as Velmora.scr reads it: a count far beyond the
// list (the entries are found by their keys, at once), quoted values, and
// switches that are not 1 (off). OK keeps a monitors choice it does not know.
TEST(RotationProgram, HandEditedFileIsReadAsTheScreensaverReadsIt) {
    FileRestorer restore(IniPath());
    TempDir savers("hand-edited");
    const std::string alpha = savers / "Alpha Probe Saver.scr", beta = savers / "Beta Probe Saver.scr";
    for (const std::string& path : {alpha, beta})
        ASSERT_TRUE(CopyFileA((BinDir() + "\\probe.scr").c_str(), path.c_str(), FALSE));
    FlushIni();
    DeleteFileA(IniPath().c_str());
    Ini("Additional Path", "Path0", savers.path() + "\\");
    Ini("Screensaver", "nScr", "2000000000");
    Ini("Screensaver", "Scr0", alpha);
    Ini("Screensaver", "Weight0", "\"3\"");
    Ini("Screensaver", "Scr1", beta);
    Ini("Screensaver", "Time1", " '4' ");
    Ini("Options", "PlayEachOnce", "2");
    Ini("Options", "GoOnWhenQuits", "\"1\"");
    Ini("Options", "Monitors", "9");
    FlushIni();
    {
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        HWND rotation = program.Show(kRotationPage);
        RemoteList list(GetDlgItem(rotation, kRotationList), program.process.Id());
        EXPECT_EQ(list.Column(0), (Texts{"Alpha Probe Saver", "Beta Probe Saver"}));
        EXPECT_EQ(list.Column(1), (Texts{"Options time (15 min)", "4 min"}));
        EXPECT_EQ(list.Column(2), (Texts{"3", "1"}));
        EXPECT_FALSE(Checked(rotation, kPlayEachOnce));
        EXPECT_TRUE(Checked(rotation, kGoOnWhenQuits));
        EXPECT_EQ(SendMessageA(GetDlgItem(rotation, kMonitors), CB_GETCURSEL, 0, 0), 0);
        ASSERT_TRUE(program.Press(PSBTN_OK));
    }
    EXPECT_EQ(Section("Screensaver"), "Scr0=" + alpha + "|Weight0=3|Scr1=" + beta + "|Time1=4|nScr=2|");
    EXPECT_EQ(Section("Options"), "PlayEachOnce=0|GoOnWhenQuits=1|Monitors=9|RotateWhenLocked=0|");
}

}  // namespace
