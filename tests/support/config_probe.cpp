// Stands in for Velmora.exe in the tests: records how it was started, then
// lingers until the test releases it (or a minute passes, so that a failed
// test never leaves it behind for long).
#include <windows.h>

#include "savers/probe/probe_log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    velmora::probe::AppendProbeStart("VELMORA_CONFIG_PROBE_LOG");
    char name[256];
    DWORD n = GetEnvironmentVariableA("VELMORA_CONFIG_PROBE_RELEASE", name, sizeof name);
    if (n == 0 || n >= sizeof name) return 0;
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, name);
    if (!release) return 0;
    WaitForSingleObject(release, 60000);
    CloseHandle(release);
    return 0;
}
