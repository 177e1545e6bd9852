// The About page of the real Velmora.exe, watched from outside: credits moving
// over the picture's white half, one credits thread however often the page is
// shown, every way of closing ending the program, and the home-page link.
#include <gtest/gtest.h>
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

struct Program {
    vtest::TempDir folder{"va"};
    vtest::Process process;
    HWND sheet = nullptr;
    Program() {
        std::string exe = vtest::BinDir() + "\\Velmora.exe";
        if (process.Start(exe, "\"" + exe + "\"", folder.path()))
            sheet = vtest::WaitForDialog(process.Id(), "Velmora 2.0.1", kWait);
    }
    ~Program() {
        if (sheet && IsWindow(sheet)) PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        if (!process.WaitForExit(kWait)) process.Kill();
    }
    void Show(int page) { SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0); }
    // The About page, once made and shown.
    HWND ShowAbout() {
        Show(4);
        HWND found = nullptr;
        vtest::WaitUntil([&] {
            for (HWND c = GetWindow(sheet, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                if (GetDlgItem(c, IDC_ABOUT_PICTURE) && IsWindowVisible(c)) found = c;
            return found != nullptr;
        }, kWait);
        return found;
    }
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

    // Credits over the area right of the middle: the black rows move, while
    // the rest stays the picture and the area holds black on white only.
    const int areaLeft = (frame.right - frame.left) / 2 + 15 - (shown.left - frame.left);
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
    // Captures are spaced out: the credits run at idle priority and the
    // test must not take the processor they need.
    auto rowsNow = [&] {
        vtest::PumpFor(200);
        return blackRows(vtest::ScreenCapture(shown));
    };
    // The first frame makes the fonts: on a busy machine Wine's first font
    // lookup of a process can take a while.
    std::vector<int> first;
    ASSERT_TRUE(vtest::WaitUntil([&] { return !(first = rowsNow()).empty(); }, 2 * kWait));
    ASSERT_TRUE(vtest::WaitUntil([&] { return rowsNow() != first; }, kWait));
    vtest::ScreenCapture shot(shown);
    int pictureDiffers = 0, areaOdd = 0;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 427; ++x) {
            COLORREF c = shot.At(x, y);
            if (x < areaLeft)
                pictureDiffers += c != GetPixel(memory, x, y);
            else
                areaOdd += c != RGB(0, 0, 0) && c != RGB(255, 255, 255);
        }
    EXPECT_EQ(pictureDiffers, 0);
    EXPECT_EQ(areaOdd, 0);
    for (int y = 0; y < 260; y += 7) EXPECT_EQ(GetPixel(memory, 300, y), RGB(255, 255, 255));
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
