// The fair random order over whatever the settings file holds: the rotation
// section's text (weights, show times, a stored deck) for any count.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "runner/rotation_deck.h"

using namespace velmora::runner;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::FuzzInput in(data, size);
    // Lists of up to 64 entries: long enough for every path of a deal, short
    // enough that several decks are dealt for each input.
    const int count = static_cast<int>(static_cast<uint32_t>(in.Int()) % 65u);
    const int draw = static_cast<int>(static_cast<uint32_t>(in.Int()) % 32768u);
    const uint64_t seed = static_cast<uint32_t>(in.Int());
    // Lines as the section's strings; a stored deck in the text or given whole.
    std::string section;
    while (!in.Empty()) section += in.Line() + '\0';
    section += '\0';

    const RotationValues values = ReadRotationValues(section.data(), section.size(), count);
    for (size_t i = 0; i < values.weights.size(); ++i) {
        const Weight& w = values.weights[i];
        VELMORA_FUZZ_CHECK(w.index >= 0 && w.index < count);
        VELMORA_FUZZ_CHECK(w.weight >= kMinWeight && w.weight <= kMaxWeight && w.weight != 1);
        VELMORA_FUZZ_CHECK(i == 0 || values.weights[i - 1].index < w.index);
    }
    AnyOwnShowTime(section.data(), section.size(), count);

    const int64_t picked = WeightedIndex(draw, count, values.weights);
    VELMORA_FUZZ_CHECK(count == 0 ? picked == -1 : picked >= 0 && picked < count);

    const uint32_t list = ListFingerprint(count, values.weights);
    Deck deck = ParseDeck(values.deck, count, list);
    for (int card : deck.cards) VELMORA_FUZZ_CHECK(card >= 0 && card < count);
    DeckRandom random(seed);
    int previous = deck.last;
    const size_t stored = deck.cards.size();
    for (int i = 0; i < 2 * count + 2 && count > 0; ++i) {
        const int card = NextFromDeck(deck, count, values.weights, random);
        VELMORA_FUZZ_CHECK(card >= 0 && card < count);
        // Dealt cards: two of the same side by side only where the list has a
        // single entry, or weights that leave no other way.
        VELMORA_FUZZ_CHECK(static_cast<size_t>(i) <= stored || card != previous || count == 1 ||
                           values.weights.size() > 0);
        previous = card;
    }
    // What is stored reads back as the same deck.
    const Deck again = ParseDeck(FormatDeck(deck), count, list);
    VELMORA_FUZZ_CHECK(again.cards == deck.cards && again.last == deck.last);
    return 0;
}
