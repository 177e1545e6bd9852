// The resources of Velmora.exe, linked into this test program: the page
// templates made into real dialogs and measured, the pictures loaded the way
// the program loads them, the manifest, the version and the strings.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resources/velmora_exe_ids.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

HMODULE Self() { return GetModuleHandleA(nullptr); }

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A page template made into a modeless, hidden dialog. Pages are child
// windows, so the dialog gets a hidden top-level window as its parent.
class Page {
public:
    explicit Page(int templateId) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                                    ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        m_host = CreateWindowExA(0, "Static", "page host", WS_POPUP, 0, 0, 800, 600, nullptr,
                                 nullptr, Self(), nullptr);
        if (m_host)
            m_dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(templateId), m_host,
                                          PlainDialogProc, 0);
    }
    ~Page() {
        if (m_dialog) DestroyWindow(m_dialog);
        if (m_host) DestroyWindow(m_host);
    }
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    HWND Hwnd() const { return m_dialog; }
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }

    // A rectangle in dialog units, in the dialog's client pixels.
    RECT Pixels(int x, int y, int w, int h) const {
        RECT r = {x, y, x + w, y + h};
        MapDialogRect(m_dialog, &r);
        return r;
    }
    // Where a child window sits, in the dialog's client pixels.
    RECT Placement(HWND child) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, m_dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

private:
    HWND m_host = nullptr;
    HWND m_dialog = nullptr;
};

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// Dialog-unit conversion rounds each edge on its own: one pixel either way.
::testing::AssertionResult Near(const RECT& actual, const RECT& expected, int slack = 1) {
    if (std::abs(actual.left - expected.left) <= slack &&
        std::abs(actual.top - expected.top) <= slack &&
        std::abs(actual.right - expected.right) <= slack &&
        std::abs(actual.bottom - expected.bottom) <= slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "at " << RectText(actual) << ", expected " << RectText(expected);
}

// --- the pages ---------------------------------------------------------------

struct ExpectedPage {
    int id;
    const char* caption;
    int cx, cy;
};

const ExpectedPage kPages[] = {
    {IDD_SCREENSAVERS, "Screensavers", 302, 199},
    {IDD_OPTIONS, "Options", 302, 202},
    {IDD_ROTATION, "Rotation", 302, 199},
    {IDD_DONATIONS, "Donations", 302, 199},
    {IDD_ABOUT, "About", 302, 202},
};

// The sheet takes each page's caption as its title and sizes itself to the
// largest page; the pages are children, hidden and disabled until shown.
TEST(ConfigResources, PagesHaveTheirTitleSizeAndFont) {
    HDC screen = GetDC(nullptr);
    const int fontHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    for (const ExpectedPage& want : kPages) {
        SCOPED_TRACE(want.caption);
        Page page(want.id);
        ASSERT_NE(page.Hwnd(), nullptr) << "template " << want.id;
        EXPECT_EQ(WindowText(page.Hwnd()), want.caption);
        const DWORD style = GetWindowLongA(page.Hwnd(), GWL_STYLE);
        EXPECT_EQ(style & (WS_CHILD | WS_POPUP | WS_CAPTION | WS_DISABLED | WS_VISIBLE),
                  DWORD(WS_CHILD | WS_CAPTION | WS_DISABLED))
            << std::hex << style;
        RECT client;
        GetClientRect(page.Hwnd(), &client);
        EXPECT_TRUE(Near(client, page.Pixels(0, 0, want.cx, want.cy)));

        HFONT font = reinterpret_cast<HFONT>(SendMessageA(page.Hwnd(), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << "the template sets no font";
        LOGFONTA lf{};
        ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), int(sizeof lf));
        EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
        EXPECT_EQ(lf.lfHeight, fontHeight) << "not 8 points";
    }
}

enum Check : unsigned {
    kBorder = 1,     // WS_BORDER, or the client edge the dialog manager may turn it into
    kNoRect = 2,     // placed at run time (see MinutesSpinSitsOnItsEditAndWritesDigits)
    kNoText = 4,     // text written at run time
};

struct ExpectedControl {
    int id;
    const char* className;
    DWORD type;       // value of the type bits
    DWORD typeMask;   // BS_TYPEMASK, SS_TYPEMASK or LVS_TYPEMASK
    const char* text;
    DWORD required;   // style bits that must be set
    DWORD forbidden;  // style bits that must be clear
    int x, y, w, h;   // dialog units
    unsigned checks;
};

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kShown | LVS_SHOWSELALWAYS | WS_TABSTOP;
constexpr DWORD kNotAList = LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SORTDESCENDING | WS_DISABLED;
constexpr DWORD kPush = kShown | WS_TABSTOP | WS_DISABLED;

const ExpectedControl kCatalogue[] = {
    {IDC_AVAILABLE_LIST, "SysListView32", LVS_REPORT, LVS_TYPEMASK, "", kList, kNotAList, 6, 6, 120, 161, kBorder},
    {IDC_SELECTED_LIST, "SysListView32", LVS_REPORT, LVS_TYPEMASK, "", kList, kNotAList, 169, 6, 126, 161, kBorder},
    {IDC_ADD_SELECTED, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "", kPush, 0, 132, 12, 30, 24, 0},
    {IDC_ADD_ALL, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "", kPush, 0, 132, 48, 30, 24, 0},
    {IDC_REMOVE_SELECTED, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "", kPush, 0, 132, 84, 30, 24, 0},
    {IDC_REMOVE_ALL, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "", kPush, 0, 132, 120, 30, 24, 0},
    {IDC_SAVER_SETTINGS, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "Settings", kPush, 0, 6, 170, 60, 24, 0},
    {IDC_SAVER_PREVIEW, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "Preview", kPush, 0, 66, 170, 60, 24, 0},
    {IDC_MOVE_UP, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "Up", kPush, 0, 174, 170, 54, 24, 0},
    {IDC_MOVE_DOWN, "Button", BS_PUSHBUTTON, BS_TYPEMASK, "Down", kPush, 0, 234, 170, 54, 24, 0},
};

constexpr DWORD kRadioFirst = kShown | WS_GROUP | WS_TABSTOP;
constexpr DWORD kOn = WS_DISABLED;  // forbidden: the control starts enabled

const ExpectedControl kOptions[] = {
    {IDC_STATIC, "Button", BS_GROUPBOX, BS_TYPEMASK, "", kShown, kOn, 7, 78, 288, 35, 0},
    {IDC_STATIC, "Static", SS_LEFT, SS_TYPEMASK, "Show screensavers in:", kShown, kOn, 30, 93, 78, 8, 0},
    {IDC_LIST_ORDER, "Button", BS_AUTORADIOBUTTON, BS_TYPEMASK, "List order", kRadioFirst, kOn, 120, 91, 48, 12, 0},
    {IDC_RANDOM_ORDER, "Button", BS_AUTORADIOBUTTON, BS_TYPEMASK, "Random order", kShown, kOn | WS_GROUP, 186, 91, 60, 12, 0},
    {IDC_STATIC, "Button", BS_GROUPBOX, BS_TYPEMASK, "", kShown, kOn, 7, 120, 288, 72, 0},
    {IDC_STATIC, "Static", SS_LEFT, SS_TYPEMASK, "Screensaver show time", kShown, kOn, 31, 131, 78, 8, 0},
    {IDC_SHOW_INFINITE, "Button", BS_AUTORADIOBUTTON, BS_TYPEMASK, "Show for infinite time", kRadioFirst, kOn, 55, 146, 90, 12, 0},
    {IDC_SHOW_MINUTES, "Button", BS_AUTORADIOBUTTON, BS_TYPEMASK, "Show any screensaver for", kShown, kOn | WS_GROUP, 55, 163, 102, 12, 0},
    {IDC_SHOW_TIME, "Edit", 0, 0, nullptr, kShown | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | WS_DISABLED, ES_MULTILINE | ES_READONLY, 163, 163, 29, 12, kBorder | kNoRect | kNoText},
    {IDC_SHOW_TIME_SPIN, "msctls_updown32", 0, 0, "", kShown | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | WS_DISABLED, UDS_HORZ | UDS_ALIGNLEFT | UDS_WRAP, 187, 163, 11, 12, kNoRect},
    {IDC_MINUTES_LABEL, "Static", SS_LEFT, SS_TYPEMASK, "minuts", kShown, kOn, 204, 164, 30, 8, 0},
    {IDC_ADDITIONAL_PATHS, "Button", BS_GROUPBOX, BS_TYPEMASK, "Additional paths", kShown, kOn, 6, 6, 289, 66, 0},
    {IDC_PASSWORD_NOTE, "Static", SS_LEFT, SS_TYPEMASK,
     "NOTE: Screensaver password protection detected, disactivate it for use this option",
     WS_CHILD, kOn | WS_VISIBLE, 18, 178, 270, 8, 0},
};

struct PageControls {
    int page;
    const ExpectedControl* controls;
    size_t count;
};

// The children in template order (which is also the tab order), each with its
// id, class, type, text, style and place.
TEST(ConfigResources, PageControlsMatchTheirTemplates) {
    const PageControls pages[] = {
        {IDD_SCREENSAVERS, kCatalogue, sizeof kCatalogue / sizeof kCatalogue[0]},
        {IDD_OPTIONS, kOptions, sizeof kOptions / sizeof kOptions[0]},
    };
    for (const PageControls& p : pages) {
        SCOPED_TRACE("template " + std::to_string(p.page));
        Page page(p.page);
        ASSERT_NE(page.Hwnd(), nullptr);
        std::vector<HWND> children;
        for (HWND c = GetWindow(page.Hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            children.push_back(c);
        ASSERT_EQ(children.size(), p.count);
        for (size_t i = 0; i < p.count; ++i) {
            const ExpectedControl& want = p.controls[i];
            HWND child = children[i];
            SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
            EXPECT_EQ(GetDlgCtrlID(child), want.id);
            EXPECT_STRCASEEQ(ClassNameOf(child).c_str(), want.className);
            const DWORD style = GetWindowLongA(child, GWL_STYLE);
            const DWORD exStyle = GetWindowLongA(child, GWL_EXSTYLE);
            EXPECT_EQ(style & want.typeMask, want.type) << std::hex << style;
            EXPECT_EQ(style & want.required, want.required) << std::hex << style;
            EXPECT_EQ(style & want.forbidden, 0u) << std::hex << style;
            if (want.checks & kBorder) {
                EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE))
                    << "no border: " << std::hex << style << " " << exStyle;
            }
            if (!(want.checks & kNoText)) {
                EXPECT_EQ(WindowText(child), want.text);
            }
            if (!(want.checks & kNoRect)) {
                EXPECT_TRUE(Near(page.Placement(child), page.Pixels(want.x, want.y, want.w, want.h)));
            }
        }
    }
}

// Both lists take several rows at once and keep the order rows are inserted
// in: the page sorts the catalogue itself and the rotation list keeps the
// user's order.
TEST(ConfigResources, CatalogueListsSelectSeveralRowsInInsertionOrder) {
    Page page(IDD_SCREENSAVERS);
    ASSERT_NE(page.Hwnd(), nullptr);
    for (int id : {IDC_AVAILABLE_LIST, IDC_SELECTED_LIST}) {
        SCOPED_TRACE(id);
        HWND list = page.Item(id);
        ASSERT_NE(list, nullptr);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>("Name");
        ASSERT_EQ(SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)), 0);
        const char* names[] = {"Zeta", "alpha", "Mid"};
        for (int i = 0; i < 3; ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>(names[i]);
            ASSERT_EQ(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), i);
        }
        for (int i = 0; i < 3; ++i) {
            char text[32] = "";
            LVITEMA item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(text, names[i]);
        }
        LVITEMA selected{};
        selected.stateMask = LVIS_SELECTED;
        selected.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
        SendMessageA(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selected));
        EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    }
}

// A click on a radio button unchecks the others of its own group only: the
// order choice and the show-time choice are separate groups.
TEST(ConfigResources, OptionRadioGroupsAreSeparate) {
    Page page(IDD_OPTIONS);
    ASSERT_NE(page.Hwnd(), nullptr);
    struct Step {
        int click;
        UINT listOrder, randomOrder, infinite, minutes;
    };
    const Step steps[] = {
        {IDC_LIST_ORDER, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED},
        {IDC_SHOW_INFINITE, BST_CHECKED, BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED},
        {IDC_RANDOM_ORDER, BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED},
        {IDC_SHOW_MINUTES, BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_CHECKED},
        {IDC_LIST_ORDER, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.click);
        SendMessageA(page.Item(s.click), BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(page.Hwnd(), IDC_LIST_ORDER), s.listOrder);
        EXPECT_EQ(IsDlgButtonChecked(page.Hwnd(), IDC_RANDOM_ORDER), s.randomOrder);
        EXPECT_EQ(IsDlgButtonChecked(page.Hwnd(), IDC_SHOW_INFINITE), s.infinite);
        EXPECT_EQ(IsDlgButtonChecked(page.Hwnd(), IDC_SHOW_MINUTES), s.minutes);
    }
}

// The spin takes the edit before it as its buddy and moves onto the edit's
// right end (the edit gives up that much width; the spin may cover the
// edit's border), so the pair fills the edit's template place. Its position
// is written into the edit as plain digits: the page saves the edit's text
// as the show time, which is read back as a number.
TEST(ConfigResources, MinutesSpinSitsOnItsEditAndWritesDigits) {
    Page page(IDD_OPTIONS);
    ASSERT_NE(page.Hwnd(), nullptr);
    HWND edit = page.Item(IDC_SHOW_TIME);
    HWND spin = page.Item(IDC_SHOW_TIME_SPIN);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)), edit);

    const RECT field = page.Pixels(163, 163, 29, 12);
    const RECT e = page.Placement(edit);
    const RECT s = page.Placement(spin);
    SCOPED_TRACE("field " + RectText(field) + ", edit " + RectText(e) + ", spin " + RectText(s));
    EXPECT_TRUE(Near(RECT{e.left, e.top, e.left, e.bottom},
                     RECT{field.left, field.top, field.left, field.bottom}));
    EXPECT_LT(e.right, field.right - 4) << "the edit kept its width";
    EXPECT_LE(s.left, e.right);
    EXPECT_GE(s.left, e.right - 2);
    EXPECT_NEAR(s.right, field.right, 2);
    EXPECT_TRUE(Near(RECT{0, s.top, 0, s.bottom}, RECT{0, field.top, 0, field.bottom}));

    SendMessageA(spin, UDM_SETRANGE32, 1, 10000);
    for (int minutes : {7, 1234, 10000}) {
        SendMessageA(spin, UDM_SETPOS32, 0, minutes);
        EXPECT_EQ(WindowText(edit), std::to_string(minutes));
    }
}

// --- the pictures --------------------------------------------------------------

// Pixels of a bitmap or an icon, read through a memory DC.
class Canvas {
public:
    Canvas(int w, int h, COLORREF background) : m_w(w), m_h(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, w, h};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// The sheet's page bar cuts bitmap 129 into 32 x 32 pictures and draws them
// with RGB(255,0,255) as the transparent colour.
TEST(ConfigResources, PageStripHoldsFivePicturesOnTheTransparentColour) {
    HBITMAP strip = static_cast<HBITMAP>(LoadImageA(Self(), MAKEINTRESOURCEA(IDB_PAGE_PICTURES),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(strip, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(strip, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 5 * IDB_PAGE_PICTURE_SIZE);
    EXPECT_EQ(info.bmHeight, IDB_PAGE_PICTURE_SIZE);
    EXPECT_EQ(info.bmBitsPixel, 8);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    const COLORREF key = RGB(255, 0, 255);
    EXPECT_EQ(GetPixel(dc, 0, 0), key);
    const int n = IDB_PAGE_PICTURE_SIZE;
    for (int picture = 0; picture < 5; ++picture) {
        SCOPED_TRACE("picture " + std::to_string(picture));
        const int x0 = picture * n;
        for (POINT corner : {POINT{0, 0}, POINT{n - 1, 0}, POINT{0, n - 1}, POINT{n - 1, n - 1}})
            EXPECT_EQ(GetPixel(dc, x0 + corner.x, corner.y), key)
                << "corner " << corner.x << ", " << corner.y;
        int drawn = 0, nearKey = 0;
        for (int y = 0; y < n; ++y)
            for (int x = x0; x < x0 + n; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (c == key) continue;
                ++drawn;
                // A pink fringe would show the key colour half blended.
                if (GetRValue(c) > 200 && GetBValue(c) > 200 && GetGValue(c) < 80) ++nearKey;
            }
        EXPECT_GT(drawn, n * n / 4) << "the picture is almost empty";
        EXPECT_LT(drawn, n * n) << "the picture has no transparent background";
        EXPECT_EQ(nearKey, 0);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(strip);
}

struct ExpectedIcon {
    int id;
    const char* role;
};

const ExpectedIcon kIcons[] = {
    {IDI_VELMORA, "window icon"},
    {IDI_SAVER_FILE, "screensaver file without an icon"},
    {IDI_ADD_SELECTED, "add selected"},
    {IDI_ADD_ALL, "add all"},
    {IDI_REMOVE_SELECTED, "remove selected"},
    {IDI_REMOVE_ALL, "remove all"},
    {IDI_MOVE_UP, "up"},
    {IDI_MOVE_DOWN, "down"},
    {IDI_SAVER_SETTINGS, "settings"},
    {IDI_SAVER_PREVIEW, "preview"},
    {IDI_BUTTON_OK, "OK"},
    {IDI_BUTTON_CANCEL, "Cancel"},
    {IDI_BUTTON_HELP, "Help"},
};

// Width and height of the image the icon directory holds for a size; the
// loader would otherwise stretch another image to it.
SIZE StoredImageSize(int iconId, int size) {
    SIZE none = {0, 0};
    HRSRC group = FindResourceA(Self(), MAKEINTRESOURCEA(iconId), MAKEINTRESOURCEA(14));
    if (!group) return none;
    auto* dir = static_cast<BYTE*>(LockResource(LoadResource(Self(), group)));
    const int imageId = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(Self(), MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));
    if (!image) return none;
    auto* header = static_cast<BITMAPINFOHEADER*>(LockResource(LoadResource(Self(), image)));
    return SIZE{header->biWidth, header->biHeight / 2};  // colour and mask rows
}

// Each icon loads at 16 x 16 (list images, small window icon) and 32 x 32
// (buttons, large window icon) from an image of its own, with a transparent
// background around a drawn shape.
TEST(ConfigResources, IconsLoadAtSixteenAndThirtyTwoPixels) {
    for (const ExpectedIcon& want : kIcons) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(std::string(want.role) + " (" + std::to_string(want.id) + ") at " +
                         std::to_string(size));
            const SIZE stored = StoredImageSize(want.id, size);
            EXPECT_EQ(stored.cx, size);
            EXPECT_EQ(stored.cy, size);
            HICON icon = static_cast<HICON>(
                LoadImageA(Self(), MAKEINTRESOURCEA(want.id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr);
            ICONINFO ii{};
            ASSERT_TRUE(GetIconInfo(icon, &ii));
            BITMAP colour{};
            GetObjectA(ii.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(ii.hbmColor);
            DeleteObject(ii.hbmMask);

            // Drawn on white and on black: where both agree the icon is opaque.
            Canvas white(size, size, RGB(255, 255, 255)), black(size, size, RGB(0, 0, 0));
            DrawIconEx(white.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            DrawIconEx(black.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            int opaque = 0, clear = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    if (white.At(x, y) == black.At(x, y)) ++opaque;
                    if (white.At(x, y) == RGB(255, 255, 255) && black.At(x, y) == RGB(0, 0, 0))
                        ++clear;
                }
            EXPECT_GT(opaque, size * size / 10);
            EXPECT_GT(clear, size * size / 10);
            EXPECT_EQ(white.At(0, 0), RGB(255, 255, 255)) << "corner not transparent";
            DestroyIcon(icon);
        }
    }
}

// --- manifest, version and strings ------------------------------------------------

std::string ResourceBytes(LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceA(Self(), name, type);
    if (!found) return std::string();
    const char* data = static_cast<const char*>(LockResource(LoadResource(Self(), found)));
    return std::string(data, SizeofResource(Self(), found));
}

// The manifest makes the loader bind version 6 of the common controls; this
// test program carries it too, so the comctl32 it runs with shows it.
TEST(ConfigResources, ManifestBindsCommonControlsSix) {
    const std::string manifest = ResourceBytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
          sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""}) {
        SCOPED_TRACE(part);
        const size_t dependency = manifest.find("<dependentAssembly>");
        ASSERT_NE(dependency, std::string::npos);
        EXPECT_NE(manifest.find(part, dependency), std::string::npos);
    }

    // The loader takes comctl32 from the side-by-side store, in the folder of
    // the version the manifest asked for, instead of the system folder.
    ACTCTX_SECTION_KEYED_DATA found{};
    found.cbSize = sizeof found;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &found))
        << "comctl32.dll is not redirected";
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(comctl, path, MAX_PATH);
    std::string lower(path);
    for (char& c : lower) c = char(tolower(static_cast<unsigned char>(c)));
    const std::string folder = std::string("\\winsxs\\") + (sizeof(void*) == 8 ? "amd64" : "x86") +
                               "_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
    EXPECT_NE(lower.find(folder), std::string::npos)
        << path;
}

TEST(ConfigResources, VersionAndTooltipStrings) {
    const std::string block = ResourceBytes(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
    const DWORD signature = 0xFEEF04BD;
    const size_t at = block.find(std::string(reinterpret_cast<const char*>(&signature), 4));
    ASSERT_NE(at, std::string::npos) << "no fixed version information";
    VS_FIXEDFILEINFO fixed;
    ASSERT_LE(at + sizeof fixed, block.size());
    std::memcpy(&fixed, block.data() + at, sizeof fixed);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileType, DWORD(VFT_APP));

    const struct {
        int id;
        const char* text;
    } tips[] = {
        {IDS_TIP_ADD_SELECTED, "Add selected screensaver to the list"},
        {IDS_TIP_ADD_ALL, "Add all available screensavers to the list"},
        {IDS_TIP_REMOVE_SELECTED, "Remove selected screensaver from the list"},
        {IDS_TIP_REMOVE_ALL, "Remove all screensavers from the list"},
    };
    for (const auto& tip : tips) {
        char text[100] = "";
        EXPECT_GT(LoadStringA(Self(), tip.id, text, sizeof text), 0) << tip.id;
        EXPECT_STREQ(text, tip.text);
    }
}

}  // namespace
