// The animated picture on a real dialog under Wine, playing GIFs the tests
// build pixel by pixel, and the Donations picture from the program's
// resources: sizes, the surface and the screen, disposal, the clear after the
// last frame, stopping, still pictures and the release of what it owns.
#include "config/controls/animated_picture.h"

#include <gtest/gtest.h>

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

TEST_F(AnimatedPictureTest, DonationsPictureSizesItsItemAndPlays) {
    ASSERT_TRUE(m_picture.LoadFromResource(MAKEINTRESOURCEA(IDR_DONATIONS_GIF), "BINARY"));
    EXPECT_EQ(m_picture.GetFrameCount(), 8);
    RECT r{};
    GetWindowRect(m_dialog.Item(kItem), &r);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
              std::vector<LONG>({20, 30, 90, 97}));
    m_picture.Start();
    EXPECT_TRUE(m_picture.IsAnimating());
    EXPECT_TRUE(SurfaceShows(16, 70, kOutline));
    EXPECT_TRUE(ScreenShows(16, 70, kOutline));
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
    // Frames of ten minutes each.
    ASSERT_TRUE(Load(Gif(4, 4, Gce(65535, 1) + Image(0, 0, 4, 4, 2) + Gce(65535, 1) +
                                   Image(0, 0, 4, 4, 1))));
    const int before = ThreadsOfThisProcess();
    m_picture.Start();
    m_picture.Start();
    EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
    ASSERT_TRUE(SurfaceShows(1, 1, kBlue));
    m_picture.Stop();  // long before the ten minutes and the test's time limit
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
