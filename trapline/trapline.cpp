#include "trapline/trapline.h"

#include <tlhelp32.h>

#include <cstring>

#include "runner/hand_off_rule.h"

namespace {

constexpr size_t kMaxCandidates = 256;


// The damaged variant the runner's tests use: it never becomes ready.
#ifdef TRAPLINE_REFUSE_READY
constexpr bool kRefuseReady = true;
#else
constexpr bool kRefuseReady = false;
#endif

#ifndef PROCESS_QUERY_LIMITED_INFORMATION
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#endif

// The notification target, in a section every process that maps this DLL
// shares: a global hook runs ShellProc in the threads of other processes,
// which must post to the window the hooking process named.
struct SharedTarget {
    volatile LONG window;
    volatile LONG message;
};
SharedTarget g_target __attribute__((section(".tlshare"), shared)) = {0, 0};

// Per process.
HMODULE g_module = nullptr;
volatile LONG g_enabled = 0;
PVOID volatile g_hook = nullptr;
// The target window this process set, so that it clears only its own.
volatile LONG g_ownTarget = 0;

// Toolhelp is looked up at run time: Windows NT 4 has no Toolhelp in
// kernel32, and then the library says it is not ready instead of failing to
// load.
struct Toolhelp {
    decltype(&::CreateToolhelp32Snapshot) snapshot = nullptr;
    decltype(&::Process32First) processFirst = nullptr;
    decltype(&::Process32Next) processNext = nullptr;
    decltype(&::Module32First) moduleFirst = nullptr;

    bool Resolve() {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (!kernel) return false;
        return Find(kernel, "CreateToolhelp32Snapshot", snapshot) &&
               Find(kernel, "Process32First", processFirst) &&
               Find(kernel, "Process32Next", processNext) &&
               Find(kernel, "Module32First", moduleFirst);
    }

private:
    template <typename Fn>
    static bool Find(HMODULE module, const char* name, Fn& fn) {
        fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        return fn != nullptr;
    }
};

void RemoveHook() {
    HHOOK hook = static_cast<HHOOK>(InterlockedExchangePointer(&g_hook, nullptr));
    if (hook) UnhookWindowsHookEx(hook);
    LONG own = InterlockedExchange(&g_ownTarget, 0);
    if (own && InterlockedCompareExchange(&g_target.window, 0, own) == own)
        InterlockedExchange(&g_target.message, 0);
}

uint64_t FileTimeValue(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

HANDLE OpenForTimes(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    // Vista and later open protected processes only for the limited right.
    if (!process)
        process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    return process;
}

// Whether the process still runs, and when it was created (0 when it cannot
// be asked). One that has ended but is still held open by a handle is no
// hand-off.
velmora::handoff::ProcessRecord Record(const PROCESSENTRY32& entry) {
    velmora::handoff::ProcessRecord record;
    record.id = entry.th32ProcessID;
    record.parentId = entry.th32ParentProcessID;
    HANDLE process = OpenForTimes(entry.th32ProcessID);
    if (!process) {
        // The snapshot lists running processes; without its times it can
        // never count as a hand-off, though.
        record.alive = true;
        return record;
    }
    record.alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    FILETIME creation, exit, kernel, user;
    if (GetProcessTimes(process, &creation, &exit, &kernel, &user))
        record.created = FileTimeValue(creation);
    CloseHandle(process);
    return record;
}

// The life of the process asked about: created, and ended (now while it
// runs). False when it cannot be opened: its caller holds its handle open
// until it has asked, so that the id cannot have been reused.
bool LifeOf(DWORD pid, velmora::handoff::ChildLife& life) {
    HANDLE process = OpenForTimes(pid);
    if (!process) return false;
    FILETIME creation, exit, kernel, user;
    bool ok = GetProcessTimes(process, &creation, &exit, &kernel, &user) != FALSE;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    if (!ok) return false;
    life.id = pid;
    life.created = FileTimeValue(creation);
    if (running) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        life.ended = FileTimeValue(now);
    } else {
        life.ended = FileTimeValue(exit);
    }
    return life.created != 0;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" {

LRESULT WINAPI ShellProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HSHELL_WINDOWCREATED || code == HSHELL_WINDOWDESTROYED) {
        HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(g_target.window));
        UINT message = static_cast<UINT>(g_target.message);
        if (window && message)
            PostMessageA(window, message, static_cast<WPARAM>(code),
                         static_cast<LPARAM>(wParam));
    }
    // The hook handle is ignored on NT; the chain goes on either way.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI EnableWindowHook(BOOL enable, HWND notifyWindow, UINT notifyMessage, DWORD threadId) {
    RemoveHook();
    if (!enable) return TRUE;

    // The target is in place before the first call can come.
    LONG window = notifyMessage ? static_cast<LONG>(reinterpret_cast<LONG_PTR>(notifyWindow)) : 0;
    if (window) {
        InterlockedExchange(&g_target.message, static_cast<LONG>(notifyMessage));
        InterlockedExchange(&g_target.window, window);
        InterlockedExchange(&g_ownTarget, window);
    }
    // The procedure lives in this DLL, so the hook names its module even for
    // a thread of the calling process.
    HHOOK hook = SetWindowsHookExA(WH_SHELL, ShellProc, g_module, threadId);
    if (!hook) {
        RemoveHook();
        return FALSE;
    }
    HHOOK previous = static_cast<HHOOK>(InterlockedExchangePointer(&g_hook, hook));
    if (previous) UnhookWindowsHookEx(previous);  // another thread set one meanwhile
    return TRUE;
}

BOOL WINAPI GetProgramNameFromHandle(HWND hwnd, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) return FALSE;
    buffer[0] = '\0';
    DWORD pid = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &pid) || pid == 0) return FALSE;
    Toolhelp toolhelp;
    if (!toolhelp.Resolve()) return FALSE;

    // A module snapshot fails with ERROR_BAD_LENGTH while the process is
    // still loading or unloading modules; asking again is the documented cure.
    HANDLE snap = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 8 && snap == INVALID_HANDLE_VALUE; ++attempt) {
        snap = toolhelp.snapshot(TH32CS_SNAPMODULE, pid);
        if (snap == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) break;
    }
    if (snap == INVALID_HANDLE_VALUE) return FALSE;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    BOOL ok = toolhelp.moduleFirst(snap, &module);
    CloseHandle(snap);
    if (!ok) return FALSE;

    // The snapshot's path is terminated within its array.
    size_t length = strnlen(module.szExePath, sizeof module.szExePath);
    if (length == 0 || length >= sizeof module.szExePath || length >= size) return FALSE;
    std::memcpy(buffer, module.szExePath, length + 1);
    return TRUE;
}

BOOL WINAPI EnableFunctionAddress(BOOL enable) {
    if (!enable) {
        InterlockedExchange(&g_enabled, 0);
        RemoveHook();
        return TRUE;
    }
    Toolhelp toolhelp;
    if (kRefuseReady || !toolhelp.Resolve()) {
        InterlockedExchange(&g_enabled, 0);
        return FALSE;
    }
    InterlockedExchange(&g_enabled, 1);
    return TRUE;
}

BOOL WINAPI FindProcessChild(DWORD processId, DWORD* childId) {
    if (!childId || !g_enabled) return FALSE;
    Toolhelp toolhelp;
    if (!toolhelp.Resolve()) return FALSE;
    velmora::handoff::ChildLife life;
    if (!LifeOf(processId, life)) return FALSE;
    HANDLE snap = toolhelp.snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return FALSE;

    // A fixed table, not a growing one: this library is loaded into other
    // processes by its hooks and carries no C++ runtime of its own. A child
    // with more live children than this is not a screensaver handing over.
    velmora::handoff::ProcessRecord snapshot[kMaxCandidates];
    size_t count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = toolhelp.processFirst(snap, &entry); ok && count < kMaxCandidates;
         ok = toolhelp.processNext(snap, &entry)) {
        // Only candidates are opened for their times.
        if (entry.th32ParentProcessID == processId) snapshot[count++] = Record(entry);
    }
    CloseHandle(snap);
    uint32_t found = 0;
    if (!velmora::handoff::ChooseHandOff(snapshot, count, life, GetCurrentProcessId(), found))
        return FALSE;
    *childId = found;
    return TRUE;
}

DWORD WINAPI GetTraplineDllVersion(DWORD* major, DWORD* minor) {
    if (major) *major = kTraplineVersionMajor;
    if (minor) *minor = kTraplineVersionMinor;
    return MAKELONG(kTraplineVersionMinor, kTraplineVersionMajor);
}

}  // extern "C"
