#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

// Move-only owner of an image list: destroyed with its owner. List views
// that display it must share it (LVS_SHAREIMAGELISTS), or they destroy it
// too.
class CImageList {
public:
    CImageList() = default;
    ~CImageList() { Reset(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept : m_list(std::exchange(other.m_list, nullptr)) {}
    CImageList& operator=(CImageList&& other) noexcept {
        if (this != &other) {
            Reset();
            m_list = std::exchange(other.m_list, nullptr);
        }
        return *this;
    }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow) {
        Reset();
        m_list = ImageList_Create(cx, cy, flags, initial, grow);
        return m_list != nullptr;
    }
    HIMAGELIST Get() const { return m_list; }
    operator HIMAGELIST() const { return m_list; }
    void Reset() {
        if (m_list) ImageList_Destroy(m_list);
        m_list = nullptr;
    }

private:
    HIMAGELIST m_list = nullptr;
};
