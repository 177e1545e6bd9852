// The credits drawing thread over a striped test window, read back in pixels:
// frame by frame on the test's thread, and as the real thread its owner stops.
#include "config/controls/credits_thread.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/win_test_support.h"

namespace {

constexpr RECT kArea{100, 20, 260, 140};  // 160 x 120 in the window
constexpr int kAreaHeight = 120;
constexpr COLORREF kRed = RGB(255, 0, 0);
const char kCredits[] = "00:06:Velmora|01:06:Kestrune|S:10|B:CREDITSTEST|01:06:The end|";

COLORREF Stripe(int x) { return x % 4 < 2 ? RGB(255, 255, 0) : RGB(0, 160, 255); }

// A topmost window that paints vertical stripes, with its DC for the credits.
struct StripedWindow : CWnd {
    HWND hwnd = nullptr;
    HDC dc = nullptr;
    StripedWindow() {
        const char* cls = RegisterWndClass(0, nullptr, nullptr, nullptr);
        CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls, "", WS_POPUP, RECT{0, 0, 300, 200},
                 static_cast<HWND>(nullptr), 0);
        hwnd = m_hWnd;
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 300, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateWindow(hwnd);
        dc = GetDC(hwnd);
    }
    ~StripedWindow() override {
        ReleaseDC(hwnd, dc);
        DestroyWindow();
    }
    void OnPaint() override {
        CPaintDC paint(hwnd);
        for (int x = 0; x < 300; ++x) {
            CBrush brush(CreateSolidBrush(Stripe(x)));
            RECT column{x, 0, x + 1, 200};
            FillRect(paint, &column, brush);
        }
    }
    // The topmost row of the area with anything but stripes (-1: none); every
    // other pixel must be a stripe, a black letter or the picture's red.
    int TopmostDrawnRow() const {
        labeltest::Pixels p = labeltest::CaptureClient(hwnd);
        int top = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                COLORREF c = p.At(x, y);
                if (c == Stripe(x)) continue;
                bool inArea = PtInRect(&kArea, POINT{x, y});
                EXPECT_TRUE(inArea && (c == RGB(0, 0, 0) || c == kRed)) << x << "," << y;
                if (top < 0) top = y - kArea.top;
            }
        return top;
    }
};

class SteppedCredits : public CCreditsThread {
public:
    explicit SteppedCredits(HDC dc, const RECT& area = kArea, const char* credits = kCredits)
        : CCreditsThread(nullptr, dc, area, credits) {
        m_nDelay = 0;  // no pacing: the test reads every frame
        m_dc.Attach(m_hTargetDC);
    }
    using CCreditsThread::DrawStep;
};

TEST(CreditsThread, RisesFromTheBottomEdgeOverTheBackgroundAndWrapsToAnEmptyArea) {
    StripedWindow window;
    SteppedCredits credits(window.dc);
    credits.DrawStep();  // position 0: nothing but the background
    EXPECT_EQ(window.TopmostDrawnRow(), -1);
    const int total = credits.GetTotalHeight();
    ASSERT_GE(total, kAreaHeight + 3 * 16 + 10 + 20 + 30);  // three lines, spacing, picture
    int previous = -1, entered = -1;
    bool sawPicture = false;
    HDC screen = GetDC(window.hwnd);
    for (int position = 1; position < total; ++position) {
        credits.DrawStep();
        int top = window.TopmostDrawnRow();
        if (position < kAreaHeight && top >= 0) {
            EXPECT_GE(top, kAreaHeight - position);  // from the bottom edge up
            EXPECT_TRUE(previous < 0 || top == previous - 1) << position;  // a row a frame
            if (entered < 0) entered = position;
        }
        previous = top;
        // The 30 blank rows, and below the picture's end the background.
        EXPECT_TRUE(position < total - 30 || top == -1) << position;
        // The picture centred (its red block is columns 70 to 89), its white surround clear.
        if (GetPixel(screen, kArea.left + 80, kArea.top + 60) == kRed) {
            sawPicture = true;
            EXPECT_EQ(GetPixel(screen, kArea.left + 70, kArea.top + 60), kRed);
            EXPECT_EQ(GetPixel(screen, kArea.left + 90, kArea.top + 60), Stripe(kArea.left + 90));
        }
    }
    ReleaseDC(window.hwnd, screen);
    EXPECT_TRUE(entered >= 1 && entered <= 8) << entered;
    EXPECT_TRUE(sawPicture);
    EXPECT_EQ(credits.GetScrollPosition(), 0);  // wrapped
    credits.DrawStep();
    EXPECT_EQ(window.TopmostDrawnRow(), -1);
}

// Each font and colour of the credits' tables, drawn as the tables say: the
// area shows exactly what these fonts and colours draw, line under line at
// the height of "Wy", over the stripes.
TEST(CreditsThread, DrawsWithTheFontAndColourTables) {
    struct Font {
        const char* face;
        int height, weight;
        bool italic;
    };
    const Font fonts[] = {{"Arial", 16, 600, false}, {"Arial", 16, 400, false},
                          {"Times Roman", 32, 900, true}};
    const COLORREF colours[] = {RGB(180, 0, 180),   RGB(250, 250, 250), RGB(50, 50, 50),
                                RGB(200, 200, 200), RGB(200, 50, 50),   RGB(30, 30, 255),
                                RGB(0, 0, 0)};
    // Font, colour (-1 keeps the one before) and text of each line.
    struct Line {
        int font, colour;
        const char* text;
    };
    const Line lines[] = {{0, 0, "Wy 0"}, {1, 1, "Wy 1"}, {2, 2, "Wy 2"}, {-1, 3, "Wy 3"},
                          {1, 4, "Wy 4"}, {0, 5, "Wy 5"}, {-1, 6, "Wy 6"}};
    std::string credits;
    for (const Line& line : lines)
        credits += (line.font < 0 ? std::string("-1") : "0" + std::to_string(line.font)) + ":0" +
                   std::to_string(line.colour) + ":" + line.text + "|";
    const RECT area{0, 0, 300, 200};

    StripedWindow window;
    // What the tables draw, on white, from the area's top row.
    CSurface expected;
    ASSERT_TRUE(expected.CreatePixels(window.dc, 300, 200));
    RECT all{0, 0, 300, 200};
    FillRect(expected.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(expected.Dc(), TRANSPARENT);
    std::vector<CFont> made;
    std::vector<int> heights;
    for (const Font& font : fonts) {
        LOGFONTA lf{};
        lstrcpynA(lf.lfFaceName, font.face, LF_FACESIZE);
        lf.lfHeight = font.height;
        lf.lfWeight = font.weight;
        lf.lfItalic = font.italic;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        made.emplace_back();
        ASSERT_TRUE(made.back().CreateFontIndirect(lf));
        ScopedSelectObject select(expected.Dc(), made.back());
        SIZE extent{};
        GetTextExtentPoint32A(expected.Dc(), "Wy", 2, &extent);
        heights.push_back(extent.cy);
    }
    int y = 0, height = heights[0];
    {
        ScopedSelectObject keep(expected.Dc(), made[0]);
        for (const Line& line : lines) {
            if (line.font >= 0) {
                SelectObject(expected.Dc(), made[size_t(line.font)]);
                height = heights[size_t(line.font)];
            }
            SetTextColor(expected.Dc(), colours[line.colour]);
            RECT box{0, y, 300, y + height};
            DrawTextA(expected.Dc(), line.text, -1, &box, 0);
            y += height;
        }
    }
    ASSERT_LE(y, 200);
    GdiFlush();

    // The credits picture starts with a blank area: at the scroll position
    // of the area's height its first line is at the area's top.
    SteppedCredits stepped(window.dc, area, credits.c_str());
    for (int frame = 0; frame <= 200; ++frame) stepped.DrawStep();
    ASSERT_EQ(stepped.GetScrollPosition(), 201);
    const labeltest::Pixels shown = labeltest::CaptureClient(window.hwnd);
    int drawn = 0, wrong = 0;
    for (int py = 0; py < 200; ++py)
        for (int px = 0; px < 300; ++px) {
            const COLORREF want = expected.Row(py)[px] & 0xFFFFFF;
            const bool ink = want != 0xFFFFFF;
            const COLORREF rgb = ink ? RGB(GetBValue(want), GetGValue(want), GetRValue(want)) : Stripe(px);
            drawn += ink;
            if (shown.At(px, py) != rgb && wrong++ < 5)
                ADD_FAILURE() << px << "," << py << ": " << std::hex << shown.At(px, py) << " not " << rgb;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(drawn, 7 * 20);  // every line drew something
}

TEST(CreditsThread, StopsWithinOneFrameAndLeavesNoGdiObject) {
    StripedWindow window;
    auto credits = std::make_unique<CCreditsThread>(nullptr, window.dc, kArea, kCredits);
    ASSERT_TRUE(credits->CreateThread(CREATE_SUSPENDED));
    credits->SetThreadPriority(THREAD_PRIORITY_IDLE);
    credits->ResumeThread();
    ASSERT_TRUE(vtest::WaitUntil([&] { return credits->GetFrameCount() >= 5; }, 30000));
    // Held between frames, asked to stop, let go: at most one frame follows.
    credits->SuspendThread();
    long before = credits->GetFrameCount();
    credits->RequestStop();
    credits->ResumeThread();
    ASSERT_TRUE(credits->WaitForEnd(20000));
    EXPECT_LE(credits->GetFrameCount(), before + 1);
    std::vector<HGDIOBJ> objects = credits->GetGdiObjects();
    EXPECT_EQ(objects.size(), 1u + 3u + 6u);  // region, fonts, three DCs and bitmaps
    credits.reset();
    for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u);
    EXPECT_EQ(GetObjectType(window.dc), static_cast<DWORD>(OBJ_DC));  // the window's own
}

TEST(CreditsThread, AMissingPictureSaysSoOnceAndLeavesTheBackground) {
    StripedWindow window;
    CCreditsThread credits(&window, window.dc, kArea, "00:06:a|B:NOSUCHPICTURE|");
    ASSERT_TRUE(credits.CreateThread());
    HWND box = nullptr;
    ASSERT_TRUE(vtest::WaitUntil([&] { return (box = vtest::AnyDialogOf(GetCurrentProcessId())); }, 30000));
    EXPECT_EQ(vtest::MessageBoxText(box), "Could not find bitmap resource \"NOSUCHPICTURE\". Be sure "
                                          "to assign the bitmap a QUOTED resource name");
    EXPECT_EQ(GetWindow(box, GW_OWNER), window.hwnd);
    vtest::PressButton(box, IDOK);
    ASSERT_TRUE(vtest::WaitUntil([&] { return credits.GetFrameCount() >= 5; }, 30000));
    EXPECT_EQ(vtest::AnyDialogOf(GetCurrentProcessId()), nullptr);
    EXPECT_EQ(window.TopmostDrawnRow(), -1);
    credits.RequestStop();
    ASSERT_TRUE(credits.WaitForEnd(20000));
}

}  // namespace
