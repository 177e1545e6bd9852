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
