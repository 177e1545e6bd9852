#include "config/controls/label_text_format.h"

#include <gtest/gtest.h>

namespace {

TEST(LabelTextFormat, StyleBitsTabsAndCentredImage) {
    // Values as Windows defines them, so the table reads like the headers.
    const unsigned long SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_SIMPLE = 0xB,
                        SS_LEFTNOWORDWRAP = 0xC, SS_CENTERIMAGE = 0x200, SS_NOTIFY = 0x100,
                        WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000;
    const unsigned DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40;
    struct Case {
        unsigned long style;
        const char* text;
        unsigned format;
    };
    const Case cases[] = {
        {SS_LEFT, "plain", DT_LEFT | DT_WORDBREAK},
        {SS_LEFT, "", DT_LEFT | DT_WORDBREAK},
        {SS_CENTER, "plain", DT_CENTER | DT_WORDBREAK},
        {SS_RIGHT, "plain", DT_RIGHT | DT_WORDBREAK},
        {SS_LEFTNOWORDWRAP, "plain", DT_LEFT},
        {SS_SIMPLE, "plain", DT_LEFT | DT_WORDBREAK},  // other types wrap from the left
        {0x3, "icon type", DT_LEFT | DT_WORDBREAK},
        // Only the low five bits choose; window styles and SS_NOTIFY do not.
        {WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_RIGHT, "x", DT_RIGHT | DT_WORDBREAK},
        {0x20 | SS_CENTER, "x", DT_CENTER | DT_WORDBREAK},
        // A tab anywhere adds tab expansion.
        {SS_LEFT, "a\tb", DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS},
        {SS_CENTER, "\t", DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS},
        {SS_LEFTNOWORDWRAP, "end\t", DT_LEFT | DT_EXPANDTABS},
        // SS_CENTERIMAGE replaces everything: one line centred both ways...
        {SS_CENTERIMAGE, "one line", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE | SS_RIGHT, "one line", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE, "a\tb", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE, "", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        // ...a bare "\n" or "\r" is not a line break pair...
        {SS_CENTERIMAGE, "a\nb", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE, "a\rb", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTERIMAGE, "a\n\rb", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        // ...and a "\r\n" text is centred line by line, broken only at its breaks.
        {SS_CENTERIMAGE, "first\r\nsecond", DT_CENTER},
        {SS_CENTERIMAGE | SS_LEFTNOWORDWRAP, "a\t\r\nb", DT_CENTER},
        {SS_CENTERIMAGE, "\r\n", DT_CENTER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style << " text \""
                                        << c.text << "\"");
        EXPECT_EQ(LabelTextFormat(c.style, c.text), c.format);
    }
}

}  // namespace
