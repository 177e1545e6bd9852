// aurora.scr and orbits.scr as Display Properties starts them: the name it
// lists them by and the preview in its little screen; and switches that are
// not theirs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/demos/demo_fixture.h"

namespace {

using namespace vtest;

class DemoModes : public ::testing::TestWithParam<DemoSaver> {};

std::string SaverName(const ::testing::TestParamInfo<DemoSaver>& info) {
    return info.param.section;
}

INSTANTIATE_TEST_SUITE_P(Savers, DemoModes, ::testing::ValuesIn(kDemoSavers), SaverName);

// The program's resources, read as Display Properties reads them.
class SaverModule {
public:
    explicit SaverModule(const DemoSaver& saver)
        : m_module(LoadLibraryExA(SaverPath(saver).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~SaverModule() {
        if (m_module) FreeLibrary(m_module);
    }
    SaverModule(const SaverModule&) = delete;
    SaverModule& operator=(const SaverModule&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

TEST_P(DemoModes, NamesItselfInStringOne) {
    SaverModule module(GetParam());
    ASSERT_NE(module.Get(), nullptr);
    char name[256] = "";
    ASSERT_GT(LoadStringA(module.Get(), 1, name, sizeof name), 0);
    EXPECT_STREQ(name, GetParam().name);
    EXPECT_NE(FindResourceA(module.Get(), MAKEINTRESOURCEA(1), RT_GROUP_ICON), nullptr)
        << "an icon for the list of screensavers";
}

// Runs to its end; true when no window of the process was ever visible.
bool EndsWithoutAWindow(Process& saver) {
    bool sawWindow = false;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindowsOf(saver.Id()))
                if (IsWindowVisible(hwnd)) sawWindow = true;
            return !saver.Running();
        },
        kDemoWait);
    return !saver.Running() && !sawWindow;
}

TEST_P(DemoModes, PreviewFillsTheGivenWindowAndEndsWithIt) {
    struct Size {
        int w, h;
    };
    for (Size size : {Size{152, 112}, Size{100, 60}}) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        HostWindow host(200, 150, size.w, size.h, RGB(255, 0, 255));
        ASSERT_NE(host.Hwnd(), nullptr);
        Process saver;
        ASSERT_TRUE(StartSaver(saver, GetParam(), "/p " + host.HandleText()));
        // Visible once its first frame is drawn.
        HWND preview = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                preview = FindWindowExA(host.Hwnd(), nullptr, nullptr, nullptr);
                return preview && IsWindowVisible(preview);
            },
            kDemoWait));
        DWORD owner = 0;
        GetWindowThreadProcessId(preview, &owner);
        EXPECT_EQ(owner, saver.Id());
        EXPECT_EQ(GetWindowLongA(preview, GWL_STYLE) & (WS_CHILD | WS_VISIBLE),
                  static_cast<LONG>(WS_CHILD | WS_VISIBLE));
        EXPECT_EQ(WindowText(preview), GetParam().name);
        RECT inside;
        GetClientRect(preview, &inside);
        EXPECT_EQ(inside.right, size.w);
        EXPECT_EQ(inside.bottom, size.h);
        // Wine shows a child window only when the process of its top-level
        // window draws it, so the saver lays a window of its own over the
        // parent and the picture shows there, never anywhere else, and
        // without taking activation.
        const RECT area = ClientOnScreen(host.Hwnd());
        EXPECT_TRUE(WaitUntil(
            [&] {
                ScreenCapture shot(area);
                return shot.Count(RGB(255, 0, 255), 1) == 0 && shot.DistinctColours(2) > 40u;
            },
            kDemoWait))
            << "the picture shows over all of the parent";
        EXPECT_TRUE(saver.Running()) << "the preview keeps running while its parent lives";
        int shown = 0;
        for (HWND top : TopLevelWindowsOf(saver.Id())) {
            if (!IsWindowVisible(top)) continue;
            ++shown;
            RECT at;
            GetWindowRect(top, &at);
            EXPECT_TRUE(EqualRect(&at, &area)) << "nothing shows outside the parent";
            EXPECT_NE(GetForegroundWindow(), top);
        }
        EXPECT_LE(shown, 1);

        host.Destroy();
        EXPECT_TRUE(saver.WaitForExit(kDemoWait)) << "the preview ends with its parent";
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

// Under Wine the window laid over another program's parent goes where the
// parent goes, hides while it is hidden, and a close request to it (a
// rotator closes every visible window of its screensaver) ends the saver.
TEST_P(DemoModes, PictureOverAnotherProgramsWindowFollowsItAndClosesTheSaver) {
    HostWindow host(200, 150, 120, 90, RGB(255, 0, 255));
    ASSERT_NE(host.Hwnd(), nullptr);
    Process saver;
    ASSERT_TRUE(StartSaver(saver, GetParam(), "/p " + host.HandleText()));
    auto mirror = [&]() -> HWND {
        for (HWND top : TopLevelWindowsOf(saver.Id()))
            if (IsWindowVisible(top)) return top;
        return nullptr;
    };
    auto over = [&](HWND top) {
        RECT at, area = ClientOnScreen(host.Hwnd());
        return top && GetWindowRect(top, &at) && EqualRect(&at, &area);
    };
    ASSERT_TRUE(WaitUntil([&] { return over(mirror()); }, kDemoWait));

    SetWindowPos(host.Hwnd(), nullptr, 330, 210, 160, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return over(mirror()); }, kDemoWait)) << "follows a move";
    ShowWindow(host.Hwnd(), SW_HIDE);
    EXPECT_TRUE(WaitUntil([&] { return mirror() == nullptr; }, kDemoWait))
        << "hides with its parent";
    ShowWindow(host.Hwnd(), SW_SHOWNA);
    HWND top = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return over(top = mirror()); }, kDemoWait)) << "shows again";

    PostMessageA(top, WM_CLOSE, 0, 0);
    EXPECT_TRUE(saver.WaitForExit(kDemoWait)) << "a close request to it ends the saver";
    EXPECT_EQ(saver.ExitCode(), 0u);
}

TEST_P(DemoModes, EndsAtOnceWithoutAParentOrForSwitchesOfOthers) {
    // A password change is the system's own business, not the saver's.
    for (const char* arguments : {"/p", "/p 0", "/p 123456", "/a", "/x"}) {
        SCOPED_TRACE(arguments);
        Process saver;
        ASSERT_TRUE(StartSaver(saver, GetParam(), arguments));
        EXPECT_TRUE(EndsWithoutAWindow(saver));
    }
}

}  // namespace
