// The animated picture on a real dialog under Wine, playing GIFs the tests
// build pixel by pixel, and the Donations picture from the program's
// resources: sizes, the surface and the screen, disposal, the clear after the
// last frame, stopping, still pictures and the release of what it owns.
#include "config/controls/animated_picture.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <cstring>
#include <vector>

#include "resources/velmora_exe_ids.h"
#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/win_test_support.h"

using labeltest::CaptureClient;
using labeltest::Item;
using labeltest::TestDialog;
using Bytes = std::vector<BYTE>;

namespace {

constexpr int kItem = 1020;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Four colours, by index: red, green, blue, white.
const COLORREF kPalette[] = {kRed, kGreen, kBlue, RGB(255, 255, 255)};

void Word(Bytes& b, int v) {
    b.push_back(static_cast<BYTE>(v & 0xFF));
    b.push_back(static_cast<BYTE>(v >> 8));
}

// A GIF89a of width × height with the four colours above.
Bytes Head(int width, int height) {
    Bytes b{'G', 'I', 'F', '8', '9', 'a'};
    Word(b, width);
    Word(b, height);
    b.insert(b.end(), {0x81, 0, 0});
    for (COLORREF c : kPalette) b.insert(b.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    return b;
}

// One frame of a single colour: a graphic control extension, then the image
// in LZW codes of 3 bits with a clear code before every two pixels, which no
// decoder can read with a grown code size.
void Frame(Bytes& b, int left, int top, int width, int height, int colour, int delay,
           int disposal) {
    b.insert(b.end(), {0x21, 0xF9, 4, static_cast<BYTE>(disposal << 2)});
    Word(b, delay);
    b.insert(b.end(), {0, 0});
    b.push_back(0x2C);
    Word(b, left);
    Word(b, top);
    Word(b, width);
    Word(b, height);
    b.push_back(0);
    b.push_back(2);  // minimum code size
    Bytes codes;
    unsigned acc = 0;
    int bits = 0;
    auto emit = [&](unsigned code) {
        acc |= code << bits;
        bits += 3;
        while (bits >= 8) {
            codes.push_back(static_cast<BYTE>(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 2 == 0) emit(4);  // clear
        emit(static_cast<unsigned>(colour));
    }
    emit(5);  // end of information
    if (bits) codes.push_back(static_cast<BYTE>(acc & 0xFF));
    for (size_t i = 0; i < codes.size(); i += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - i);
        b.push_back(static_cast<BYTE>(n));
        b.insert(b.end(), codes.begin() + static_cast<std::ptrdiff_t>(i),
                 codes.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    b.push_back(0);
}

// The data in a movable global block, as Load takes it.
class Block {
public:
    explicit Block(const Bytes& data) : m_size(static_cast<DWORD>(data.size())) {
        m_block = GlobalAlloc(GMEM_MOVEABLE, data.size());
        std::memcpy(GlobalLock(m_block), data.data(), data.size());
        GlobalUnlock(m_block);
    }
    ~Block() { GlobalFree(m_block); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    HGLOBAL Get() const { return m_block; }
    DWORD Size() const { return m_size; }

private:
    HGLOBAL m_block;
    DWORD m_size;
};

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

class AnimatedPictureTest : public testing::Test {
protected:
    void SetUp() override {
        m_dialog.Bind(kItem, m_picture);
        ASSERT_TRUE(m_dialog.Create());
    }
    bool SurfaceShows(int x, int y, COLORREF colour) {
        return vtest::WaitUntil([&] { return m_picture.GetSurfacePixel(x, y) == colour; }, 30000);
    }

    TestDialog m_dialog{{{kItem, SS_BLACKFRAME, "", RECT{20, 30, 60, 70}}}};
    CAnimatedPicture m_picture;
};

TEST_F(AnimatedPictureTest, DonationsPictureSizesItsItemAndPlays) {
    ASSERT_TRUE(m_picture.LoadFromResource(MAKEINTRESOURCEA(IDR_DONATIONS_GIF), "BINARY"));
    EXPECT_EQ(m_picture.GetFrameCount(), 8);
    RECT r{};
    GetWindowRect(m_dialog.Item(kItem), &r);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 90);
    EXPECT_EQ(r.bottom - r.top, 97);

    m_picture.Start();
    EXPECT_TRUE(m_picture.IsAnimating());
    // The jar's outline crosses row 60 at the left edge of the glass, in
    // every frame; the surface shows it, and so does the screen.
    const COLORREF outline = RGB(44, 54, 82);
    EXPECT_TRUE(SurfaceShows(16, 70, outline));
    EXPECT_TRUE(vtest::WaitUntil(
        [&] { return CaptureClient(m_dialog.Item(kItem)).At(16, 70) == outline; }, 30000));
    m_picture.Stop();
    EXPECT_FALSE(m_picture.IsAnimating());
}

TEST_F(AnimatedPictureTest, DisposalRestoresAndTheLastFrameClears) {
    // A red top half that stays; a blue square over it that restores what
    // was under it; a green corner that stays until the loop starts again.
    Bytes gif = Head(8, 8);
    Frame(gif, 0, 0, 8, 4, 0, 100, 1);
    Frame(gif, 2, 2, 4, 4, 2, 100, 3);
    Frame(gif, 6, 6, 2, 2, 1, 100, 1);
    gif.push_back(0x3B);
    Block block(gif);
    ASSERT_TRUE(m_picture.Load(block.Get(), block.Size()));
    ASSERT_EQ(m_picture.GetFrameCount(), 3);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(m_picture.GetBackgroundColor(), background);
    m_picture.Start();

    ASSERT_TRUE(SurfaceShows(3, 3, kBlue));
    // The first frame is on the screen too.
    EXPECT_TRUE(vtest::WaitUntil(
        [&] { return CaptureClient(m_dialog.Item(kItem)).At(0, 0) == kRed; }, 30000));

    // The green frame shows: the square's area is exactly what it covered.
    ASSERT_TRUE(SurfaceShows(6, 6, kGreen));
    const COLORREF untouched = m_picture.GetSurfacePixel(0, 7);  // no frame draws there
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            EXPECT_EQ(m_picture.GetSurfacePixel(x, y), y < 4 ? kRed : untouched) << x << "," << y;

    // After the last frame the surface is cleared before the first frame
    // comes again: the green corner goes although its frame stays.
    ASSERT_TRUE(SurfaceShows(6, 6, background));
    ASSERT_TRUE(SurfaceShows(0, 0, kRed));
    EXPECT_EQ(m_picture.GetSurfacePixel(6, 6), background);
    EXPECT_EQ(m_picture.GetSurfacePixel(0, 7), background);
}

TEST_F(AnimatedPictureTest, StopWakesALongWaitAndStartMakesOneThread) {
    Bytes gif = Head(4, 4);
    Frame(gif, 0, 0, 4, 4, 2, 65535, 1);  // ten minutes
    Frame(gif, 0, 0, 4, 4, 1, 65535, 1);
    gif.push_back(0x3B);
    Block block(gif);
    ASSERT_TRUE(m_picture.Load(block.Get(), block.Size()));
    const int before = ThreadsOfThisProcess();
    m_picture.Start();
    m_picture.Start();
    EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
    ASSERT_TRUE(SurfaceShows(1, 1, kBlue));
    // Returns long before the frame's ten minutes (and the test's time limit).
    m_picture.Stop();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_TRUE(vtest::WaitUntil([&] { return ThreadsOfThisProcess() == before; }, 30000));
    EXPECT_EQ(m_picture.GetSurfacePixel(1, 1), kBlue);
}

TEST_F(AnimatedPictureTest, StillPicturesStartNoThread) {
    Bytes gif = Head(6, 5);
    Frame(gif, 0, 0, 6, 5, 1, 10, 0);
    gif.push_back(0x3B);
    Block block(gif);
    ASSERT_TRUE(m_picture.Load(block.Get(), block.Size()));
    EXPECT_EQ(m_picture.GetFrameCount(), 0);
    ASSERT_NE(m_picture.GetStillPicture(), nullptr);
    EXPECT_EQ(m_picture.GetPictureSize().cx, 6);
    EXPECT_EQ(m_picture.GetPictureSize().cy, 5);
    const int before = ThreadsOfThisProcess();
    m_picture.Start();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_EQ(ThreadsOfThisProcess(), before);
    EXPECT_EQ(m_picture.GetSurfacePixel(5, 4), kGreen);
    EXPECT_TRUE(vtest::WaitUntil(
        [&] { return CaptureClient(m_dialog.Item(kItem)).At(5, 4) == kGreen; }, 30000));
}

TEST_F(AnimatedPictureTest, NothingOutlivesUnload) {
    const int bitmapsBefore = labeltest::LiveGdiObjects(OBJ_BITMAP);
    const int memoryDcsBefore = labeltest::LiveGdiObjects(OBJ_MEMDC);
    ASSERT_TRUE(m_picture.LoadFromResource(MAKEINTRESOURCEA(IDR_DONATIONS_GIF), "BINARY"));
    m_picture.Start();
    ASSERT_TRUE(SurfaceShows(16, 70, RGB(44, 54, 82)));
    const HBITMAP surface = m_picture.GetSurfaceBitmap();
    ASSERT_EQ(GetObjectType(surface), static_cast<DWORD>(OBJ_BITMAP));
    // Hold a reference of our own to each picture: after Unload ours is the last.
    std::vector<IPicture*> pictures;
    for (int i = 0; i < m_picture.GetFrameCount(); ++i) {
        pictures.push_back(m_picture.GetFramePicture(i));
        pictures.back()->AddRef();
    }
    m_picture.Unload();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_EQ(GetObjectType(surface), 0u);
    for (IPicture* p : pictures) EXPECT_EQ(p->Release(), 0u);
    EXPECT_EQ(labeltest::LiveGdiObjects(OBJ_BITMAP), bitmapsBefore);
    EXPECT_EQ(labeltest::LiveGdiObjects(OBJ_MEMDC), memoryDcsBefore);
}

TEST_F(AnimatedPictureTest, MalformedDataLoadsNothingOrTheFramesBeforeTheFault) {
    Bytes none = Head(4, 4);
    none.push_back(0x3B);
    Block noFrame(none);
    EXPECT_FALSE(m_picture.Load(noFrame.Get(), noFrame.Size()));

    Bytes cut = Head(4, 4);
    Frame(cut, 0, 0, 4, 4, 0, 5, 1);
    Frame(cut, 0, 0, 4, 4, 1, 5, 1);
    Frame(cut, 0, 0, 4, 4, 2, 5, 1);
    cut.resize(cut.size() - 6);  // the third frame ends past the data
    Block truncated(cut);
    ASSERT_TRUE(m_picture.Load(truncated.Get(), truncated.Size()));
    EXPECT_EQ(m_picture.GetFrameCount(), 2);
    m_picture.Start();
    EXPECT_TRUE(SurfaceShows(0, 0, kGreen));
    EXPECT_TRUE(SurfaceShows(0, 0, kRed));
}

}  // namespace
