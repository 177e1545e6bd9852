// The extra folders as the settings file and the user's typing give them.
#include <cstdint>
#include <string>
#include <vector>

#include "config/options_rules.h"
#include "fuzz/fuzz_input.h"

namespace {

// A double-byte code page: lead bytes 0x81-0x9F and 0xE0-0xFC, lowering of
// single-byte letters only.
velmora::options::MultibyteText DoubleByteText() {
    velmora::options::MultibyteText text;
    text.isLeadByte = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
    text.toLower = [](const std::string& s) {
        std::string lowered = s;
        for (size_t i = 0; i < lowered.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(lowered[i]);
            if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
                ++i;  // the trail byte stays as it is
            } else if (c >= 'A' && c <= 'Z') {
                lowered[i] = static_cast<char>(c - 'A' + 'a');
            }
        }
        return lowered;
    };
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::FuzzInput in(data, size);
    std::vector<std::string> values;
    while (!in.Empty() && values.size() < 16) values.push_back(in.Line());

    // Path0, Path1, ... as stored: the list stops at the first empty value.
    std::vector<std::string> stored = velmora::options::StoredFolders([&](int i) {
        return i >= 0 && static_cast<size_t>(i) < values.size() ? values[static_cast<size_t>(i)]
                                                                 : std::string();
    });
    VELMORA_FUZZ_CHECK(stored.size() <= values.size());
    for (const std::string& folder : stored) {
        VELMORA_FUZZ_CHECK(!folder.empty());
        VELMORA_FUZZ_CHECK(velmora::options::TrimWhiteSpace(folder) == folder);
    }

    const velmora::options::MultibyteText text = DoubleByteText();
    for (const std::string& value : values) {
        std::string normal = velmora::options::NormaliseFolder(value, text);
        VELMORA_FUZZ_CHECK(!normal.empty() && normal.back() == '\\');
        // Normalising twice changes nothing more.
        VELMORA_FUZZ_CHECK(velmora::options::NormaliseFolder(normal, text) == normal);
    }
    std::vector<std::string> saved = velmora::options::FoldersToSave(values, text);
    VELMORA_FUZZ_CHECK(saved.size() <= values.size());
    for (size_t i = 0; i < saved.size(); ++i)
        for (size_t j = i + 1; j < saved.size(); ++j) VELMORA_FUZZ_CHECK(saved[i] != saved[j]);

    velmora::options::ChoiceFlag(static_cast<int>(size) - 3);
    velmora::options::LoadOptions(static_cast<int>(size) % 5 - 2, static_cast<int>(size) % 7 - 3,
                                 size % 2 == 0);
    return 0;
}
