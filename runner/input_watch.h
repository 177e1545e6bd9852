#pragma once
// Notices the user's own input while a run goes on, without polling: low-level
// mouse and keyboard hooks on the calling thread, which Windows calls only
// when input arrives. Input that a program made (keybd_event, SendInput) is
// marked injected and does not count.
#include <windows.h>

namespace velmora::runner {

class InputWatch {
public:
    using Callback = void (*)(void* context);

    InputWatch() = default;
    ~InputWatch() { Stop(); }
    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

    // Calls back once, on this thread, at the first real key, button or
    // wheel, or pointer move beyond a few pixels. The thread must pump
    // messages. One watch per process; false when no hook could be set.
    bool Start(Callback callback, void* context);
    void Stop();

private:
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    void Notice();

    static InputWatch* s_active;
    HHOOK m_mouse = nullptr;
    HHOOK m_keyboard = nullptr;
    POINT m_origin{};
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    bool m_noticed = false;
};

}  // namespace velmora::runner
