// The About page of the real Velmora.exe, watched from outside: credits moving
// over the picture's white half, one credits thread however often the page is
// shown, every way of closing ending the program, and the home-page link.
#include <gtest/gtest.h>
#include <algorithm>
#include <windows.h>
#include <prsht.h>
#include <tlhelp32.h>

#include "resources/velmora_exe_ids.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/screen_capture.h"

namespace {

constexpr DWORD kWait = 30000;

// Threads of a process at idle priority: its credits threads.
int IdleThreadsOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int idle = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        HANDLE thread = entry.th32OwnerProcessID == pid
                            ? OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID)
                            : nullptr;
        if (thread && GetThreadPriority(thread) == THREAD_PRIORITY_IDLE) ++idle;
        if (thread) CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return idle;
}

// The program runs in a folder of its own.
struct Folder {
    vtest::TempDir folder{"va"};
};

struct Program : Folder, vtest::ConfigProgram {
    Program() : vtest::ConfigProgram(folder.path()) {}
    // The About page, once made and shown.
    HWND ShowAbout() { return Show(4); }
};

TEST(AboutProgram, CreditsMoveOverTheWhiteHalfAndTheLinkOpensTheHomePage) {
    vtest::TempDir dir("al");
    vtest::ScopedEnv logVariable("VELMORA_LINK_PROBE_LOG", dir / "opened.log");
    vtest::ScopedUrlScheme http("http", vtest::LinkProbeCommand());
    ASSERT_TRUE(http.ok());
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Program program;
    ASSERT_NE(program.sheet, nullptr);
    HWND page = program.ShowAbout();
    ASSERT_NE(page, nullptr);

    // The picture, bitmap 143 at its real size inside its sunken edge.
    HWND picture = GetDlgItem(page, IDC_ABOUT_PICTURE);
    RECT frame{}, shown{};
    GetWindowRect(picture, &frame);
    GetClientRect(picture, &shown);
    MapWindowPoints(picture, nullptr, reinterpret_cast<POINT*>(&shown), 2);
    ASSERT_EQ(shown.right - shown.left, 427);
    ASSERT_EQ(shown.bottom - shown.top, 260);
    auto own = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, own);

    // The credits area, in the picture's client coordinates: from 15 pixels
    // right of the middle to the right edge, 3 pixels inside the top and
    // bottom edges of the frame.
    const int areaLeft = (frame.right - frame.left) / 2 + 15 - (shown.left - frame.left);
    const int areaTop = std::max(0, 3 - static_cast<int>(shown.top - frame.top));
    const int areaBottom = std::min(260, static_cast<int>(frame.bottom - 3 - shown.top));
    auto blackRows = [&](const vtest::ScreenCapture& shot) {
        std::vector<int> rows;
        for (int y = 0; y < 260; ++y)
            for (int x = areaLeft; x < 427; ++x)
                if (shot.At(x, y) == RGB(0, 0, 0)) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    };
    // What the program shows is its picture, pixel for pixel, but for the
    // black letters of the credits inside the area.
    std::vector<COLORREF> bitmap;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 427; ++x) bitmap.push_back(GetPixel(memory, x, y));
    auto misdrawn = [&](const vtest::ScreenCapture& shot) {
        int wrong = 0;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 427; ++x) {
                const COLORREF c = shot.At(x, y);
                const bool inArea = x >= areaLeft && y >= areaTop && y < areaBottom;
                wrong += c != bitmap[size_t(y) * 427 + size_t(x)] && !(inArea && c == RGB(0, 0, 0));
            }
        return wrong;
    };
    // Captures are spaced out: the credits run at idle priority and the
    // test must not take the processor they need. Each one is checked.
    int captures = 0, wrongPixels = 0;
    auto rowsNow = [&] {
        vtest::PumpFor(200);
        vtest::ScreenCapture shot(shown);
        ++captures;
        wrongPixels += misdrawn(shot);
        return blackRows(shot);
    };
    // The first frame makes the fonts: on a busy machine Wine's first font
    // lookup of a process can take a while.
    std::vector<int> first;
    ASSERT_TRUE(vtest::WaitUntil([&] { return !(first = rowsNow()).empty(); }, 2 * kWait));
    // The credits move, and over many frames stay inside the area.
    ASSERT_TRUE(vtest::WaitUntil([&] { return rowsNow() != first; }, kWait));
    while (captures < 12) rowsNow();
    EXPECT_EQ(wrongPixels, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(own);

    // The link, sized to its caption, opens the home page through the shell.
    HWND link = GetDlgItem(page, IDC_HOME_PAGE_LINK);
    EXPECT_EQ(vtest::WindowText(link), "Kestrune Home Page");
    ASSERT_TRUE(vtest::ClickMiddleOf(link));
    ASSERT_TRUE(vtest::WaitUntil([&] { return !vtest::ReadOpenedAddresses(dir / "opened.log").empty(); }, kWait));
    auto opened = vtest::ReadOpenedAddresses(dir / "opened.log");
    EXPECT_EQ(opened[0].address, "http://www.kestrune.example/");
    vtest::OpenedProcess probe(opened[0].pid);
    EXPECT_TRUE(probe.WaitForExit(kWait));
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

TEST(AboutProgram, OneCreditsThreadOnlyWithAboutAndEveryCloseEndsTheProgram) {
    vtest::FileRestorer keep(vtest::IniPath());
    for (const char* how : {"ok", "cancel", "close box", "without About"}) {
        SCOPED_TRACE(how);
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        DWORD pid = program.process.Id();
        const bool about = std::string(how) != "without About";
        if (about) {
            ASSERT_NE(program.ShowAbout(), nullptr);
            ASSERT_TRUE(vtest::WaitUntil([&] { return IdleThreadsOf(pid) == 1; }, kWait));
        }
        for (int round = 0; round < 5; ++round) {
            for (int page = 0; page < (about ? 5 : 4); ++page) program.Show(page);
            vtest::PumpFor(50);
            EXPECT_EQ(IdleThreadsOf(pid), about ? 1 : 0) << round;
        }
        if (std::string(how) == "ok")
            SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        else if (std::string(how) == "close box")
            PostMessageA(program.sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        ASSERT_TRUE(program.process.WaitForExit(kWait));
        EXPECT_EQ(program.process.ExitCode(), 0u);
    }
}

}  // namespace
