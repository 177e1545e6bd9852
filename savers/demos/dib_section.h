#pragma once
// A 32-bit top-down DIB selected into its own memory DC: the back buffer
// the savers draw into, with GDI and through its pixels alike.
#include <windows.h>

#include <cstdint>

class CDibSection {
public:
    CDibSection() = default;
    ~CDibSection();
    CDibSection(const CDibSection&) = delete;
    CDibSection& operator=(const CDibSection&) = delete;

    // Makes (or remakes) the bitmap at this size; false when GDI refuses.
    bool Create(int width, int height);
    bool Matches(int width, int height) const {
        return m_dc && m_width == width && m_height == height;
    }

    HDC Dc() const { return m_dc; }
    // 0x00RRGGBB pixels, top row first. Call GdiFlush() before touching them
    // after GDI drew, since GDI may batch its drawing.
    uint32_t* Bits() const { return m_bits; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    void Release();

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
    int m_width = 0, m_height = 0;
};
