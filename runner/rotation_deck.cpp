#include "runner/rotation_deck.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "runner/next_choice.h"
#include "settings/settings_names.h"

namespace velmora::runner {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// A whole decimal number, spaces around it allowed, a sign in front: false
// for anything else. Magnitudes beyond 10^12 are held there.
bool ParseNumber(const char* text, int64_t& value) {
    if (!text) return false;
    while (IsSpace(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    if (*text < '0' || *text > '9') return false;
    int64_t n = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (n < 1000000000000LL) n = n * 10 + (*text - '0');
    while (IsSpace(*text)) ++text;
    if (*text) return false;
    value = negative ? -n : n;
    return true;
}

// One "key=value" string of a section, split; the key without spaces around
// it, the value as GetPrivateProfileStringA gives it (Velmora.exe reads the
// same keys that way): without spaces around it, and without one pair of
// matching quotes ('"' or '\'') around the whole of it.
struct SectionLine {
    std::string key;
    std::string value;
};
std::string ProfileValue(const char* begin, const char* end) {
    while (begin < end && IsSpace(*begin)) ++begin;
    while (end > begin && IsSpace(end[-1])) --end;
    if (end - begin >= 2 && (*begin == '"' || *begin == '\'') && end[-1] == *begin) {
        ++begin;
        --end;
    }
    return std::string(begin, end);
}
SectionLine Split(const char* line) {
    const char* equals = std::strchr(line, '=');
    const char* end = equals ? equals : line + std::strlen(line);
    const char* begin = line;
    while (begin < end && IsSpace(*begin)) ++begin;
    while (end > begin && IsSpace(end[-1])) --end;
    const char* value = equals ? equals + 1 : end;
    return SectionLine{std::string(begin, end), ProfileValue(value, value + std::strlen(value))};
}

bool SameKey(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    return true;
}

// Walks the section's strings; each is handed to visit(key, value).
template <typename Visit>
void ForEachLine(const char* section, size_t size, Visit visit) {
    if (!section) return;
    const char* end = section + size;
    for (const char* line = section; line < end && *line;) {
        const char* stop = static_cast<const char*>(std::memchr(line, '\0', end - line));
        std::string text(line, stop ? stop : end);
        visit(Split(text.c_str()));
        if (!stop) break;
        line = stop + 1;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

int StoredWeight(const char* text) {
    int64_t value = 0;
    if (!ParseNumber(text, value)) return kMinWeight;
    return static_cast<int>(std::clamp<int64_t>(value, kMinWeight, kMaxWeight));
}

int StoredShowTime(const char* text) {
    int64_t value = 0;
    if (!ParseNumber(text, value) || value < 1) return 0;
    return static_cast<int>(std::min<int64_t>(value, 10000));
}

RotationValues ReadRotationValues(const char* section, size_t size, int64_t count) {
    RotationValues values;
    bool deckSeen = false;
    std::vector<int64_t> seen;
    ForEachLine(section, size, [&](const SectionLine& line) {
        int64_t index = 0;
        if (EntryKeyIndex(line.key.c_str(), velmora::settings::kKeyWeightPrefix, count, index)) {
            if (std::find(seen.begin(), seen.end(), index) != seen.end()) return;
            seen.push_back(index);
            int weight = StoredWeight(line.value.c_str());
            if (weight != 1) values.weights.push_back(Weight{index, weight});
        } else if (!deckSeen && SameKey(line.key, velmora::settings::kKeyDeck)) {
            deckSeen = true;
            values.deck = line.value;
        }
    });
    std::sort(values.weights.begin(), values.weights.end(),
              [](const Weight& a, const Weight& b) { return a.index < b.index; });
    return values;
}

std::vector<ListedPath> ReadListedPaths(const char* section, size_t size, int64_t count) {
    std::vector<ListedPath> paths;
    ForEachLine(section, size, [&](const SectionLine& line) {
        int64_t index = 0;
        // kKeyEntryFormat's prefix.
        if (EntryKeyIndex(line.key.c_str(), "Scr", count, index))
            paths.push_back(ListedPath{index, line.value});
    });
    // The first of equal keys counts.
    std::stable_sort(paths.begin(), paths.end(),
                     [](const ListedPath& a, const ListedPath& b) { return a.index < b.index; });
    paths.erase(std::unique(paths.begin(), paths.end(),
                            [](const ListedPath& a, const ListedPath& b) { return a.index == b.index; }),
                paths.end());
    return paths;
}

bool AnyOwnShowTime(const char* section, size_t size, int64_t count) {
    bool any = false;
    ForEachLine(section, size, [&](const SectionLine& line) {
        int64_t index = 0;
        if (EntryKeyIndex(line.key.c_str(), velmora::settings::kKeyTimePrefix, count, index) && StoredShowTime(line.value.c_str()) > 0)
            any = true;
    });
    return any;
}

int64_t DeckCards(int64_t count, const Weights& weights) {
    int64_t cards = count;
    for (const Weight& w : weights) cards += w.weight - 1;
    return cards;
}

int64_t WeightedIndex(int draw, int64_t count, const Weights& weights) {
    if (count <= 0) return -1;
    const int64_t total = DeckCards(count, weights);
    // The plain random order's arithmetic, over the weighted total.
    const int64_t position = static_cast<int64_t>(draw / 32768.0 * static_cast<double>(total));
    return WeightedIndexAt(position, count, weights);
}

int64_t WeightedIndexAt(int64_t position, int64_t count, const Weights& weights) {
    if (count <= 0) return -1;
    position = std::clamp<int64_t>(position, 0, DeckCards(count, weights) - 1);
    // Walk the heavier entries: each takes weight places where it stands.
    int64_t extra = 0;
    for (const Weight& w : weights) {
        const int64_t start = w.index + extra;
        if (position < start) break;
        if (position < start + w.weight) return w.index;
        extra += w.weight - 1;
    }
    return position - extra;
}

uint64_t DeckRandom::Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t DeckRandom::Below(uint32_t n) {
    return static_cast<uint32_t>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32);
}

uint32_t ListFingerprint(int64_t count, const Weights& weights) {
    // FNV-1a over the count and every weight that is not 1.
    uint32_t hash = 2166136261u;
    auto mix = [&](uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash ^= static_cast<uint8_t>(value >> (8 * i));
            hash *= 16777619u;
        }
    };
    mix(static_cast<uint64_t>(count));
    for (const Weight& w : weights) {
        mix(static_cast<uint64_t>(w.index));
        mix(static_cast<uint64_t>(w.weight));
    }
    return hash;
}

Deck ParseDeck(const std::string& text, int count, uint32_t list) {
    Deck deck;
    deck.list = list;
    const char* p = text.c_str();
    // The parts are read by hand: no locale, no sign, no overflow.
    auto number = [&](int64_t limit, int64_t& value) {
        if (*p < '0' || *p > '9') return false;
        value = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            value = value * 10 + (*p - '0');
            if (value > limit) return false;
        }
        return true;
    };
    uint32_t stored = 0;
    for (int i = 0; i < 8; ++i, ++p) {
        const int digit = HexDigit(*p);
        if (digit < 0) return deck;
        stored = stored << 4 | static_cast<uint32_t>(digit);
    }
    if (stored != list || *p++ != ':') return deck;
    int64_t last = -1;
    if (*p == '-' && p[1] == '1') {
        p += 2;
    } else if (!number(count - 1, last)) {
        return deck;
    }
    if (*p++ != ':') return deck;
    std::vector<int> cards;
    while (*p) {
        int64_t card = 0;
        if (!number(count - 1, card)) return deck;
        cards.push_back(static_cast<int>(card));
        if (*p == ',' && p[1]) ++p;
        else if (*p) return deck;
    }
    deck.last = static_cast<int>(last);
    deck.cards = std::move(cards);
    return deck;
}

std::string FormatDeck(const Deck& deck) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 7; i >= 0; --i) text += kHex[(deck.list >> (4 * i)) & 0xF];
    text += ':' + std::to_string(deck.last) + ':';
    for (size_t i = 0; i < deck.cards.size(); ++i) {
        if (i) text += ',';
        text += std::to_string(deck.cards[i]);
    }
    return text;
}

namespace {

// How often each entry is among the cards from k on.
std::vector<std::pair<int, size_t>> Tally(const std::vector<int>& cards, size_t k) {
    std::vector<std::pair<int, size_t>> tally;
    for (size_t a = k; a < cards.size(); ++a) {
        auto it = std::find_if(tally.begin(), tally.end(),
                               [&](const std::pair<int, size_t>& t) { return t.first == cards[a]; });
        if (it == tally.end())
            tally.emplace_back(cards[a], 1);
        else
            ++it->second;
    }
    return tally;
}

// Whether the rest (left cards, tallied) can follow a card of entry `card`
// with no two of the same entry side by side: an entry may fill at most
// every other place, and not the first if it is that card's own.
bool CanFollow(const std::vector<std::pair<int, size_t>>& rest, int card, size_t left) {
    for (const auto& [entry, cardsOf] : rest) {
        const size_t count = entry == card ? cardsOf - 1 : cardsOf;
        if (count > (entry == card ? left / 2 : (left + 1) / 2)) return false;
    }
    return true;
}

// The last cards of a deck (a few dozen at most), arranged one by one: each
// place takes a card, tried from a random point on, after which the rest can
// still be laid out; only where the weights allow no such card does one of
// the entry before it follow.
void ArrangeTail(std::vector<int>& cards, size_t from, int previous, DeckRandom& random) {
    for (size_t k = from; k < cards.size(); ++k) {
        const int before = k ? cards[k - 1] : previous;
        const size_t left = cards.size() - k;
        const auto rest = Tally(cards, k);
        const size_t offset = random.Below(static_cast<uint32_t>(left));
        size_t chosen = cards.size(), fallback = cards.size();
        for (size_t t = 0; t < left && chosen == cards.size(); ++t) {
            const size_t j = k + (offset + t) % left;
            if (cards[j] != before && CanFollow(rest, cards[j], left - 1))
                chosen = j;
            else if (fallback == cards.size() || cards[fallback] == before)
                fallback = j;
        }
        std::swap(cards[k], cards[chosen != cards.size() ? chosen : fallback]);
    }
}

}  // namespace

std::vector<int> DealDeck(int count, const Weights& weights, int previous, DeckRandom& random) {
    std::vector<int> cards;
    size_t next = 0;
    for (int i = 0; i < count; ++i) {
        int weight = 1;
        if (next < weights.size() && weights[next].index == i) weight = weights[next++].weight;
        cards.insert(cards.end(), static_cast<size_t>(weight), i);
    }
    for (size_t i = cards.size(); i > 1; --i)
        std::swap(cards[i - 1], cards[random.Below(static_cast<uint32_t>(i))]);
    // Before the tail no entry can hold more than every other place (a weight
    // is 10 at most): a card that follows one of its own entry changes place
    // with the next card that does not. The tail is laid out with care.
    const size_t tail = cards.size() > 4 * kMaxWeight ? cards.size() - 4 * kMaxWeight : 0;
    for (size_t i = 0; i < tail; ++i) {
        const int before = i ? cards[i - 1] : previous;
        if (cards[i] != before) continue;
        for (size_t j = i + 1; j < cards.size(); ++j) {
            if (cards[j] != before) {
                std::swap(cards[i], cards[j]);
                break;
            }
        }
    }
    ArrangeTail(cards, tail, previous, random);
    return cards;
}

int NextFromDeck(Deck& deck, int count, const Weights& weights, DeckRandom& random,
                 const std::function<bool(int)>& free) {
    if (count <= 0) return -1;
    if (deck.cards.empty()) deck.cards = DealDeck(count, weights, deck.last, random);
    // The first card that is free, the top one when none is.
    auto at = deck.cards.begin();
    if (free) {
        const auto found = std::find_if(deck.cards.begin(), deck.cards.end(), free);
        if (found != deck.cards.end()) at = found;
    }
    const int card = *at;
    deck.cards.erase(at);
    deck.last = card;
    return card;
}

}  // namespace velmora::runner
