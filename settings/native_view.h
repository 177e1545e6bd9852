#pragma once
// How a 32-bit program on 64-bit Windows names the real system folder, free
// of Windows. Such a program sees "<Windows>\System32" redirected to the
// 32-bit system folder; "<Windows>\Sysnative" is the alias through which it
// reaches the real one. A 64-bit program started from there knows no
// Sysnative: to it, the same files are in "<Windows>\System32".
#include <string>

namespace velmora::settings {

// True when the path lies directly or deeper in the folder (which ends with
// a backslash). Letters compare without regard to case, as file names do.
bool IsInFolder(const std::string& path, const std::string& folder);

// The path as a program that sees the real system folder names it: a path
// in `sysnativeFolder` moves to `systemFolder` (both end with a backslash);
// any other path, and every path when `sysnativeFolder` is empty, stays.
std::string NativeViewPath(const std::string& path, const std::string& sysnativeFolder,
                           const std::string& systemFolder);

}  // namespace velmora::settings
