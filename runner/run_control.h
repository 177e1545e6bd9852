#pragma once
// The run's events as the other threads report them, for the launcher to take
// up: the rotation timer, the display's power and the session window's close
// (main thread), and the user's return (the input watch's thread). Reporting
// never waits: each event is a flag or a counter written with an interlocked
// operation, then the launchers listening are woken. Counters, not flags that
// are taken away, so that several launchers can each see every event.
#include <windows.h>

namespace velmora::runner {

class RunControl {
public:
    RunControl() = default;
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // A launcher's wake event (auto-reset), set at every event from now on.
    // False when no more can listen.
    bool Listen(HANDLE wake);

    void Rotate();
    void UserBack();
    // Any real input, if only a small move: counted, and the launchers woken.
    void Activity();
    void Quit();
    void Display(bool on);
    // The user's input cannot be watched (no low-level hooks here).
    void InputUnwatched();

    struct Events {
        LONG rotations = 0;
        LONG activity = 0;
        bool userBack = false;
        bool quit = false;
        bool displayOff = false;
        bool inputUnwatched = false;
    };
    Events Read() const;

private:
    void Wake();

    static constexpr int kMaxListeners = 16;
    HANDLE m_listeners[kMaxListeners] = {};
    volatile LONG m_listenerCount = 0;
    mutable volatile LONG m_rotations = 0;
    mutable volatile LONG m_activity = 0;
    mutable volatile LONG m_userBack = 0;
    mutable volatile LONG m_quit = 0;
    mutable volatile LONG m_displayOff = 0;
    mutable volatile LONG m_inputUnwatched = 0;
};

}  // namespace velmora::runner
