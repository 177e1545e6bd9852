#pragma once
#include <windows.h>

#include <utility>

#include "framework/gdi.h"

// Move-only owner of an icon made or loaded for this program (not a shared
// icon from LoadIcon): the icon is destroyed with its owner.
class CIcon {
public:
    CIcon() = default;
    explicit CIcon(HICON icon) : m_icon(icon) {}
    ~CIcon() { Reset(); }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    CIcon(CIcon&& other) noexcept : m_icon(other.Detach()) {}
    CIcon& operator=(CIcon&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    HICON Get() const { return m_icon; }
    operator HICON() const { return m_icon; }
    explicit operator bool() const { return m_icon != nullptr; }

    // Takes ownership of icon, destroying what was held before.
    void Attach(HICON icon) {
        if (m_icon && m_icon != icon) DestroyIcon(m_icon);
        m_icon = icon;
    }
    HICON Detach() { return std::exchange(m_icon, nullptr); }
    void Reset() { Attach(nullptr); }

private:
    HICON m_icon = nullptr;
};

// The width of an icon's picture in pixels, 0 when it has none. GetIconInfo
// makes copies of the icon's bitmaps, which the caller must delete.
inline int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    CBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectA(colour ? colour.Get() : mask.Get(), sizeof bm, &bm);
    return bm.bmWidth;
}
