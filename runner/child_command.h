#pragma once
// How a child screensaver is started: its command line and working folder,
// from the short path of its file.
#include <string>

// The short path followed by " /s". GetShortPathNameA gives back the long
// path on volumes without 8.3 names, which may hold spaces: quoted, the child
// still finds its switch.
inline std::string ChildCommandLine(const std::string& shortPath) {
    if (shortPath.find(' ') != std::string::npos) return "\"" + shortPath + "\" /s";
    return shortPath + " /s";
}

// The path up to, not including, its last backslash; "" when it has none.
inline std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
