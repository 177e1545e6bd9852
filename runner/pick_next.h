#pragma once
#include <functional>
#include <string>

// The path of the next screensaver of the rotation list, read from the
// settings file at this moment, or "" when there is nothing to show.
// Called on the launcher thread.
std::string PickNextScreensaver();

// The same with what else the list says of the entry.
struct PickedEntry {
    std::string path;
    // Its place in the list, -1 when there is none.
    int index = -1;
    // Its own show time in minutes, 0 for the Options page's.
    int showTimeMinutes = 0;
};
// showTime: whether its own show time is wanted (one more read of the file).
// free, where given, says which entries may come now (the per-monitor run:
// none that another monitor shows); a random pick then looks for one without
// taking anything from the deck, while list order moves on as ever.
// usable, where given, says which listed files can be started: list order
// then moves on past those that cannot, around the list once at most, with
// the section read once and the position written once, for the entry it
// stops at (the next one when none can be started).
PickedEntry PickNextEntry(bool showTime = true, const std::function<bool(int)>& free = nullptr,
                          const std::function<bool(const std::string&)>& usable = nullptr);

// Whether any entry of the list has a show time of its own.
bool AnyOwnShowTime();

// A pseudo-random integer from lo to hi inclusive, seeded afresh from the
// millisecond field of the system time (UTC) on every call.
int RandomInRange(int lo, int hi);
