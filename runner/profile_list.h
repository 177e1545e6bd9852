#pragma once
// A double-NUL-terminated list from the profile functions (a section, or the
// key names of one), read whole however long it is.
#include <windows.h>

#include <cstddef>
#include <vector>

namespace velmora::runner {

// read(buffer, size) is the profile call; the buffer grows from `size` until
// the list fits or reaches `limit`.
template <typename Read>
std::vector<char> ReadProfileList(size_t size, size_t limit, Read read) {
    std::vector<char> text(size);
    for (;;) {
        const DWORD n = read(text.data(), static_cast<DWORD>(text.size()));
        // A list that did not fit comes back cut at size - 2.
        if (n + 2 < text.size() || text.size() >= limit) {
            text.resize(n + 2);
            text[n] = text[n + 1] = '\0';
            return text;
        }
        text.resize(text.size() * 4);
    }
}

}  // namespace velmora::runner
