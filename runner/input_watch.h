#pragma once
// Notices the user's own input while a run goes on: low-level mouse and
// keyboard hooks on a thread of their own, which does nothing but answer
// them and pump its messages. Windows makes every key and pointer event of
// the desktop wait for a low-level hook, and on Windows 7 and later removes a
// hook silently when its thread misses LowLevelHooksTimeout (at most 1 s on
// Windows 10 1709 and later): a thread that also waits on other work would
// lose them. Input that a program made (keybd_event, SendInput) is marked
// injected and does not count. As a backstop for hooks that were removed all
// the same, the thread compares the system's last-input time with the last
// event its hooks saw, every few seconds.
#include <windows.h>

#include "framework/handle.h"
#include "runner/input_rules.h"

namespace velmora::runner {

class InputWatch {
public:
    using Callback = void (*)(void* context);

    InputWatch() = default;
    ~InputWatch() { Stop(); }
    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

    // Calls returned back once, on the watch's thread, at the first real
    // key, button or wheel, or pointer move beyond a few pixels; and activity
    // at every real event but a move to where the pointer was (Windows
    // reports one when a window appears under it). One watch per process;
    // false when no hook could be set (no low-level hooks on this Windows).
    bool Start(Callback returned, Callback activity, void* context);
    // From now on the user's keys are dropped, not passed on: they end the
    // run, and in a run where no screensaver holds the focus they must not
    // reach the program the user left in front. Before Start.
    void DropKeys() { m_dropKeys = true; }
    // Removes the hooks and ends the thread.
    void Stop();
    // For a child that just ended: whether the system saw input since the
    // hooks' last event (so Windows removed them meanwhile). A low-level
    // hook runs before its input reaches any program, so a child ended by
    // input the hooks saw never finds it newer. False without a watch.
    static bool MissedByHooksNow();

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Pump();
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    // Any event, injected or not: the hooks are still in place.
    void Seen() { InterlockedExchange(&m_lastSeen, static_cast<LONG>(GetTickCount())); }
    void Notice();
    // A real event that may be the user's hand.
    void Active() {
        if (m_activity) m_activity(m_context);
    }
    void CheckLastInput();

    static InputWatch* s_active;
    Callback m_callback = nullptr;
    Callback m_activity = nullptr;
    void* m_context = nullptr;
    CHandle m_thread;
    DWORD m_threadId = 0;
    CHandle m_ready;
    volatile LONG m_hooked = 0;
    bool m_dropKeys = false;
    volatile LONG m_noticed = 0;
    // Touched on the watch's thread only.
    HHOOK m_mouse = nullptr;
    HHOOK m_keyboard = nullptr;
    PointerOrigin m_origin;
    PointerOrigin m_lastMove;
    volatile LONG m_lastSeen = 0;
};

}  // namespace velmora::runner
