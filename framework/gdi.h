#pragma once
#include <windows.h>

#include <utility>

// Move-only owners of GDI objects: the object is deleted with its owner.
template <typename Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle h) : m_handle(h) {}
    ~CGdiObject() { Reset(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    Handle Get() const { return m_handle; }
    operator Handle() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Takes ownership of h, deleting what was held before.
    void Attach(Handle h) {
        if (m_handle && m_handle != h) DeleteObject(m_handle);
        m_handle = h;
    }
    Handle Detach() { return std::exchange(m_handle, nullptr); }
    void Reset() { Attach(nullptr); }

private:
    Handle m_handle = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateSolidBrush(COLORREF color) {
        Attach(::CreateSolidBrush(color));
        return Get() != nullptr;
    }
};

class CPen : public CGdiObject<HPEN> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreatePen(int style, int width, COLORREF color) {
        Attach(::CreatePen(style, width, color));
        return Get() != nullptr;
    }
};

class CFont : public CGdiObject<HFONT> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateFontIndirect(const LOGFONTA& font) {
        Attach(::CreateFontIndirectA(&font));
        return Get() != nullptr;
    }
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height) {
        Attach(::CreateCompatibleBitmap(dc, width, height));
        return Get() != nullptr;
    }
};

class CRgn : public CGdiObject<HRGN> {
public:
    using CGdiObject::CGdiObject;
};

// Selects an object into a device context for one scope and puts the previous
// one back at its end (an object must not be deleted while selected).
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
