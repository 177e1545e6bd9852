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

// An off-screen picture: a memory device context with a bitmap of its own
// selected into it. The bitmap the context came with goes back in before
// both are deleted.
class CMemorySurface {
public:
    CMemorySurface() = default;
    ~CMemorySurface() { Reset(); }
    CMemorySurface(const CMemorySurface&) = delete;
    CMemorySurface& operator=(const CMemorySurface&) = delete;

    // A surface of width × height compatible with dc; FALSE (and nothing
    // held) when the context or the bitmap cannot be made.
    BOOL Create(HDC dc, int width, int height) {
        Reset();
        m_dc = CreateCompatibleDC(dc);
        if (!m_dc) return FALSE;
        m_bitmap = CreateCompatibleBitmap(dc, width, height);
        if (!m_bitmap) {
            Reset();
            return FALSE;
        }
        m_previous = SelectObject(m_dc, m_bitmap);
        return TRUE;
    }
    void Reset() {
        if (m_dc && m_previous) SelectObject(m_dc, m_previous);
        if (m_bitmap) DeleteObject(m_bitmap);
        if (m_dc) DeleteDC(m_dc);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_previous = nullptr;
    }
    explicit operator bool() const { return m_dc != nullptr; }
    operator HDC() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
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
