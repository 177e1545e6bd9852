#pragma once
#include <windows.h>

// Device contexts, each released the way it was obtained.

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }
    PAINTSTRUCT m_ps{};

private:
    HWND m_hwnd;
    HDC m_dc;
};

// GetDC/ReleaseDC of a window's client area.
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~CClientDC() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A memory device context compatible with another one (or with the screen).
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible = nullptr) : m_dc(CreateCompatibleDC(compatible)) {}
    ~CMemoryDC() {
        if (m_dc) DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};

// A device context that belongs to someone else, used for a while: attached
// and detached, never released.
class CDCRef {
public:
    CDCRef() = default;
    CDCRef(const CDCRef&) = delete;
    CDCRef& operator=(const CDCRef&) = delete;
    void Attach(HDC dc) { m_dc = dc; }
    HDC Detach() {
        HDC dc = m_dc;
        m_dc = nullptr;
        return dc;
    }
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc = nullptr;
};
