#include "config/controls/gif_walk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/config/controls/gif_bytes.h"

using namespace velmora::gif;
using namespace gifbytes;

namespace {

struct Expected {
    Bytes span;  // what the one-frame GIF carries between the head and the trailer
    uint32_t delay;
    int disposal, left, top, width, height;
};

// Every frame the walk finds; counted tells what SkipFrame counted.
std::vector<Frame> Walk(const Bytes& data, int* counted) {
    std::vector<Frame> frames;
    Screen screen;
    if (!ReadScreen(data.data(), data.size(), &screen)) return frames;
    Walker walker(data.data(), data.size(), screen);
    *counted = walker.CountFrames();
    walker.Rewind();
    for (Frame f; walker.ExtractFrame(&f);) frames.push_back(f);
    return frames;
}

TEST(GifWalk, EdgeCases) {
    const Bytes head = Head(20, 10);
    const Bytes a = Gce(7, 2) + Image(0, 0, 20, 10), b = Gce(60, 1) + Image(2, 3, 4, 5);
    const Bytes bare = Image(1, 2, 3, 4), local = Gce(3, 3) + Image(5, 6, 7, 8, 0, 2);
    const Bytes inner = Gce(9, 1) + Comment() + Application() + Image(1, 1, 2, 2);
    const Bytes text = Gce(5, 0) + PlainText(4, 3, 16, 8);
    const Expected A{a, 7, 2, 0, 0, 20, 10}, B{b, 60, 1, 2, 3, 4, 5};
    const struct {
        const char* name;
        Bytes head, rest;
        bool isGif;
        std::vector<Expected> frames;
    } cases[] = {
        {"no frame: the trailer right after the colour table", head, kTrailer, true, {}},
        {"no global colour table", Head(20, 10, -1), a + kTrailer, true, {A}},
        {"another version is not a GIF", Head(20, 10, 1, true, "88a"), a + kTrailer, false, {}},
        {"a header cut short", Bytes(head.begin(), head.begin() + 12), {}, false, {}},
        {"one frame", head, a + kTrailer, true, {A}},
        {"with and without graphic control extensions", head, a + bare + b + kTrailer, true,
         {A, {bare, kNoDelay, 0, 1, 2, 3, 4}, B}},
        {"extensions before a frame are not carried", head,
         Application() + Comment() + a + Comment() + b + kTrailer, true, {A, B}},
        {"extensions inside a frame are carried", head, inner + kTrailer, true,
         {{inner, 9, 1, 1, 1, 2, 2}}},
        {"local colour tables", head, local + a + kTrailer, true, {{local, 3, 3, 5, 6, 7, 8}, A}},
        {"plain text frames take their text grid", head, text + a + kTrailer, true,
         {{text, 5, 0, 4, 3, 16, 8}, A}},
        {"an unknown extension ends the walk", head, a + Bytes{0x21, 0x77, 1, 0, 0} + b, true, {A}},
        {"an unknown block ends the walk", head, a + Bytes{0} + b + kTrailer, true, {A}},
        {"a graphic control extension without its image", head, a + Gce(7, 2) + kTrailer, true,
         {A}},
        {"sub-blocks past the end", head, a + Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 200, 1},
         true, {A}},
        {"a local table past the end", head, a + Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87}, true,
         {A}},
        {"a colour table flag with no table behind it", Head(20, 10, 7, false), {}, true, {}},
        {"no trailer", head, a + b, true, {A, B}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes data = c.head + c.rest;
        Screen screen;
        ASSERT_EQ(ReadScreen(data.data(), data.size(), &screen), c.isGif);
        if (!c.isGif) continue;
        EXPECT_EQ(screen.width, 20);
        EXPECT_EQ(screen.height, 10);
        int counted = -1;
        const std::vector<Frame> frames = Walk(data, &counted);
        EXPECT_EQ(counted, static_cast<int>(c.frames.size()));
        ASSERT_EQ(frames.size(), c.frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            const Expected& e = c.frames[i];
            const Frame& f = frames[i];
            EXPECT_EQ(f.gif, c.head + e.span + kTrailer) << i;
            EXPECT_EQ(std::vector<int>({int(f.delay), f.disposal, f.left, f.top, f.width, f.height}),
                      std::vector<int>({int(e.delay), e.disposal, e.left, e.top, e.width, e.height}))
                << i;
        }
    }
}

// Cut at every byte, a file gives exactly the frames wholly before the cut;
// the sanitizers see any read past it.
TEST(GifWalk, TruncatedAtEveryByte) {
    Bytes whole = Head(20, 10);
    std::vector<size_t> ends;
    for (const Bytes& f : {Application() + Gce(7, 2) + Image(0, 0, 20, 10, 1, 1),
                           Gce(8, 3) + Comment() + Image(1, 1, 5, 5), PlainText(0, 0, 8, 8)}) {
        whole = whole + f;
        ends.push_back(whole.size());
    }
    whole = whole + kTrailer;
    for (size_t n = 0; n <= whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + long(n));
        size_t expected = 0;
        while (expected < ends.size() && ends[expected] <= n) ++expected;
        int counted = 0;
        EXPECT_EQ(Walk(cut, &counted).size(), expected) << n;
        EXPECT_EQ(size_t(counted), expected) << n;
    }
}

TEST(GifWalk, FrameWait) {
    for (auto [delay, ms] : {std::pair<uint32_t, uint32_t>{0, 100}, {4, 100}, {5, 50}, {7, 70},
                             {60, 600}, {65535, 655350}, {kNoDelay, 100}})
        EXPECT_EQ(FrameWaitMs(delay), ms) << delay;
}

TEST(GifWalk, ShippedPicture) {
    std::ifstream in(VELMORA_DONATIONS_GIF, std::ios::binary);
    const Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Screen screen;
    ASSERT_TRUE(ReadScreen(data.data(), data.size(), &screen));
    EXPECT_EQ(screen.width, 90);
    EXPECT_EQ(screen.height, 97);
    EXPECT_EQ(screen.globalColourTableLength, 48u);
    Walker walker(data.data(), data.size(), screen);
    // Beside the walker, by hand: the looping extension, then eight graphic
    // control extensions each followed by its image.
    size_t pos = screen.firstBlock;
    ASSERT_EQ(data[pos + 1], 0xFF);
    pos += BlockLength(data.data(), data.size(), pos);
    for (int i = 0; i < 8; ++i) {
        const size_t start = pos;
        ASSERT_EQ(data[pos + 1], 0xF9);
        pos += BlockLength(data.data(), data.size(), pos);
        ASSERT_EQ(data[pos], 0x2C);
        pos += BlockLength(data.data(), data.size(), pos);
        Frame f;
        ASSERT_TRUE(walker.ExtractFrame(&f));
        EXPECT_EQ(f.gif.size(), 13 + 48 + (pos - start) + 1) << i;
        EXPECT_EQ(std::vector<int>({int(f.delay), f.disposal, f.left, f.top, f.width, f.height}),
                  std::vector<int>({i < 7 ? 7 : 60, i < 7 ? 2 : 1, 0, 0, 90, 97}))
            << i;
    }
    EXPECT_EQ(pos + 1, data.size());
    EXPECT_EQ(walker.CountFrames(), 8);
}

}  // namespace
