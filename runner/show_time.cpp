#include "runner/show_time.h"

#include "settings/settings_names.h"

int ShowTimeMinutes(int stored) {
    if (stored < velmora::settings::kMinShowTime) return velmora::settings::kDefaultShowTime;
    if (stored > velmora::settings::kMaxShowTime) return velmora::settings::kMaxShowTime;
    return stored;
}
