// The shell hook of Trapline.dll: set on this thread and on the whole
// desktop, with real windows of this process and of another.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/win_test_support.h"
#include "tests/trapline/handoff_helper.h"
#include "tests/trapline/trapline_fixture.h"

namespace {

using namespace vtest;
using namespace trapline_test;

class WindowHook : public ::testing::Test {
protected:
    static constexpr UINT kNotify = WM_APP + 17;
    static constexpr UINT kSentinel = WM_APP + 18;

    void SetUp() override {
        ASSERT_NE(lib.EnableWindowHook, nullptr);
        ASSERT_NE(target.hwnd(), nullptr);
        ASSERT_NE(lib.EnableFunctionAddress(TRUE), FALSE);
    }
    void TearDown() override {
        if (lib.EnableWindowHook) lib.EnableWindowHook(FALSE, nullptr, 0, 0);
    }

    // The notifications posted so far: everything before a sentinel posted
    // now. Only the target's messages are taken from the queue, so that none
    // is lost to a general message pump.
    std::vector<std::pair<WPARAM, LPARAM>> Drain() {
        PostMessageA(target.hwnd(), kSentinel, 0, 0);
        std::vector<std::pair<WPARAM, LPARAM>> seen;
        MSG msg;
        while (PeekMessageA(&msg, target.hwnd(), kNotify, kSentinel, PM_REMOVE)) {
            if (msg.message == kSentinel) break;
            if (msg.message == kNotify) seen.emplace_back(msg.wParam, msg.lParam);
        }
        return seen;
    }

    // Notifications about the given windows only. Wine gives each GUI thread
    // a default IME window, a top-level window the shell hook reports too.
    std::vector<std::pair<WPARAM, LPARAM>> DrainAbout(const std::vector<HWND>& windows) {
        std::vector<std::pair<WPARAM, LPARAM>> about;
        for (const auto& note : Drain())
            for (HWND hwnd : windows)
                if (note.second == reinterpret_cast<LPARAM>(hwnd)) about.push_back(note);
        return about;
    }

    // Waits for a notification with the code about a window that matches.
    HWND WaitForNote(int code, const std::function<bool(HWND)>& match, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        for (;;) {
            for (const auto& note : Drain()) {
                HWND hwnd = reinterpret_cast<HWND>(note.second);
                if (note.first == static_cast<WPARAM>(code) && match(hwnd)) return hwnd;
            }
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return nullptr;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }

    static std::pair<WPARAM, LPARAM> Note(int code, HWND hwnd) {
        return {static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(hwnd)};
    }

    Library lib{"Trapline.dll"};
    TestWindow target{0, HWND_MESSAGE};
};

TEST_F(WindowHook, ShellProcPostsCreatedAndDestroyedOnly) {
    // Called directly, as the system calls a hook procedure.
    TestWindow other;
    ASSERT_NE(lib.EnableWindowHook(TRUE, target.hwnd(), kNotify, GetCurrentThreadId()), FALSE);
    Drain();
    HWND w = other.hwnd();
    EXPECT_EQ(lib.ShellProc(HSHELL_WINDOWCREATED, reinterpret_cast<WPARAM>(w), 0), 0);
    EXPECT_EQ(lib.ShellProc(HSHELL_ACTIVATESHELLWINDOW, 0, 0), 0);
    EXPECT_EQ(lib.ShellProc(HSHELL_WINDOWACTIVATED, reinterpret_cast<WPARAM>(w), 0), 0);
    EXPECT_EQ(lib.ShellProc(HSHELL_WINDOWDESTROYED, reinterpret_cast<WPARAM>(w), 0), 0);
    EXPECT_EQ(lib.ShellProc(-1, reinterpret_cast<WPARAM>(w), 0), 0);
    using Notes = std::vector<std::pair<WPARAM, LPARAM>>;
    EXPECT_EQ(Drain(), (Notes{Note(HSHELL_WINDOWCREATED, w), Note(HSHELL_WINDOWDESTROYED, w)}));

    // Without a target it posts nothing.
    ASSERT_NE(lib.EnableWindowHook(FALSE, nullptr, 0, 0), FALSE);
    EXPECT_EQ(lib.ShellProc(HSHELL_WINDOWCREATED, reinterpret_cast<WPARAM>(w), 0), 0);
    EXPECT_EQ(Drain(), Notes{});
}

TEST_F(WindowHook, ThreadHookReportsTopLevelWindows) {
    using Notes = std::vector<std::pair<WPARAM, LPARAM>>;
    ASSERT_NE(lib.EnableWindowHook(TRUE, target.hwnd(), kNotify, GetCurrentThreadId()), FALSE);
    Drain();
    HWND created, child;
    {
        TestWindow window;
        created = window.hwnd();
        ASSERT_NE(created, nullptr);
        // A child window is no shell matter.
        TestWindow childWindow(WS_CHILD, created);
        child = childWindow.hwnd();
        ASSERT_NE(child, nullptr);
    }
    EXPECT_EQ(DrainAbout({created, child}), (Notes{Note(HSHELL_WINDOWCREATED, created),
                                                   Note(HSHELL_WINDOWDESTROYED, created)}));

    // Set again, it replaces the hook: one notification each, not two.
    ASSERT_NE(lib.EnableWindowHook(TRUE, target.hwnd(), kNotify, GetCurrentThreadId()), FALSE);
    {
        TestWindow window;
        created = window.hwnd();
    }
    EXPECT_EQ(DrainAbout({created}), (Notes{Note(HSHELL_WINDOWCREATED, created),
                                            Note(HSHELL_WINDOWDESTROYED, created)}));

    // Removed, it reports nothing.
    ASSERT_NE(lib.EnableWindowHook(FALSE, nullptr, 0, 0), FALSE);
    EXPECT_NE(lib.EnableWindowHook(FALSE, nullptr, 0, 0), FALSE) << "removing none";
    { TestWindow window; }
    EXPECT_EQ(Drain(), Notes{});
}

TEST_F(WindowHook, SwitchingTheLibraryOffRemovesTheHook) {
    using Notes = std::vector<std::pair<WPARAM, LPARAM>>;
    ASSERT_NE(lib.EnableWindowHook(TRUE, target.hwnd(), kNotify, GetCurrentThreadId()), FALSE);
    ASSERT_NE(lib.EnableFunctionAddress(FALSE), FALSE);
    { TestWindow window; }
    EXPECT_EQ(Drain(), Notes{});
}

TEST_F(WindowHook, DesktopHookReportsAnotherProcess) {
    ASSERT_NE(lib.EnableWindowHook(TRUE, target.hwnd(), kNotify, 0), FALSE);
    Lingering lingering;
    Process helper;
    ASSERT_TRUE(helper.Start(HelperPath(), HelperCommand("window " + lingering.eventName())));
    ASSERT_TRUE(lingering.Adopt(helper.Id()));

    // Other tests may make windows meanwhile: look for the helper's.
    HWND created = WaitForNote(
        HSHELL_WINDOWCREATED,
        [&](HWND hwnd) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            return pid == helper.Id() && WindowText(hwnd) == kHelperWindowTitle;
        },
        20000);
    ASSERT_NE(created, nullptr);

    ASSERT_TRUE(lingering.ReleaseAndWait());
    EXPECT_NE(WaitForNote(HSHELL_WINDOWDESTROYED, [&](HWND hwnd) { return hwnd == created; },
                          20000),
              nullptr);
}

}  // namespace
