#pragma once
#include <windows.h>

#include <utility>

// Owns an icon made for this program (not a shared one from LoadIcon or
// LR_SHARED) and destroys it with itself. Move-only.
class CIcon {
public:
    CIcon() = default;
    explicit CIcon(HICON icon) : m_hIcon(icon) {}
    ~CIcon() { Reset(); }
    CIcon(CIcon&& other) noexcept : m_hIcon(std::exchange(other.m_hIcon, nullptr)) {}
    CIcon& operator=(CIcon&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hIcon = std::exchange(other.m_hIcon, nullptr);
        }
        return *this;
    }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    HICON Get() const { return m_hIcon; }
    // Gives the icon up to a new owner.
    HICON Detach() { return std::exchange(m_hIcon, nullptr); }
    explicit operator bool() const { return m_hIcon != nullptr; }

private:
    void Reset() {
        if (m_hIcon) DestroyIcon(m_hIcon);
        m_hIcon = nullptr;
    }

    HICON m_hIcon = nullptr;
};
