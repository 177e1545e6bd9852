#pragma once
#include <windows.h>

#include <utility>

// Move-only owner of a kernel object handle (thread, event, process): the
// handle is closed with its owner. Null and INVALID_HANDLE_VALUE both mean
// "none", since the Win32 functions answer failure with one or the other.
class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE h) : m_handle(Valid(h) ? h : nullptr) {}
    ~CHandle() { Reset(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle(CHandle&& other) noexcept : m_handle(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    operator HANDLE() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Takes ownership of h, closing what was held before.
    void Attach(HANDLE h) {
        if (!Valid(h)) h = nullptr;
        if (m_handle && m_handle != h) CloseHandle(m_handle);
        m_handle = h;
    }
    HANDLE Detach() { return std::exchange(m_handle, nullptr); }
    void Reset() { Attach(nullptr); }

private:
    static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
    HANDLE m_handle = nullptr;
};

// A manual-reset event, made non-signalled: set by one thread to tell
// another to stop, and seen by every wait until it is reset.
class CManualResetEvent {
public:
    CManualResetEvent() : CManualResetEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    // Owns an event made elsewhere; null stands for one that could not be made.
    explicit CManualResetEvent(HANDLE event) : m_event(event) {}
    HANDLE Get() const { return m_event; }
    explicit operator bool() const { return static_cast<bool>(m_event); }
    BOOL Set() { return SetEvent(m_event); }
    BOOL Reset() { return ResetEvent(m_event); }
    // Whether the event is set, waiting at most timeoutMs for it. An event
    // that could not be made reads as set: nobody could ever set it, and a
    // loop that waits for it to stop must not run on for good.
    BOOL IsSet(DWORD timeoutMs = 0) const {
        if (!m_event) return TRUE;
        return WaitForSingleObject(m_event, timeoutMs) == WAIT_OBJECT_0;
    }

private:
    CHandle m_event;
};
