// The credits drawing thread over a test window of a known background, read
// back in pixels: frame by frame on the test's own thread, and as the real
// idle-priority thread that its owner stops.
#include "config/controls/credits_thread.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/win_test_support.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr RECT kArea{100, 20, 260, 140};  // 160 x 120 in the window
constexpr int kAreaWidth = 160, kAreaHeight = 120;

// What the window shows under everything: vertical stripes, two colours.
COLORREF BackgroundAt(int x, int) { return x % 4 < 2 ? RGB(255, 255, 0) : RGB(0, 160, 255); }

class PatternWindow : public CWnd {
public:
    BOOL Create() {
        const char* cls = RegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
        if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls, "credits test", WS_POPUP,
                      RECT{0, 0, 300, 200}, static_cast<HWND>(nullptr), 0))
            return FALSE;
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 300, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateWindow(m_hWnd);
        return TRUE;
    }
    ~PatternWindow() override { DestroyWindow(); }

protected:
    void OnPaint() override {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        for (int x = 0; x < 300; ++x) {
            HBRUSH brush = CreateSolidBrush(BackgroundAt(x, 0));
            RECT column{x, 0, x + 1, 200};
            FillRect(dc, &column, brush);
            DeleteObject(brush);
        }
        EndPaint(m_hWnd, &ps);
    }
};

// The engine driven frame by frame on the test's thread.
class SteppedCredits : public CCreditsThread {
public:
    SteppedCredits(HDC dc, const std::string& text) : CCreditsThread(nullptr, dc, kArea, text) {
        m_nDelay = 0;  // no pacing: the test draws as fast as it reads
        m_dc.Attach(m_hTargetDC);
    }
    void Step() { DrawStep(); }
};

struct Frame {
    labeltest::Pixels window;
    COLORREF At(int x, int y) const { return window.At(kArea.left + x, kArea.top + y); }
    // Rows of the area with anything but the background, top first; -1 if none.
    int TopmostDrawnRow() const {
        for (int y = 0; y < kAreaHeight; ++y)
            for (int x = 0; x < kAreaWidth; ++x)
                if (At(x, y) != BackgroundAt(kArea.left + x, 0)) return y;
        return -1;
    }
};

Frame Capture(HWND hwnd) { return {labeltest::CaptureClient(hwnd)}; }

// Every pixel of the area is the background, a letter (black) or the
// picture's red, and the window around the area keeps its background.
void ExpectOnlyBackgroundLettersAndPicture(const Frame& f) {
    int wrong = 0;
    for (int y = 0; y < f.window.height; ++y)
        for (int x = 0; x < f.window.width; ++x) {
            COLORREF c = f.window.At(x, y);
            bool inside = x >= kArea.left && x < kArea.right && y >= kArea.top && y < kArea.bottom;
            bool ok = c == BackgroundAt(x, y) || (inside && (c == kBlack || c == kRed));
            if (!ok && ++wrong < 5) ADD_FAILURE() << "pixel " << x << "," << y << " " << std::hex << c;
        }
}

const char kCredits[] = "00:06:Velmora|01:06:Kestrune|S:10|B:CREDITSTEST|01:06:The end|";

TEST(CreditsThread, ScrollsUpOverTheBackgroundAndWrapsToAnEmptyArea) {
    PatternWindow window;
    ASSERT_TRUE(window.Create());
    HDC dc = GetDC(window);
    {
        SteppedCredits credits(dc, kCredits);
        credits.Step();  // scroll position 0: nothing but the background
        Frame first = Capture(window);
        EXPECT_EQ(first.TopmostDrawnRow(), -1);
        ExpectOnlyBackgroundLettersAndPicture(first);
        const int total = credits.GetTotalHeight();
        ASSERT_GT(total, kAreaHeight + 20 + 30);

        // The first line enters at the bottom edge and rises one row a frame.
        int previous = -1, enteredAt = -1;
        bool sawPicture = false;
        while (credits.GetScrollPosition() != 0) {
            int position = credits.GetScrollPosition();
            credits.Step();
            Frame f = Capture(window);
            int top = f.TopmostDrawnRow();
            if (position < kAreaHeight) {
                if (top >= 0) {
                    EXPECT_GE(top, kAreaHeight - position) << position;
                }
                if (top >= 0 && enteredAt < 0) enteredAt = position;
                if (previous >= 0 && top >= 0) {
                    EXPECT_EQ(top, previous - 1) << position;
                }
                previous = top;
            }
            if (position % 7 == 0 || position >= total - 31) ExpectOnlyBackgroundLettersAndPicture(f);
            // After the last line: 30 blank rows, and below the picture's end
            // the background, never garbage.
            if (position >= total - 30) {
                EXPECT_EQ(top, -1) << position;
            }
            // The picture centred: its red block covers columns 70 to 89, and
            // its white surround shows the background.
            if (!sawPicture && f.At(80, kAreaHeight / 2) == kRed) {
                sawPicture = true;
                EXPECT_EQ(f.At(70, kAreaHeight / 2), kRed);
                EXPECT_EQ(f.At(90, kAreaHeight / 2), BackgroundAt(kArea.left + 90, 0));
            }
        }
        EXPECT_GE(enteredAt, 1);  // the letters' tops reach the edge at once
        EXPECT_LE(enteredAt, 8);
        EXPECT_TRUE(sawPicture);
        EXPECT_EQ(credits.GetFrameCount(), total);
        // Wrapped: an empty area again, then the first line enters once more.
        credits.Step();
        EXPECT_EQ(Capture(window).TopmostDrawnRow(), -1);
    }
    ReleaseDC(window, dc);
}

TEST(CreditsThread, StopEndsTheThreadWithinOneFrameAndNoGdiObjectOutlivesIt) {
    PatternWindow window;
    ASSERT_TRUE(window.Create());
    HDC dc = GetDC(window);
    auto credits = std::make_unique<CCreditsThread>(&window, dc, kArea, kCredits);
    ASSERT_TRUE(credits->CreateThread(CREATE_SUSPENDED));
    ASSERT_TRUE(credits->SetThreadPriority(THREAD_PRIORITY_IDLE));
    credits->ResumeThread();
    ASSERT_TRUE(vtest::WaitUntil([&] { return credits->GetFrameCount() >= 5; }, 30000));

    // Held between two frames, asked to stop, let go: at most the frame it
    // was in comes after the request.
    credits->SuspendThread();
    long before = credits->GetFrameCount();
    ASSERT_TRUE(credits->RequestStop());
    credits->ResumeThread();
    ASSERT_TRUE(credits->WaitForEnd(20000));
    EXPECT_LE(credits->GetFrameCount(), before + 1);

    // The region, three fonts, four DCs and their bitmaps: gone with the
    // object; the window's DC stays.
    std::vector<HGDIOBJ> objects = credits->GetGdiObjects();
    EXPECT_EQ(objects.size(), 1u + 3u + 8u);
    credits.reset();
    for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u) << object;
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
    ReleaseDC(window, dc);
}

TEST(CreditsThread, AMissingPictureSaysSoOnceAndLeavesTheBackground) {
    PatternWindow window;
    ASSERT_TRUE(window.Create());
    HDC dc = GetDC(window);
    {
        CCreditsThread credits(&window, dc, kArea, "00:06:before|B:NOSUCHPICTURE|00:06:after|");
        ASSERT_TRUE(credits.CreateThread());
        HWND box = nullptr;
        ASSERT_TRUE(vtest::WaitUntil(
            [&] { return (box = vtest::AnyDialogOf(GetCurrentProcessId())) != nullptr; }, 30000));
        EXPECT_EQ(vtest::MessageBoxText(box),
                  "Could not find bitmap resource \"NOSUCHPICTURE\". Be sure to assign the bitmap "
                  "a QUOTED resource name");
        EXPECT_EQ(GetWindow(box, GW_OWNER), window.m_hWnd);
        vtest::PressButton(box, IDOK);
        // Frames go on with only the background; no second message.
        ASSERT_TRUE(vtest::WaitUntil([&] { return credits.GetFrameCount() >= 5; }, 30000));
        EXPECT_EQ(vtest::AnyDialogOf(GetCurrentProcessId()), nullptr);
        EXPECT_EQ(Capture(window).TopmostDrawnRow(), -1);
        credits.RequestStop();
        ASSERT_TRUE(credits.WaitForEnd(20000));
    }
    ReleaseDC(window, dc);
}

}  // namespace
