#include "runner/rotation_checks.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runner/next_choice.h"
#include "runner/profile_list.h"
#include "settings/settings_names.h"
#include "settings/system_folders.h"

namespace names = velmora::settings;

namespace velmora::runner {

bool ListedFileUsable(const std::string& storedPath) {
    const std::string path = names::ReachablePath(storedPath);
    if (path.empty() || path.size() >= static_cast<size_t>(names::kPathBuffer)) return false;
    if (path.find_first_of("*?") != std::string::npos) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::string Upper(std::string text) {
    if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

bool ListedFiles::Listed(const std::string& folder, const std::vector<std::string>*& held) {
    const std::string key = Upper(folder);
    auto found = m_folders.find(key);
    if (found != m_folders.end()) {
        held = &found->second;
        return true;
    }
    if (m_unlisted.count(key)) return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    // A folder that is not there holds nothing; one that cannot be listed
    // for another reason is not answered for.
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_PATH_NOT_FOUND && error != ERROR_FILE_NOT_FOUND) {
            m_unlisted[key] = true;
            return false;
        }
    }
    std::vector<std::string>& list = m_folders[key];
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            list.push_back(Upper(data.cFileName));
            if (data.cAlternateFileName[0]) list.push_back(Upper(data.cAlternateFileName));
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    std::sort(list.begin(), list.end());
    held = &list;
    return true;
}

bool ListedFiles::Usable(const std::string& storedPath) {
    const std::string path = names::ReachablePath(storedPath);
    if (path.empty() || path.size() >= static_cast<size_t>(names::kPathBuffer)) return false;
    if (path.find_first_of("*?") != std::string::npos) return false;
    const size_t slash = path.find_last_of("\\/");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    // Windows drops the last name's trailing dots and spaces. What may be a
    // short name (Wine makes its own, which a listing need not give), or a
    // name beyond ASCII (whose case folding is the file system's), is asked
    // of the file itself.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return c != '~' && static_cast<unsigned char>(c) < 0x80;
    });
    if (!plain || slash == std::string::npos || slash == 0 || name.empty())
        return ListedFileUsable(storedPath);
    // A folder is listed only once a file of it was found gone: a pick whose
    // file is there (System32 holds thousands) costs one look as ever.
    const std::string folder = path.substr(0, slash);
    const std::vector<std::string>* held = nullptr;
    if (!m_missed.count(Upper(folder))) {
        if (ListedFileUsable(storedPath)) return true;
        m_missed.insert(Upper(folder));
        return false;
    }
    if (Listed(folder, held) && !std::binary_search(held->begin(), held->end(), Upper(name)))
        return false;
    return ListedFileUsable(storedPath);
}

bool AnyListedFileUsable() {
    // The section's own key names are walked, so a count that is garbage
    // costs nothing.
    int count = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));
    for (int index : ListedEntryIndices(count)) {
        char key[32];
        wsprintfA(key, names::kKeyEntryFormat, index);
        char value[names::kPathBuffer + 1] = "";
        GetPrivateProfileStringA(names::kSectionScreensaver, key, "", value, sizeof value,
                                 names::kIniFile);
        if (ListedFileUsable(value)) return true;
    }
    return false;
}

}  // namespace velmora::runner
