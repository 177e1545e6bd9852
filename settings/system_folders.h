#pragma once
// The folders that hold the machine's screensavers, as this 32-bit program
// can reach them on 32-bit and on 64-bit Windows.
#include <string>

namespace velmora::settings {

// True when this program runs as a 32-bit program on 64-bit Windows
// (IsWow64Process, looked up at run time: older systems do not have it).
bool IsWow64();

// The system folder as GetSystemDirectoryA names it, with a backslash. On
// 64-bit Windows this program's file accesses there go to the 32-bit one.
std::string SystemFolder();

// "<Windows>\Sysnative\" on 64-bit Windows, the alias through which this
// program reaches the real system folder; "" elsewhere, and wherever the
// system reports the 9x line.
std::string SysnativeFolder();

// True for a path through the Sysnative alias. Such a path is used as it
// is, not in its short form: the alias is no folder on the disk, and the
// names in the real system folder are short already.
bool IsSysnativePath(const std::string& path);

// A screensaver's path as the started screensaver sees it: a Sysnative path
// becomes the System32 path the 64-bit program knows; others stay. Used for
// its command line and working folder, while the program to start keeps the
// path this program can reach.
std::string ChildViewPath(const std::string& path);

}  // namespace velmora::settings
