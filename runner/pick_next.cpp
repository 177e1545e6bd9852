#include "runner/pick_next.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "runner/next_choice.h"
#include "runner/profile_list.h"
#include "runner/rotation_deck.h"
#include "settings/option_flags.h"
#include "settings/settings_names.h"

namespace names = velmora::settings;
using namespace velmora::runner;

namespace {

// The generator value of this moment: a pick depends only on the millisecond
// at which it is made.
int CurrentDraw() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return DrawForMillisecond(now.wMilliseconds);
}

// The shuffled deck's generator: seeded once, at the first deal of this run.
DeckRandom& RunRandom() {
    static DeckRandom random = [] {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        return DeckRandom(static_cast<uint64_t>(counter.QuadPart) ^
                          (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^ GetTickCount());
    }();
    return random;
}

// The rotation section whole, as the profile functions give it.
std::vector<char> RotationSection() {
    return ReadProfileList(16384, 1u << 26, [](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(names::kSectionScreensaver, buffer, size, names::kIniFile);
    });
}

int Option(const char* key) {
    return static_cast<int>(GetPrivateProfileIntA(names::kSectionOptions, key, 0, names::kIniFile));
}

std::string EntryValue(const char* format, int index, DWORD size) {
    char key[32];
    wsprintfA(key, format, index);
    std::vector<char> value(size + 1, '\0');
    GetPrivateProfileStringA(names::kSectionScreensaver, key, "", value.data(),
                             static_cast<DWORD>(value.size()), names::kIniFile);
    return value.data();
}

// Random order over a list of two or more: by weight, from the shuffled deck
// when the user asked for it. Without weights or deck the design's draw;
// with weights the run's generator picks the place among all of the
// weighted list's places (the draw's 32768 values could not reach every
// entry of a long list).
int RandomIndex(int count, const std::function<bool(int)>& free) {
    const std::vector<char> section = RotationSection();
    const RotationValues values = ReadRotationValues(section.data(), section.size(), count);
    const int64_t places = DeckCards(count, values.weights);
    if (!names::OptionSet(names::kKeyPlayEachOnce) || places > kMaxDeckCards) {
        auto generated = [&] {
            const uint32_t place = RunRandom().Below(
                static_cast<uint32_t>(places < 0xFFFFFFFFll ? places : 0xFFFFFFFFll));
            return static_cast<int>(WeightedIndexAt(place, count, values.weights));
        };
        int index = values.weights.empty()
                        ? static_cast<int>(WeightedIndex(CurrentDraw(), count, values.weights))
                        : generated();
        // Where another monitor shows it: a few more picks of the run's
        // generator (they take nothing away).
        for (int attempt = 0; free && !free(index) && attempt < 16; ++attempt) index = generated();
        return index;
    }
    const uint32_t list = ListFingerprint(count, values.weights);
    Deck deck = ParseDeck(values.deck, count, list);
    const int index = NextFromDeck(deck, count, values.weights, RunRandom(), free);
    WritePrivateProfileStringA(names::kSectionScreensaver, names::kKeyDeck,
                               FormatDeck(deck).c_str(), names::kIniFile);
    return index;
}

// In list order, the first entry from `index` on, around the list once,
// whose file can be started; `index` itself when none can. One read of the
// section, however many are passed over: a list with thousands of files gone
// (a drive unplugged) starts at once.
int FirstUsableFrom(int count, int index, const std::function<bool(const std::string&)>& usable) {
    const std::vector<char> section = RotationSection();
    const std::vector<ListedPath> paths = ReadListedPaths(section.data(), section.size(), count);
    const auto from = std::lower_bound(
        paths.begin(), paths.end(), index,
        [](const ListedPath& entry, int at) { return entry.index < at; });
    for (auto it = from; it != paths.end(); ++it)
        if (usable(it->path)) return static_cast<int>(it->index);
    for (auto it = paths.begin(); it != from; ++it)
        if (usable(it->path)) return static_cast<int>(it->index);
    return index;
}

}  // namespace

int RandomInRange(int lo, int hi) { return ScaleDraw(CurrentDraw(), lo, hi); }

std::string PickNextScreensaver() { return PickNextEntry(false).path; }

PickedEntry PickNextEntry(bool showTime, const std::function<bool(int)>& free,
                          const std::function<bool(const std::string&)>& usable) {
    int order = Option(names::kKeyRandomOrder);
    int count = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));

    // Only what the choice needs is read: a single entry never touches
    // LastScrShow, and a random pick never reads it.
    NextChoice choice;
    if (count >= 2 && order == 1) {
        choice.index = RandomIndex(count, free);
    } else {
        int last = count - 1;
        if (count >= 2)
            last = static_cast<int>(GetPrivateProfileIntA(names::kSectionScreensaver,
                                                          names::kKeyLastShown, count - 1,
                                                          names::kIniFile));
        choice = ChooseNext(count, order, last, 0);
    }
    PickedEntry picked;
    if (choice.index < 0) return picked;

    if (choice.writeLast && usable &&
        !usable(EntryValue(names::kKeyEntryFormat, choice.index, names::kPathBuffer)))
        choice.index = FirstUsableFrom(count, choice.index, usable);
    if (choice.writeLast) {
        char value[16];
        wsprintfA(value, "%d", choice.index);
        WritePrivateProfileStringA(names::kSectionScreensaver, names::kKeyLastShown, value,
                                   names::kIniFile);
    }
    // One character more than a path may have: a value that fills it was cut
    // by the profile function and is no usable path; the caller sees that.
    picked.index = choice.index;
    picked.path = EntryValue(names::kKeyEntryFormat, choice.index, names::kPathBuffer);
    if (showTime && !picked.path.empty())
        picked.showTimeMinutes =
            StoredShowTime(EntryValue(names::kKeyTimeFormat, choice.index, 32).c_str());
    return picked;
}

bool AnyOwnShowTime() {
    int count = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));
    if (count <= 0) return false;
    const std::vector<char> section = RotationSection();
    return velmora::runner::AnyOwnShowTime(section.data(), section.size(), count);
}
