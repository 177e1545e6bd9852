// The Donations page of the real Velmora.exe, started as a user starts it
// and watched from outside: the picture plays, the texts are set in their
// face, the animation survives page changes as one thread, the program ends
// at once whenever it is closed, and the link goes to the shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <set>
#include <string>

#include "config/maker_site.h"
#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"

namespace {

using labeltest::Pixels;

constexpr DWORD kWait = 30000;
constexpr int kDonationsIndex = 2;
constexpr int kPicture = 1020, kText1 = 1021, kText2 = 1022, kLink = 1023;
const char kText1Words[] =
    "If this software enjoy you in every day work and you find it useful you may consider "
    "donating a small (or large :) amount to show your appreciation for all the effort I have "
    "put into developing Velmora.";

class Program {
public:
    bool Start() {
        const std::string exe = vtest::BinDir() + "\\Velmora.exe";
        if (!m_process.Start(exe, "\"" + exe + "\"", vtest::BinDir())) return false;
        m_sheet = vtest::WaitForDialog(m_process.Id(), "Velmora 2.0.1", kWait);
        return m_sheet != nullptr;
    }
    ~Program() {
        if (m_sheet && IsWindow(m_sheet)) PostMessageA(m_sheet, WM_COMMAND, IDCANCEL, 0);
        if (!m_process.WaitForExit(kWait)) m_process.Kill();
    }
    HWND Sheet() const { return m_sheet; }
    vtest::Process& Process() { return m_process; }
    // Shows the page at this index and answers its window once it is there.
    HWND Show(int index) {
        SendMessageA(m_sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        HWND page = nullptr;
        vtest::WaitUntil(
            [&] {
                page = reinterpret_cast<HWND>(SendMessageA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                return page && IsWindowVisible(page);
            },
            kWait);
        return page;
    }
    // The threads of the program now.
    std::set<DWORD> Threads() const {
        std::set<DWORD> ids;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more;
             more = Thread32Next(snapshot, &entry))
            if (entry.th32OwnerProcessID == m_process.Id()) ids.insert(entry.th32ThreadID);
        CloseHandle(snapshot);
        return ids;
    }

private:
    vtest::Process m_process;
    HWND m_sheet = nullptr;
};

// What the screen shows of a window's client area (the program is another
// process: its window DC cannot be read from here).
Pixels CaptureClient(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return labeltest::Render(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

// The picture changes on the screen: one picture of the item, then another.
bool PictureChanges(HWND item) {
    const Pixels first = CaptureClient(item);
    return vtest::WaitUntil([&] { return !(CaptureClient(item) == first); }, kWait);
}

// The picture item once it has the Donations picture's size.
HWND LoadedPicture(HWND page) {
    HWND item = GetDlgItem(page, kPicture);
    vtest::WaitUntil(
        [&] {
            const SIZE s = ClientSize(item);
            return s.cx == 90 && s.cy == 97;
        },
        kWait);
    return item;
}

TEST(DonationsProgram, PlaysItsPictureAndSetsItsTextsInTheirFace) {
    Program program;
    ASSERT_TRUE(program.Start());
    HWND page = program.Show(kDonationsIndex);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(vtest::WindowText(page), "Donations");
    HWND picture = LoadedPicture(page);
    ASSERT_EQ(ClientSize(picture).cx, 90);
    ASSERT_EQ(ClientSize(picture).cy, 97);
    EXPECT_TRUE(PictureChanges(picture));
    EXPECT_TRUE(PictureChanges(picture));

    HWND text1 = GetDlgItem(page, kText1);
    EXPECT_EQ(vtest::WindowText(text1), kText1Words);
    EXPECT_EQ(vtest::WindowText(GetDlgItem(page, kText2)), "");
    // Drawn as 13-point bold Times New Roman, left aligned and wrapped, on
    // the dialog face colour: the same text drawn here in that face matches.
    HDC screen = GetDC(nullptr);
    const int height = -std::abs(GetDeviceCaps(screen, LOGPIXELSY) * 130 / 720);
    ReleaseDC(nullptr, screen);
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = PROOF_QUALITY;  // as the dialog's font, from which the label's is made
    lstrcpyA(lf.lfFaceName, "Times New Roman");
    const SIZE size = ClientSize(text1);
    const Pixels expected = labeltest::Render(size.cx, size.cy, [&](HDC dc) {
        RECT area{0, 0, size.cx, size.cy};
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ previous = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(dc, kText1Words, -1, &area, DT_LEFT | DT_WORDBREAK);
        SelectObject(dc, previous);
        DeleteObject(font);
    });
    EXPECT_EQ(CaptureClient(text1), expected);
}

TEST(DonationsProgram, SwitchingPagesKeepsOneAnimationPlaying) {
    Program program;
    ASSERT_TRUE(program.Start());
    // Every other page first, so that their own threads are there already.
    for (int index : {0, 1, 3}) ASSERT_NE(program.Show(index), nullptr);
    const std::set<DWORD> before = program.Threads();
    HWND page = program.Show(kDonationsIndex);
    HWND picture = LoadedPicture(page);
    ASSERT_TRUE(PictureChanges(picture));
    std::set<DWORD> added;
    for (DWORD id : program.Threads())
        if (!before.count(id)) added.insert(id);
    ASSERT_EQ(added.size(), 1u) << "the animation thread";

    for (int round = 0; round < 3; ++round) {
        for (int index : {3, 0, 1}) ASSERT_NE(program.Show(index), nullptr);
        ASSERT_EQ(program.Show(kDonationsIndex), page) << "the page window is made once";
        EXPECT_TRUE(PictureChanges(picture));
        std::set<DWORD> now;
        for (DWORD id : program.Threads())
            if (!before.count(id)) now.insert(id);
        EXPECT_EQ(now, added) << "round " << round;
    }
}

TEST(DonationsProgram, ClosingEndsTheProgramWhileThePicturePlays) {
    // Closed right after the page came, after some frames, and by the close
    // box instead of Cancel.
    for (int frames : {0, 1, 5, -1}) {
        SCOPED_TRACE(frames);
        Program program;
        ASSERT_TRUE(program.Start());
        HWND page = program.Show(kDonationsIndex);
        ASSERT_NE(page, nullptr);
        HWND picture = GetDlgItem(page, kPicture);
        for (int i = 0; i < frames; ++i) ASSERT_TRUE(PictureChanges(picture));
        if (frames < 0)
            PostMessageA(program.Sheet(), WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PostMessageA(program.Sheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        EXPECT_TRUE(program.Process().WaitForExit(kWait));
    }
}

TEST(DonationsProgram, TheLinkOpensTheMakersSiteThroughTheShell) {
    vtest::TempDir dir("don");
    const std::string log = dir / "opened.log";
    vtest::ScopedEnv env("VELMORA_LINK_PROBE_LOG", log);
    vtest::ScopedUrlScheme http("http", vtest::LinkProbeCommand());
    ASSERT_TRUE(http.ok());
    Program program;
    ASSERT_TRUE(program.Start());
    HWND page = program.Show(kDonationsIndex);
    ASSERT_NE(page, nullptr);
    HWND link = GetDlgItem(page, kLink);
    EXPECT_EQ(vtest::WindowText(link), "Kestrune donations page");
    vtest::PressButton(page, kLink);
    std::vector<vtest::OpenedAddress> opened;
    ASSERT_TRUE(vtest::WaitUntil(
        [&] { return !(opened = vtest::ReadOpenedAddresses(log)).empty(); }, kWait));
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().address, velmora::config::kMakerHomePage);
    // The probe ends by itself; wait for it so the folder can go.
    EXPECT_TRUE(vtest::WaitUntil([] { return vtest::RunningProcesses("link_probe.exe") == 0; },
                                 kWait));
}

}  // namespace
