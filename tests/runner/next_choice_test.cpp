#include "runner/next_choice.h"

#include <gtest/gtest.h>

namespace {

TEST(NextChoice, GeneratorWorkedValues) {
    struct Case {
        int millisecond, r, index2, index3, index10;
    };
    const Case cases[] = {
        {0, 7719, 0, 0, 2},
        {1, 18467, 1, 1, 5},
        {999, 30241, 1, 2, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.millisecond);
        int r = DrawForMillisecond(c.millisecond);
        EXPECT_EQ(r, c.r);
        EXPECT_EQ(ScaleDraw(r, 0, 1), c.index2);
        EXPECT_EQ(ScaleDraw(r, 0, 2), c.index3);
        EXPECT_EQ(ScaleDraw(r, 0, 9), c.index10);
        EXPECT_EQ(ChooseNext(10, 1, 9, r).index, c.index10);
    }
    // The generator itself: the runtime's classic sequence from seed 1.
    RuntimeRandom random(1);
    EXPECT_EQ(random.Draw(), 41);
    EXPECT_EQ(random.Draw(), 18467);
    EXPECT_EQ(random.Draw(), 6334);
    // Every millisecond gives an index inside the list, and the extremes of
    // the draw stay inside the range.
    for (int ms = 0; ms < 1000; ++ms) {
        int index = ScaleDraw(DrawForMillisecond(ms), 0, 6);
        ASSERT_GE(index, 0);
        ASSERT_LE(index, 6);
    }
    EXPECT_EQ(ScaleDraw(0, 0, 6), 0);
    EXPECT_EQ(ScaleDraw(32767, 0, 6), 6);
    EXPECT_EQ(ScaleDraw(32767, 5, 5), 5);
}

TEST(NextChoice, ListOrderRandomOrderAndEdges) {
    // Empty list: nothing to show.
    EXPECT_EQ(ChooseNext(0, 0, -1, 0).index, -1);
    EXPECT_EQ(ChooseNext(0, 1, -1, 0).index, -1);
    EXPECT_EQ(ChooseNext(-3, 0, -4, 0).index, -1);
    // One entry: always Scr0, LastScrShow untouched, whatever the order.
    for (int order : {0, 1, 2}) {
        NextChoice one = ChooseNext(1, order, 5, 32767);
        EXPECT_EQ(one.index, 0);
        EXPECT_FALSE(one.writeLast);
    }
    // List order through three entries, starting from the default count - 1.
    int last = 2;
    for (int expected : {0, 1, 2, 0, 1}) {
        NextChoice next = ChooseNext(3, 0, last, 0);
        EXPECT_EQ(next.index, expected);
        EXPECT_TRUE(next.writeLast);
        last = next.index;
    }
    // Any order other than 1 is list order.
    EXPECT_EQ(ChooseNext(3, 2, 0, 0).index, 1);
    EXPECT_EQ(ChooseNext(3, -1, 0, 0).index, 1);
    // A stored index beyond a list that got shorter starts over.
    EXPECT_EQ(ChooseNext(3, 0, 7, 0).index, 0);
    EXPECT_EQ(ChooseNext(3, 0, 2, 0).index, 0);
    // A negative stored index starts over too, rather than naming a key
    // that cannot exist.
    EXPECT_EQ(ChooseNext(3, 0, -5, 0).index, 0);
    EXPECT_EQ(ChooseNext(3, 0, -1, 0).index, 0);
    // Random order writes nothing.
    NextChoice random = ChooseNext(10, 1, 3, DrawForMillisecond(0));
    EXPECT_EQ(random.index, 2);
    EXPECT_FALSE(random.writeLast);
}

}  // namespace
