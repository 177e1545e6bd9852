#pragma once
// A fair random order, free of Win32: a weight per entry of the rotation list,
// the weighted choice of one entry, and the shuffled deck that plays every
// entry (each as often as its weight says) before any comes again. The
// values come from the settings file as they are stored, whatever they are.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings_names.h"

namespace velmora::runner {

using velmora::settings::kMaxWeight;
using velmora::settings::kMinWeight;
// Beyond this many cards (entries, each as often as its weight) a list is
// played by the weighted choice alone. The deck is kept as one value of the
// settings file, and the profile functions carry at most 32767 characters in
// a value (NT converts it through a counted Unicode string of at most 65535
// bytes; a longer one is not written, and 64-bit Wine crashes on it): 5000
// cards of at most four digits and a comma stay well within that.
constexpr int64_t kMaxDeckCards = 5000;

// A stored weight: a decimal number from 1 to 10; missing or garbage reads as
// 1, a number beyond the range as the nearest end of it.
int StoredWeight(const char* text);
// A stored show time of its own: minutes from 1 to 10000, or 0 for none (the
// Options page's time): missing, empty, garbage and numbers below 1 read as
// none, numbers beyond 10000 as 10000.
int StoredShowTime(const char* text);

// The entries whose weight is not 1, by index, from the section's keys.
struct Weight {
    int64_t index = 0;
    int weight = 1;
};
using Weights = std::vector<Weight>;  // ascending index, each index once

// The cards a deck of the list has: each entry as many as its weight.
int64_t DeckCards(int64_t count, const Weights& weights);

// The rotation section's values the random order needs, read from the text
// of the whole section ("key=value" strings, each ended by a NUL, the last by
// a second one). Keys are compared without regard to case, the first of
// equal keys counts (as for the profile functions), and an entry's key is
// written as the picker writes it ("Weight%d").
struct RotationValues {
    Weights weights;
    std::string deck;  // the stored deck, "" when none
};
RotationValues ReadRotationValues(const char* section, size_t size, int64_t count);
// The entries below count that the section stores ("Scr<i>"), by ascending
// index, each path as the profile functions read it.
struct ListedPath {
    int64_t index = 0;
    std::string path;
};
std::vector<ListedPath> ReadListedPaths(const char* section, size_t size, int64_t count);
// Whether the section gives any entry below count a show time of its own.
bool AnyOwnShowTime(const char* section, size_t size, int64_t count);

// The entry a generator value from 0 to 32767 picks, each entry as often as
// its weight: trunc(draw / 32768 × total) counted through the weights. With
// every weight 1 this is the plain random order's index.
int64_t WeightedIndex(int draw, int64_t count, const Weights& weights);
// The entry at a place from 0 to DeckCards - 1 of the weighted list (each
// entry as many places as its weight, in list order): every entry of a list
// of any length can be reached, as the run's generator picks the place.
int64_t WeightedIndexAt(int64_t position, int64_t count, const Weights& weights);

// The generator of the shuffled deck: seeded once per run, 64-bit state
// (splitmix64), so that every order of even a long list can come.
class DeckRandom {
public:
    explicit DeckRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next();
    // A value from 0 to n - 1 (n > 0).
    uint32_t Below(uint32_t n);

private:
    uint64_t m_state;
};

// The deck: the cards still to play, in order, and the card played last
// (-1 before the first), tied to the list it was dealt for.
struct Deck {
    uint32_t list = 0;  // ListFingerprint of the list it was dealt for
    int last = -1;
    std::vector<int> cards;
};
// The list a deck belongs to: its count and its weights.
uint32_t ListFingerprint(int64_t count, const Weights& weights);
// Stored as "<fingerprint>:<last>:<card>,<card>,...". A text that is not a
// deck of this list (garbage, another list, a card out of range) reads as
// an empty deck, so that a new one is dealt.
Deck ParseDeck(const std::string& text, int count, uint32_t list);
std::string FormatDeck(const Deck& deck);

// A new deck: each entry as many cards as its weight, shuffled so that no
// card follows one of the same entry (nor the first the previous deck's last)
// wherever the weights allow it.
std::vector<int> DealDeck(int count, const Weights& weights, int previous, DeckRandom& random);

// The next entry from the deck, dealing a new one when it is used up.
// `free`, where given, says which entries may come now (the per-monitor run:
// none that another monitor shows): the first such card is taken, so that
// looking for one takes no other card out of the deck.
int NextFromDeck(Deck& deck, int count, const Weights& weights, DeckRandom& random,
                 const std::function<bool(int)>& free = nullptr);

}  // namespace velmora::runner
