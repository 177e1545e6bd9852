#include "settings/runtime_text.h"

#include <mbctype.h>
#include <mbstring.h>

#include <vector>

namespace velmora::settings {

std::string LowerMultibyte(const std::string& text) {
    std::vector<unsigned char> copy(text.begin(), text.end());
    copy.push_back('\0');
    _mbslwr(copy.data());
    return reinterpret_cast<const char*>(copy.data());
}

const velmora::options::MultibyteText& RuntimeText() {
    static const velmora::options::MultibyteText text{
        [](unsigned char c) { return _ismbblead(c) != 0; }, LowerMultibyte};
    return text;
}

}  // namespace velmora::settings
