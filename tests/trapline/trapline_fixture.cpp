#include "tests/trapline/trapline_fixture.h"

// After <windows.h>, which it needs.
#include <tlhelp32.h>

namespace trapline_test {

namespace {

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

Library::Library(const char* file) : m_path(vtest::BinDir() + "\\" + file) {
    m_module = LoadLibraryA(m_path.c_str());
    ShellProc = Lookup<ShellProcFn>(m_module, "_ShellProc@12");
    EnableWindowHook = Lookup<EnableWindowHookFn>(m_module, "_EnableWindowHook@16");
    GetProgramNameFromHandle =
        Lookup<GetProgramNameFromHandleFn>(m_module, "_GetProgramNameFromHandle@12");
    EnableFunctionAddress = Lookup<EnableFunctionAddressFn>(m_module, "_EnableFunctionAddress@4");
    FindProcessChild = Lookup<FindProcessChildFn>(m_module, "_FindProcessChild@8");
    GetTraplineDllVersion = Lookup<GetTraplineDllVersionFn>(m_module, "_GetTraplineDllVersion@8");
}

Library::~Library() {
    if (!m_module) return;
    if (EnableFunctionAddress) EnableFunctionAddress(FALSE);
    FreeLibrary(m_module);
}

bool Library::Has(const char* name) const {
    return m_module && GetProcAddress(m_module, name) != nullptr;
}

std::string HelperPath() { return vtest::BinDir() + "\\handoff_helper.exe"; }

std::string HelperCommand(const std::string& arguments) {
    return "\"" + HelperPath() + "\" " + arguments;
}

std::vector<DWORD> ChildrenOf(DWORD parent) {
    std::vector<DWORD> children;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry))
        if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent)
            children.push_back(entry.th32ProcessID);
    CloseHandle(snap);
    return children;
}

Lingering::~Lingering() {
    m_release.Set();
    for (HANDLE process : m_processes) {
        if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

bool Lingering::Adopt(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (!process) return false;
    m_processes.push_back(process);
    return true;
}

std::vector<DWORD> Lingering::AdoptChildrenOf(DWORD parent) {
    std::vector<DWORD> ids;
    for (DWORD pid : ChildrenOf(parent))
        if (Adopt(pid)) ids.push_back(pid);
    return ids;
}

bool Lingering::ReleaseAndWait() {
    m_release.Set();
    for (HANDLE process : m_processes)
        if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) return false;
    return true;
}

HandOff RunHandOff(Lingering& lingering, int count) {
    HandOff result;
    vtest::Process a;
    if (!a.Start(HelperPath(),
                 HelperCommand("handoff " + lingering.eventName() + " " + std::to_string(count))))
        return result;
    result.pid = a.Id();
    // Held, as a runner holds its ended child while it asks about it.
    lingering.Adopt(result.pid);
    bool ended = a.WaitForExit(20000);
    // Even after a failure, what it left is held, to be ended with the test.
    result.children = lingering.AdoptChildrenOf(result.pid);
    if (ended) result.lastChild = a.ExitCode();
    return result;
}

TestWindow::TestWindow(DWORD style, HWND parent)
    : m_hwnd(CreateWindowExA(0, "STATIC", "Trapline test", style, 0, 0, 40, 40, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr)) {}

void TestWindow::Destroy() {
    if (m_hwnd) DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

}  // namespace trapline_test
