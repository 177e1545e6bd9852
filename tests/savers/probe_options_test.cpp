// The probe's own decisions: its behaviour names, its handoff switch and its
// colours.
#include <gtest/gtest.h>

#include <cstdint>

#include "savers/probe/probe_behaviour.h"
#include "savers/probe/probe_colour.h"

namespace {

TEST(ProbeBehaviour, ReadsTheFourNamesInAnyCase) {
    EXPECT_EQ(ParseBehaviour("normal"), ProbeBehaviour::Normal);
    EXPECT_EQ(ParseBehaviour("fail"), ProbeBehaviour::Fail);
    EXPECT_EQ(ParseBehaviour("FAIL"), ProbeBehaviour::Fail);
    EXPECT_EQ(ParseBehaviour("handoff"), ProbeBehaviour::Handoff);
    EXPECT_EQ(ParseBehaviour("HandOff"), ProbeBehaviour::Handoff);
    EXPECT_EQ(ParseBehaviour("ignoreclose"), ProbeBehaviour::IgnoreClose);
    EXPECT_EQ(ParseBehaviour("IgnoreClose"), ProbeBehaviour::IgnoreClose);
    EXPECT_EQ(ParseBehaviour("Hang"), ProbeBehaviour::Hang);
}

TEST(ProbeBehaviour, AnythingElseIsNormal) {
    for (const char* text : {"", "failing", "fai", "hand off", "ignore", " fail"})
        EXPECT_EQ(ParseBehaviour(text), ProbeBehaviour::Normal) << text;
    EXPECT_EQ(ParseBehaviour(nullptr), ProbeBehaviour::Normal);
}

TEST(ProbeHandoffSwitch, IsTheOnlyArgument) {
    EXPECT_TRUE(IsHandoffCommandLine("\"C:\\a b\\probe.scr\" /handoff"));
    EXPECT_TRUE(IsHandoffCommandLine("C:\\PROBE~1.SCR /handoff"));
    EXPECT_TRUE(IsHandoffCommandLine("probe.scr -HANDOFF  "));
    EXPECT_FALSE(IsHandoffCommandLine("probe.scr /handoff now"));
    EXPECT_FALSE(IsHandoffCommandLine("probe.scr /handoffs"));
    EXPECT_FALSE(IsHandoffCommandLine("probe.scr handoff"));
    EXPECT_FALSE(IsHandoffCommandLine("probe.scr /s"));
    EXPECT_FALSE(IsHandoffCommandLine("\"C:\\dir /handoff\\probe.scr\""));
    EXPECT_FALSE(IsHandoffCommandLine("probe.scr"));
    EXPECT_FALSE(IsHandoffCommandLine(""));
    EXPECT_FALSE(IsHandoffCommandLine(nullptr));
}

TEST(ProbeColour, ReadsSixHexDigits) {
    std::uint32_t rgb = 0;
    EXPECT_TRUE(ParseHexColour("3366CC", rgb));
    EXPECT_EQ(rgb, 0x3366CCu);
    EXPECT_TRUE(ParseHexColour("00ff7f", rgb));
    EXPECT_EQ(rgb, 0x00FF7Fu);
    for (const char* bad : {"", "12345", "1234567", "#123456", "12345G", " 123456", "0x1234"}) {
        rgb = 42;
        EXPECT_FALSE(ParseHexColour(bad, rgb)) << bad;
        EXPECT_EQ(rgb, 42u) << bad;
    }
    EXPECT_FALSE(ParseHexColour(nullptr, rgb));
}

TEST(ProbeColour, FromTheNameIsFixedAndIgnoresCase) {
    EXPECT_EQ(ColourFromName("alpha.scr"), ColourFromName("alpha.scr"));
    EXPECT_EQ(ColourFromName("alpha.scr"), ColourFromName("ALPHA.SCR"));
    EXPECT_NE(ColourFromName("alpha.scr"), ColourFromName("beta.scr"));
    EXPECT_LE(ColourFromName("alpha.scr"), 0xFFFFFFu);
}

TEST(ProbeColour, TextContrastsWithTheFill) {
    EXPECT_EQ(ContrastingColour(0x000000), 0xFFFFFFu);
    EXPECT_EQ(ContrastingColour(0xFFFFFF), 0x000000u);
    EXPECT_EQ(ContrastingColour(0x3366CC), 0xFFFFFFu);
    EXPECT_EQ(ContrastingColour(0xC08020), 0x000000u);
    EXPECT_EQ(ContrastingColour(0xFFFF00), 0x000000u);
    EXPECT_EQ(ContrastingColour(0x0000FF), 0xFFFFFFu);
}

}  // namespace
