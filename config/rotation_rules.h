#pragma once
// The Rotation page's decisions, free of Windows: what a typed or stored
// show time and weight mean, what is written for them, how a rotation row
// carries them, how the show-time cell reads, and what the stored choice for
// several monitors means.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_names.h"

namespace velmora::rotation {

// One rotation entry's own settings. minutes 0: the entry has no time of its
// own and plays for the Options page's show time.
struct EntryExtras {
    int minutes = 0;
    int weight = settings::kDefaultWeight;
    bool operator==(const EntryExtras& other) const {
        return minutes == other.minutes && weight == other.weight;
    }
};

// A show time as typed: empty (white space only) is 0, the Options time; a
// whole decimal number is held to 1..10000; anything else is refused.
std::optional<int> ParseMinutes(const std::string& text);
// A weight as typed: empty is 1; a whole decimal number is held to 1..10;
// anything else is refused.
std::optional<int> ParseWeight(const std::string& text);

// The stored Time<i> and Weight<i> values ("" when missing), read as the
// screensaver reads them.
EntryExtras StoredExtras(const std::string& time, const std::string& weight);

// What is written for an entry; "" means the key is left out.
std::string TimeValue(const EntryExtras& extras);
std::string WeightValue(const EntryExtras& extras);

// A rotation row keeps its entry's settings in its item data, so that they
// travel with the row when it moves and go with it when it is removed. A row
// added from the catalogue has item data 0, which unpacks to the defaults.
std::uint32_t Pack(const EntryExtras& extras);
EntryExtras Unpack(std::uint32_t data);

// The show-time cell: "20 min" for a time of its own; for none, the Options
// page's time as the user set it there ("Options time (15 min)"), or just
// "Options time" when that field holds no number.
std::string ShowTimeCell(int minutes, const std::string& optionsMinutes);

// The choices of Options/Monitors, numbered as stored.
constexpr int kMonitorChoices = 3;
// The choice a stored number means: 0 to kMonitorChoices - 1 as they are,
// anything else (a missing key reads as 0) the first.
int MonitorsChoice(int stored);

}  // namespace velmora::rotation
