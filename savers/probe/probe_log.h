#pragma once
// The line a probe program appends to its log when it starts.
#include <windows.h>

namespace velmora::probe {

// The parent process id, from a Toolhelp snapshot (0 when not found).
DWORD ParentProcessId();

// Appends "pid<TAB>ppid<TAB>command line<TAB>current folder" to the log file
// named by the environment variable, if it is set. Several processes may
// append at once: the file is opened for appending and written in one call.
void AppendProbeStart(const char* logVariable);

}  // namespace velmora::probe
