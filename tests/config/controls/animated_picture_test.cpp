// The animated picture on a real dialog under Wine, playing GIFs the tests
// build pixel by pixel, and the Donations picture from the program's
// resources: sizes, the surface and the screen, disposal, the clear after the
// last frame, stopping, still pictures and the release of what it owns.
#include "config/controls/animated_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/global_memory.h"
#include "resources/velmora_exe_ids.h"
#include "tests/config/controls/gif_bytes.h"
#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/win_test_support.h"

using labeltest::CaptureClient;
using labeltest::Item;
using labeltest::TestDialog;
using namespace gifbytes;

namespace {

constexpr int kItem = 1020;
const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kOutline = RGB(44, 54, 82);  // the jar's, at (16, 70) in every frame

// A GIF of width × height whose colours 0 to 2 are red, green and blue.
Bytes Gif(int width, int height, const Bytes& frames) {
    return Head(width, height, 1, true, "89a", {255, 0, 0, 0, 255, 0, 0, 0, 255}) + frames +
           kTrailer;
}

int ThreadsOfThisProcess() { return int(vtest::ThreadsOf(GetCurrentProcessId()).size()); }

double NowMs() {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The Donations picture's frames, each told by a pixel that only it has (the
// falling coin's edge, and the last frame's sparkle), and how long each plays.
struct DonationsFrame {
    int x, y;
    COLORREF colour;
    int ms;
};
const COLORREF kCoinEdge = RGB(170, 112, 20), kSparkle = RGB(255, 204, 52);
const DonationsFrame kDonationsFrames[8] = {
    {49, 0, kCoinEdge, 70},  {50, 8, kCoinEdge, 70},  {51, 17, kCoinEdge, 70},
    {50, 27, kCoinEdge, 70}, {47, 40, kCoinEdge, 70}, {50, 49, kCoinEdge, 70},
    {51, 59, kCoinEdge, 70}, {69, 9, kSparkle, 600},
};

// The frame that pixelAt shows, or -1 (between two frames).
template <typename PixelAt>
int DonationsFrameShown(PixelAt pixelAt) {
    for (int f = 0; f < 8; ++f)
        if (pixelAt(kDonationsFrames[f].x, kDonationsFrames[f].y) == kDonationsFrames[f].colour) return f;
    return -1;
}

// A bottom-up 24-bit BMP file of one colour.
Bytes Bmp(int width, int height, COLORREF colour) {
    const int stride = (width * 3 + 3) & ~3;
    Bytes b(54 + size_t(stride) * size_t(height), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, uint32_t(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    b[26] = 1;   // planes
    b[28] = 24;  // bits per pixel
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &b[54 + size_t(y) * size_t(stride) + size_t(x) * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return b;
}

class AnimatedPictureTest : public testing::Test {
protected:
    void SetUp() override {
        m_dialog.Bind(kItem, m_picture);
        ASSERT_TRUE(m_dialog.Create());
    }
    BOOL Load(const Bytes& gif) {
        return m_block.CopyOf(gif.data(), gif.size()) &&
               m_picture.Load(m_block.Get(), DWORD(gif.size()));
    }
    bool SurfaceShows(int x, int y, COLORREF colour) {
        return vtest::WaitUntil([&] { return m_picture.GetSurfacePixel(x, y) == colour; }, 30000);
    }
    bool ScreenShows(int x, int y, COLORREF colour) {
        return vtest::WaitUntil(
            [&] { return CaptureClient(m_dialog.Item(kItem)).At(x, y) == colour; }, 30000);
    }

    TestDialog m_dialog{{{kItem, SS_BLACKFRAME, "", RECT{20, 30, 60, 70}}}};
    CAnimatedPicture m_picture;
    CGlobalMemory m_block;
};

TEST_F(AnimatedPictureTest, DonationsPictureSizesItsItemAndPlaysEachFrameForItsDelay) {
    ASSERT_TRUE(m_picture.LoadFromResource(MAKEINTRESOURCEA(IDR_DONATIONS_GIF), "BINARY"));
    EXPECT_EQ(m_picture.GetFrameCount(), 8);
    RECT r{};
    GetWindowRect(m_dialog.Item(kItem), &r);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
              std::vector<LONG>({20, 30, 90, 97}));
    m_picture.Start();
    EXPECT_TRUE(m_picture.IsAnimating());

    // The surface watched sample by sample, as runs of one state (a frame, or
    // -1 between frames). Each sample is timed before and after it is read,
    // so that from the run before a frame's run to the run after it bounds
    // how long the frame stayed from above, whatever delays the watching:
    // a frame that goes before its time makes that bound short.
    struct Run {
        int frame;
        double firstBefore, firstAfter, lastBefore;
    };
    std::vector<Run> runs;
    std::vector<double> atMost(8, -1);  // the shortest bound seen per frame
    double shortestShortFrame = 1e9;    // how long a 70 ms frame was seen, at least
    auto allMeasured = [&] {
        return std::all_of(atMost.begin(), atMost.end(), [](double ms) { return ms >= 0; });
    };
    const double start = NowMs();
    while (!allMeasured() && NowMs() - start < 30000) {
        const double before = NowMs();
        const int frame = DonationsFrameShown([&](int x, int y) { return m_picture.GetSurfacePixel(x, y); });
        const double after = NowMs();
        if (!runs.empty() && runs.back().frame == frame) {
            runs.back().lastBefore = before;
        } else {
            runs.push_back({frame, before, after, before});
            const size_t n = runs.size();
            if (n >= 3 && runs[n - 2].frame >= 0) {
                const Run& shown = runs[n - 2];
                const double bound = runs[n - 1].firstAfter - runs[n - 3].lastBefore;
                double& least = atMost[static_cast<size_t>(shown.frame)];
                if (least < 0 || bound < least) least = bound;
                if (shown.frame < 7)
                    shortestShortFrame =
                        std::min(shortestShortFrame, shown.lastBefore - shown.firstAfter);
            }
        }
        vtest::PumpFor(1);
    }
    // Every frame in turn, seven for 70 ms and the last for 600 ms.
    for (int f = 0; f < 8; ++f) {
        ASSERT_GE(atMost[static_cast<size_t>(f)], 0) << "frame " << f << " never came and went";
        EXPECT_GE(atMost[static_cast<size_t>(f)], kDonationsFrames[f].ms - 10.0) << "frame " << f;
    }
    EXPECT_LT(shortestShortFrame, 300);  // the short frames are not kept as long as the last

    // The screen follows: the sparkle of the last frame, then a falling coin.
    auto screenFrame = [&] {
        const labeltest::Pixels shot = CaptureClient(m_dialog.Item(kItem));
        return DonationsFrameShown([&](int x, int y) { return shot.At(x, y); });
    };
    EXPECT_TRUE(vtest::WaitUntil([&] { return screenFrame() == 7; }, 30000));
    EXPECT_TRUE(vtest::WaitUntil([&] { const int f = screenFrame(); return f >= 0 && f < 7; }, 30000));
}

TEST_F(AnimatedPictureTest, DisposalRestoresAndTheLastFrameClears) {
    // A red top half that stays, a blue square over it that restores what it
    // covered, a green corner that stays until the loop starts again.
    ASSERT_TRUE(Load(Gif(8, 8, Gce(100, 1) + Image(0, 0, 8, 4, 0) + Gce(100, 3) +
                                   Image(2, 2, 4, 4, 2) + Gce(100, 1) + Image(6, 6, 2, 2, 1))));
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(m_picture.GetBackgroundColor(), background);
    m_picture.Start();
    ASSERT_TRUE(SurfaceShows(3, 3, kBlue));
    EXPECT_TRUE(ScreenShows(0, 0, kRed));

    ASSERT_TRUE(SurfaceShows(6, 6, kGreen));
    const COLORREF untouched = m_picture.GetSurfacePixel(0, 7);  // no frame draws there
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            EXPECT_EQ(m_picture.GetSurfacePixel(x, y), y < 4 ? kRed : untouched) << x << "," << y;

    // The green corner goes although its frame stays: the surface is cleared
    // before the first frame comes again.
    ASSERT_TRUE(SurfaceShows(6, 6, background));
    ASSERT_TRUE(SurfaceShows(0, 0, kRed));
    EXPECT_EQ(m_picture.GetSurfacePixel(6, 6), background);
    EXPECT_EQ(m_picture.GetSurfacePixel(0, 7), background);
}

TEST_F(AnimatedPictureTest, StopWakesALongWaitAndStartMakesOneThread) {
    // Frames of a minute each.
    ASSERT_TRUE(Load(Gif(4, 4, Gce(6000, 1) + Image(0, 0, 4, 4, 2) + Gce(6000, 1) +
                                   Image(0, 0, 4, 4, 1))));
    const int before = ThreadsOfThisProcess();
    m_picture.Start();
    m_picture.Start();
    EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
    ASSERT_TRUE(SurfaceShows(1, 1, kBlue));
    // The stop ends the first frame's minute at once; 15 s leave room for
    // any load, and a wait the event does not wake takes the whole minute.
    const DWORD stopping = GetTickCount();
    m_picture.Stop();
    EXPECT_LT(GetTickCount() - stopping, 15000u);
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_TRUE(vtest::WaitUntil([&] { return ThreadsOfThisProcess() == before; }, 30000));
}

TEST_F(AnimatedPictureTest, StillPicturesStartNoThread) {
    ASSERT_TRUE(Load(Gif(6, 5, Gce(10, 0) + Image(0, 0, 6, 5, 1))));
    EXPECT_EQ(m_picture.GetFrameCount(), 0);
    ASSERT_NE(m_picture.GetStillPicture(), nullptr);
    EXPECT_EQ(m_picture.GetPictureSize().cx, 6);
    EXPECT_EQ(m_picture.GetPictureSize().cy, 5);
    const int before = ThreadsOfThisProcess();
    m_picture.Start();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_EQ(ThreadsOfThisProcess(), before);
    EXPECT_EQ(m_picture.GetSurfacePixel(5, 4), kGreen);
    EXPECT_TRUE(ScreenShows(5, 4, kGreen));
    // A file without frames loads nothing.
    EXPECT_FALSE(Load(Gif(4, 4, {})));

    // Two frames of which only the first decodes (the second asks for an LZW
    // code size no decoder takes): one frame record, which is neither an
    // animation nor a still picture, so nothing plays and nothing is drawn.
    Bytes undecodable = Image(0, 0, 6, 5, 2);
    undecodable[10] = 12;
    ASSERT_TRUE(Load(Gif(6, 5, Gce(10, 1) + Image(0, 0, 6, 5, 1) + Gce(10, 1) + undecodable)));
    EXPECT_EQ(m_picture.GetFrameCount(), 1);
    EXPECT_EQ(m_picture.GetStillPicture(), nullptr);
    const COLORREF unpainted = m_picture.GetSurfacePixel(5, 4);
    m_picture.Start();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_EQ(ThreadsOfThisProcess(), before);
    EXPECT_EQ(m_picture.GetSurfacePixel(5, 4), unpainted);
    EXPECT_NE(unpainted, kGreen);

    // Not a GIF: a bitmap, shown still at its size in pixels.
    ASSERT_TRUE(Load(Bmp(5, 3, kRed)));
    EXPECT_EQ(m_picture.GetFrameCount(), 0);
    ASSERT_NE(m_picture.GetStillPicture(), nullptr);
    RECT r{};
    GetWindowRect(m_dialog.Item(kItem), &r);
    EXPECT_EQ(r.right - r.left, 5);
    EXPECT_EQ(r.bottom - r.top, 3);
    m_picture.Start();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_EQ(ThreadsOfThisProcess(), before);
    EXPECT_EQ(m_picture.GetSurfacePixel(4, 2), kRed);
    EXPECT_TRUE(ScreenShows(4, 2, kRed));
}

TEST_F(AnimatedPictureTest, NothingOutlivesUnload) {
    const int bitmaps = labeltest::LiveGdiObjects(OBJ_BITMAP);
    const int memoryDcs = labeltest::LiveGdiObjects(OBJ_MEMDC);
    ASSERT_TRUE(m_picture.LoadFromResource(MAKEINTRESOURCEA(IDR_DONATIONS_GIF), "BINARY"));
    m_picture.Start();
    ASSERT_TRUE(SurfaceShows(16, 70, kOutline));
    const HBITMAP surface = m_picture.GetSurfaceBitmap();
    ASSERT_EQ(GetObjectType(surface), DWORD(OBJ_BITMAP));
    // A reference of our own to each picture: after Unload ours is the last.
    std::vector<IPicture*> pictures;
    for (int i = 0; i < m_picture.GetFrameCount(); ++i) {
        pictures.push_back(m_picture.GetFramePicture(i));
        pictures.back()->AddRef();
    }
    m_picture.Unload();
    EXPECT_FALSE(m_picture.IsAnimating());
    EXPECT_EQ(GetObjectType(surface), 0u);
    for (IPicture* p : pictures) EXPECT_EQ(p->Release(), 0u);
    EXPECT_EQ(labeltest::LiveGdiObjects(OBJ_BITMAP), bitmaps);
    EXPECT_EQ(labeltest::LiveGdiObjects(OBJ_MEMDC), memoryDcs);
}

}  // namespace
