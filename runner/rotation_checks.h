#pragma once
// Checks of the rotation list that the launcher makes beside the pick: whether
// a picked entry can be started, and whether any listed entry still can.
#include <string>

namespace velmora::runner {

// A listed file that can be started: a plain file (no pattern, no folder)
// whose path fits a MAX_PATH buffer.
bool ListedFileUsable(const std::string& path);

// Whether any entry the picker can reach names a file that can be started.
bool AnyListedFileUsable();

}  // namespace velmora::runner
