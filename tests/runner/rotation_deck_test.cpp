// The fair random order: weights, the weighted choice and the shuffled deck,
// over stored values of any kind.
#include "runner/rotation_deck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "runner/next_choice.h"

namespace {

using namespace velmora::runner;

// A section's text as the profile functions give it.
std::string Section(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + '\0';
    return text + '\0';
}

TEST(RotationDeck, EveryEntryOncePerDeckAndNeverTwiceInARow) {
    for (int count : {2, 3, 7, 1000}) {
        SCOPED_TRACE(count);
        DeckRandom random(static_cast<uint64_t>(count) * 7919);
        Deck deck;
        int previous = -1;
        const int kDecks = count == 1000 ? 3 : 200;
        for (int d = 0; d < kDecks; ++d) {
            std::set<int> played;
            for (int i = 0; i < count; ++i) {
                const int card = NextFromDeck(deck, count, {}, random);
                ASSERT_GE(card, 0);
                ASSERT_LT(card, count);
                EXPECT_NE(card, previous) << "deck " << d << " card " << i;
                EXPECT_TRUE(played.insert(card).second) << "twice in one deck";
                previous = card;
            }
            // Stored and read back between any two picks, it goes on the same.
            deck = ParseDeck(FormatDeck(deck), count, deck.list);
        }
    }
}

TEST(RotationDeck, WeightsThreeToOne) {
    const Weights weights = {{0, 3}};
    // The weighted choice over every value the generator gives.
    std::map<int64_t, int> picks;
    for (int draw = 0; draw < 32768; ++draw) ++picks[WeightedIndex(draw, 2, weights)];
    EXPECT_NEAR(static_cast<double>(picks[0]) / picks[1], 3.0, 0.01);
    // With every weight 1 it is the plain random order's index.
    for (int draw = 0; draw < 32768; draw += 7)
        ASSERT_EQ(WeightedIndex(draw, 10, {}), ScaleDraw(draw, 0, 9));

    // In the deck: three cards of entry 0 among seven, never two in a row,
    // nor across decks.
    DeckRandom random(42);
    Deck deck;
    const Weights heavy = {{0, 3}};
    int previous = -1, zeros = 0, ones = 0;
    for (int i = 0; i < 5000; ++i) {
        const int card = NextFromDeck(deck, 5, heavy, random);
        EXPECT_NE(card, previous);
        zeros += card == 0;
        ones += card == 1;
        previous = card;
    }
    EXPECT_NEAR(static_cast<double>(zeros) / ones, 3.0, 0.05);
}

TEST(RotationDeck, StoredGarbageGivesADefinedChoice) {
    EXPECT_EQ(StoredWeight(nullptr), 1);
    EXPECT_EQ(StoredWeight(""), 1);
    EXPECT_EQ(StoredWeight("x3"), 1);
    EXPECT_EQ(StoredWeight("3x"), 1);
    EXPECT_EQ(StoredWeight(" 7 "), 7);
    EXPECT_EQ(StoredWeight("-4"), 1);
    EXPECT_EQ(StoredWeight("99999999999999999999"), 10);
    EXPECT_EQ(StoredShowTime(""), 0);
    EXPECT_EQ(StoredShowTime("0"), 0);
    EXPECT_EQ(StoredShowTime("2"), 2);
    EXPECT_EQ(StoredShowTime("20000"), 10000);

    const std::string section = Section({"nScr=3", "weight1=4", "WEIGHT1=9", "Weight01=5",
                                         "Weight2=junk", "Weight7=5", "Time1=2", "deck=bogus",
                                         "Deck=second"});
    const RotationValues values = ReadRotationValues(section.data(), section.size(), 3);
    ASSERT_EQ(values.weights.size(), 1u) << "the first of equal keys; no index beyond the list";
    EXPECT_EQ(values.weights[0].index, 1);
    EXPECT_EQ(values.weights[0].weight, 4);
    EXPECT_EQ(values.deck, "bogus");
    EXPECT_TRUE(AnyOwnShowTime(section.data(), section.size(), 3));
    EXPECT_FALSE(AnyOwnShowTime(section.data(), section.size(), 1));

    // Looking for a free card takes only that one out of the deck.
    DeckRandom random(7);
    Deck dealt{ListFingerprint(3, {}), -1, {2, 0, 1}};
    EXPECT_EQ(NextFromDeck(dealt, 3, {}, random, [](int card) { return card != 2; }), 0);
    EXPECT_EQ(dealt.cards, (std::vector<int>{2, 1}));
    EXPECT_EQ(NextFromDeck(dealt, 3, {}, random, [](int) { return false; }), 2) << "none free: the top";

    // Values as the profile functions give them to Velmora.exe: blanks and
    // one pair of matching quotes around the whole value go.
    const std::string quoted = Section({"Weight0=\"3\"", "Weight1= '5' ", "Weight2=\"6'",
                                        "Time0=\"2\""});
    const RotationValues read = ReadRotationValues(quoted.data(), quoted.size(), 3);
    ASSERT_EQ(read.weights.size(), 2u);
    EXPECT_EQ(read.weights[0].weight, 3);
    EXPECT_EQ(read.weights[1].weight, 5);
    EXPECT_TRUE(AnyOwnShowTime(quoted.data(), quoted.size(), 1));

    // A deck that names missing entries, another list, or is not a deck at
    // all reads as none, and a new one is dealt.
    const uint32_t list = ListFingerprint(3, values.weights);
    const std::string good = FormatDeck(Deck{list, 1, {2, 0}});
    EXPECT_EQ(ParseDeck(good, 3, list).cards, (std::vector<int>{2, 0}));
    for (std::string bad : {std::string("bogus"), std::string(""), good + ",3", good + ",",
                            good + ",-1", FormatDeck(Deck{list + 1, 1, {2}}),
                            FormatDeck(Deck{list, 5, {2}}), good + ",99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(ParseDeck(bad, 3, list).cards.empty());
    }
    // A count beyond any list, and one of none.
    const int64_t huge = int64_t{1} << 40;
    EXPECT_EQ(WeightedIndex(32767, huge, values.weights),
              static_cast<int64_t>(32767 / 32768.0 * static_cast<double>(huge + 3)) - 3);
    EXPECT_EQ(WeightedIndex(0, 0, {}), -1);
}

}  // namespace
