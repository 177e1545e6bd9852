#pragma once
// Reads fuzz data as the values a target needs: integers and texts taken
// from the front, the rest as one text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace velmora::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_size == 0; }

    int32_t Int() {
        uint32_t value = 0;
        for (int i = 0; i < 4 && m_size > 0; ++i, ++m_data, --m_size)
            value = value << 8 | *m_data;
        int32_t result;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }

    uint8_t Byte() {
        if (m_size == 0) return 0;
        --m_size;
        return *m_data++;
    }

    // A text up to the next line feed (or the end); the line feed is used up.
    std::string Line() {
        const void* end = m_size ? std::memchr(m_data, '\n', m_size) : nullptr;
        size_t n = end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - m_data) : m_size;
        std::string text(reinterpret_cast<const char*>(m_data), n);
        size_t used = end ? n + 1 : n;
        m_data += used;
        m_size -= used;
        return text;
    }

    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(m_data), m_size);
        m_data += m_size;
        m_size = 0;
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

// Stops the run as a finding when a rule breaks a promise of its own.
#define VELMORA_FUZZ_CHECK(condition) \
    do {                              \
        if (!(condition)) __builtin_trap(); \
    } while (0)

}  // namespace velmora::fuzz
