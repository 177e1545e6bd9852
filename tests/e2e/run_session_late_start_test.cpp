// A first start slower than the session window waits for (a sleeping disk, a
// network share, a virus scan inside CreateProcessA): the rotation timer is
// set once the launcher knows how the run rotates, and the real one-minute
// timer rotates. The run is hosted in this process, so that the launcher's
// thread can be held up before it starts anything.
#include "runner/run_session.h"
#include "runner/run_timings.h"
#include "runner/session_window.h"
#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {
namespace {

// The next thread this process makes waits this long before its own code
// runs: an APC queued at its start runs before its start routine, outside the
// loader's lock (a TLS callback runs inside it).
constexpr DWORD kLateMs = velmora::runner::kFirstStartWaitMs + velmora::runner::kConfiguredWaitMs + 2000;
volatile LONG g_holdNextThread = 0;
DWORD g_heldThread = 0;

void CALLBACK Hold(ULONG_PTR) { Sleep(kLateMs); }

void NTAPI OnThreadStart(PVOID, DWORD reason, PVOID) {
    if (reason != DLL_THREAD_ATTACH || !InterlockedExchange(&g_holdNextThread, 0)) return;
    g_heldThread = GetCurrentThreadId();
    QueueUserAPC(Hold, GetCurrentThread(), 0);
}

extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK
    g_onThreadStart = OnThreadStart;

TEST_F(RunSession, RotationTimerIsSetAfterAFirstStartSlowerThanTheWait) {
    SetList({AddSaver(savers.path(), "alpha"), AddSaver(savers.path(), "beta")});
    SetOptions(true, 1);
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);

    const DWORD began = GetTickCount();
    InterlockedExchange(&g_holdNextThread, 1);
    CScrWnd* run = OpenRunSession(false);
    ASSERT_NE(run, nullptr);
    const HWND session = run->GetSafeHwnd();
    ASSERT_TRUE(WaitForStarts(1));
    EXPECT_NE(g_heldThread, 0u);
    EXPECT_GE(GetTickCount() - began, kLateMs) << "the first start was not held up";
    // The show time is one minute, from the moment the timer is set.
    EXPECT_TRUE(WaitUntil([&] { return Starts().size() >= 2; }, 75000)) << "no rotation";
    ASSERT_TRUE(WaitForForeground(Starts().back().pid));
    ReturningUser();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(session); }, kWait)) << "the run did not end";
    for (const ProbeStart& start : Starts()) EXPECT_FALSE(ProcessAlive(start.pid));
    SetCurrentDirectoryA(folder);
}

}  // namespace
}  // namespace run_session_test
