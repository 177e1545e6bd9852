#pragma once
// A double-NUL-terminated list from the profile functions (a section, or the
// key names of one), read whole however long it is.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runner/next_choice.h"
#include "settings/settings_names.h"

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

// The key names of the rotation section, read whole.
inline std::vector<char> RotationKeys() {
    return ReadProfileList(4096, 1u << 24, [](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(velmora::settings::kSectionScreensaver, nullptr, "",
                                        buffer, size, velmora::settings::kIniFile);
    });
}

// The indices of the rotation section's entries ("Scr<i>" below count), in
// ascending order, found by walking the section's own key names: a count that
// is garbage (nScr=2000000000 in a hand-edited file) costs nothing, while the
// entries and their order are those of reading Scr0 to Scr<count-1>.
inline std::vector<int> ListedEntryIndices(int count) {
    std::vector<int> indices;
    if (count <= 0) return indices;
    const std::vector<char> keys = RotationKeys();
    for (const char* key = keys.data(); *key; key += std::strlen(key) + 1) {
        int64_t index = 0;
        if (EntryKeyIndex(key, "Scr", count, index)) indices.push_back(static_cast<int>(index));
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

}  // namespace velmora::runner
