#pragma once
// Checks of the rotation list that the launcher makes beside the pick: whether
// a picked entry can be started, and whether any listed entry still can.
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::runner {

// A listed file that can be started: a plain file (no pattern, no folder)
// whose path fits a MAX_PATH buffer.
bool ListedFileUsable(const std::string& path);

// Whether any entry the picker can reach names a file that can be started.
bool AnyListedFileUsable();

// ListedFileUsable for many entries at once (one pass over the list): a
// folder in which a file was found gone is listed once, and a name it does
// not hold is not there. What the
// listing finds, or cannot tell (a folder it cannot list), is asked of the
// file itself, so the answer is ListedFileUsable's.
class ListedFiles {
public:
    bool Usable(const std::string& storedPath);

private:
    // The folder's file names (long and short), upper case; false when the
    // folder could not be listed.
    bool Listed(const std::string& folder, const std::vector<std::string>*& held);

    std::map<std::string, std::vector<std::string>> m_folders;
    std::map<std::string, bool> m_unlisted;
    std::set<std::string> m_missed;
};

}  // namespace velmora::runner
