#pragma once
#include <windows.h>

#include <cstring>
#include <utility>

// Move-only owner of a global memory block (the kind streams are made over):
// freed with its owner unless handed on with Detach.
class CGlobalMemory {
public:
    CGlobalMemory() = default;
    ~CGlobalMemory() { Reset(); }
    CGlobalMemory(const CGlobalMemory&) = delete;
    CGlobalMemory& operator=(const CGlobalMemory&) = delete;
    CGlobalMemory(CGlobalMemory&& other) noexcept : m_block(other.Detach()) {}
    CGlobalMemory& operator=(CGlobalMemory&& other) noexcept {
        if (this != &other) {
            Reset();
            m_block = other.Detach();
        }
        return *this;
    }

    // A movable block holding a copy of size bytes; FALSE (and nothing held)
    // when it cannot be made.
    BOOL CopyOf(const void* bytes, size_t size) {
        Reset();
        m_block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size ? size : 1);
        if (!m_block) return FALSE;
        void* p = GlobalLock(m_block);
        if (!p) {
            Reset();
            return FALSE;
        }
        if (size) std::memcpy(p, bytes, size);
        GlobalUnlock(m_block);
        return TRUE;
    }
    HGLOBAL Get() const { return m_block; }
    HGLOBAL Detach() { return std::exchange(m_block, nullptr); }
    void Reset() {
        if (m_block) GlobalFree(std::exchange(m_block, nullptr));
    }

private:
    HGLOBAL m_block = nullptr;
};

// Locks a global memory block for one scope.
class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
    ~CGlobalLock() { Unlock(); }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;
    void* Data() const { return m_data; }
    void Unlock() {
        if (m_data) GlobalUnlock(m_block);
        m_data = nullptr;
    }

private:
    HGLOBAL m_block;
    void* m_data;
};
