#pragma once
// How a program is started, free of Win32: its command line and its working
// folder, from the (short) path of its file.
#include <string>

namespace velmora::process {

// The program followed by the arguments (which bring their own leading
// space). GetShortPathNameA gives back the long path on volumes without 8.3
// names, which may hold spaces: the program is then quoted, so that the
// started program still finds its switch.
std::string CommandLineFor(const std::string& program, const std::string& arguments);

// Whether a byte opens a double-byte character in the current code page.
using LeadBytePredicate = bool (*)(unsigned char);

// The folder of a path: up to, not including, its last backslash; "" when it
// has none. A drive root keeps its backslash ("C:" alone names the drive's
// current folder, not its root). With isLeadByte, the trail byte of a
// double-byte character is never taken for a backslash.
std::string WorkingFolderOf(const std::string& path, LeadBytePredicate isLeadByte = nullptr);

}  // namespace velmora::process
