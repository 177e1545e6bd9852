#pragma once
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <utility>

// Move-only owner of one reference to a COM picture: released with its owner.
class CComPicture {
public:
    CComPicture() = default;
    ~CComPicture() { Reset(); }
    CComPicture(const CComPicture&) = delete;
    CComPicture& operator=(const CComPicture&) = delete;
    CComPicture(CComPicture&& other) noexcept : m_picture(std::exchange(other.m_picture, nullptr)) {}
    CComPicture& operator=(CComPicture&& other) noexcept {
        if (this != &other) {
            Reset();
            m_picture = std::exchange(other.m_picture, nullptr);
        }
        return *this;
    }

    IPicture* Get() const { return m_picture; }
    IPicture* operator->() const { return m_picture; }
    explicit operator bool() const { return m_picture != nullptr; }
    void Reset() {
        if (m_picture) std::exchange(m_picture, nullptr)->Release();
    }

    // Decodes size bytes of a global memory block with the system's picture
    // loader. With freeBlock the block belongs to the stream from then on and
    // is freed with it, also when decoding fails.
    BOOL Load(HGLOBAL block, DWORD size, bool freeBlock);

    // Size in HIMETRIC units (hundredths of a millimetre).
    SIZE HimetricSize() const;
    // Draws the whole picture into (x, y, cx, cy) of dc.
    BOOL Render(HDC dc, int x, int y, int cx, int cy) const;

private:
    IPicture* m_picture = nullptr;
};
