#include "config/rotation_rules.h"

#include <algorithm>

#include "config/options_rules.h"
#include "runner/monitor_layout.h"
#include "runner/rotation_deck.h"

namespace velmora::rotation {

namespace {

// Empty text: the default; digits: the number held to the range (a number
// too long for an int is above any range); anything else: refused.
std::optional<int> ParseHeld(const std::string& typed, int low, int high, int empty) {
    const std::string text = options::TrimWhiteSpace(typed);
    if (text.empty()) return empty;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = std::min<long long>(value * 10 + (c - '0'), high + 1LL);
    }
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

}  // namespace

std::optional<int> ParseMinutes(const std::string& text) {
    return ParseHeld(text, settings::kMinShowTime, settings::kMaxShowTime, 0);
}

std::optional<int> ParseWeight(const std::string& text) {
    return ParseHeld(text, settings::kMinWeight, settings::kMaxWeight, settings::kDefaultWeight);
}

EntryExtras StoredExtras(const std::string& time, const std::string& weight) {
    // Read as the screensaver reads them, so that the page shows what plays.
    EntryExtras extras;
    extras.minutes = velmora::runner::StoredShowTime(time.c_str());
    extras.weight = velmora::runner::StoredWeight(weight.c_str());
    return extras;
}

std::string TimeValue(const EntryExtras& extras) {
    return extras.minutes > 0 ? std::to_string(extras.minutes) : std::string();
}

std::string WeightValue(const EntryExtras& extras) {
    return extras.weight != settings::kDefaultWeight ? std::to_string(extras.weight)
                                                     : std::string();
}

std::uint32_t Pack(const EntryExtras& extras) {
    // Minutes fit 16 bits; weight 0 in the upper half stands for the default.
    const auto weight = extras.weight == settings::kDefaultWeight ? 0u
                                                                  : static_cast<std::uint32_t>(extras.weight);
    return (weight << 16) | static_cast<std::uint32_t>(extras.minutes & 0xFFFF);
}

EntryExtras Unpack(std::uint32_t data) {
    EntryExtras extras;
    extras.minutes = static_cast<int>(data & 0xFFFF);
    const int weight = static_cast<int>(data >> 16);
    extras.weight = weight == 0 ? settings::kDefaultWeight : weight;
    return extras;
}

std::string ShowTimeCell(int minutes, const std::string& optionsMinutes) {
    if (minutes > 0) return std::to_string(minutes) + " min";
    const std::string text = options::TrimWhiteSpace(optionsMinutes);
    const bool number = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    return number ? "Options time (" + text + " min)" : "Options time";
}

int MonitorsChoice(int stored) {
    // The screensaver's own reading of the value.
    return static_cast<int>(velmora::runner::MonitorModeOf(stored));
}

}  // namespace velmora::rotation
