#pragma once
// What the Trapline tests share: the library loaded for real, the helper
// program's processes, and windows of their own. Each cleans up after itself.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/win_test_support.h"
#include "trapline/trapline.h"

namespace trapline_test {

// One copy of the library, loaded by full path from the bin folder, with its
// six functions looked up; switched off and freed at the end.
class Library {
public:
    explicit Library(const char* file);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HMODULE module() const { return m_module; }
    const std::string& path() const { return m_path; }
    bool Has(const char* name) const;

    ShellProcFn ShellProc = nullptr;
    EnableWindowHookFn EnableWindowHook = nullptr;
    GetProgramNameFromHandleFn GetProgramNameFromHandle = nullptr;
    EnableFunctionAddressFn EnableFunctionAddress = nullptr;
    FindProcessChildFn FindProcessChild = nullptr;
    GetTraplineDllVersionFn GetTraplineDllVersion = nullptr;

private:
    std::string m_path;
    HMODULE m_module = nullptr;
};

std::string HelperPath();
// The helper's command line with the given arguments.
std::string HelperCommand(const std::string& arguments);

// The ids of the processes whose parent is the given one, from a snapshot.
std::vector<DWORD> ChildrenOf(DWORD parent);

// Processes the helper leaves running, and the event that releases them. At
// destruction they are released and waited for, or ended.
class Lingering {
public:
    Lingering() = default;
    ~Lingering();
    Lingering(const Lingering&) = delete;
    Lingering& operator=(const Lingering&) = delete;

    const std::string& eventName() const { return m_release.name(); }
    // Holds the process by handle; false if it could not be opened.
    bool Adopt(DWORD pid);
    // Holds every child the process has; gives their ids.
    std::vector<DWORD> AdoptChildrenOf(DWORD parent);
    // Releases them and waits until they have ended (the handles stay open).
    bool ReleaseAndWait();

private:
    vtest::NamedEvent m_release{"trapline"};
    std::vector<HANDLE> m_processes;
};

// A finished "handoff": its process id, the id it answered (the last copy it
// started, 0 when it failed), and the children it left, held by the Lingering.
struct HandOff {
    DWORD pid = 0;
    DWORD lastChild = 0;
    std::vector<DWORD> children;
};
HandOff RunHandOff(Lingering& lingering, int count);

// A hidden window of this thread (top-level unless a parent is given),
// destroyed at the end.
class TestWindow {
public:
    explicit TestWindow(DWORD style = WS_OVERLAPPED, HWND parent = nullptr);
    ~TestWindow() { Destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }
    void Destroy();

private:
    HWND m_hwnd;
};

}  // namespace trapline_test
