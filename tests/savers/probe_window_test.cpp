// The probe's window class in this process, where Wine shows what it draws
// under a window of ours (a child of another process's window stays blank).
#include <gtest/gtest.h>

#include "savers/probe/probe_window.h"
#include "tests/savers/probe_fixture.h"

namespace {

using namespace vtest;

TEST(ProbeWindow, PreviewFillsItsParentInItsColour) {
    for (COLORREF colour : {RGB(0x20, 0xA0, 0xE0), RGB(0xF0, 0xF0, 0x10)}) {
        SCOPED_TRACE(colour);
        HostWindow host(200, 150, 152, 112);
        ASSERT_NE(host.Hwnd(), nullptr);
        CProbeWnd preview(colour, "preview.scr", true);
        ASSERT_TRUE(preview.CreatePreview(host.Hwnd()));
        HWND hwnd = preview.m_hWnd;
        RECT inside;
        GetClientRect(hwnd, &inside);
        EXPECT_EQ(inside.right, 152);
        EXPECT_EQ(inside.bottom, 112);
        UpdateWindow(hwnd);
        auto mismatches = [&](bool report) {
            ScreenShot shot;
            int count = 0;
            for (int y = 150; y < 150 + 112; y += 3)
                for (int x = 200; x < 200 + 152; x += 3)
                    if (shot.At(x, y) != colour && ++count <= 3 && report)
                        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                      << shot.At(x, y);
            return count;
        };
        WaitUntil([&] { return mismatches(false) == 0; }, kProbeWait);
        EXPECT_EQ(mismatches(true), 0);
        host.Destroy();  // takes the preview with it
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(preview.m_hWnd, nullptr);
    }
}

TEST(ProbeWindow, PreviewRefusesAMissingParent) {
    CProbeWnd preview(RGB(1, 2, 3), "orphan.scr", true);
    EXPECT_FALSE(preview.CreatePreview(nullptr));
    EXPECT_FALSE(preview.CreatePreview(reinterpret_cast<HWND>(static_cast<INT_PTR>(123456))));
    EXPECT_EQ(preview.m_hWnd, nullptr);
}

}  // namespace
