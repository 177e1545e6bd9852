#include "savers/probe/probe_behaviour.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(const char* text, const char* lowerWord) {
    for (; *lowerWord; ++text, ++lowerWord)
        if (Lower(*text) != *lowerWord) return false;
    return *text == '\0';
}

}  // namespace

ProbeBehaviour ParseBehaviour(const char* text) {
    if (!text) return ProbeBehaviour::Normal;
    if (EqualsNoCase(text, "fail")) return ProbeBehaviour::Fail;
    if (EqualsNoCase(text, "handoff")) return ProbeBehaviour::Handoff;
    if (EqualsNoCase(text, "handoffwait")) return ProbeBehaviour::HandoffWait;
    if (EqualsNoCase(text, "ignoreclose")) return ProbeBehaviour::IgnoreClose;
    if (EqualsNoCase(text, "hang")) return ProbeBehaviour::Hang;
    return ProbeBehaviour::Normal;
}

bool IsHandoffCommandLine(const char* commandLine) {
    const char* p = commandLine ? commandLine : "";
    // The program path as the screensaver grammar skips it: quoted up to the
    // closing quote, or up to the first space.
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ') ++p;
    }
    while (*p == ' ') ++p;
    if (*p != '/' && *p != '-') return false;
    ++p;
    const char* word = "handoff";
    for (; *word; ++p, ++word)
        if (Lower(*p) != *word) return false;
    while (*p == ' ') ++p;
    return *p == '\0';
}
