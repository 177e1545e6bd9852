#pragma once
// The options page's decisions, free of Windows: which stored folders are
// read, how folders are normalised and de-duplicated before they are written,
// and what the stored choices turn into on the page.
#include <functional>
#include <string>
#include <vector>

namespace velmora::options {

// The text without white space at either end (space, tab, line feed,
// vertical tab, form feed, carriage return).
std::string TrimWhiteSpace(const std::string& text);

// The extra folders as the settings file lists them: read(i) gives the
// stored value of key i (Path0, Path1, ...); the list ends before the first
// value that is empty once trimmed. The values come back trimmed.
std::vector<std::string> StoredFolders(const std::function<std::string(int)>& read);

// How the program's code page splits text into characters and lowers it.
// In a double-byte code page the second byte of a character can be the
// byte of a backslash, so "ends in a backslash" asks about the last
// character, not the last byte.
struct MultibyteText {
    std::function<bool(unsigned char)> isLeadByte;
    std::function<std::string(const std::string&)> toLower;
};

// The folder as it is stored: with a trailing backslash, in lower case.
std::string NormaliseFolder(const std::string& folder, const MultibyteText& text);

// The values of Path0, Path1, ... for the items of the list, in list order:
// each normalised, and left out when an earlier item normalises to the same
// text.
std::vector<std::string> FoldersToSave(const std::vector<std::string>& items,
                                       const MultibyteText& text);

// The stored text of a two-way choice: "1" for the second button of its
// group, "0" for the first, for none and for anything else.
const char* ChoiceFlag(int choice);

// What the page shows after loading.
struct LoadedOptions {
    int order;                  // radio index of the order group
    int showTime;               // radio index of the show-time group
    bool passwordNote;          // the red note is shown
    bool minutesChoiceEnabled;  // "Show any screensaver for" and "minuts"
    bool minutesFieldEnabled;   // the minutes edit and its spin
};
LoadedOptions LoadOptions(int storedOrder, int storedShowTime, bool passwordProtected);

}  // namespace velmora::options
