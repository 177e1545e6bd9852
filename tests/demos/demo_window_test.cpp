// The demo savers' window and painters in this process, where Wine shows
// what a preview draws under a window of ours (a child of another process's
// window stays blank), and where the GDI objects they make can be counted.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "savers/demos/aurora_painter.h"
#include "savers/demos/dib_section.h"
#include "savers/demos/orbits_painter.h"
#include "savers/demos/saver_window.h"
#include "tests/demos/demo_fixture.h"

namespace {

using namespace vtest;

struct PainterCase {
    const char* what;
    std::function<std::unique_ptr<CScenePainter>(uint32_t seed, int setting)> make;
    int low, high;  // two settings that must give different pictures
};

const PainterCase kPainters[] = {
    {"Aurora",
     [](uint32_t seed, int speed) { return std::make_unique<CAuroraPainter>(seed, speed); }, 1,
     10},
    {"Orbits",
     [](uint32_t seed, int planets) { return std::make_unique<COrbitsPainter>(seed, planets); },
     3, 9},
};

class DemoWindow : public ::testing::TestWithParam<PainterCase> {};

INSTANTIATE_TEST_SUITE_P(Savers, DemoWindow, ::testing::ValuesIn(kPainters),
                         [](const ::testing::TestParamInfo<PainterCase>& info) {
                             return std::string(info.param.what);
                         });

TEST_P(DemoWindow, PreviewDrawsAMovingPictureOverAllOfItsParent) {
    const COLORREF magenta = RGB(255, 0, 255);
    struct Size {
        int w, h;
    };
    for (Size size : {Size{152, 112}, Size{100, 60}}) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        HostWindow host(200, 150, size.w, size.h, magenta);
        ASSERT_NE(host.Hwnd(), nullptr);
        CSaverWnd preview(GetParam().make(12345, GetParam().low));
        ASSERT_TRUE(preview.CreatePreview(host.Hwnd(), "Preview"));
        HWND hwnd = preview.m_hWnd;
        EXPECT_EQ(::GetParent(hwnd), host.Hwnd());
        RECT inside;
        ::GetClientRect(hwnd, &inside);
        EXPECT_EQ(inside.right, size.w);
        EXPECT_EQ(inside.bottom, size.h);
        UpdateWindow(hwnd);

        const RECT area = ClientOnScreen(host.Hwnd());
        WaitUntil(
            [&] {
                ScreenCapture shot(area);
                return shot.Count(magenta, 1) == 0 && shot.DistinctColours(2) > 40u;
            },
            kDemoWait);
        ScreenCapture first(area);
        EXPECT_EQ(first.Count(magenta, 1), 0) << "the preview covers its parent";
        EXPECT_GT(first.DistinctColours(2), 40u) << "a picture, not a fill";
        EXPECT_TRUE(WaitUntil([&] { return ScreenCapture(area).Differences(first, 1) > 20; },
                              kDemoWait))
            << "the picture moves";

        host.Destroy();  // takes the preview with it
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(preview.m_hWnd, nullptr);
    }
}

TEST(DemoWindowPreview, RefusesAMissingParent) {
    CSaverWnd preview(kPainters[0].make(1, 5));
    EXPECT_FALSE(preview.CreatePreview(nullptr, "Preview"));
    EXPECT_FALSE(
        preview.CreatePreview(reinterpret_cast<HWND>(static_cast<INT_PTR>(123456)), "Preview"));
    EXPECT_EQ(preview.m_hWnd, nullptr);
}

// The pixels of one frame, painted into a buffer of the given size.
std::vector<uint32_t> Frame(CScenePainter& painter, int w, int h, int frame) {
    CDibSection dib;
    if (!dib.Create(w, h)) return {};
    painter.Paint(dib, frame);
    GdiFlush();
    return std::vector<uint32_t>(dib.Bits(), dib.Bits() + static_cast<size_t>(w) * h);
}

// A seed fixes the whole picture, frames move it, and the setting shows.
TEST_P(DemoWindow, PaintersAreDeterministicAndFollowTheirSetting) {
    const PainterCase& c = GetParam();
    auto painter = c.make(777, c.low);
    auto twin = c.make(777, c.low);
    std::vector<uint32_t> frame = Frame(*painter, 320, 240, 100);
    ASSERT_FALSE(frame.empty());
    EXPECT_EQ(Frame(*twin, 320, 240, 100), frame) << "the same seed, the same picture";
    EXPECT_EQ(Frame(*painter, 320, 240, 100), frame) << "painting again changes nothing";
    EXPECT_NE(Frame(*painter, 320, 240, 160), frame) << "later frames differ";
    EXPECT_NE(Frame(*c.make(778, c.low), 320, 240, 100), frame) << "another seed differs";
    EXPECT_NE(Frame(*c.make(777, c.high), 320, 240, 100), frame) << "the setting shows";
}

// Whoever makes a GDI object releases it: with the handle table all but
// full, thousands of frames still leave room for as many objects as before.
// (Wine does not count objects for GetGuiResources.)
TEST_P(DemoWindow, PaintingReleasesEveryGdiObjectItMakes) {
    const int kRoom = 1500;
    CDibSection dib;
    ASSERT_TRUE(dib.Create(64, 48));
    auto painter = GetParam().make(4242, GetParam().high);
    painter->Paint(dib, 0);  // what a painter keeps for its size, made now

    std::vector<HBRUSH> filler;
    for (HBRUSH b; (b = CreateSolidBrush(RGB(1, 2, 3))) != nullptr;) filler.push_back(b);
    ASSERT_GT(filler.size(), static_cast<size_t>(kRoom));
    for (int i = 0; i < kRoom; ++i) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int f = 1; f <= 2500; ++f) painter->Paint(dib, f * 7);
    GdiFlush();
    int made = 0;
    for (HBRUSH b; made < kRoom && (b = CreateSolidBrush(RGB(3, 2, 1))) != nullptr; ++made)
        filler.push_back(b);
    for (HBRUSH b : filler) DeleteObject(b);
    EXPECT_EQ(made, kRoom) << "objects left behind by painting";
}

}  // namespace
