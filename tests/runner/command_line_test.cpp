#include "runner/command_line.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct Case {
    const char* commandLine;
    ScrMode mode;
    int handle;
    bool ownerIsForeground;
};

const Case kCases[] = {
    // No switch: configure, no owner.
    {"C:\\WINDOWS\\System32\\VELMORA.SCR", ScrMode::Configure, 0, false},
    {"C:\\WINDOWS\\System32\\VELMORA.SCR ", ScrMode::Configure, 0, false},
    {"C:\\WINDOWS\\System32\\VELMORA.SCR     ", ScrMode::Configure, 0, false},
    {"", ScrMode::Configure, 0, false},
    {"\"C:\\Program Files\\Velmora\\Velmora.scr\"", ScrMode::Configure, 0, false},
    // A quoted path with spaces is skipped whole.
    {"\"C:\\Program Files\\Velmora\\Velmora.scr\" /s", ScrMode::Run, 0, false},
    {"\"C:\\Program Files\\Velmora\\Velmora.scr\"/s", ScrMode::Run, 0, false},
    {"\"C:\\Program Files\\Velmora\\Velmora.scr", ScrMode::Configure, 0, false},
    // Only the letter after the switch character decides.
    {"v.scr /s", ScrMode::Run, 0, false},
    {"v.scr /save", ScrMode::Run, 0, false},
    {"v.scr /S", ScrMode::Run, 0, false},
    {"v.scr -s", ScrMode::Run, 0, false},
    {"v.scr s", ScrMode::Run, 0, false},
    {"v.scr    /s", ScrMode::Run, 0, false},
    {"v.scr /s 1234", ScrMode::Run, 0, false},
    {"v.scr //s", ScrMode::None, 0, false},
    {"v.scr /x", ScrMode::None, 0, false},
    {"v.scr /", ScrMode::None, 0, false},
    {"v.scr -", ScrMode::None, 0, false},
    {"v.scr /?", ScrMode::None, 0, false},
    // Configure: alone means the foreground window owns it.
    {"v.scr /c", ScrMode::Configure, 0, true},
    {"v.scr /C", ScrMode::Configure, 0, true},
    {"v.scr /c   ", ScrMode::Configure, 0, true},
    {"v.scr /c::", ScrMode::Configure, 0, true},
    {"v.scr /c:0", ScrMode::Configure, 0, false},
    {"v.scr /c:4321", ScrMode::Configure, 4321, false},
    {"v.scr -c 4321", ScrMode::Configure, 4321, false},
    {"v.scr /config", ScrMode::Configure, 0, false},
    // Preview, with every spelling of the number.
    {"v.scr /p 1234", ScrMode::Preview, 1234, false},
    {"v.scr /p:1234", ScrMode::Preview, 1234, false},
    {"v.scr -P1234", ScrMode::Preview, 1234, false},
    {"v.scr p 1234", ScrMode::Preview, 1234, false},
    {"v.scr /l 1234", ScrMode::Preview, 1234, false},
    {"v.scr /L: :1234", ScrMode::Preview, 1234, false},
    {"v.scr /preview 1234", ScrMode::Preview, 0, false},
    {"v.scr /p", ScrMode::Preview, 0, false},
    {"v.scr /p 12ab", ScrMode::Preview, 12, false},
    // The number as atoi reads it: a sign, leading white space after the
    // colons, and saturation far beyond the int range.
    {"v.scr /p -42", ScrMode::Preview, -42, false},
    {"v.scr /p +42", ScrMode::Preview, 42, false},
    {"v.scr /p:\t42", ScrMode::Preview, 42, false},
    {"v.scr /p - 42", ScrMode::Preview, 0, false},
    {"v.scr /p 99999999999999999999", ScrMode::Preview, INT_MAX, false},
    {"v.scr /p -99999999999999999999", ScrMode::Preview, INT_MIN, false},
    // Change password.
    {"v.scr /a", ScrMode::ChangePassword, 0, false},
    {"v.scr /a 777", ScrMode::ChangePassword, 777, false},
    {"v.scr -A:777", ScrMode::ChangePassword, 777, false},
    // Only the space separates: a tab is part of the program path.
    {"v.scr\t/s", ScrMode::Configure, 0, false},
};

TEST(CommandLine, GrammarTable) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.commandLine);
        ParsedCommandLine parsed = ParseCommandLineText(c.commandLine);
        EXPECT_EQ(static_cast<int>(parsed.mode), static_cast<int>(c.mode));
        EXPECT_EQ(parsed.handle, c.handle);
        EXPECT_EQ(parsed.ownerIsForeground, c.ownerIsForeground);
    }
}

TEST(CommandLine, NullCommandLineIsConfigure) {
    EXPECT_EQ(static_cast<int>(ParseCommandLineText(nullptr).mode),
              static_cast<int>(ScrMode::Configure));
}

}  // namespace
