// Velmora.exe started as a user starts it: its sheet, buttons, bar, Cancel and
// Help, seen from outside the process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "config/velmora_dlg.h"
#include "framework/icon.h"
#include "framework/property_page.h"
#include "resources/velmora_exe_ids.h"
#include "tests/support/win_test_support.h"
#include "toolkit/picture_bar.h"
#include "toolkit/picture_bar_sheet.h"

namespace {

const char kCaption[] = "Velmora 2.0.1";
constexpr int kApplyId = 0x3021;

RECT ClientRectOf(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// The program, started in a folder of the test's choosing, with its sheet.
struct RunningProgram {
    vtest::Process process;
    HWND sheet = nullptr;

    explicit RunningProgram(const std::string& folder) {
        std::string exe = vtest::BinDir() + "\\Velmora.exe";
        if (!process.Start(exe, "\"" + exe + "\"", folder)) return;
        sheet = vtest::WaitForDialog(process.Id(), kCaption, 20000);
        // The sheet is found by its caption while it still initialises; its
        // last step restyles the Help button.
        if (sheet && !vtest::WaitUntil([&] {
                HWND help = GetDlgItem(sheet, IDHELP);
                return help && (GetWindowLongA(help, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
            }, 20000))
            sheet = nullptr;
    }
    ~RunningProgram() {
        if (sheet && IsWindow(sheet)) PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        if (!process.WaitForExit(10000)) process.Kill();
    }
};

// The same pages in a sheet with comctl32's own button layout: where the
// program's buttons would be without its restyling.
class ReferenceSheet : public CPictureBarSheet {
public:
    ReferenceSheet()
        : CPictureBarSheet(kCaption),
          m_pages{CPropertyPage(IDD_SCREENSAVERS), CPropertyPage(IDD_OPTIONS),
                  CPropertyPage(IDD_ROTATION), CPropertyPage(IDD_DONATIONS), CPropertyPage(IDD_ABOUT)} {
        m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP;
        SetPictureBar(100, IDB_PAGE_PICTURES, 32, 0xFF00FF);
        for (CPropertyPage& page : m_pages) {
            page.m_psp.dwFlags |= PSP_HASHELP;
            AddPage(&page);
        }
    }

private:
    CPropertyPage m_pages[5];
};

enum class Hue { Red, Green, Blue };

// Whether a screen area holds pixels clearly of one hue: the pictures are a
// green check (OK), a red cross (Cancel) and a blue sign (Help).
bool HasHue(const RECT& screenRect, Hue hue) {
    HDC screen = GetDC(nullptr);
    bool found = false;
    for (int y = screenRect.top; y < screenRect.bottom && !found; ++y)
        for (int x = screenRect.left; x < screenRect.right && !found; ++x) {
            COLORREF c = GetPixel(screen, x, y);
            int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            switch (hue) {
            case Hue::Red: found = r > g + 50 && r > b + 50; break;
            case Hue::Green: found = g > r + 50 && g > b + 50; break;
            case Hue::Blue: found = b > r + 50 && b > g + 30; break;
            }
        }
    ReleaseDC(nullptr, screen);
    return found;
}

TEST(VelmoraProgram, SheetHasItsBarAndRestyledButtons) {
    vtest::TempDir folder("vp");
    RunningProgram program(folder.path());
    ASSERT_NE(program.sheet, nullptr) << "no sheet titled " << kCaption;
    HWND sheet = program.sheet;


    // No Apply button; OK, Cancel and Help drawn by the program with pictures.
    HWND apply = GetDlgItem(sheet, kApplyId);
    EXPECT_TRUE(!apply || !IsWindowVisible(apply));
    for (int id : {IDOK, IDCANCEL, IDHELP}) {
        HWND button = GetDlgItem(sheet, id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(IsWindowVisible(button)) << id;
        EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    }

    // The bar: one item per page, captions in page order, the first current.
    HWND bar = GetDlgItem(sheet, CPictureBar::kControlId);
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> captions;
    int count = static_cast<int>(SendMessageA(bar, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        // Read as Unicode: across processes Wine hands an ANSI caller of a
        // subclassed (so Unicode) list box the wide text unconverted.
        wchar_t text[64] = L"";
        SendMessageW(bar, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        char narrow[64] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        captions.push_back(narrow);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Screensavers", "Options", "Rotation", "Donations", "About"}));
    EXPECT_EQ(SendMessageA(bar, LB_GETCURSEL, 0, 0), 0);
    HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    ASSERT_NE(tab, nullptr);
    EXPECT_FALSE(IsWindowVisible(tab));

    // Against comctl32's own layout of the same pages: the sheet 10 pixels
    // taller, each button moved left (35, 22, 10) and 10 pixels larger.
    ReferenceSheet reference;
    ASSERT_TRUE(reference.Create());
    RECT mine = WindowRectOf(sheet), theirs = WindowRectOf(reference.m_hWnd);
    EXPECT_EQ(mine.right - mine.left, theirs.right - theirs.left);
    EXPECT_EQ(mine.bottom - mine.top, theirs.bottom - theirs.top + 10);
    struct Shift {
        int id;
        int left;
    };
    for (Shift s : {Shift{IDOK, 35}, Shift{IDCANCEL, 22}, Shift{IDHELP, 10}}) {
        RECT a = ClientRectOf(sheet, GetDlgItem(sheet, s.id));
        RECT b = ClientRectOf(reference.m_hWnd, GetDlgItem(reference.m_hWnd, s.id));
        EXPECT_EQ(a.left, b.left - s.left) << s.id;
        EXPECT_EQ(a.top, b.top) << s.id;
        EXPECT_EQ(a.right - a.left, b.right - b.left + 10) << s.id;
        EXPECT_EQ(a.bottom - a.top, b.bottom - b.top + 10) << s.id;
    }
    reference.DestroyWindow();

    // Each button's picture on the screen, and only its own. The mouse is
    // moved off the sheet first: a button under it is framed in the theme's
    // hot colour. (Wine answers no WM_GETICON from another process, so the
    // window icons are checked in-process below.)
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SetForegroundWindow(sheet);
    SetWindowPos(sheet, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    struct Picture {
        int id;
        Hue hue;
    };
    const Picture pictures[] = {{IDOK, Hue::Green}, {IDCANCEL, Hue::Red}, {IDHELP, Hue::Blue}};
    auto onlyItsOwn = [&](const Picture& p, Hue hue) {
        return HasHue(WindowRectOf(GetDlgItem(sheet, p.id)), hue) == (hue == p.hue);
    };
    vtest::WaitUntil([&] {
        for (const Picture& p : pictures)
            for (Hue hue : {Hue::Red, Hue::Green, Hue::Blue})
                if (!onlyItsOwn(p, hue)) return false;
        return true;
    }, 5000);
    for (const Picture& p : pictures)
        for (Hue hue : {Hue::Red, Hue::Green, Hue::Blue})
            EXPECT_TRUE(onlyItsOwn(p, hue))
                << "button " << p.id << ", hue " << static_cast<int>(hue);
}

// The sheet object itself, made in this process: its window icons.
TEST(VelmoraProgram, SheetCarriesTheProgramIconLargeAndSmall) {
    vtest::FileRestorer keep(vtest::IniPath());
    CVelmoraDlg dialog;
    ASSERT_TRUE(dialog.Create());
    // Each drawn at its own size from the program's icon, not one shrunk.
    const auto width = [&](WPARAM which) {
        return IconWidth(reinterpret_cast<HICON>(SendMessageA(dialog.m_hWnd, WM_GETICON, which, 0)));
    };
    EXPECT_EQ(width(ICON_BIG), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(width(ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
    EXPECT_STREQ(dialog.GetRuntimeClass()->m_lpszClassName, "CVelmoraDlg");
    dialog.DestroyWindow();
}

TEST(VelmoraProgram, CancelAndTheCloseBoxLeaveTheSettingsFileAsItWas) {
    vtest::FileRestorer keep(vtest::IniPath());
    const std::string before =
        "[Screensaver]\r\nnScr=1\r\nScr0=C:\\nowhere\\gone.scr\r\nLastScrShow=0\r\n"
        "[Options]\r\nShowRandomOrder=7\r\nShowTime=\r\n[Additional Path]\r\nPath0=  \r\n";
    vtest::WriteFileBytes(vtest::IniPath(), before);
    vtest::TempDir folder("vp");
    // The pointer rests off the sheet, so no input wakes the modal loop: the
    // press alone must close it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);

    for (const char* how : {"cancel", "close box"}) {
        RunningProgram program(folder.path());
        ASSERT_NE(program.sheet, nullptr);
        HWND sheet = program.sheet;
        // Visit every page, so that each page exists and could have saved.
        for (int page = 0; page < 5; ++page) {
            SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
            vtest::PumpFor(100);
        }
        if (std::string(how) == "cancel")
            SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        else
            PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(program.process.WaitForExit(10000)) << how;
        EXPECT_EQ(vtest::ReadFileBytes(vtest::IniPath()), before) << how;
    }
}

TEST(VelmoraProgram, HelpOpensTheHelpFileOfTheCurrentFolder) {
    // .chm files open with a probe that logs how it was started. (This Wine
    // does not merge HKCU\\Software\\Classes into the classes root, so the
    // association goes there, and is put back.)
    vtest::RegValueRestorer keepChm(HKEY_CLASSES_ROOT, ".chm", "");
    ASSERT_TRUE(vtest::SetRegString(HKEY_CLASSES_ROOT, ".chm", "", "VelmoraTest.chm"));
    ASSERT_TRUE(vtest::SetRegString(HKEY_CLASSES_ROOT, "VelmoraTest.chm\\shell\\open\\command", "",
                                    "\"" + vtest::BinDir() + "\\config_probe.exe\" \"%1\""));
    struct Cleanup {
        ~Cleanup() { vtest::DeleteRegTree(HKEY_CLASSES_ROOT, "VelmoraTest.chm"); }
    } cleanup;

    vtest::TempDir folder("vh");
    std::string log = folder / "probe.log";
    vtest::ScopedEnv logTo("VELMORA_CONFIG_PROBE_LOG", log);

    // No help file: nothing opens and nothing is shown.
    {
        RunningProgram program(folder.path());
        ASSERT_NE(program.sheet, nullptr);
        SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        vtest::PumpFor(1500);
        EXPECT_FALSE(vtest::PathExists(log));
        for (HWND w : vtest::TopLevelWindowsOf(program.process.Id())) {
            if (!IsWindowVisible(w)) continue;
            EXPECT_EQ(w, program.sheet) << vtest::WindowText(w);
        }
    }
    // With Velmora.chm beside it, the Help button opens that file.
    vtest::WriteFileBytes(folder / "Velmora.chm", "not really a help file");
    {
        RunningProgram program(folder.path());
        ASSERT_NE(program.sheet, nullptr);
        SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        ASSERT_TRUE(vtest::WaitUntil([&] { return !vtest::ReadProbeLog(log).empty(); }, 15000));
        std::vector<vtest::ProbeStart> starts = vtest::ReadProbeLog(log);
        ASSERT_EQ(starts.size(), 1u);
        std::string args = vtest::ArgumentsOf(starts[0].commandLine);
        EXPECT_NE(args.find("Velmora.chm"), std::string::npos) << starts[0].commandLine;
        EXPECT_TRUE(vtest::SamePath(args.substr(args.find_first_not_of(" \""),
                                                args.find("Velmora.chm") + 11 -
                                                    args.find_first_not_of(" \"")),
                                    folder / "Velmora.chm"))
            << args;
    }
}

}  // namespace
