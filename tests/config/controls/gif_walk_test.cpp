#include "config/controls/gif_walk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace velmora::gif;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Word(int v) { return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)}; }

// Header and logical screen descriptor; tableBits >= 0 announces a global
// colour table of 2^(tableBits + 1) colours, which withTable puts behind it.
Bytes Head(int width, int height, int tableBits = 1, bool withTable = true,
           const char* version = "89a") {
    Bytes b{'G', 'I', 'F'};
    b.insert(b.end(), version, version + 3);
    b = b + Word(width) + Word(height);
    b.push_back(tableBits >= 0 ? static_cast<uint8_t>(0x80 | tableBits) : 0);
    b.push_back(0);
    b.push_back(0);
    if (tableBits >= 0 && withTable) b.resize(b.size() + 3 * (2u << tableBits), 0x11);
    return b;
}

Bytes Gce(int delay, int disposal) {
    return Bytes{0x21, 0xF9, 4, static_cast<uint8_t>(disposal << 2)} + Word(delay) + Bytes{0, 0};
}

const Bytes kData{3, 0x02, 0x44, 0x01, 1, 0x05, 0};  // two sub-blocks and the terminator

Bytes Image(int left, int top, int width, int height, int localBits = -1) {
    Bytes b = Bytes{0x2C} + Word(left) + Word(top) + Word(width) + Word(height);
    b.push_back(localBits >= 0 ? static_cast<uint8_t>(0x80 | localBits) : 0);
    if (localBits >= 0) b.resize(b.size() + 3 * (2u << localBits), 0x22);
    b.push_back(2);  // LZW minimum code size
    return b + kData;
}

Bytes Application() {
    Bytes b{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    return b + Bytes{3, 1, 0, 0, 0};
}
Bytes Comment() { return Bytes{0x21, 0xFE, 4, 'n', 'o', 't', 'e', 0}; }
Bytes PlainText(int left, int top, int width, int height) {
    Bytes b = Bytes{0x21, 0x01, 12} + Word(left) + Word(top) + Word(width) + Word(height);
    return b + Bytes{8, 16, 1, 0} + Bytes{2, 'h', 'i', 0};
}
const Bytes kTrailer{0x3B};

struct ExpectedFrame {
    Bytes span;  // the bytes carried into the one-frame GIF
    uint32_t delay;
    int disposal, left, top, width, height;
};

struct Case {
    const char* name;
    Bytes head;  // what every one-frame GIF starts with
    Bytes rest;
    bool isGif;
    std::vector<ExpectedFrame> frames;
};

std::vector<Frame> ExtractAll(const Bytes& data, int* counted) {
    std::vector<Frame> frames;
    Screen screen;
    if (!ReadScreen(data.data(), data.size(), &screen)) return frames;
    Walker walker(data.data(), data.size(), screen);
    *counted = walker.CountFrames();
    walker.Rewind();
    Frame frame;
    while (walker.ExtractFrame(&frame)) frames.push_back(frame);
    EXPECT_FALSE(walker.ExtractFrame(&frame)) << "a failed walk stays failed";
    return frames;
}

TEST(GifWalk, EdgeCases) {
    const Bytes head = Head(20, 10);
    const Bytes a = Gce(7, 2) + Image(0, 0, 20, 10);
    const Bytes b = Gce(60, 1) + Image(2, 3, 4, 5);
    const Bytes bare = Image(1, 2, 3, 4);
    const Bytes local = Gce(3, 3) + Image(5, 6, 7, 8, 2);
    const Case cases[] = {
        {"no frame: the trailer right after the colour table", head, kTrailer, true, {}},
        {"no colour table at all", Head(20, 10, -1), a + kTrailer, true,
         {{a, 7, 2, 0, 0, 20, 10}}},
        {"another version is not a GIF", Head(20, 10, 1, true, "88a"), a + kTrailer, false, {}},
        {"one frame", head, a + kTrailer, true, {{a, 7, 2, 0, 0, 20, 10}}},
        {"frames with and without a graphic control extension", head, a + bare + b + kTrailer,
         true,
         {{a, 7, 2, 0, 0, 20, 10}, {bare, kNoDelay, 0, 1, 2, 3, 4}, {b, 60, 1, 2, 3, 4, 5}}},
        {"application and comment extensions before a frame stay out of it", head,
         Application() + Comment() + a + Comment() + b + kTrailer, true,
         {{a, 7, 2, 0, 0, 20, 10}, {b, 60, 1, 2, 3, 4, 5}}},
        {"extensions between a graphic control extension and its image go with it", head,
         Gce(9, 1) + Comment() + Application() + Image(1, 1, 2, 2) + kTrailer, true,
         {{Gce(9, 1) + Comment() + Application() + Image(1, 1, 2, 2), 9, 1, 1, 1, 2, 2}}},
        {"local colour tables", head, local + a + kTrailer, true,
         {{local, 3, 3, 5, 6, 7, 8}, {a, 7, 2, 0, 0, 20, 10}}},
        {"plain text extensions are frames placed by their text grid", head,
         Gce(5, 0) + PlainText(4, 3, 16, 8) + a + kTrailer, true,
         {{Gce(5, 0) + PlainText(4, 3, 16, 8), 5, 0, 4, 3, 16, 8}, {a, 7, 2, 0, 0, 20, 10}}},
        {"an unknown block ends the walk after the frames before it", head,
         a + Bytes{0x21, 0x77, 1, 0, 0} + b + kTrailer, true, {{a, 7, 2, 0, 0, 20, 10}}},
        {"an unknown first byte ends it too", head, a + Bytes{0x00} + b + kTrailer, true,
         {{a, 7, 2, 0, 0, 20, 10}}},
        {"a graphic control extension without its image", head, a + Gce(7, 2) + kTrailer, true,
         {{a, 7, 2, 0, 0, 20, 10}}},
        {"sub-blocks longer than the data", head, a + Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 200, 1},
         true, {{a, 7, 2, 0, 0, 20, 10}}},
        {"a local colour table longer than the data", head, a + Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87},
         true, {{a, 7, 2, 0, 0, 20, 10}}},
        {"a colour table announced but missing", Head(20, 10, 7, false), Bytes{}, true, {}},
        {"no end: the data stops after the last frame", head, a + b, true,
         {{a, 7, 2, 0, 0, 20, 10}, {b, 60, 1, 2, 3, 4, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes data = c.head + c.rest;
        Screen screen;
        ASSERT_EQ(ReadScreen(data.data(), data.size(), &screen), c.isGif);
        if (!c.isGif) continue;
        EXPECT_EQ(screen.width, 20);
        EXPECT_EQ(screen.height, 10);
        int counted = -1;
        const std::vector<Frame> frames = ExtractAll(data, &counted);
        EXPECT_EQ(counted, static_cast<int>(c.frames.size()));
        ASSERT_EQ(frames.size(), c.frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            SCOPED_TRACE(i);
            const ExpectedFrame& e = c.frames[i];
            EXPECT_EQ(frames[i].gif, c.head + e.span + kTrailer);
            EXPECT_EQ(frames[i].delay, e.delay);
            EXPECT_EQ(frames[i].disposal, e.disposal);
            EXPECT_EQ(frames[i].left, e.left);
            EXPECT_EQ(frames[i].top, e.top);
            EXPECT_EQ(frames[i].width, e.width);
            EXPECT_EQ(frames[i].height, e.height);
        }
    }
}

TEST(GifWalk, NotGifs) {
    const Bytes shortHead{'G', 'I', 'F', '8', '9', 'a', 1, 0};
    const Bytes png{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H'};
    Screen screen;
    EXPECT_FALSE(ReadScreen(shortHead.data(), shortHead.size(), &screen));
    EXPECT_FALSE(ReadScreen(png.data(), png.size(), &screen));
    EXPECT_FALSE(ReadScreen(nullptr, 0, &screen));
    const Bytes v87 = Head(1, 1, 0, true, "87a") + Image(0, 0, 1, 1) + kTrailer;
    ASSERT_TRUE(ReadScreen(v87.data(), v87.size(), &screen));
    EXPECT_EQ(screen.globalColourTableLength, 6u);
    EXPECT_EQ(screen.firstBlock, 19u);
}

// Cut short at every byte, a file yields exactly the frames that lie wholly
// before the cut, and nothing is read past it (the sanitizers watch the
// copy, which holds only the bytes before the cut).
TEST(GifWalk, TruncatedAtEveryByte) {
    const Bytes head = Head(20, 10);
    const Bytes frames[] = {Application() + Gce(7, 2) + Image(0, 0, 20, 10, 1),
                            Gce(8, 3) + Comment() + Image(1, 1, 5, 5),
                            PlainText(0, 0, 8, 8)};
    Bytes whole = head;
    std::vector<size_t> ends;
    for (const Bytes& f : frames) {
        whole = whole + f;
        ends.push_back(whole.size());
    }
    whole = whole + kTrailer;
    for (size_t n = 0; n <= whole.size(); ++n) {
        SCOPED_TRACE(n);
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        size_t expected = 0;
        while (expected < ends.size() && ends[expected] <= n) ++expected;
        int counted = 0;
        const std::vector<Frame> got = ExtractAll(cut, &counted);
        EXPECT_EQ(got.size(), expected);
        EXPECT_EQ(static_cast<size_t>(counted), expected);
    }
}

TEST(GifWalk, FrameWait) {
    const struct {
        uint32_t delay, ms;
    } cases[] = {{0, 100}, {4, 100}, {5, 50}, {7, 70}, {60, 600}, {65535, 655350}, {kNoDelay, 100}};
    for (const auto& c : cases) EXPECT_EQ(FrameWaitMs(c.delay), c.ms) << c.delay;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The picture the Donations page plays.
TEST(GifWalk, ShippedPicture) {
    const Bytes data = ReadFile(VELMORA_DONATIONS_GIF);
    Screen screen;
    ASSERT_TRUE(ReadScreen(data.data(), data.size(), &screen));
    EXPECT_EQ(screen.width, 90);
    EXPECT_EQ(screen.height, 97);
    EXPECT_EQ(screen.globalColourTableLength, 48u);

    Walker walker(data.data(), data.size(), screen);
    // Walk the file by hand beside the walker: the looping extension, then
    // eight graphic control extensions each followed by its image.
    size_t pos = screen.firstBlock;
    ASSERT_EQ(data[pos + 1], 0xFF);
    pos += BlockLength(data.data(), data.size(), pos);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const size_t start = pos;
        ASSERT_EQ(data[pos + 1], 0xF9);
        pos += BlockLength(data.data(), data.size(), pos);
        ASSERT_EQ(data[pos], 0x2C);
        pos += BlockLength(data.data(), data.size(), pos);
        Frame frame;
        ASSERT_TRUE(walker.ExtractFrame(&frame));
        EXPECT_EQ(frame.gif.size(), 13 + 48 + (pos - start) + 1);
        EXPECT_EQ(frame.delay, i < 7 ? 7u : 60u);
        EXPECT_EQ(frame.disposal, i < 7 ? 2 : 1);
        EXPECT_EQ(frame.width, 90);
        EXPECT_EQ(frame.height, 97);
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
    }
    EXPECT_EQ(data[pos], 0x3B);
    EXPECT_EQ(pos + 1, data.size());
    Frame none;
    EXPECT_FALSE(walker.ExtractFrame(&none));
    EXPECT_EQ(walker.CountFrames(), 8);
}

}  // namespace
