// The framework's worker thread: the suspended start with a priority, the
// start operation deciding on a message loop, automatic deletion and the
// owner's stop through the event, and a thread whose work throws.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <type_traits>

#include "framework/handle.h"
#include "framework/win_thread.h"

namespace {

static_assert(!std::is_copy_constructible_v<CHandle> && std::is_move_constructible_v<CHandle>,
              "one owner of a handle");
static_assert(!std::is_copy_constructible_v<CWinThread> && !std::is_move_constructible_v<CWinThread>,
              "a running thread holds its object's address");

// What the threads under test tell the test.
struct Record {
    std::atomic<int> started{0};
    std::atomic<int> priority{THREAD_PRIORITY_ERROR_RETURN};
    std::atomic<int> exited{0};
    std::atomic<int> destroyed{0};
    std::atomic<int> loops{0};
};

class RecordingThread : public CWinThread {
public:
    enum class Start { EndAtOnce, MessageLoop, LoopUntilStopped, Throw };
    RecordingThread(Record& record, Start start) : m_record(record), m_start(start) {}
    ~RecordingThread() override { ++m_record.destroyed; }

protected:
    BOOL InitInstance() override {
        ++m_record.started;
        m_record.priority = ::GetThreadPriority(GetCurrentThread());
        switch (m_start) {
        case Start::EndAtOnce:
            m_exitCode = 11;
            return FALSE;
        case Start::MessageLoop:
            return TRUE;
        case Start::LoopUntilStopped:
            while (!IsStopRequested(1)) ++m_record.loops;
            m_exitCode = 22;
            return FALSE;
        case Start::Throw:
            throw std::runtime_error("failed work");
        }
        return FALSE;
    }
    int ExitInstance() override {
        ++m_record.exited;
        return CWinThread::ExitInstance();
    }

private:
    Record& m_record;
    Start m_start;
};

DWORD ExitCodeOf(HANDLE thread) {
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return code;
}

TEST(FrameworkThread, SuspendedStartWithIdlePriorityAndNoMessageLoop) {
    Record record;
    RecordingThread thread(record, RecordingThread::Start::EndAtOnce);
    thread.m_bAutoDelete = FALSE;
    EXPECT_STREQ(thread.GetRuntimeClass()->m_lpszClassName, "CWinThread");
    EXPECT_EQ(thread.GetThreadHandle(), nullptr);
    EXPECT_TRUE(thread.WaitForEnd(0));  // nothing started, nothing to wait for

    ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    EXPECT_NE(thread.GetThreadHandle(), nullptr);
    EXPECT_NE(thread.GetThreadId(), 0u);
    EXPECT_FALSE(thread.CreateThread());  // one thread per object
    // Suspended: it has not run, and does not end while the test waits.
    EXPECT_FALSE(thread.WaitForEnd(100));
    EXPECT_EQ(record.started, 0);

    ASSERT_TRUE(thread.SetThreadPriority(THREAD_PRIORITY_IDLE));
    EXPECT_EQ(thread.GetThreadPriority(), THREAD_PRIORITY_IDLE);
    EXPECT_EQ(thread.ResumeThread(), 1u);  // it was suspended once
    ASSERT_TRUE(thread.WaitForEnd(20000));

    EXPECT_EQ(record.started, 1);
    EXPECT_EQ(record.priority, THREAD_PRIORITY_IDLE);  // set before its first step
    EXPECT_EQ(record.exited, 1);
    EXPECT_EQ(ExitCodeOf(thread.GetThreadHandle()), 11u);
    EXPECT_EQ(record.destroyed, 0);  // the owner deletes it
}

TEST(FrameworkThread, MessageLoopRunsUntilQuitWithItsCode) {
    Record record;
    RecordingThread thread(record, RecordingThread::Start::MessageLoop);
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    // The loop's queue exists once the thread reads it: post until taken.
    ASSERT_TRUE([&] {
        for (int i = 0; i < 2000; ++i) {
            if (PostThreadMessageA(thread.GetThreadId(), WM_QUIT, 33, 0)) return true;
            if (thread.WaitForEnd(10)) return false;
        }
        return false;
    }());
    ASSERT_TRUE(thread.WaitForEnd(20000));
    EXPECT_EQ(ExitCodeOf(thread.GetThreadHandle()), 33u);
    EXPECT_EQ(record.exited, 1);
}

TEST(FrameworkThread, AutoDeleteDeletesTheObjectAtTheEnd) {
    Record record;
    auto* thread = new RecordingThread(record, RecordingThread::Start::EndAtOnce);
    // The test keeps its own handle: the object closes its handle with itself.
    ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
    HANDLE copy = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread->GetThreadHandle(),
                                GetCurrentProcess(), &copy, SYNCHRONIZE | THREAD_QUERY_INFORMATION,
                                FALSE, 0));
    CHandle own(copy);
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(own, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(record.destroyed, 1);
    EXPECT_EQ(ExitCodeOf(own), 11u);
}

TEST(FrameworkThread, OwnerStopsThroughTheEventAndWaitsForTheHandle) {
    Record record;
    RecordingThread thread(record, RecordingThread::Start::LoopUntilStopped);
    thread.m_bAutoDelete = FALSE;
    EXPECT_FALSE(thread.IsStopRequested());
    ASSERT_TRUE(thread.CreateThread());
    // It keeps going while nobody asks it to stop.
    for (int seen = 0; seen < 3;) {
        int before = record.loops;
        ASSERT_FALSE(thread.WaitForEnd(50));
        if (record.loops > before) ++seen;
    }
    ASSERT_TRUE(thread.RequestStop());
    EXPECT_TRUE(thread.IsStopRequested());
    EXPECT_TRUE(thread.IsStopRequested());  // manual reset: stays set
    ASSERT_TRUE(thread.WaitForEnd(20000));
    EXPECT_EQ(ExitCodeOf(thread.GetThreadHandle()), 22u);
    EXPECT_TRUE(thread.ResetStop());
    EXPECT_FALSE(thread.IsStopRequested());
}

TEST(FrameworkThread, AThrowingStartEndsTheThreadNotTheProcess) {
    Record record;
    RecordingThread thread(record, RecordingThread::Start::Throw);
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    ASSERT_TRUE(thread.WaitForEnd(20000));
    EXPECT_EQ(ExitCodeOf(thread.GetThreadHandle()), static_cast<DWORD>(-1));
    EXPECT_EQ(record.started, 1);
    EXPECT_EQ(record.exited, 0);
}

}  // namespace
