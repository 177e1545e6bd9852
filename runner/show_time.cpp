#include "runner/show_time.h"

#include "settings/settings_names.h"

int ShowTimeMinutes(int stored) {
    if (stored < velmora_settings::kMinShowTime) return velmora_settings::kDefaultShowTime;
    if (stored > velmora_settings::kMaxShowTime) return velmora_settings::kMaxShowTime;
    return stored;
}
