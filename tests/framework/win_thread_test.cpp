// The framework's worker thread: suspended start with a priority, the start
// operation choosing a message loop, self-deletion, the stop event, and work
// that throws.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "framework/win_thread.h"

namespace {

enum class Start { End, Loop, UntilStopped, Throw };

struct TestThread : CWinThread {
    TestThread(Start start, std::atomic<int>* deleted) : m_start(start), m_deleted(deleted) {}
    ~TestThread() override { ++*m_deleted; }
    BOOL InitInstance() override {
        m_priority = ::GetThreadPriority(GetCurrentThread());
        if (m_start == Start::Throw) throw std::runtime_error("failed");
        while (m_start == Start::UntilStopped && !IsStopRequested(1)) {
        }
        m_exitCode = 11;
        return m_start == Start::Loop;
    }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeThread(GetThreadHandle(), &code);
        return code;
    }
    Start m_start;
    std::atomic<int>* m_deleted;
    std::atomic<int> m_priority{0};
};

TEST(FrameworkThread, StartLoopStopAndThrow) {
    std::atomic<int> deleted{0};
    TestThread ends(Start::End, &deleted);
    ends.m_bAutoDelete = FALSE;
    ASSERT_TRUE(ends.CreateThread(CREATE_SUSPENDED));
    EXPECT_FALSE(ends.CreateThread());     // one thread per object
    EXPECT_FALSE(ends.WaitForEnd(100));    // suspended: not run
    ASSERT_TRUE(ends.SetThreadPriority(THREAD_PRIORITY_IDLE));
    EXPECT_EQ(ends.ResumeThread(), 1u);
    ASSERT_TRUE(ends.WaitForEnd(20000));
    EXPECT_EQ(ends.m_priority, THREAD_PRIORITY_IDLE);
    EXPECT_EQ(ends.ExitCode(), 11u);  // no loop: ExitInstance's result

    TestThread loops(Start::Loop, &deleted);
    loops.m_bAutoDelete = FALSE;
    ASSERT_TRUE(loops.CreateThread());
    while (!PostThreadMessageA(loops.GetThreadId(), WM_QUIT, 33, 0)) {
        ASSERT_FALSE(loops.WaitForEnd(10));  // until its queue exists
    }
    ASSERT_TRUE(loops.WaitForEnd(20000));
    EXPECT_EQ(loops.ExitCode(), 33u);

    TestThread stoppable(Start::UntilStopped, &deleted);
    stoppable.m_bAutoDelete = FALSE;
    ASSERT_TRUE(stoppable.CreateThread());
    EXPECT_FALSE(stoppable.WaitForEnd(200));
    ASSERT_TRUE(stoppable.RequestStop());
    ASSERT_TRUE(stoppable.WaitForEnd(20000));
    EXPECT_TRUE(stoppable.IsStopRequested());  // manual reset: stays set

    TestThread throwing(Start::Throw, &deleted);
    throwing.m_bAutoDelete = FALSE;
    ASSERT_TRUE(throwing.CreateThread());
    ASSERT_TRUE(throwing.WaitForEnd(20000));  // and the process lives on
    EXPECT_EQ(throwing.ExitCode(), static_cast<DWORD>(-1));
    EXPECT_EQ(deleted, 0);
}

// A thread whose stop event could not be made (CreateEventA failed): it
// would never see a stop, so it does not start, and anything that polls or
// waits on the missing event reads it as set instead of running on.
struct WithoutStopEvent : CWinThread {
    WithoutStopEvent() : CWinThread(CManualResetEvent(nullptr)) { m_bAutoDelete = FALSE; }
    BOOL InitInstance() override {
        while (!IsStopRequested(1)) {
        }
        return FALSE;
    }
};

TEST(FrameworkThread, AStopEventThatCouldNotBeMadeNeitherStartsNorHolds) {
    CManualResetEvent missing(nullptr);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.IsSet());
    EXPECT_TRUE(missing.IsSet(INFINITE));

    WithoutStopEvent thread;
    const BOOL started = thread.CreateThread();
    EXPECT_FALSE(started);
    EXPECT_EQ(thread.GetThreadHandle(), nullptr);
    EXPECT_TRUE(thread.IsStopRequested());
    if (started) {
        EXPECT_TRUE(thread.WaitForEnd(20000));
    }
    EXPECT_TRUE(thread.WaitForEnd(0));  // nothing to wait for
}

TEST(FrameworkThread, AutoDeleteDeletesTheObjectWhenItsThreadEnds) {
    std::atomic<int> deleted{0};
    auto* self = new TestThread(Start::End, &deleted);
    ASSERT_TRUE(self->CreateThread(CREATE_SUSPENDED));
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), self->GetThreadHandle(), GetCurrentProcess(), &copy,
                    SYNCHRONIZE, FALSE, 0);
    CHandle own(copy);
    self->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(own, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(deleted, 1);
}

}  // namespace
