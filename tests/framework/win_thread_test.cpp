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

class TestThread : public CWinThread {
public:
    TestThread(Start start, std::atomic<int>* deleted = nullptr) : m_start(start), m_deleted(deleted) {}
    ~TestThread() override {
        if (m_deleted) ++*m_deleted;
    }
    std::atomic<int> priority{0};

protected:
    BOOL InitInstance() override {
        priority = ::GetThreadPriority(GetCurrentThread());
        if (m_start == Start::Throw) throw std::runtime_error("failed");
        while (m_start == Start::UntilStopped && !IsStopRequested(1)) {
        }
        m_exitCode = 11;
        return m_start == Start::Loop;
    }

private:
    Start m_start;
    std::atomic<int>* m_deleted;
};

DWORD ExitCode(HANDLE thread) {
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return code;
}

TEST(FrameworkThread, SuspendedIdleStartWithoutMessageLoop) {
    TestThread thread(Start::End);
    thread.m_bAutoDelete = FALSE;
    EXPECT_TRUE(thread.WaitForEnd(0));  // nothing started yet
    ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    EXPECT_FALSE(thread.CreateThread());  // one thread per object
    EXPECT_FALSE(thread.WaitForEnd(100));  // suspended: not run
    ASSERT_TRUE(thread.SetThreadPriority(THREAD_PRIORITY_IDLE));
    EXPECT_EQ(thread.ResumeThread(), 1u);
    ASSERT_TRUE(thread.WaitForEnd(20000));
    EXPECT_EQ(thread.priority, THREAD_PRIORITY_IDLE);
    EXPECT_EQ(ExitCode(thread.GetThreadHandle()), 11u);  // ExitInstance's result
}

TEST(FrameworkThread, MessageLoopUntilQuit) {
    TestThread thread(Start::Loop);
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    // The queue exists once the loop reads it: post until it is taken.
    while (!PostThreadMessageA(thread.GetThreadId(), WM_QUIT, 33, 0)) {
        ASSERT_FALSE(thread.WaitForEnd(10));
    }
    ASSERT_TRUE(thread.WaitForEnd(20000));
    EXPECT_EQ(ExitCode(thread.GetThreadHandle()), 33u);
}

TEST(FrameworkThread, AutoDeleteStopEventAndThrowingWork) {
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

    TestThread stoppable(Start::UntilStopped, &deleted);
    stoppable.m_bAutoDelete = FALSE;
    ASSERT_TRUE(stoppable.CreateThread());
    EXPECT_FALSE(stoppable.WaitForEnd(200));  // runs until asked
    ASSERT_TRUE(stoppable.RequestStop());
    ASSERT_TRUE(stoppable.WaitForEnd(20000));
    EXPECT_TRUE(stoppable.IsStopRequested());  // manual reset: stays set

    TestThread throwing(Start::Throw);
    throwing.m_bAutoDelete = FALSE;
    ASSERT_TRUE(throwing.CreateThread());
    ASSERT_TRUE(throwing.WaitForEnd(20000));  // the process lives on
    EXPECT_EQ(ExitCode(throwing.GetThreadHandle()), static_cast<DWORD>(-1));
    EXPECT_EQ(deleted, 1);
}

}  // namespace
