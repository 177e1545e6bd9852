// The About page of the real Velmora.exe, started as a user starts it and
// watched from outside: the picture with the credits moving over its right
// half, one credits thread however often the page is shown, every way of
// closing ending the program, and the home-page link opened through the shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <string>

#include "resources/velmora_exe_ids.h"
#include "tests/support/url_scheme.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/screen_capture.h"

namespace {

constexpr DWORD kWait = 30000;
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr int kAboutPage = 3;

// Threads of a process that run at idle priority: its credits threads.
int IdleThreadsOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int idle = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        if (GetThreadPriority(thread) == THREAD_PRIORITY_IDLE) ++idle;
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return idle;
}

struct Program {
    vtest::Process process;
    HWND sheet = nullptr;
    vtest::TempDir folder{"va"};

    Program() {
        std::string exe = vtest::BinDir() + "\\Velmora.exe";
        if (!process.Start(exe, "\"" + exe + "\"", folder.path())) return;
        sheet = vtest::WaitForDialog(process.Id(), "Velmora 2.0.1", kWait);
        if (sheet && !vtest::WaitUntil([&] { return IsWindowVisible(sheet) != FALSE; }, kWait))
            sheet = nullptr;
    }
    ~Program() {
        if (sheet && IsWindow(sheet)) PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        if (!process.WaitForExit(kWait)) process.Kill();
    }
    void Show(int page) { SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0); }
    // The About page window, once the sheet has made it.
    HWND AboutPage() const {
        for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, IDC_ABOUT_PICTURE)) return child;
        return nullptr;
    }
};

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The picture's client area on the screen.
RECT PictureOnScreen(HWND picture) {
    RECT r{};
    GetClientRect(picture, &r);
    MapWindowPoints(picture, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The rows from top to bottom where the capture has black in columns [x0, x1).
std::vector<int> BlackRows(const vtest::ScreenCapture& shot, int x0, int x1) {
    std::vector<int> rows;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (shot.At(x, y) == kBlack) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST(AboutProgram, CreditsMoveOverTheRightHalfWhileTheLeftHalfStaysThePicture) {
    Program program;
    ASSERT_NE(program.sheet, nullptr);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    program.Show(kAboutPage);
    HWND page = nullptr;
    ASSERT_TRUE(vtest::WaitUntil([&] {
        page = program.AboutPage();
        return page && IsWindowVisible(page);
    }, kWait));
    HWND picture = GetDlgItem(page, IDC_ABOUT_PICTURE);
    // The picture shows the bitmap at its real size inside its sunken edge.
    RECT frame{};
    GetWindowRect(picture, &frame);
    EXPECT_TRUE(GetWindowLongA(picture, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RECT onScreen = PictureOnScreen(picture);
    const int width = onScreen.right - onScreen.left, height = onScreen.bottom - onScreen.top;
    ASSERT_EQ(width, 427);
    ASSERT_EQ(height, 260);

    // The picture as the program holds it (bitmap 143, linked in here too).
    HBITMAP own = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(IDB_ABOUT), IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION));
    ASSERT_NE(own, nullptr);
    BITMAP info{};
    GetObjectA(own, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 427);
    EXPECT_EQ(info.bmHeight, 260);
    EXPECT_EQ(info.bmBitsPixel, 8);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, own);

    // Credits appear in the area (right of the middle), and move upward.
    // In the picture's client coordinates: 15 right of the frame's middle.
    const int areaLeft = (frame.right - frame.left) / 2 + 15 - (onScreen.left - frame.left);
    std::vector<int> firstRows;
    ASSERT_TRUE(vtest::WaitUntil([&] {
        vtest::ScreenCapture shot(onScreen);
        firstRows = BlackRows(shot, areaLeft, width);
        return firstRows.size() > 10;
    }, kWait));
    std::vector<int> laterRows;
    ASSERT_TRUE(vtest::WaitUntil([&] {
        vtest::ScreenCapture shot(onScreen);
        laterRows = BlackRows(shot, areaLeft, width);
        return !laterRows.empty() && laterRows != firstRows;
    }, kWait));

    vtest::ScreenCapture shot(onScreen);
    int leftDiffers = 0, rightOdd = 0, black = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = shot.At(x, y);
            if (x < areaLeft) {
                // The left half and the margin before the area: the picture.
                leftDiffers += c != GetPixel(memory, x, y);
            } else {
                // Over the white half: black letters on white, nothing else.
                black += c == kBlack;
                rightOdd += c != kBlack && c != kWhite;
            }
        }
    }
    EXPECT_EQ(leftDiffers, 0);
    EXPECT_EQ(rightOdd, 0);
    EXPECT_GT(black, 0);
    // The right half of the picture itself is plain white.
    int notWhite = 0;
    for (int y = 0; y < 260; ++y)
        for (int x = 214; x < 427; ++x) notWhite += GetPixel(memory, x, y) != kWhite;
    EXPECT_EQ(notWhite, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(own);
}

TEST(AboutProgram, OneCreditsThreadStoppedByOkCancelAndTheCloseBox) {
    vtest::FileRestorer keep(vtest::IniPath());
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    for (const char* how : {"ok", "cancel", "close box"}) {
        SCOPED_TRACE(how);
        Program program;
        ASSERT_NE(program.sheet, nullptr);
        DWORD pid = program.process.Id();
        EXPECT_EQ(IdleThreadsOf(pid), 0);
        program.Show(kAboutPage);
        ASSERT_TRUE(vtest::WaitUntil([&] { return IdleThreadsOf(pid) == 1; }, kWait));
        for (int round = 0; round < 5; ++round) {
            for (int page = 0; page < 4; ++page) program.Show(page);
            ASSERT_TRUE(vtest::WaitUntil([&] { return IsWindowVisible(program.AboutPage()); },
                                         kWait));
            EXPECT_EQ(IdleThreadsOf(pid), 1) << round;
        }
        std::string name = how;
        if (name == "ok")
            SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        else if (name == "cancel")
            SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        else
            PostMessageA(program.sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(program.process.WaitForExit(kWait));
        EXPECT_EQ(program.process.ExitCode(), 0u);
    }
}

TEST(AboutProgram, ASheetClosedWithoutAboutMakesNoThread) {
    Program program;
    ASSERT_NE(program.sheet, nullptr);
    DWORD pid = program.process.Id();
    for (int page = 0; page < 3; ++page) program.Show(page);
    vtest::PumpFor(500);
    EXPECT_EQ(program.AboutPage(), nullptr);
    EXPECT_EQ(IdleThreadsOf(pid), 0);
    SendMessageA(program.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(program.process.WaitForExit(kWait));
}

TEST(AboutProgram, TheLinkOpensTheMakersHomePageThroughTheShell) {
    vtest::TempDir dir("al");
    const std::string log = dir / "opened.log";
    vtest::ScopedEnv logVariable("VELMORA_LINK_PROBE_LOG", log);
    vtest::ScopedUrlScheme http("http", vtest::LinkProbeCommand());
    ASSERT_TRUE(http.ok());

    Program program;
    ASSERT_NE(program.sheet, nullptr);
    program.Show(kAboutPage);
    HWND page = nullptr;
    ASSERT_TRUE(vtest::WaitUntil([&] {
        page = program.AboutPage();
        return page && IsWindowVisible(page);
    }, kWait));
    HWND link = GetDlgItem(page, IDC_HOME_PAGE_LINK);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(vtest::WindowText(link), "Kestrune Home Page");
    // Sized to its caption from the corner the template gives it: the same
    // template made here shows where that is.
    RECT r{};
    GetWindowRect(link, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    HWND host = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    HWND made = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), host,
                                   PlainDialog, 0);
    ASSERT_NE(made, nullptr);
    RECT t{};
    GetWindowRect(GetDlgItem(made, IDC_HOME_PAGE_LINK), &t);
    MapWindowPoints(nullptr, made, reinterpret_cast<POINT*>(&t), 2);
    DestroyWindow(host);
    EXPECT_EQ(r.left, t.left);
    EXPECT_EQ(r.top, t.top);
    EXPECT_NE(r.right - r.left, t.right - t.left);
    ClientToScreen(page, reinterpret_cast<POINT*>(&r.left));
    ClientToScreen(page, reinterpret_cast<POINT*>(&r.right));

    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    ASSERT_TRUE(vtest::WaitUntil([&] { return !vtest::ReadOpenedAddresses(log).empty(); }, kWait));
    auto opened = vtest::ReadOpenedAddresses(log);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].address, "http://www.kestrune.example/");
    vtest::OpenedProcess probe(opened[0].pid);
    EXPECT_TRUE(probe.WaitForExit(kWait));
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

}  // namespace
