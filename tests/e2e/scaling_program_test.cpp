// Velmora.exe at 100, 150 and 200 % display scaling, as Wine applies the
// user's dots per inch (HKCU\Control Panel\Desktop\LogPixels) to a program
// that declares itself DPI aware: every page's controls inside the page and
// apart, no text cut, and the pictures drawn at the size the scaling needs
// (not a smaller picture stretched).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/velmora_exe_ids.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/screen_capture.h"

namespace {

constexpr DWORD kWait = 30000;
const char* const kDesktop = "Control Panel\\Desktop";

// The user's dpi for the programs started while it lives.
class ScopedDpi {
public:
    explicit ScopedDpi(DWORD dpi) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            DWORD size = sizeof m_old, type = 0;
            m_had = RegQueryValueExA(key, "LogPixels", nullptr, &type,
                                     reinterpret_cast<BYTE*>(&m_old), &size) == ERROR_SUCCESS &&
                    type == REG_DWORD;
            RegCloseKey(key);
        }
        vtest::SetRegDword(HKEY_CURRENT_USER, kDesktop, "LogPixels", dpi);
    }
    ~ScopedDpi() {
        if (m_had)
            vtest::SetRegDword(HKEY_CURRENT_USER, kDesktop, "LogPixels", m_old);
        else
            vtest::DeleteRegValue(HKEY_CURRENT_USER, kDesktop, "LogPixels");
    }

private:
    DWORD m_old = 0;
    bool m_had = false;
};

int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

RECT RectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string TextOf(HWND hwnd) {
    wchar_t wide[512] = L"";
    GetWindowTextW(hwnd, wide, 512);
    char text[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// The pages' font, made here as the dialog manager makes it for dpi.
HFONT DialogFont(int dpi) {
    return CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                       0, "MS Shell Dlg");
}

// What of a control's text does not fit it: "" when all of it shows.
std::string CutText(HWND control, HFONT font, int dpi) {
    const std::string cls = vtest::ClassNameOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    std::string text = TextOf(control);
    if (text.empty()) return "";
    RECT client{};
    GetClientRect(control, &client);
    int width = client.right, height = client.bottom;
    UINT format = DT_CALCRECT;
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) return "";
        format |= DT_WORDBREAK;
    } else if (lstrcmpiA(cls.c_str(), "Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX || type == BS_OWNERDRAW) return "";
        if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON ||
            type == BS_RADIOBUTTON)
            width -= Scaled(13 + 4, dpi);  // the box and its gap
        format |= DT_SINGLELINE;
    } else {
        return "";
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT need{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &need, format);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (need.right <= width && need.bottom <= height) return "";
    return text + " (needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
           ", has " + std::to_string(width) + "x" + std::to_string(height) + ")";
}

// Share of horizontally neighbouring pixel pairs (2k, 2k + 1) that are the
// same colour inside a picture: 1 when it was stretched to twice its size.
double DoubledShare(const vtest::ScreenCapture& shot, const RECT& area) {
    int same = 0, pairs = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left & ~1; x + 1 < area.right; x += 2) {
            const COLORREF a = shot.At(x, y), b = shot.At(x + 1, y);
            if (a == RGB(255, 255, 255) && b == a) continue;  // background
            ++pairs;
            same += a == b;
        }
    return pairs ? static_cast<double>(same) / pairs : 1.0;
}

// The program runs in a folder of its own.
struct Folder {
    vtest::TempDir folder{"vs"};
};

struct Sheet : Folder, vtest::ConfigProgram {
    Sheet() : vtest::ConfigProgram(folder.path()) {}
};

// The page's own controls: inside it, apart from each other (a group box
// holds others), and none with its text cut.
void CheckPage(HWND page, int dpi, HFONT font) {
    RECT area{};
    GetClientRect(page, &area);
    std::vector<std::pair<HWND, RECT>> placed;
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        const RECT r = RectIn(page, c);
        const std::string what = vtest::ClassNameOf(c) + " " + std::to_string(GetDlgCtrlID(c)) +
                                 " \"" + TextOf(c) + "\"";
        EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                    r.bottom <= area.bottom)
            << what << " leaves the page";
        EXPECT_EQ(CutText(c, font, dpi), "") << what << " is cut";
        const bool group = vtest::ClassNameOf(c) == "Button" &&
                           (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (group) continue;
        for (const auto& [other, rect] : placed) {
            // An up-down control stands over the edge of the edit it serves,
            // and controls that touch in dialog units may share a pixel row.
            if (vtest::ClassNameOf(c) == "msctls_updown32" &&
                reinterpret_cast<HWND>(SendMessageA(c, UDM_GETBUDDY, 0, 0)) == other)
                continue;
            RECT overlap{};
            if (IntersectRect(&overlap, &r, &rect) &&
                std::min(overlap.right - overlap.left, overlap.bottom - overlap.top) <= 1)
                continue;
            EXPECT_FALSE(IntersectRect(&overlap, &r, &rect))
                << what << " overlaps " << vtest::ClassNameOf(other) << " "
                << GetDlgCtrlID(other);
        }
        placed.emplace_back(c, r);
    }
}

TEST(ScalingProgram, PagesFitTheirTextAndPicturesAreDrawnAtEachScaling) {
    vtest::FileRestorer keep(vtest::IniPath());
    int picture96 = 0;
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        ScopedDpi scaling(static_cast<DWORD>(dpi));
        Sheet program;
        ASSERT_NE(program.sheet, nullptr);
        HFONT font = DialogFont(dpi);
        for (int index = 0; index < 5; ++index) {
            SCOPED_TRACE("page " + std::to_string(index));
            HWND page = program.Show(index);
            ASSERT_NE(page, nullptr);
            CheckPage(page, dpi, font);
        }

        // The page bar: every caption fits its item, and the pictures are
        // drawn for the scaling.
        HWND bar = FindWindowExA(program.sheet, nullptr, "ListBox", nullptr);
        ASSERT_NE(bar, nullptr);
        program.Show(0);
        RECT item{};
        ASSERT_NE(SendMessageA(bar, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
        RECT barClient{};
        GetClientRect(bar, &barClient);
        EXPECT_LE(static_cast<int>(SendMessageA(bar, LB_GETCOUNT, 0, 0)) * (item.bottom - item.top),
                  barClient.bottom) << "the items need a scroll bar";
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        for (const char* caption : {"Screensavers", "Options", "Rotation", "Donations", "About"}) {
            SIZE size{};
            GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &size);
            EXPECT_LE(size.cx + Scaled(4, dpi), item.right - item.left) << caption;
        }
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);

        vtest::BringToScreen(program.sheet);
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&item), 2);
        vtest::WaitForSteadyScreen(item);
        vtest::ScreenCapture options(item);
        // The picture: what is not the bar's white above the caption.
        int left = options.Width(), right = 0, top = options.Height(), bottom = 0;
        for (int y = 0; y < Scaled(5 + 32, dpi); ++y)
            for (int x = 0; x < options.Width(); ++x)
                if (options.At(x, y) != RGB(255, 255, 255)) {
                    left = std::min(left, x), right = std::max(right, x + 1);
                    top = std::min(top, y), bottom = std::max(bottom, y + 1);
                }
        ASSERT_LT(left, right);
        if (dpi == 96) picture96 = right - left;
        EXPECT_NEAR(right - left, Scaled(picture96, dpi), 2);
        if (dpi > 96) {
            EXPECT_LT(DoubledShare(options, {left, top, right, bottom}), 0.9);
        }

        // The About picture at the scaling's size, drawn for it (a little
        // smaller where dialog units grew less than the dpi, so that it
        // keeps clear of the text under it).
        HWND about = program.Show(4);
        HWND picture = GetDlgItem(about, IDC_ABOUT_PICTURE);
        RECT shown{};
        GetClientRect(picture, &shown);
        EXPECT_LE(shown.right, Scaled(427, dpi) + 1);
        EXPECT_GE(shown.right, Scaled(427, dpi) * 9 / 10);
        EXPECT_NEAR(shown.bottom * 427, shown.right * 260, 427);
        if (dpi > 96) {
            MapWindowPoints(picture, nullptr, reinterpret_cast<POINT*>(&shown), 2);
            // The letters on the left, as far as the screen shows them.
            shown.right = std::min<LONG>(shown.left + Scaled(200, dpi), GetSystemMetrics(SM_CXSCREEN));
            shown.bottom = std::min<LONG>(shown.bottom, GetSystemMetrics(SM_CYSCREEN));
            vtest::BringToScreen(program.sheet);
            vtest::WaitForSteadyScreen(shown);
            vtest::ScreenCapture letters(shown);
            EXPECT_LT(DoubledShare(letters, {0, 0, letters.Width(), letters.Height()}), 0.9);
        }
        DeleteObject(font);
    }
}

}  // namespace
