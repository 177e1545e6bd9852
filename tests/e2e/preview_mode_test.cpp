// Velmora.scr /p <hwnd> as Display Properties starts it: the picture centred
// on black inside the given window, read back from the screen.
#include <gtest/gtest.h>

#include <string>

#include "runner/preview_window.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 15000;

// The preview picture as the program holds it.
class Picture {
public:
    Picture() {
        m_module = LoadLibraryExA((BinDir() + "\\Velmora.scr").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
        if (!m_module) return;
        m_bitmap = static_cast<HBITMAP>(
            LoadImageA(m_module, MAKEINTRESOURCEA(129), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!m_bitmap) return;
        GetObjectA(m_bitmap, sizeof m_info, &m_info);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~Picture() {
        if (m_dc) {
            SelectObject(m_dc, m_old);
            DeleteDC(m_dc);
        }
        if (m_bitmap) DeleteObject(m_bitmap);
        if (m_module) FreeLibrary(m_module);
    }
    bool Loaded() const { return m_dc != nullptr; }
    const BITMAP& Info() const { return m_info; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HMODULE m_module = nullptr;
    HBITMAP m_bitmap = nullptr;
    BITMAP m_info{};
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

// What the screen shows of a window's client area.
class ScreenCapture {
public:
    ScreenCapture(HWND hwnd, int w, int h) : m_w(w), m_h(h) {
        POINT origin = {0, 0};
        ClientToScreen(hwnd, &origin);
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, w, h);
        m_old = SelectObject(m_dc, m_bitmap);
        BitBlt(m_dc, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    ~ScreenCapture() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// A plain window standing in for the preview area of Display Properties.
HWND CreateHost(int w, int h) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "VelmoraPreviewHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(WS_EX_TOPMOST, "VelmoraPreviewHost", "host",
                                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 200, 150, w, h, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpFor(100);
    return host;
}

std::string Scr() { return BinDir() + "\\Velmora.scr"; }

// The pixels of the host's client area that differ from the picture at
// (x, y) with black around it; the first few are reported when asked.
int PictureMismatches(HWND host, const Picture& picture, int w, int h, int x0, int y0,
                      bool report) {
    ScreenCapture shot(host, w, h);
    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int px = x - x0, py = y - y0;
            bool onPicture = px >= 0 && py >= 0 && px < 144 && py < 87;
            COLORREF expected = onPicture ? picture.At(px, py) : RGB(0, 0, 0);
            if (shot.At(x, y) != expected && ++mismatches <= 3 && report)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                              << shot.At(x, y) << ", expected " << expected;
        }
    }
    return mismatches;
}

// Every pixel of the host's client area, once the preview has painted: the
// picture at (x, y), black around.
void ExpectPictureAt(HWND host, const Picture& picture, int w, int h, int x0, int y0) {
    WaitUntil([&] { return PictureMismatches(host, picture, w, h, x0, y0, false) == 0; }, kWait);
    EXPECT_EQ(PictureMismatches(host, picture, w, h, x0, y0, true), 0);
    ScreenCapture shot(host, w, h);
    EXPECT_EQ(shot.At(x0, y0), picture.At(0, 0));
}

struct SizeCase {
    int w, h, x, y;
};
const SizeCase kSizes[] = {{152, 112, 4, 12}, {100, 50, 0, 0}, {145, 88, 0, 0}};

// The window class itself, in this process: Wine shows a child window only
// when the process of its top-level window draws it, so the pixels are read
// here, where the same class draws under our own host.
TEST(PreviewWindow, DrawsThePictureCentredOnBlack) {
    Picture picture;
    ASSERT_TRUE(picture.Loaded());
    ASSERT_EQ(picture.Info().bmWidth, 144);
    ASSERT_EQ(picture.Info().bmHeight, 87);
    ASSERT_EQ(picture.Info().bmBitsPixel, 8);

    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        HWND host = CreateHost(c.w, c.h);
        ASSERT_NE(host, nullptr);
        RECT client;
        GetClientRect(host, &client);
        auto* preview = new CPreviewWnd(TRUE);
        ASSERT_TRUE(preview->Create(0, "Preview", WS_CHILD | WS_VISIBLE, client, host, 0));
        HWND hwnd = preview->m_hWnd;
        UpdateWindow(hwnd);
        ExpectPictureAt(host, picture, c.w, c.h, c.x, c.y);
        DestroyWindow(host);  // takes the preview and its object with it
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

// The real program, started as Display Properties starts it.
TEST(PreviewMode, FillsTheGivenWindowAndEndsWithIt) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        HWND host = CreateHost(c.w, c.h);
        ASSERT_NE(host, nullptr);
        Process scr;
        ASSERT_TRUE(scr.Start(Scr(), "\"" + Scr() + "\" /p " +
                                         std::to_string(reinterpret_cast<UINT_PTR>(host))));
        // The window exists before it is shown and sized: wait for both.
        HWND preview = nullptr;
        WaitUntil(
            [&] {
                preview = FindWindowExA(host, nullptr, nullptr, "Preview");
                RECT inside{};
                return preview && IsWindowVisible(preview) && GetClientRect(preview, &inside) &&
                       inside.right == c.w && inside.bottom == c.h;
            },
            kWait);
        ASSERT_NE(preview, nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(preview, &owner);
        EXPECT_EQ(owner, scr.Id());
        EXPECT_TRUE(IsWindowVisible(preview));
        EXPECT_EQ(GetWindowLongA(preview, GWL_STYLE) & (WS_CHILD | WS_VISIBLE),
                  WS_CHILD | WS_VISIBLE);
        RECT inside;
        GetClientRect(preview, &inside);
        EXPECT_EQ(inside.right, c.w);
        EXPECT_EQ(inside.bottom, c.h);
        EXPECT_TRUE(scr.Running());

        DestroyWindow(host);
        EXPECT_TRUE(scr.WaitForExit(kWait)) << "the preview ends with its parent";
    }
}

TEST(PreviewMode, NoOrInvalidParentEndsAtOnce) {
    for (const char* arguments : {"/p", "/p 0", "/p 123456", "/preview 1234"}) {
        SCOPED_TRACE(arguments);
        Process scr;
        ASSERT_TRUE(scr.Start(Scr(), "\"" + Scr() + "\" " + arguments));
        EXPECT_TRUE(scr.WaitForExit(kWait));
        EXPECT_TRUE(TopLevelWindowsOf(scr.Id()).empty());
    }
}

}  // namespace
