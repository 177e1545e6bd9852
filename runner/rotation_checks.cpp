#include "runner/rotation_checks.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "runner/next_choice.h"
#include "runner/profile_list.h"
#include "settings/settings_names.h"
#include "settings/system_folders.h"

namespace names = velmora::settings;

namespace velmora::runner {

bool ListedFileUsable(const std::string& storedPath) {
    const std::string path = names::ReachablePath(storedPath);
    if (path.empty() || path.size() >= static_cast<size_t>(names::kPathBuffer)) return false;
    if (path.find_first_of("*?") != std::string::npos) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool AnyListedFileUsable() {
    // The section's own key names are walked, so a count that is garbage
    // costs nothing.
    int count = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));
    for (int index : ListedEntryIndices(count)) {
        char key[32];
        wsprintfA(key, names::kKeyEntryFormat, index);
        char value[names::kPathBuffer + 1] = "";
        GetPrivateProfileStringA(names::kSectionScreensaver, key, "", value, sizeof value,
                                 names::kIniFile);
        if (ListedFileUsable(value)) return true;
    }
    return false;
}

}  // namespace velmora::runner
