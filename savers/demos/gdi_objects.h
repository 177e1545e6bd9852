#pragma once
// Move-only owners of GDI objects and of their selection into a device
// context: whoever makes an object releases it, even on early returns.
#include <windows.h>

#include <utility>

#include "savers/demos/scene_colour.h"

template <typename Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    ~CGdiObject() {
        if (m_handle) DeleteObject(m_handle);
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    Handle Get() const { return m_handle; }

private:
    Handle m_handle = nullptr;
};

using CPen = CGdiObject<HPEN>;
using CBrush = CGdiObject<HBRUSH>;
using CRgn = CGdiObject<HRGN>;

class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelectObject() { SelectObject(m_dc, m_previous); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

inline COLORREF ToColorRef(const Rgb& c) {
    return RGB(ClampByte(c.r), ClampByte(c.g), ClampByte(c.b));
}

// A round-capped solid pen (PS_GEOMETRIC, so wide segments join smoothly).
inline CPen MakePen(const Rgb& c, int width) {
    LOGBRUSH brush{BS_SOLID, ToColorRef(c), 0};
    return CPen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                             width < 1 ? 1 : width, &brush, 0, nullptr));
}

inline CBrush MakeBrush(const Rgb& c) { return CBrush(CreateSolidBrush(ToColorRef(c))); }
