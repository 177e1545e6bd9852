#include "config/options_rules.h"

#include <cstring>

namespace velmora::options {

namespace {
bool IsWhiteSpace(char c) { return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr; }
}  // namespace

std::string TrimWhiteSpace(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsWhiteSpace(text[begin])) ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> StoredFolders(const std::function<std::string(int)>& read) {
    std::vector<std::string> folders;
    for (int i = 0;; ++i) {
        std::string folder = TrimWhiteSpace(read(i));
        if (folder.empty()) break;
        folders.push_back(folder);
    }
    return folders;
}

std::string NormaliseFolder(const std::string& folder, const MultibyteText& text) {
    // Walk the characters to find where the last one starts. A lead byte at
    // the very end is half a character: it is dropped, since the backslash
    // added after it would pair with it as its trail byte when the stored
    // text is read back, and each save would add one more backslash.
    std::string normal = folder;
    size_t last = 0, before = 0;
    for (size_t i = 0; i < normal.size();) {
        before = last;
        last = i;
        bool lead = text.isLeadByte(static_cast<unsigned char>(normal[i]));
        if (lead && i + 1 == normal.size()) {
            normal.pop_back();
            last = before;
            break;
        }
        i += lead ? 2 : 1;
    }
    if (normal.empty() || last != normal.size() - 1 || normal[last] != '\\') normal += '\\';
    return text.toLower(normal);
}

std::vector<std::string> FoldersToSave(const std::vector<std::string>& items,
                                       const MultibyteText& text) {
    std::vector<std::string> normal, saved;
    for (const std::string& item : items) {
        std::string folder = NormaliseFolder(item, text);
        bool earlier = false;
        for (const std::string& before : normal) earlier = earlier || before == folder;
        normal.push_back(folder);
        if (!earlier) saved.push_back(folder);
    }
    return saved;
}

const char* ChoiceFlag(int choice) { return choice == 1 ? "1" : "0"; }

LoadedOptions LoadOptions(int storedOrder, int storedShowTime, bool passwordProtected) {
    LoadedOptions loaded{};
    loaded.order = storedOrder;
    loaded.showTime = passwordProtected ? 0 : storedShowTime;
    loaded.passwordNote = passwordProtected;
    loaded.minutesChoiceEnabled = !passwordProtected;
    loaded.minutesFieldEnabled = loaded.showTime != 0;
    return loaded;
}

}  // namespace velmora::options
