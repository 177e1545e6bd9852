#pragma once

// The screensaver command-line grammar, free of Win32 so that it can be
// tested and fuzzed on any host.

enum class ScrMode { None, Configure, ChangePassword, Preview, Run };

struct ParsedCommandLine {
    ScrMode mode = ScrMode::None;
    // The decimal window handle that followed the switch, as atoi reads it.
    int handle = 0;
    // "/c" with nothing after it: the owner is the current foreground window.
    bool ownerIsForeground = false;
};

// Reads a whole process command line, program path included.
ParsedCommandLine ParseCommandLineText(const char* commandLine);

// The value atoi gives for text: leading white space and one sign allowed,
// reading stops at the first non-digit, 0 without digits. Values beyond the
// int range saturate instead of overflowing.
int AtoiLike(const char* text);
