// The styled label on a real dialog under Wine: what it paints is read back
// from the screen and compared with colours, bands and reference pictures.
#include "config/controls/styled_label.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/config/controls/label_test_dialog.h"
#include "tests/support/win_test_support.h"

using labeltest::CaptureClient;
using labeltest::CrispFont;
using labeltest::Item;
using labeltest::Pixels;
using labeltest::Render;
using labeltest::TestDialog;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kNavy = RGB(0, 0, 128);
const COLORREF kYellow = RGB(255, 255, 0);

RECT At(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

// Background, then the text as DrawText lays it out with the given format.
Pixels Reference(HWND label, COLORREF background, COLORREF text, const LOGFONTA& lf,
                 const std::string& s, UINT format) {
    RECT client{};
    GetClientRect(label, &client);
    return Render(client.right, client.bottom, [&](HDC dc) {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ previous = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, text);
        RECT area = client;
        DrawTextA(dc, s.c_str(), -1, &area, format);
        SelectObject(dc, previous);
        DeleteObject(font);
    });
}

// Lengths of the runs of equal colour along one row.
std::vector<int> RunsOfRow(const Pixels& p, int y) {
    std::vector<int> runs;
    for (int x = 0; x < p.width; ++x) {
        if (x == 0 || p.At(x, y) != p.At(x - 1, y))
            runs.push_back(1);
        else
            ++runs.back();
    }
    return runs;
}

bool IsGrey(COLORREF c, int level) {
    return GetRValue(c) == level && GetGValue(c) == level && GetBValue(c) == level;
}

TEST(StyledLabel, GradientBandsReadBack) {
    CStyledLabel narrow, wide, medium;
    TestDialog dialog({{101, SS_LEFT, "", At(10, 10, 40, 20)},
                       {102, SS_LEFT, "", At(10, 40, 250, 20)},
                       {103, SS_LEFT, "", At(10, 70, 120, 20)}});
    dialog.Bind(101, narrow);
    dialog.Bind(102, wide);
    dialog.Bind(103, medium);
    ASSERT_TRUE(dialog.Create());
    for (CStyledLabel* label : {&narrow, &wide, &medium})
        label->SetBackground(kBlack, kWhite, TRUE);

    // 40 pixels: 40 bands of one pixel, each a lighter grey than the last.
    Pixels p = CaptureClient(narrow.m_hWnd);
    ASSERT_EQ(p.width, 40);
    EXPECT_EQ(RunsOfRow(p, 10), std::vector<int>(40, 1));
    for (int x = 1; x < 40; ++x) EXPECT_GT(GetRValue(p.At(x, 10)), GetRValue(p.At(x - 1, 10)));
    EXPECT_TRUE(IsGrey(p.At(0, 10), 0));
    EXPECT_TRUE(IsGrey(p.At(1, 10), 6));  // 65280 ÷ 40 = 1632 per band, ÷ 256

    // 250 pixels: 99 bands of two and a last one from 198 to the edge.
    p = CaptureClient(wide.m_hWnd);
    ASSERT_EQ(p.width, 250);
    std::vector<int> runs(99, 2);
    runs.push_back(52);
    EXPECT_EQ(RunsOfRow(p, 10), runs);
    // Black to white in 100 bands: 652 per band in 8.8 fixed point.
    const int greys[] = {0, 2, 5, 7, 10, 12, 15};
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(IsGrey(p.At(2 * i, 10), greys[i])) << "band " << i;
    EXPECT_TRUE(IsGrey(p.At(198, 10), 252));
    EXPECT_TRUE(IsGrey(p.At(249, 10), 252));

    // 120 pixels: 99 bands of one, the last 21 wide; the same greys.
    p = CaptureClient(medium.m_hWnd);
    runs.assign(99, 1);
    runs.push_back(21);
    EXPECT_EQ(RunsOfRow(p, 10), runs);
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(IsGrey(p.At(i, 10), greys[i])) << "band " << i;

    // The bands are vertical and fill the control down to its last row.
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) ASSERT_EQ(p.At(x, y), p.At(x, 10)) << x << "," << y;

    // Back to a solid background: one colour everywhere.
    wide.SetBackground(RGB(0, 128, 0));
    p = CaptureClient(wide.m_hWnd);
    EXPECT_TRUE(p.ColoursBesides(RGB(0, 128, 0)).empty());
}

TEST(StyledLabel, TextAndBackgroundColours) {
    CStyledLabel custom, plain, transparent;
    TestDialog dialog({{101, SS_LEFT, "MMMM", At(10, 10, 200, 40)},
                       {102, SS_LEFT, "MMMM", At(10, 60, 200, 40)},
                       {103, SS_LEFT, "MMMM", At(10, 110, 200, 40)}});
    dialog.Bind(101, custom);
    dialog.Bind(102, plain);
    dialog.Bind(103, transparent);
    ASSERT_TRUE(dialog.Create());
    LOGFONTA lf = CrispFont("Tahoma", -24);
    for (CStyledLabel* label : {&custom, &plain, &transparent}) label->SetLogFont(lf);

    // A custom background and text colour: exactly those two colours, laid
    // out as DrawText lays out the text.
    custom.SetBackground(kNavy).SetTextColor(kYellow);
    Pixels p = CaptureClient(custom.m_hWnd);
    EXPECT_EQ(p.ColoursBesides(kNavy), std::set<COLORREF>{kYellow});
    EXPECT_EQ(p, Reference(custom.m_hWnd, kNavy, kYellow, lf, "MMMM", DT_LEFT | DT_WORDBREAK));

    // Nothing set: the dialog face behind the window text colour.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    p = CaptureClient(plain.m_hWnd);
    EXPECT_EQ(p, Reference(plain.m_hWnd, face, windowText, lf, "MMMM", DT_LEFT | DT_WORDBREAK));

    // Transparent: no background of its own, the dialog shows through.
    transparent.SetBackground(kNavy).SetTextColor(kRed).SetTransparent(TRUE);
    EXPECT_TRUE(GetWindowLongA(transparent.m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    p = CaptureClient(transparent.m_hWnd);
    EXPECT_EQ(p.ColoursBesides(face), std::set<COLORREF>{kRed});
    EXPECT_EQ(p, Reference(transparent.m_hWnd, face, kRed, lf, "MMMM", DT_LEFT | DT_WORDBREAK));
    // The extended style is added for either value and stays.
    transparent.SetTransparent(FALSE);
    EXPECT_TRUE(GetWindowLongA(transparent.m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(CaptureClient(transparent.m_hWnd).ColoursBesides(kNavy), std::set<COLORREF>{kRed});
}

TEST(StyledLabel, TextFormatsFromTheStyle) {
    const std::string longText = "words that go on well past the right edge of the label";
    struct Case {
        DWORD style;
        std::string text;
        UINT format;    // what the label must draw with
        UINT contrast;  // a format that looks different, so the case can fail
    };
    const Case cases[] = {
        {SS_LEFT, "Left", DT_LEFT | DT_WORDBREAK, DT_CENTER},
        {SS_CENTER, "Centre", DT_CENTER | DT_WORDBREAK, DT_LEFT | DT_WORDBREAK},
        {SS_RIGHT, "Right", DT_RIGHT | DT_WORDBREAK, DT_LEFT | DT_WORDBREAK},
        {SS_LEFT, longText, DT_LEFT | DT_WORDBREAK, DT_LEFT},
        {SS_LEFTNOWORDWRAP, longText, DT_LEFT, DT_LEFT | DT_WORDBREAK},
        {SS_SIMPLE, longText, DT_LEFT | DT_WORDBREAK, DT_LEFT},
        {SS_LEFT, "tab\there", DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS, DT_LEFT | DT_WORDBREAK},
        {SS_RIGHT, "a\tb", DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS, DT_RIGHT | DT_WORDBREAK},
        {SS_CENTERIMAGE, "middle", DT_CENTER | DT_VCENTER | DT_SINGLELINE,
         DT_LEFT | DT_WORDBREAK},
        {SS_CENTERIMAGE | SS_RIGHT, "middle", DT_CENTER | DT_VCENTER | DT_SINGLELINE,
         DT_RIGHT | DT_WORDBREAK},
        {SS_CENTERIMAGE, "first\r\nsecond", DT_CENTER, DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE, "one\ttab", DT_CENTER | DT_VCENTER | DT_SINGLELINE,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS},
    };
    const int count = static_cast<int>(sizeof cases / sizeof cases[0]);
    std::vector<Item> items;
    for (int i = 0; i < count; ++i)
        items.push_back({100 + i, cases[i].style, cases[i].text,
                         At(10 + (i % 3) * 190, 10 + (i / 3) * 60, 170, 44)});
    std::vector<std::unique_ptr<CStyledLabel>> labels;
    TestDialog dialog(items);
    for (int i = 0; i < count; ++i) {
        labels.push_back(std::make_unique<CStyledLabel>());
        dialog.Bind(100 + i, *labels.back());
    }
    ASSERT_TRUE(dialog.Create());

    const LOGFONTA lf = CrispFont("Tahoma", -13, FW_NORMAL);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    for (int i = 0; i < count; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i << ": \"" << c.text << "\"");
        HWND hwnd = labels[i]->m_hWnd;
        labels[i]->SetLogFont(lf);
        Pixels expected = Reference(hwnd, face, text, lf, c.text, c.format);
        EXPECT_EQ(CaptureClient(hwnd), expected);
        EXPECT_FALSE(expected == Reference(hwnd, face, text, lf, c.text, c.contrast));
    }
}

TEST(StyledLabel, EmbossAndRotation) {
    CStyledLabel down, up, turned;
    TestDialog dialog({{101, SS_LEFT, "Emboss", At(10, 10, 160, 40)},
                       {102, SS_LEFT, "Emboss", At(10, 60, 160, 40)},
                       {103, SS_LEFT, "Turned", At(200, 10, 60, 160)}});
    dialog.Bind(101, down);
    dialog.Bind(102, up);
    dialog.Bind(103, turned);
    ASSERT_TRUE(dialog.Create());
    const LOGFONTA lf = CrispFont("Tahoma", -24);

    // Two passes: the text colour, then the emboss colour one pixel off.
    auto embossed = [&](HWND hwnd, int shift) {
        RECT client{};
        GetClientRect(hwnd, &client);
        return Render(client.right, client.bottom, [&](HDC dc) {
            HBRUSH brush = CreateSolidBrush(kNavy);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            HFONT font = CreateFontIndirectA(&lf);
            HGDIOBJ previous = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, kYellow);
            RECT area = client;
            DrawTextA(dc, "Emboss", -1, &area, DT_LEFT | DT_WORDBREAK);
            SetTextColor(dc, kWhite);
            OffsetRect(&area, shift, shift);
            DrawTextA(dc, "Emboss", -1, &area, DT_LEFT | DT_WORDBREAK);
            SelectObject(dc, previous);
            DeleteObject(font);
        });
    };
    down.SetLogFont(lf).SetBackground(kNavy).SetTextColor(kYellow).SetEmbossed(TRUE, TRUE);
    up.SetLogFont(lf).SetBackground(kNavy).SetTextColor(kYellow).SetEmbossed(TRUE, FALSE);
    EXPECT_EQ(CaptureClient(down.m_hWnd), embossed(down.m_hWnd, 1));
    EXPECT_EQ(CaptureClient(up.m_hWnd), embossed(up.m_hWnd, -1));
    EXPECT_FALSE(embossed(down.m_hWnd, 1) == embossed(down.m_hWnd, -1));
    // The emboss colour is the label's to choose.
    down.SetEmbossColor(kRed);
    EXPECT_EQ(CaptureClient(down.m_hWnd).ColoursBesides(kNavy),
              (std::set<COLORREF>{kYellow, kRed}));
    down.SetEmbossed(FALSE);
    EXPECT_EQ(CaptureClient(down.m_hWnd),
              Reference(down.m_hWnd, kNavy, kYellow, lf, "Emboss", DT_LEFT | DT_WORDBREAK));

    // Rotated by 90 degrees: the font turns, and the text is centred on its
    // baseline at the middle of the control.
    turned.SetLogFont(lf).SetBackground(kNavy).SetTextColor(kYellow).SetRotation(90);
    EXPECT_EQ(turned.GetLogFont().lfEscapement, 900);
    EXPECT_EQ(turned.GetLogFont().lfOrientation, 900);
    Pixels p = CaptureClient(turned.m_hWnd);
    Pixels expected = Render(p.width, p.height, [&](HDC dc) {
        RECT client{0, 0, p.width, p.height};
        HBRUSH brush = CreateSolidBrush(kNavy);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        HFONT font = CreateFontIndirectA(&turned.GetLogFont());
        HGDIOBJ previous = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kYellow);
        SetTextAlign(dc, TA_CENTER | TA_BASELINE);
        TextOutA(dc, p.width / 2, p.height / 2, "Turned", 6);
        SelectObject(dc, previous);
        DeleteObject(font);
    });
    EXPECT_EQ(p, expected);
    // The ink stands upright: taller than it is wide.
    int left = p.width, right = -1, top = p.height, bottom = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.At(x, y) == kYellow) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left);
    EXPECT_GT(bottom - top, 2 * (right - left));
    // Back to level text: no rotation in the font, DrawText again.
    turned.SetRotation(0, FALSE);
    EXPECT_EQ(turned.GetLogFont().lfEscapement, 0);
    EXPECT_EQ(CaptureClient(turned.m_hWnd),
              Reference(turned.m_hWnd, kNavy, kYellow, turned.GetLogFont(), "Turned",
                        DT_LEFT | DT_WORDBREAK));
}

TEST(StyledLabel, BlinkingTextOnTheTimer) {
    CStyledLabel plain, onNavy, background;
    TestDialog dialog({{101, SS_LEFT, "BLINK", At(10, 10, 160, 40)},
                       {102, SS_LEFT, "BLINK", At(10, 60, 160, 40)},
                       {103, SS_LEFT, "STEADY", At(10, 110, 160, 40)}});
    dialog.Bind(101, plain);
    dialog.Bind(102, onNavy);
    dialog.Bind(103, background);
    ASSERT_TRUE(dialog.Create());
    const LOGFONTA lf = CrispFont("Tahoma", -24);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    plain.SetLogFont(lf).SetTextColor(kRed);
    onNavy.SetLogFont(lf).SetBackground(kNavy).SetTextColor(kYellow);
    background.SetLogFont(lf).SetTextColor(kRed);

    auto textColours = [](const CStyledLabel& label, COLORREF back) {
        return CaptureClient(label.m_hWnd).ColoursBesides(back);
    };
    const std::set<COLORREF> red{kRed}, black{kBlack}, yellow{kYellow}, none;
    // Each tick flips the phase; the setter itself repaints nothing, so the
    // text stays as it was until the first tick shows it again and the
    // second hides it. Wait for each phase in turn (one tick is 500 ms).
    plain.SetTextBlink(TRUE);
    onNavy.SetTextBlink(TRUE);
    EXPECT_EQ(textColours(plain, face), red);
    for (int phase = 0; phase < 2; ++phase) {
        // Hidden: without a custom background the text turns black; on a
        // custom background it takes that colour and vanishes.
        EXPECT_TRUE(vtest::WaitUntil([&] { return textColours(plain, face) == black; }, 10000));
        EXPECT_TRUE(vtest::WaitUntil([&] { return textColours(onNavy, kNavy) == none; }, 10000));
        EXPECT_TRUE(vtest::WaitUntil([&] { return textColours(plain, face) == red; }, 10000));
        EXPECT_TRUE(vtest::WaitUntil([&] { return textColours(onNavy, kNavy) == yellow; }, 10000));
    }
    // Off: the timer is gone (KillTimer finds nothing) and the text stays.
    plain.SetTextBlink(FALSE);
    EXPECT_FALSE(KillTimer(plain.m_hWnd, CStyledLabel::kBlinkTimerId));
    plain.SetTextColor(kRed);
    EXPECT_EQ(textColours(plain, face), red);

    // A blinking background keeps its timer but paints the same text: after
    // the other label has blinked twice more, this one never showed black.
    background.SetBackgroundBlink(TRUE);
    bool everHidden = false;
    for (int flips = 0; flips < 2; ++flips) {
        COLORREF wanted = flips == 0 ? kBlack : kYellow;
        EXPECT_TRUE(vtest::WaitUntil(
            [&] {
                if (textColours(background, face) != red) everHidden = true;
                auto seen = textColours(onNavy, kNavy);
                return wanted == kBlack ? seen.empty() : seen == yellow;
            },
            10000));
    }
    EXPECT_FALSE(everHidden);
    EXPECT_TRUE(KillTimer(background.m_hWnd, CStyledLabel::kBlinkTimerId));
    // Switching a background blink off stops its timer too.
    background.SetBackgroundBlink(TRUE).SetBackgroundBlink(FALSE);
    EXPECT_FALSE(KillTimer(background.m_hWnd, CStyledLabel::kBlinkTimerId));
}

TEST(StyledLabel, OneCustomBrushAtMost) {
    const int beforeLabel = labeltest::LiveGdiObjects();
    ASSERT_GT(beforeLabel, 0) << "no way to count GDI objects here";
    TestDialog dialog({{101, SS_LEFT, "Brushes", At(10, 10, 120, 30)}});
    ASSERT_TRUE(dialog.Create());
    {
        const int beforeObject = labeltest::LiveGdiObjects();
        auto label = std::make_unique<CStyledLabel>();
        // The default background brush, made at construction.
        EXPECT_EQ(labeltest::LiveGdiObjects(), beforeObject + 1);
        ASSERT_TRUE(label->SubclassWindow(dialog.Item(101)));
        CaptureClient(label->m_hWnd);  // paints once; painting keeps nothing
        const int base = labeltest::LiveGdiObjects();
        const int brushes = labeltest::LiveGdiObjects(OBJ_BRUSH);

        label->SetBackground(kBlack, kWhite, TRUE);
        CaptureClient(label->m_hWnd);
        EXPECT_EQ(labeltest::LiveGdiObjects(), base);  // a gradient leaves none
        label->SetBackground(kNavy, 0, FALSE);
        CaptureClient(label->m_hWnd);
        EXPECT_EQ(labeltest::LiveGdiObjects(), base + 1);
        EXPECT_EQ(labeltest::LiveGdiObjects(OBJ_BRUSH), brushes + 1);
        label->SetBackground(kRed, 0, FALSE);  // replaced, not added
        EXPECT_EQ(labeltest::LiveGdiObjects(), base + 1);
        label->SetBackground(kBlack, kWhite, TRUE);
        EXPECT_EQ(labeltest::LiveGdiObjects(), base);
        label->SetBackground(kRed).SetFontBold(TRUE).SetFontPointSize(11).SetTextBlink(TRUE);
        CaptureClient(label->m_hWnd);
        EXPECT_EQ(labeltest::LiveGdiObjects(), base + 1);  // fonts replaced too
        label.reset();
        // The object took its font and brushes with it.
        EXPECT_EQ(labeltest::LiveGdiObjects(), beforeObject);
    }
    // The label's window is the dialog's: it still works unbound.
    EXPECT_TRUE(IsWindow(dialog.Item(101)));
}

TEST(StyledLabel, FontOfTheDialogItem) {
    CStyledLabel label, systemFont;
    TestDialog dialog({{101, SS_LEFT, "Hg font", At(10, 10, 300, 40)}}, "MS Shell Dlg", 8);
    dialog.Bind(101, label);
    ASSERT_TRUE(dialog.Create());

    // Bound: exactly the dialog's font.
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog.m_hWnd, WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    LOGFONTA expected{};
    ASSERT_EQ(GetObjectA(dialogFont, sizeof expected, &expected), int(sizeof expected));
    LOGFONTA made{};
    ASSERT_EQ(GetObjectA(label.GetFont(), sizeof made, &made), int(sizeof made));
    for (const LOGFONTA* lf : {&label.GetLogFont(), static_cast<const LOGFONTA*>(&made)}) {
        EXPECT_EQ(lf->lfHeight, expected.lfHeight);
        EXPECT_EQ(lf->lfWeight, expected.lfWeight);
        EXPECT_EQ(lf->lfCharSet, expected.lfCharSet);
        EXPECT_STREQ(lf->lfFaceName, expected.lfFaceName);
    }
    // The paint uses it.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(CaptureClient(label.m_hWnd),
              Reference(label.m_hWnd, face, text, expected, "Hg font", DT_LEFT | DT_WORDBREAK));

    // 13 points on this 96 dots-per-inch screen, then bold: −17 and 700.
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96);
    label.SetFontPointSize(13);
    EXPECT_EQ(label.GetLogFont().lfHeight, -17);
    EXPECT_EQ(label.GetLogFont().lfWidth, 0);
    EXPECT_EQ(label.GetLogFont().lfWeight, expected.lfWeight);
    label.SetFontBold(TRUE);
    ASSERT_EQ(GetObjectA(label.GetFont(), sizeof made, &made), int(sizeof made));
    EXPECT_EQ(made.lfHeight, -17);
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_STREQ(made.lfFaceName, expected.lfFaceName);
    LOGFONTA bold13 = expected;
    bold13.lfHeight = -17;
    bold13.lfWidth = 0;
    bold13.lfWeight = 700;
    EXPECT_EQ(CaptureClient(label.m_hWnd),
              Reference(label.m_hWnd, face, text, bold13, "Hg font", DT_LEFT | DT_WORDBREAK));
    label.SetFontBold(FALSE);
    EXPECT_EQ(label.GetLogFont().lfWeight, 400);

    // Italic and underline take the low byte; the face name its 31 characters.
    label.SetFontItalic(TRUE).SetFontUnderline(0x101);
    EXPECT_EQ(label.GetLogFont().lfItalic, 1);
    EXPECT_EQ(label.GetLogFont().lfUnderline, 1);
    label.SetFontItalic(0x100);
    EXPECT_EQ(label.GetLogFont().lfItalic, 0);
    const std::string longName = "A face name of more than thirty-one characters";
    label.SetFontName(longName, SYMBOL_CHARSET);
    EXPECT_EQ(std::string(label.GetLogFont().lfFaceName), longName.substr(0, 31));
    EXPECT_EQ(label.GetLogFont().lfCharSet, SYMBOL_CHARSET);
    label.SetFontName("Tahoma", ANSI_CHARSET);
    ASSERT_EQ(GetObjectA(label.GetFont(), sizeof made, &made), int(sizeof made));
    EXPECT_STREQ(made.lfFaceName, "Tahoma");
    EXPECT_EQ(made.lfHeight, -17);  // the size stays

    // A dialog without a font: the item has none, so the system font.
    TestDialog bare({{101, SS_LEFT, "System", At(10, 10, 200, 30)}}, nullptr);
    bare.Bind(101, systemFont);
    ASSERT_TRUE(bare.Create());
    ASSERT_EQ(SendMessageA(bare.Item(101), WM_GETFONT, 0, 0), 0);
    LOGFONTA system{};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    EXPECT_EQ(systemFont.GetLogFont().lfHeight, system.lfHeight);
    EXPECT_STREQ(systemFont.GetLogFont().lfFaceName, system.lfFaceName);
}

TEST(StyledLabel, CursorStylesAndText) {
    CStyledLabel label, unbound;
    TestDialog dialog({{101, SS_LEFT, "Styles", At(10, 10, 200, 40)}});
    dialog.Bind(101, label);
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = label.m_hWnd;
    auto style = [&] { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); };
    auto exStyle = [&] { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)); };

    // The setters chain on the same object.
    EXPECT_EQ(&label.SetTextColor(kRed).SetBackground(kNavy).SetLinkTarget("x"), &label);

    // The hover cursor is the label's answer to WM_SETCURSOR.
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    auto setCursor = [&] {
        return SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    SetCursor(arrow);
    label.SetHoverCursor(hand);
    EXPECT_EQ(setCursor(), TRUE);
    EXPECT_EQ(GetCursor(), hand);
    label.SetHoverCursor(nullptr);
    setCursor();
    EXPECT_EQ(GetCursor(), arrow);  // the class cursor of a static control

    // Links need the mouse: SS_NOTIFY comes with them and goes without.
    EXPECT_FALSE(style() & SS_NOTIFY);
    label.SetWebLink(TRUE);
    EXPECT_TRUE(style() & SS_NOTIFY);
    label.SetWebLink(FALSE);
    EXPECT_FALSE(style() & SS_NOTIFY);
    label.SetMailLink(TRUE, TRUE);
    EXPECT_TRUE(style() & SS_NOTIFY);
    label.SetMailLink(FALSE);
    EXPECT_FALSE(style() & SS_NOTIFY);

    // A frame takes its pixels from the client area.
    RECT plain{};
    GetClientRect(hwnd, &plain);
    label.SetStaticEdge(TRUE);
    RECT edged{};
    GetClientRect(hwnd, &edged);
    EXPECT_TRUE(exStyle() & WS_EX_STATICEDGE);
    EXPECT_LT(edged.right, plain.right);
    label.SetStaticEdge(FALSE).SetBorder(TRUE);
    EXPECT_FALSE(exStyle() & WS_EX_STATICEDGE);
    EXPECT_TRUE(style() & WS_BORDER);
    RECT bordered{};
    GetClientRect(hwnd, &bordered);
    EXPECT_LT(bordered.right, plain.right);
    label.SetBorder(FALSE);
    GetClientRect(hwnd, &bordered);
    EXPECT_EQ(bordered.right, plain.right);
    EXPECT_FALSE(style() & WS_BORDER);

    // SetText sets the window text and paints it.
    const LOGFONTA lf = CrispFont("Tahoma", -20);
    label.SetLogFont(lf).SetText("Changed");
    EXPECT_EQ(vtest::WindowText(hwnd), "Changed");
    EXPECT_EQ(CaptureClient(hwnd),
              Reference(hwnd, kNavy, kRed, lf, "Changed", DT_LEFT | DT_WORDBREAK));
    // Without a window there is nothing to set, and nothing else is touched.
    unbound.SetText("nowhere").SetTextColor(kRed).SetTextBlink(TRUE);
    EXPECT_EQ(unbound.m_hWnd, nullptr);
    EXPECT_EQ(vtest::WindowText(hwnd), "Changed");
}

TEST(StyledLabel, SystemColourChange) {
    // The default background follows the dialog face colour when Windows
    // says the system colours changed.
    vtest::RegValueRestorer saved(HKEY_CURRENT_USER, "Control Panel\\Colors", "ButtonFace");
    const COLORREF original = GetSysColor(COLOR_BTNFACE);
    CStyledLabel label;
    TestDialog dialog({{101, SS_LEFT, "", At(10, 10, 100, 30)}});
    dialog.Bind(101, label);
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(CaptureClient(label.m_hWnd).ColoursBesides(original).empty());

    const COLORREF changed = original == RGB(10, 200, 30) ? RGB(200, 10, 30) : RGB(10, 200, 30);
    int element = COLOR_BTNFACE;
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    // Windows tells top-level windows; a page hands it on to its controls.
    SendMessageA(label.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    Pixels p = CaptureClient(label.m_hWnd);
    SetSysColors(1, &element, &original);
    EXPECT_TRUE(p.ColoursBesides(changed).empty());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), original);
}

}  // namespace
