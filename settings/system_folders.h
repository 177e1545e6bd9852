#pragma once
// The folders that hold the machine's screensavers, as this program (the
// 32-bit or the x64 edition) can reach them on 32-bit and on 64-bit Windows.
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

// "<Windows>\SysWOW64\" (GetSystemWow64DirectoryA) in the x64 edition, the
// folder where 64-bit Windows keeps the 32-bit programs of the system
// folder, and so the screensavers that 32-bit installers put there; "" in
// the 32-bit edition, which sees that folder as its system folder.
std::string SysWow64Folder();

// The system folder of the other bitness, listed after the system folder:
// Sysnative in the 32-bit edition, SysWOW64 in the x64 edition ("" where
// there is none).
std::string OtherSystemFolder();

// A stored path as this program reaches the file. The x64 edition knows no
// Sysnative alias: a path through it, written by the 32-bit edition, names a
// file of the real system folder, which is System32 to a 64-bit program.
// Other paths, and every path in the 32-bit edition, stay.
std::string ReachablePath(const std::string& path);

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
