#pragma once
// Text in the C runtime's multibyte code page, as the program reads and
// writes folders and file names.
#include <string>

#include "config/options_rules.h"

namespace velmora::settings {

// The text lowered with the runtime's tables (_mbslwr): double-byte
// characters are left whole.
std::string LowerMultibyte(const std::string& text);

// The same tables for the options rules: where a character starts, and the
// lowering above.
const velmora::options::MultibyteText& RuntimeText();

}  // namespace velmora::settings
