// The processes the Trapline tests look at. One program, several roles:
//   handoff <event> <n>   starts n copies of itself as "linger <event>", one
//                         after another, and ends at once; its exit code is
//                         the id of the last one started (0 if a start failed)
//   linger <event>        waits for the named event (or a minute, so that a
//                         failed test never leaves it behind for long)
//   window <event>        the same, with a top-level window of its own
//   ask <dll> <pid>       loads the library, switches it on and asks
//                         FindProcessChild(pid); exit code: the child's id,
//                         or kAskNone, kAskNoLibrary, kAskNotReady
// Process ids are multiples of four, so the small codes never clash with one.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/trapline/handoff_helper.h"
#include "trapline/trapline.h"

namespace {

void Linger(const char* eventName) {
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, eventName);
    if (!release) return;
    WaitForSingleObject(release, 60000);
    CloseHandle(release);
}

DWORD HandOff(const char* eventName, int count) {
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    if (n == 0 || n >= sizeof self) return 0;
    DWORD last = 0;
    for (int i = 0; i < count; ++i) {
        std::string commandLine = std::string("\"") + self + "\" linger " + eventName;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi))
            return 0;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        last = pi.dwProcessId;
        // Creation times are what tells the copies apart; give the next a
        // later one even on a coarse clock.
        if (i + 1 < count) Sleep(30);
    }
    return last;
}

DWORD WindowAndLinger(const char* eventName) {
    HWND window = CreateWindowExA(0, "STATIC", kHelperWindowTitle, WS_OVERLAPPED, 0, 0, 50, 50,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return 1;
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, eventName);
    if (release) {
        // Pump, so that the test's messages to the window are answered.
        const DWORD start = GetTickCount();
        for (DWORD elapsed = 0; elapsed < 60000; elapsed = GetTickCount() - start) {
            if (MsgWaitForMultipleObjects(1, &release, FALSE, 60000 - elapsed, QS_ALLINPUT) !=
                WAIT_OBJECT_0 + 1)
                break;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        CloseHandle(release);
    }
    DestroyWindow(window);
    return 0;
}

DWORD Ask(const char* dll, DWORD pid) {
    HMODULE library = LoadLibraryA(dll);
    if (!library) return kAskNoLibrary;
    auto enable = reinterpret_cast<EnableFunctionAddressFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "_EnableFunctionAddress@4")));
    auto find = reinterpret_cast<FindProcessChildFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "_FindProcessChild@8")));
    DWORD answer = kAskNotReady;
    if (enable && find && enable(TRUE)) {
        DWORD child = 0;
        answer = find(pid, &child) ? child : kAskNone;
        enable(FALSE);
    }
    FreeLibrary(library);
    return answer;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 1;
    std::string role = __argv[1];
    if (role == "linger") {
        Linger(__argv[2]);
        return 0;
    }
    if (role == "window") return static_cast<int>(WindowAndLinger(__argv[2]));
    if (role == "handoff" && __argc >= 4)
        return static_cast<int>(HandOff(__argv[2], std::atoi(__argv[3])));
    if (role == "ask" && __argc >= 4)
        return static_cast<int>(Ask(__argv[2], std::strtoul(__argv[3], nullptr, 10)));
    return 1;
}
