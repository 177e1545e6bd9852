#include "savers/probe/probe_log.h"

#include <tlhelp32.h>

#include <cstdio>
#include <string>

namespace velmora::probe {

DWORD ParentProcessId() {
    DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry))
        if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
    CloseHandle(snap);
    return parent;
}

void AppendProbeStart(const char* logVariable) {
    char log[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(logVariable, log, sizeof log);
    if (n == 0 || n >= sizeof log) return;
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    char head[64];
    std::snprintf(head, sizeof head, "%lu\t%lu\t", GetCurrentProcessId(), ParentProcessId());
    std::string line = head;
    line += GetCommandLineA();
    line += '\t';
    line += cwd;
    line += "\r\n";
    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace velmora::probe
