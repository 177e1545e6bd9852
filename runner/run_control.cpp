#include "runner/run_control.h"

namespace velmora::runner {

namespace {

// An atomic read: InterlockedExchangeAdd is there on every Windows this runs on.
LONG Load(volatile LONG& value) { return InterlockedExchangeAdd(&value, 0); }

}  // namespace

bool RunControl::Listen(HANDLE wake) {
    // Listeners are added while the run is set up, before any event.
    LONG n = Load(m_listenerCount);
    if (!wake || n >= kMaxListeners) return false;
    m_listeners[n] = wake;
    InterlockedExchange(&m_listenerCount, n + 1);
    return true;
}

void RunControl::Wake() {
    LONG n = Load(m_listenerCount);
    for (LONG i = 0; i < n; ++i) SetEvent(m_listeners[i]);
}

void RunControl::Rotate() {
    InterlockedIncrement(&m_rotations);
    Wake();
}

void RunControl::UserBack() {
    if (InterlockedExchange(&m_userBack, 1) == 0) Wake();
}

void RunControl::Activity() {
    InterlockedIncrement(&m_activity);
    Wake();
}

void RunControl::Quit() {
    InterlockedExchange(&m_quit, 1);
    Wake();
}

void RunControl::Display(bool on) {
    if (InterlockedExchange(&m_displayOff, on ? 0 : 1) != (on ? 0 : 1)) Wake();
}

void RunControl::InputUnwatched() {
    InterlockedExchange(&m_inputUnwatched, 1);
    Wake();
}

RunControl::Events RunControl::Read() const {
    Events events;
    events.rotations = Load(m_rotations);
    events.activity = Load(m_activity);
    events.userBack = Load(m_userBack) != 0;
    events.quit = Load(m_quit) != 0;
    events.displayOff = Load(m_displayOff) != 0;
    events.inputUnwatched = Load(m_inputUnwatched) != 0;
    return events;
}

}  // namespace velmora::runner
