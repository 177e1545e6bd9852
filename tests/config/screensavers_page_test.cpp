// The catalogue page in a real property sheet: what it finds in the Windows
// folder, the system folder and the extra folders, what its buttons do to the
// two lists and to each other, what OK, Cancel and the close box leave in the
// settings file, and the screensavers it starts.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <mbstring.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "resources/velmora_exe_ids.h"
#include "tests/config/catalogue_sheet.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The key=value lines of one section, in file order.
std::vector<std::string> Section(const char* name) {
    std::vector<char> buffer(32768);
    DWORD n = GetPrivateProfileSectionA(name, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        "Velmora.ini");
    std::vector<std::string> lines;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += std::strlen(p) + 1)
        lines.push_back(p);
    return lines;
}

// The pixels of a 16 x 16 picture that draw() puts on white.
template <typename Draw>
std::vector<COLORREF> Drawn16(Draw draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

std::vector<COLORREF> ImagePixels(HIMAGELIST list, int index) {
    return Drawn16([&](HDC dc) { ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL); });
}

class ScreensaversPage : public ::testing::Test {
protected:
    void SetUp() override {
        FlushIni();
        DeleteFileA(IniPath().c_str());
    }
    void TearDown() override { FlushIni(); }

    // A probe copy in the extra folder, which the settings file names.
    void AddSaver(const std::string& fileName, const char* name, COLORREF icon = CLR_INVALID) {
        savers.push_back(std::make_unique<PlacedSaver>(folder / fileName, name, icon));
        ASSERT_TRUE(savers.back()->Placed()) << fileName;
    }
    std::string Extra() const { return folder.path() + "\\"; }
    std::string FileIn(const std::string& fileName) const { return Extra() + fileName; }
    void UseExtraFolder() {
        Ini("Additional Path", "Path0", Extra().c_str());
        FlushIni();
    }

    FileRestorer ini{IniPath()};
    TempDir folder{"catalogue"};
    std::vector<std::unique_ptr<PlacedSaver>> savers;
};

// Makes ".scr" files show their own icons, as Windows does (the test prefix
// knows no such type), and puts the type back as it was.
struct ScreensaverFilesShowTheirIcons {
    static bool TypeExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".scr", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    ScreensaverFilesShowTheirIcons()
        : existed(TypeExists()),
          ok(SetRegString(HKEY_CLASSES_ROOT, ".scr", "", "exefile")) {}  // its icon is "%1"
    ~ScreensaverFilesShowTheirIcons() {
        if (!existed) DeleteRegTree(HKEY_CLASSES_ROOT, ".scr");
    }
    bool existed;
    RegValueRestorer type{HKEY_CLASSES_ROOT, ".scr", ""};
    bool ok;
};

// Four savers named by their string 1, in the extra folder only.
class DrivenPage : public ScreensaversPage {
protected:
    void SetUp() override {
        ScreensaversPage::SetUp();
        AddSaver("vtgamma.scr", "gamma");
        AddSaver("vtbeta.scr", "Beta");
        AddSaver("vtalpha.scr", "alpha");
        AddSaver("vtdelta.scr", "delta");
        UseExtraFolder();
    }
};

TEST_F(ScreensaversPage, ScansEveryFolderWithTheNameRule) {
    // Names outside ASCII are written in the ANSI code page, Windows-1252.
    ASSERT_EQ(GetACP(), 1252u);
    ScreensaverFilesShowTheirIcons icons;
    ASSERT_TRUE(icons.ok);
    const std::string win = WindowsFolder(), sys = SystemFolder();
    // The rotator itself in any case is never listed; velmora2.scr is.
    PlacedSaver rotatorUpper(win + "VELMORA.SCR", nullptr);
    PlacedSaver rotatorMixed(sys + "Velmora.scr", nullptr);
    PlacedSaver second(sys + "velmora2.scr", nullptr, RGB(0, 255, 255));
    // 8.3 names are read from string 1, or named after the file without it.
    // Each file has icons of a colour of its own.
    PlacedSaver beta(win + "vtbeta.scr", "Beta", RGB(0, 255, 0));
    PlacedSaver betaUpper(sys + "vtbeta.scr", "BETA", RGB(0, 0, 255));
    PlacedSaver nameless(sys + "vtnostr.scr", "", RGB(128, 0, 0));
    // A long name is named after the file, whatever its string 1 says.
    PlacedSaver longName(win + "Velmora Test Long.scr", "Not Read", RGB(0, 128, 0));
    ASSERT_TRUE(rotatorUpper.Placed() && rotatorMixed.Placed() && second.Placed() && beta.Placed() &&
                betaUpper.Placed() && nameless.Placed() && longName.Placed());
    AddSaver("vtalpha.scr", "alpha", RGB(255, 0, 0));
    AddSaver("VTGAMMA.SCR", "gamma", RGB(255, 0, 255));
    AddSaver("vtbeta.scr", "beta", RGB(255, 255, 0));
    AddSaver("vtelan.scr", "\xC9" "lan", RGB(0, 0, 128));            // "Élan"
    AddSaver("Velmora \xC9" "cran.scr", nullptr, RGB(128, 0, 128));  // "Velmora Écran"
    TempDir unread("unread");
    PlacedSaver afterGap(unread / "vtunread.scr", "unread");

    // Trimmed; the Windows folder a second time; nothing after an empty value.
    Ini("Additional Path", "Path0", ("  " + Extra() + "\t ").c_str());
    Ini("Additional Path", "Path1", win.c_str());
    Ini("Additional Path", "Path2", "   ");
    Ini("Additional Path", "Path3", (unread.path() + "\\").c_str());
    FlushIni();

    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    // Sorted as _mbsicmp orders names, without regard to case; equal names
    // in the order their folders were scanned (Windows, system, the extra
    // folders), so the Windows folder's files come twice.
    std::vector<Row> expected = {
        {"Beta", win + "vtbeta.scr"},
        {"Velmora Test Long", win + "Velmora Test Long.scr"},
        {"Velmora Probe", sys + "velmora2.scr"},
        {"BETA", sys + "vtbeta.scr"},
        {"vtnostr", sys + "vtnostr.scr"},
        {"alpha", FileIn("vtalpha.scr")},
        {"gamma", FileIn("VTGAMMA.SCR")},
        {"beta", FileIn("vtbeta.scr")},
        {"\xC9" "lan", FileIn("vtelan.scr")},
        {"Velmora \xC9" "cran", FileIn("Velmora \xC9" "cran.scr")},
        {"Beta", win + "vtbeta.scr"},
        {"Velmora Test Long", win + "Velmora Test Long.scr"},
    };
    std::stable_sort(expected.begin(), expected.end(), [](const Row& a, const Row& b) {
        return _mbsicmp(reinterpret_cast<const unsigned char*>(a.name.c_str()),
                        reinterpret_cast<const unsigned char*>(b.name.c_str())) < 0;
    });
    EXPECT_EQ(sheet.Catalogue(), expected);
    EXPECT_TRUE(sheet.Rotation().empty());
    EXPECT_EQ(sheet.Marks(), std::vector<LPARAM>(expected.size(), 0));

    // One icon per row in one image list that both lists show and neither
    // owns, and each row shows its own file's icon.
    HWND available = sheet.Item(IDC_AVAILABLE_LIST), selected = sheet.Item(IDC_SELECTED_LIST);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(available, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(selected, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              images);
    EXPECT_EQ(ImageList_GetImageCount(images), static_cast<int>(expected.size()));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    for (HWND list : {available, selected})
        EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);
    // The file's icon as an image list of the same kind keeps it.
    HIMAGELIST own = ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, 0, 1);
    std::set<std::vector<COLORREF>> distinct;
    for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageA(available, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        HICON icon = velmora::catalogue::GetFileIcon(expected[static_cast<size_t>(i)].file.c_str());
        const int reference = ImageList_ReplaceIcon(own, -1, icon);
        DestroyIcon(icon);
        const std::vector<COLORREF> shown = ImagePixels(images, item.iImage);
        EXPECT_EQ(shown, ImagePixels(own, reference)) << expected[static_cast<size_t>(i)];
        distinct.insert(shown);
    }
    ImageList_Destroy(own);
    EXPECT_EQ(distinct.size(), expected.size() - 2);  // one per file

    // Columns and full-row selection.
    char title[64] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    struct Column {
        HWND list;
        int index;
        const char* title;
        int width;
    } columns[] = {{available, 0, "Available Screensavers", 210},
                   {available, 1, "File", 200},
                   {selected, 0, "Selected Screensavers", 220}};
    for (const Column& c : columns) {
        ASSERT_TRUE(SendMessageA(c.list, LVM_GETCOLUMNA, c.index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, c.title);
        EXPECT_EQ(column.cx, c.width) << c.title;
        EXPECT_TRUE(SendMessageA(c.list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    }
    EXPECT_EQ(sheet.Buttons(), "01000000");  // only Add all
    EXPECT_TRUE(sheet.Close(PSBTN_CANCEL));
}

std::vector<COLORREF> Pixels(HICON icon) {
    return Drawn16([&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL); });
}

// A file the shell has no icon for gets the program's own icon 131, made
// 16 x 16; a screensaver file gets its own icon at that size.
TEST_F(ScreensaversPage, FileIconsAreSmallWithTheProgramsIconAsFallback) {
    AddSaver("vtalpha.scr", "alpha");
    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    HICON own = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SAVER_FILE),
                                              IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(own, nullptr);
    struct Case {
        std::string path;
        bool fallback;
    } cases[] = {{folder / "missing.scr", true}, {FileIn("vtalpha.scr"), false}};
    for (const Case& c : cases) {
        HICON icon = velmora::catalogue::GetFileIcon(c.path.c_str());
        ASSERT_NE(icon, nullptr) << c.path;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 16) << c.path;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(Pixels(icon) == Pixels(own), c.fallback) << c.path;
        DestroyIcon(icon);
    }
    DestroyIcon(own);
    EXPECT_TRUE(sheet.Close(PSBTN_CANCEL));
}

// The 9x line names every file after itself: the page runs in a program of
// its own to which Wine reports Windows 98.
TEST_F(ScreensaversPage, NineXLineShowsFileNames) {
    AddSaver("vtalpha.scr", "alpha");
    AddSaver("vtnostr.scr", "");
    AddSaver("Velmora Test Long.scr", "Not Read");
    AddSaver("velmora.SCR", nullptr);
    UseExtraFolder();
    struct Line {
        const char* version;
        std::vector<std::string> rows;
    } lines[] = {
        {"win98", {"Velmora Test Long\t" + FileIn("Velmora Test Long.scr"),
                   "vtalpha\t" + FileIn("vtalpha.scr"), "vtnostr\t" + FileIn("vtnostr.scr")}},
        {"winxp", {"alpha\t" + FileIn("vtalpha.scr"),
                   "Velmora Test Long\t" + FileIn("Velmora Test Long.scr"),
                   "vtnostr\t" + FileIn("vtnostr.scr")}},
    };
    for (const Line& line : lines) {
        WineVersionFor version("catalogue_lister.exe", line.version);
        std::string out = folder / "rows.txt";
        DeleteFileA(out.c_str());
        const std::string exe = BinDir() + "\\catalogue_lister.exe";
        ASSERT_EQ(RunToEnd("\"" + exe + "\" \"" + out + "\""), 0u) << line.version;
        EXPECT_EQ(ReadLines(out), line.rows) << line.version;
    }
}

TEST_F(DrivenPage, ButtonsMoveRowsAndSwitchEachOther) {
    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    using Names = std::vector<std::string>;
    ASSERT_EQ(sheet.Catalogue().size(), 4u);
    ASSERT_EQ(sheet.Catalogue()[0].name, "alpha");
    ASSERT_EQ(sheet.Catalogue()[3].name, "gamma");
    // Buttons, in id order: add selected, add all, remove selected, remove
    // all, Settings, Preview, Up, Down.
    EXPECT_EQ(sheet.Buttons(), "01000000");

    sheet.Click(IDC_AVAILABLE_LIST, {0, 2});  // alpha, delta
    EXPECT_EQ(sheet.Buttons(), "11000000");
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    EXPECT_EQ(sheet.Rotation(), (Names{"alpha", "delta"}));
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{1, 0, 1, 0}));
    EXPECT_EQ(sheet.Buttons(), "11010000");

    sheet.Click(IDC_AVAILABLE_LIST, {1});  // one row: Settings and Preview
    EXPECT_EQ(sheet.Buttons(), "11011100");
    sheet.Click(IDC_AVAILABLE_LIST, {0, 1});  // alpha is passed over
    EXPECT_EQ(sheet.Buttons(), "11010000");
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    EXPECT_EQ(sheet.Rotation(), (Names{"alpha", "delta", "Beta"}));
    ASSERT_TRUE(sheet.Press(IDC_ADD_ALL));
    EXPECT_EQ(sheet.Rotation(), (Names{"alpha", "delta", "Beta", "gamma"}));
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{1, 1, 1, 1}));
    EXPECT_EQ(sheet.Buttons(), "11010000");

    HWND rotation = sheet.Item(IDC_SELECTED_LIST);
    auto selectedRows = [&] {
        std::vector<int> rows;
        for (int i = -1; (i = static_cast<int>(SendMessageA(rotation, LVM_GETNEXTITEM, i, LVNI_SELECTED))) != -1;)
            rows.push_back(i);
        return rows;
    };
    // The selection changed by the keyboard moves the mark without a click.
    auto keyboardSelect = [&](int row) {
        LVITEMA none{};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(rotation, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        LVITEMA item{};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageA(rotation, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        SendMessageA(rotation, LVM_SETSELECTIONMARK, 0, row);
    };

    sheet.Click(IDC_SELECTED_LIST, {0});  // first row: Down only
    EXPECT_EQ(sheet.Buttons(), "11110001");
    sheet.Click(IDC_SELECTED_LIST, {1});
    EXPECT_EQ(sheet.Buttons(), "11110011");
    keyboardSelect(0);  // Up stays enabled on the first row, and does nothing
    ASSERT_TRUE(sheet.Press(IDC_MOVE_UP));
    EXPECT_EQ(sheet.Rotation(), (Names{"alpha", "delta", "Beta", "gamma"}));
    EXPECT_EQ(sheet.Buttons(), "11110011");

    ASSERT_TRUE(sheet.Press(IDC_MOVE_DOWN));  // alpha travels, selected
    EXPECT_EQ(sheet.Rotation(), (Names{"delta", "alpha", "Beta", "gamma"}));
    EXPECT_EQ(selectedRows(), std::vector<int>{1});
    EXPECT_EQ(SendMessageA(rotation, LVM_GETSELECTIONMARK, 0, 0), 1);
    EXPECT_EQ(sheet.Buttons(), "11110011");
    ASSERT_TRUE(sheet.Press(IDC_MOVE_DOWN));
    ASSERT_TRUE(sheet.Press(IDC_MOVE_DOWN));  // to the last row: Down off
    EXPECT_EQ(sheet.Rotation(), (Names{"delta", "Beta", "gamma", "alpha"}));
    EXPECT_EQ(selectedRows(), std::vector<int>{3});
    EXPECT_EQ(sheet.Buttons(), "11110010");
    EXPECT_FALSE(sheet.Press(IDC_MOVE_DOWN));

    sheet.Click(IDC_SELECTED_LIST, {3});  // last row: Up only
    EXPECT_EQ(sheet.Buttons(), "11110010");
    sheet.Click(IDC_SELECTED_LIST, {2});
    keyboardSelect(3);  // Down stays enabled on the last row, and does nothing
    ASSERT_TRUE(sheet.Press(IDC_MOVE_DOWN));
    EXPECT_EQ(sheet.Rotation(), (Names{"delta", "Beta", "gamma", "alpha"}));

    sheet.Click(IDC_SELECTED_LIST, {1});
    ASSERT_TRUE(sheet.Press(IDC_MOVE_UP));  // to the first row: Up off
    EXPECT_EQ(sheet.Rotation(), (Names{"Beta", "delta", "gamma", "alpha"}));
    EXPECT_EQ(selectedRows(), std::vector<int>{0});
    EXPECT_EQ(sheet.Buttons(), "11110001");

    sheet.Click(IDC_SELECTED_LIST, {0, 1});  // two rows: neither Up nor Down
    EXPECT_EQ(sheet.Buttons(), "11110000");
    sheet.Click(IDC_SELECTED_LIST, {1, 3});  // delta, alpha
    ASSERT_TRUE(sheet.Press(IDC_REMOVE_SELECTED));
    EXPECT_EQ(sheet.Rotation(), (Names{"Beta", "gamma"}));
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{0, 1, 0, 1}));  // alpha, Beta, delta, gamma
    EXPECT_EQ(sheet.Buttons(), "11110000");

    sheet.Click(IDC_SELECTED_LIST, {1});
    EXPECT_EQ(sheet.Buttons(), "11110010");
    ASSERT_TRUE(sheet.Press(IDC_REMOVE_ALL));
    EXPECT_TRUE(sheet.Rotation().empty());
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{0, 0, 0, 0}));
    EXPECT_EQ(sheet.Buttons(), "11000000");

    sheet.Click(IDC_AVAILABLE_LIST, {3});
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    sheet.Click(IDC_SELECTED_LIST, {0});  // the only row
    EXPECT_EQ(sheet.Buttons(), "11111100");
    ASSERT_TRUE(sheet.Press(IDC_REMOVE_SELECTED));  // list empty: both removes off
    EXPECT_EQ(sheet.Buttons(), "11001100");

    // Add selected stays on with nothing selected, and then adds nothing:
    // not the marked row, not the focused one.
    sheet.Click(IDC_AVAILABLE_LIST, {2});
    sheet.Click(IDC_AVAILABLE_LIST, {});
    HWND catalogue = sheet.Item(IDC_AVAILABLE_LIST);
    SendMessageA(catalogue, LVM_SETSELECTIONMARK, 0, 2);
    LVITEMA focus{};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageA(catalogue, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&focus));
    EXPECT_EQ(sheet.Buttons().substr(0, 2), "11");
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    EXPECT_TRUE(sheet.Rotation().empty());
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{0, 0, 0, 0}));
    EXPECT_TRUE(sheet.Close(PSBTN_CANCEL));
}

// Red text in the catalogue for the rows that are in the rotation list, read
// back from the screen.
TEST_F(DrivenPage, ListedRowsAreDrawnRed) {
    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    SetWindowPos(sheet.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    HWND available = sheet.Item(IDC_AVAILABLE_LIST), rotation = sheet.Item(IDC_SELECTED_LIST);
    sheet.Click(IDC_AVAILABLE_LIST, {1, 3});  // Beta, gamma
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    sheet.Click(IDC_AVAILABLE_LIST, {});  // nothing selected, so no row is highlighted

    auto redPixels = [&](HWND list, int row) {
        UpdateWindow(list);
        sheet.PumpUntil([] { return false; }, 100);
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        HDC dc = GetDC(list);
        int red = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (GetPixel(dc, x, y) == RGB(255, 0, 0)) ++red;
        ReleaseDC(list, dc);
        return red;
    };
    EXPECT_EQ(redPixels(available, 0), 0);  // alpha
    EXPECT_GT(redPixels(available, 1), 0);  // Beta
    EXPECT_EQ(redPixels(available, 2), 0);  // delta
    EXPECT_GT(redPixels(available, 3), 0);  // gamma
    EXPECT_EQ(redPixels(rotation, 0), 0);   // the rotation list keeps its colour
    EXPECT_EQ(redPixels(rotation, 1), 0);

    sheet.Click(IDC_SELECTED_LIST, {0});  // Beta back to normal
    ASSERT_TRUE(sheet.Press(IDC_REMOVE_SELECTED));
    sheet.Click(IDC_SELECTED_LIST, {});
    EXPECT_EQ(redPixels(available, 1), 0);
    EXPECT_GT(redPixels(available, 3), 0);
    EXPECT_TRUE(sheet.Close(PSBTN_CANCEL));
}

// Entries are matched without regard to case, as Windows matches paths, and
// one whose file is not there now (a drive unplugged) is kept through OK as
// it was stored: an OK for another change loses nothing of the list.
TEST_F(DrivenPage, OkRewritesTheRotationSectionOnly) {
    const std::string lostCase = Lower(FileIn("vtbeta.scr"));
    ASSERT_NE(lostCase, FileIn("vtbeta.scr"));
    Ini("General", "ProgramPath", "C:\\Velmora\\Velmora.exe");
    Ini("Options", "ShowTime", "7");
    Ini("Options", "ShowRandomOrder", "1");
    Ini("Screensaver", "nScr", "5");
    Ini("Screensaver", "Scr0", FileIn("vtgamma.scr").c_str());
    Ini("Screensaver", "Scr1", ("  " + FileIn("vtalpha.scr") + " ").c_str());
    Ini("Screensaver", "Scr2", lostCase.c_str());  // case differs: the same file
    Ini("Screensaver", "Scr3", "");                 // empty: dropped
    Ini("Screensaver", "Scr4", "C:\\gone\\gone.scr");  // not there now: kept
    Ini("Screensaver", "Weight4", "4");
    Ini("Screensaver", "Scr5", FileIn("vtdelta.scr").c_str());  // beyond nScr
    Ini("Screensaver", "LastScrShow", "1");
    FlushIni();
    const auto general = Section("General"), options = Section("Options"),
               paths = Section("Additional Path");

    {
        CatalogueSheet sheet;
        ASSERT_TRUE(sheet.Show());
        EXPECT_EQ(sheet.Rotation(), (std::vector<std::string>{"gamma", "alpha", "Beta",
                                                              "C:\\gone\\gone.scr (not found)"}));
        EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{1, 1, 0, 1}));
        sheet.Click(IDC_AVAILABLE_LIST, {2});
        ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
        EXPECT_TRUE(sheet.Close(PSBTN_OK));
    }
    FlushIni();
    EXPECT_EQ(Section("Screensaver"),
              (std::vector<std::string>{"Scr0=" + FileIn("vtgamma.scr"), "Scr1=" + FileIn("vtalpha.scr"),
                                        "Scr2=" + FileIn("vtbeta.scr"), "Scr3=C:\\gone\\gone.scr",
                                        "Weight3=4", "Scr4=" + FileIn("vtdelta.scr"), "nScr=5"}));
    EXPECT_EQ(Section("General"), general);
    EXPECT_EQ(Section("Options"), options);
    EXPECT_EQ(Section("Additional Path"), paths);

    // Loaded and saved again, the file does not change.
    const std::string saved = ReadFileBytes(IniPath());
    {
        CatalogueSheet sheet;
        ASSERT_TRUE(sheet.Show());
        EXPECT_EQ(sheet.Rotation(),
                  (std::vector<std::string>{"gamma", "alpha", "Beta", "C:\\gone\\gone.scr (not found)",
                                            "delta"}));
        EXPECT_TRUE(sheet.Close(PSBTN_OK));
    }
    FlushIni();
    EXPECT_EQ(ReadFileBytes(IniPath()), saved);
}

TEST_F(DrivenPage, OkWithAnEmptyListWritesOnlyTheCount) {
    Ini("Screensaver", "nScr", "2");
    Ini("Screensaver", "Scr0", FileIn("vtgamma.scr").c_str());
    Ini("Screensaver", "Scr1", FileIn("vtbeta.scr").c_str());
    Ini("Screensaver", "LastScrShow", "0");
    FlushIni();
    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    ASSERT_EQ(sheet.Rotation().size(), 2u);
    ASSERT_TRUE(sheet.Press(IDC_REMOVE_ALL));
    EXPECT_TRUE(sheet.Close(PSBTN_OK));
    FlushIni();
    EXPECT_EQ(Section("Screensaver"), std::vector<std::string>{"nScr=0"});
}

TEST_F(DrivenPage, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
    Ini("Screensaver", "nScr", "1");
    Ini("Screensaver", "Scr0", FileIn("vtgamma.scr").c_str());
    Ini("Screensaver", "LastScrShow", "0");
    Ini("Options", "ShowTime", "9");
    FlushIni();
    const std::string before = ReadFileBytes(IniPath());
    for (bool closeBox : {false, true}) {
        {
            CatalogueSheet sheet;
            ASSERT_TRUE(sheet.Show());
            ASSERT_TRUE(sheet.Press(IDC_ADD_ALL));
            sheet.Click(IDC_SELECTED_LIST, {0});
            ASSERT_TRUE(sheet.Press(IDC_REMOVE_SELECTED));
            EXPECT_TRUE(closeBox ? sheet.CloseBox() : sheet.Close(PSBTN_CANCEL));
        }
        FlushIni();
        EXPECT_EQ(ReadFileBytes(IniPath()), before) << (closeBox ? "close box" : "Cancel");
    }
}

// A folder scanned under two spellings lists its files twice under one name:
// saving stores the file of the first of them in catalogue order, whichever
// was added. A name of more than 99 characters is kept whole.
TEST_F(ScreensaversPage, SavingFindsTheFileByTheWholeName) {
    AddSaver("vtalpha.scr", "alpha");
    const std::string longName = "Velmora " + std::string(110, 'x');
    AddSaver(longName + ".scr", nullptr);
    Ini("Additional Path", "Path0", Extra().c_str());
    Ini("Additional Path", "Path1", Lower(Extra()).c_str());
    FlushIni();
    ASSERT_NE(Lower(Extra()), Extra());

    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    const std::vector<Row> rows = sheet.Catalogue();
    ASSERT_EQ(rows.size(), 4u);
    ASSERT_EQ(rows[0].name, "alpha");
    ASSERT_EQ(rows[1].name, "alpha");
    ASSERT_EQ(rows[2].name, longName);
    // Equal names stay in the order their folders were scanned.
    const std::string lowerFolder = Lower(Extra());
    ASSERT_EQ(rows[0].file, FileIn("vtalpha.scr"));
    ASSERT_EQ(rows[1].file, lowerFolder + "vtalpha.scr");
    ASSERT_EQ(rows[2].file, FileIn(longName + ".scr"));
    ASSERT_EQ(rows[3].file, lowerFolder + longName + ".scr");
    sheet.Click(IDC_AVAILABLE_LIST, {1, 3});  // the second alpha and one long name
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    EXPECT_EQ(sheet.Rotation(), (std::vector<std::string>{"alpha", longName}));
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{0, 1, 0, 1}));

    // Removed and added again, the row that was added is the one that turns.
    sheet.Click(IDC_SELECTED_LIST, {0});
    ASSERT_TRUE(sheet.Press(IDC_REMOVE_SELECTED));
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{0, 0, 0, 1}));
    sheet.Click(IDC_AVAILABLE_LIST, {1});
    ASSERT_TRUE(sheet.Press(IDC_ADD_SELECTED));
    EXPECT_EQ(sheet.Rotation(), (std::vector<std::string>{longName, "alpha"}));
    sheet.Click(IDC_SELECTED_LIST, {1});
    ASSERT_TRUE(sheet.Press(IDC_MOVE_UP));
    EXPECT_EQ(sheet.Rotation(), (std::vector<std::string>{"alpha", longName}));
    EXPECT_EQ(sheet.Marks(), (std::vector<LPARAM>{0, 1, 0, 1}));
    EXPECT_TRUE(sheet.Close(PSBTN_OK));
    FlushIni();
    EXPECT_EQ(Section("Screensaver"),
              (std::vector<std::string>{"Scr0=" + FileIn("vtalpha.scr"),
                                        "Scr1=" + FileIn(longName + ".scr"), "nScr=2"}));
}

// Settings and Preview start the marked screensaver by its short path in its
// own folder, and the page goes on while it runs.
TEST_F(ScreensaversPage, SettingsAndPreviewStartTheMarkedSaver) {
    AddSaver("vtprobe.scr", "probe");
    AddSaver("vtother.scr", "other");
    UseExtraFolder();
    const std::string log = folder / "starts.log";
    ScopedEnv logVariable("VELMORA_SAVER_PROBE_LOG", log);

    CatalogueSheet sheet;
    ASSERT_TRUE(sheet.Show());
    ASSERT_EQ(sheet.Catalogue()[1].name, "probe");
    const std::string file = sheet.Catalogue()[1].file;
    std::vector<std::unique_ptr<OpenedProcess>> started;
    auto waitForStarts = [&](size_t n) {
        bool ok = sheet.PumpUntil([&] { return ReadProbeLog(log).size() >= n; }, 15000);
        for (size_t i = started.size(); i < ReadProbeLog(log).size(); ++i)
            started.push_back(std::make_unique<OpenedProcess>(ReadProbeLog(log)[i].pid));
        return ok;
    };

    // Without a marked row Settings starts nothing.
    sheet.Click(IDC_AVAILABLE_LIST, {1});
    SendMessageA(sheet.Item(IDC_AVAILABLE_LIST), LVM_SETSELECTIONMARK, 0, -1);
    SendMessageA(sheet.Page(), WM_COMMAND, MAKEWPARAM(IDC_SAVER_SETTINGS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(sheet.Item(IDC_SAVER_SETTINGS)));

    sheet.Click(IDC_AVAILABLE_LIST, {1});
    ASSERT_TRUE(sheet.Press(IDC_SAVER_SETTINGS));
    ASSERT_TRUE(waitForStarts(1));
    ASSERT_TRUE(sheet.Press(IDC_SAVER_PREVIEW));
    ASSERT_TRUE(waitForStarts(2));
    const std::vector<ProbeStart> starts = ReadProbeLog(log);
    ASSERT_EQ(starts.size(), 2u);
    const std::string shortPath = ShortPathOf(file);
    EXPECT_EQ(starts[0].commandLine,
              shortPath + " /c:" + std::to_string(reinterpret_cast<UINT_PTR>(sheet.Page())));
    EXPECT_EQ(starts[1].commandLine, shortPath + " /s");
    for (const ProbeStart& start : starts) {
        EXPECT_TRUE(SamePath(start.currentDir, folder.path())) << start.currentDir;
        EXPECT_EQ(start.ppid, GetCurrentProcessId());
    }
    // Both still run: the page did not wait for them.
    for (const auto& process : started) EXPECT_TRUE(process->Running());
    EXPECT_EQ(sheet.Buttons().substr(4, 2), "11");
    started.clear();  // ends them
    EXPECT_TRUE(sheet.Close(PSBTN_CANCEL));
}

}  // namespace
