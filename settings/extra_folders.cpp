#include "settings/extra_folders.h"

#include <windows.h>

#include <cstdio>

#include "config/options_rules.h"
#include "settings/settings_names.h"

namespace velmora::settings {

std::vector<std::string> ReadExtraFolders() {
    return velmora::options::StoredFolders([](int i) {
        char key[32];
        std::snprintf(key, sizeof key, kKeyPathFormat, i);
        char value[kPathBuffer] = "";
        GetPrivateProfileStringA(kSectionAdditionalPath, key, "", value, sizeof value, kIniFile);
        return std::string(value);
    });
}

}  // namespace velmora::settings
