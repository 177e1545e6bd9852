#include "runner/command_line.h"

#include <climits>

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipSpacesAndColons(const char* p) {
    while (*p == ' ' || *p == ':') ++p;
    return p;
}

}  // namespace

int AtoiLike(const char* text) {
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

ParsedCommandLine ParseCommandLineText(const char* commandLine) {
    ParsedCommandLine result;
    const char* p = commandLine ? commandLine : "";

    // The program's own path: quoted up to the closing quote, or up to the
    // first space.
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ') ++p;
        if (*p) ++p;
    }
    while (*p == ' ') ++p;

    if (!*p) {
        result.mode = ScrMode::Configure;
        return result;
    }
    if (*p == '-' || *p == '/') ++p;

    // Only the letter right after the switch character counts: "/save" is "/s".
    switch (*p) {
    case 's':
    case 'S':
        result.mode = ScrMode::Run;
        break;
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        result.mode = ScrMode::Preview;
        result.handle = AtoiLike(SkipSpacesAndColons(p + 1));
        break;
    case 'c':
    case 'C': {
        result.mode = ScrMode::Configure;
        const char* rest = SkipSpacesAndColons(p + 1);
        if (*rest)
            result.handle = AtoiLike(rest);
        else
            result.ownerIsForeground = true;
        break;
    }
    case 'a':
    case 'A':
        result.mode = ScrMode::ChangePassword;
        result.handle = AtoiLike(SkipSpacesAndColons(p + 1));
        break;
    default:
        result.mode = ScrMode::None;
        break;
    }
    return result;
}
