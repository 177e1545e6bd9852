// The display's power, told to a run hosted in this process: the setting a
// WM_POWERBROADCAST points at cannot be sent from another process.
#include "runner/display_power.h"
#include "runner/run_session.h"
#include "runner/session_window.h"
#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

constexpr WPARAM kPowerSettingChange = 0x8013;
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr GUID kSomethingElse = {
    0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};

struct Setting {
    GUID guid;
    DWORD length;
    DWORD value;
};

LRESULT SendSetting(HWND window, const GUID& guid, DWORD value, DWORD length = sizeof(DWORD)) {
    Setting setting{guid, length, value};
    return SendMessageA(window, WM_POWERBROADCAST, kPowerSettingChange,
                        reinterpret_cast<LPARAM>(&setting));
}

velmora::runner::DisplayPower::State StateOf(const GUID& guid, DWORD value,
                                              DWORD length = sizeof(DWORD)) {
    Setting setting{guid, length, value};
    return velmora::runner::DisplayPower::StateOf(kPowerSettingChange,
                                                  reinterpret_cast<LPARAM>(&setting));
}

TEST_F(RunSession, DisplayOffClosesTheScreensaverUntilItComesBackOn) {
    using State = velmora::runner::DisplayPower::State;
    EXPECT_EQ(StateOf(kConsoleDisplayState, 2), State::On) << "dimmed";
    EXPECT_EQ(StateOf(kMonitorPowerOn, 0), State::Off);
    EXPECT_EQ(StateOf(kSomethingElse, 0), State::Unknown);
    EXPECT_EQ(StateOf(kConsoleDisplayState, 0, 2), State::Unknown) << "a short value";

    std::string alpha = AddSaver(savers.path(), "alpha");
    std::string beta = AddSaver(savers.path(), "beta");
    SetList({alpha, beta});
    SetOptions(false);
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);

    CScrWnd* run = OpenRunSession(false);
    ASSERT_NE(run, nullptr);
    const HWND session = run->GetSafeHwnd();
    ASSERT_TRUE(WaitForStarts(1));
    ASSERT_TRUE(WaitForForeground(Starts()[0].pid));
    OpenedProcess first(Starts()[0].pid);

    EXPECT_EQ(SendSetting(session, kConsoleDisplayState, 0), TRUE);
    EXPECT_TRUE(first.WaitForExit(kWait)) << "the screensaver runs on with the display off";
    EXPECT_EQ(first.ExitCode(), 0u) << "closed through its window";
    PumpFor(1000);
    EXPECT_EQ(Starts().size(), 1u) << "a screensaver started while the display is off";
    EXPECT_TRUE(IsWindow(session)) << "the run goes on";

    // Back on without input: the next one.
    SendSetting(session, kMonitorPowerOn, 1);
    ASSERT_TRUE(WaitForStarts(2));
    EXPECT_EQ(Starts()[1].commandLine, ShortPath(beta) + " /s");
    ASSERT_TRUE(WaitForForeground(Starts()[1].pid));
    ReturningUser();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(session); }, kWait)) << "the run did not end";
    EXPECT_FALSE(ProcessAlive(Starts()[1].pid));
    SetCurrentDirectoryA(folder);
}

}  // namespace
}  // namespace run_session_test
