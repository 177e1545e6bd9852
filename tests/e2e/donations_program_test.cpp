// The Donations page of the real Velmora.exe, started as a user starts it
// and watched from outside: the picture plays as one thread across page
// changes, the texts are set in their face, the program ends at once
// whenever it is closed, and the link goes to the shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <string>

#include "config/maker_site.h"
#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"

namespace {

using labeltest::Pixels;

constexpr DWORD kWait = 30000;
constexpr int kDonations = 3;  // the page's index in the sheet
constexpr int kPicture = 1020, kText1 = 1021, kText2 = 1022, kLink = 1023;
const char kText1Words[] =
    "If this software enjoy you in every day work and you find it useful you may consider "
    "donating a small (or large :) amount to show your appreciation for all the effort I have "
    "put into developing Velmora.";

using Program = vtest::ConfigProgram;

// What the screen shows of a window's client area (another process's window
// DC cannot be read from here).
Pixels Capture(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return labeltest::Render(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

// One picture of the item on the screen, then a different one.
bool PictureChanges(HWND item) {
    const Pixels first = Capture(item);
    return vtest::WaitUntil([&] { return !(Capture(item) == first); }, kWait);
}

TEST(DonationsProgram, PlaysItsPictureAsOneThreadAndSetsItsTexts) {
    Program program;
    ASSERT_TRUE(program.sheet);
    for (int index : {0, 1, 2, 4}) ASSERT_TRUE(program.Show(index));  // their threads first
    const std::set<DWORD> before = vtest::ThreadsOf(program.process.Id());
    HWND page = program.Show(kDonations);
    ASSERT_TRUE(page);
    EXPECT_EQ(vtest::WindowText(page), "Donations");
    HWND picture = GetDlgItem(page, kPicture);
    RECT r{};
    ASSERT_TRUE(vtest::WaitUntil(
        [&] { return GetClientRect(picture, &r) && r.right == 90 && r.bottom == 97; }, kWait));
    ASSERT_TRUE(PictureChanges(picture));
    auto added = [&] {
        std::set<DWORD> ids;
        for (DWORD id : vtest::ThreadsOf(program.process.Id()))
            if (!before.count(id)) ids.insert(id);
        return ids;
    };
    const std::set<DWORD> animation = added();
    ASSERT_EQ(animation.size(), 1u);
    for (int round = 0; round < 3; ++round) {
        for (int index : {4, 0, 1, 2}) ASSERT_TRUE(program.Show(index));
        ASSERT_EQ(program.Show(kDonations), page) << "the page's window is made once";
        EXPECT_TRUE(PictureChanges(picture));
        EXPECT_EQ(added(), animation) << "neither restarted nor doubled, round " << round;
    }

    HWND text1 = GetDlgItem(page, kText1);
    EXPECT_EQ(vtest::WindowText(text1), kText1Words);
    EXPECT_EQ(vtest::WindowText(GetDlgItem(page, kText2)), "");
    // 13-point bold Times New Roman, left aligned and wrapped, on the dialog
    // face colour: the text drawn here that way looks the same.
    HDC screen = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -std::abs(GetDeviceCaps(screen, LOGPIXELSY) * 130 / 720);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = PROOF_QUALITY;  // as the dialog's font, which the label's starts from
    lstrcpyA(lf.lfFaceName, "Times New Roman");
    GetClientRect(text1, &r);
    EXPECT_EQ(Capture(text1), labeltest::Render(r.right, r.bottom, [&](HDC dc) {
                  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
                  HFONT font = CreateFontIndirectA(&lf);
                  HGDIOBJ previous = SelectObject(dc, font);
                  SetBkMode(dc, TRANSPARENT);
                  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                  DrawTextA(dc, kText1Words, -1, &r, DT_LEFT | DT_WORDBREAK);
                  DeleteObject(SelectObject(dc, previous));
              }));
}

TEST(DonationsProgram, ClosingEndsTheProgramWhileThePicturePlays) {
    // Right after the page came, after some frames, and by the close box.
    for (int frames : {0, 1, 5, -1}) {
        Program program;
        ASSERT_TRUE(program.sheet);
        HWND page = program.Show(kDonations);
        for (int i = 0; i < frames; ++i) ASSERT_TRUE(PictureChanges(GetDlgItem(page, kPicture)));
        if (frames < 0)
            PostMessageA(program.sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PostMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        EXPECT_TRUE(program.process.WaitForExit(kWait)) << frames;
    }
}

TEST(DonationsProgram, TheLinkOpensTheMakersSiteThroughTheShell) {
    vtest::TempDir dir("don");
    const std::string log = dir / "opened.log";
    vtest::ScopedEnv env("VELMORA_LINK_PROBE_LOG", log);
    vtest::ScopedUrlScheme http("http", vtest::LinkProbeCommand());
    ASSERT_TRUE(http.ok());
    Program program;
    HWND page = program.Show(kDonations);
    ASSERT_TRUE(page);
    EXPECT_EQ(vtest::WindowText(GetDlgItem(page, kLink)), "Kestrune donations page");
    vtest::PressButton(page, kLink);
    std::vector<vtest::OpenedAddress> opened;
    ASSERT_TRUE(vtest::WaitUntil(
        [&] { return !(opened = vtest::ReadOpenedAddresses(log)).empty(); }, kWait));
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().address, velmora::config::kMakerHomePage);
    EXPECT_TRUE(vtest::WaitUntil([] { return vtest::RunningProcesses("link_probe.exe") == 0; },
                                 kWait));
}

}  // namespace
