#pragma once
#include <string>
#include <vector>

namespace velmora::settings {

// The extra folders the user listed (section "Additional Path", keys Path0,
// Path1, ...), trimmed, up to the first empty value.
std::vector<std::string> ReadExtraFolders();

}  // namespace velmora::settings
