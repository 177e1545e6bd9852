#include "config/options_rules.h"

#include <cstring>

namespace velmora_options {

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
    // Walk the characters to find where the last one starts; a lead byte at
    // the very end stands alone.
    size_t last = 0;
    for (size_t i = 0; i < folder.size();) {
        last = i;
        bool lead = text.isLeadByte(static_cast<unsigned char>(folder[i]));
        i += lead && i + 1 < folder.size() ? 2 : 1;
    }
    std::string normal = folder;
    if (folder.empty() || last != folder.size() - 1 || folder[last] != '\\') normal += '\\';
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

}  // namespace velmora_options
