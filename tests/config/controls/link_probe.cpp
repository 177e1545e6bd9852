// Stands in for a web browser or mail program in the link tests: the shell
// starts it with the address it was asked to open, and it appends
// "<process id>\t<address>" to the log the test names, then ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VELMORA_LINK_PROBE_LOG", log, sizeof log);
    if (n == 0 || n >= sizeof log) return 1;
    std::string line = std::to_string(GetCurrentProcessId()) + "\t";
    if (__argc > 1) line += __argv[1];
    line += "\r\n";
    // Appending in one write keeps lines whole when two probes run at once.
    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
