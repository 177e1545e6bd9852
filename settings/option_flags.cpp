#include "settings/option_flags.h"

#include <windows.h>

#include "settings/settings_names.h"

namespace velmora::settings {

bool OptionSet(const char* key) {
    return GetPrivateProfileIntA(kSectionOptions, key, 0, kIniFile) == 1;
}

}  // namespace velmora::settings
