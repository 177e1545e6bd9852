#pragma once
// Helpers for tests that drive real Windows programs, windows and settings
// under Wine. Everything here cleans up after itself.
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vtest {

// The folder that holds the test programs and the deliverables.
std::string BinDir();
std::string WindowsDir();
// The path Windows gives the settings file of both programs.
std::string IniPath();

bool PathExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::vector<std::string> ReadLines(const std::string& path);
// Case-insensitive comparison of two paths after expanding 8.3 names.
bool SamePath(const std::string& a, const std::string& b);
std::string LongPath(const std::string& path);

// A fresh folder under the temporary folder, removed with its content.
class TempDir {
public:
    explicit TempDir(const char* tag = "vt");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);

// Keeps a file's bytes (or its absence) and puts them back at destruction.
class FileRestorer {
public:
    explicit FileRestorer(std::string path);
    ~FileRestorer();
    FileRestorer(const FileRestorer&) = delete;
    FileRestorer& operator=(const FileRestorer&) = delete;

private:
    std::string m_path;
    bool m_existed;
    std::string m_bytes;
};

// Keeps one registry value (or its absence) and puts it back at destruction.
class RegValueRestorer {
public:
    RegValueRestorer(HKEY root, std::string subkey, std::string value);
    ~RegValueRestorer();
    RegValueRestorer(const RegValueRestorer&) = delete;
    RegValueRestorer& operator=(const RegValueRestorer&) = delete;

private:
    HKEY m_root;
    std::string m_subkey, m_value;
    bool m_existed = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

bool SetRegString(HKEY root, const std::string& subkey, const std::string& value,
                  const std::string& data, DWORD type = REG_SZ);
bool SetRegBytes(HKEY root, const std::string& subkey, const std::string& value, const void* data,
                 DWORD size, DWORD type);
bool SetRegDword(HKEY root, const std::string& subkey, const std::string& value, DWORD data);
void DeleteRegValue(HKEY root, const std::string& subkey, const std::string& value);
void DeleteRegTree(HKEY root, const std::string& subkey);

// Makes Wine report another Windows version to one program (by file name),
// and removes that setting again at destruction.
class WineVersionFor {
public:
    WineVersionFor(std::string exeName, const char* version);
    ~WineVersionFor();
    WineVersionFor(const WineVersionFor&) = delete;
    WineVersionFor& operator=(const WineVersionFor&) = delete;

private:
    std::string m_key;
};

// A started process, ended by handle at destruction if still running.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // applicationName may be empty (the command line then names the program).
    bool Start(const std::string& applicationName, const std::string& commandLine,
               const std::string& currentDir = "");
    // Waits, pumping this thread's messages; true when the process ended.
    bool WaitForExit(DWORD timeoutMs);
    bool Running() const;
    DWORD ExitCode() const;
    DWORD Id() const { return m_pi.dwProcessId; }
    HANDLE Handle() const { return m_pi.hProcess; }
    void Kill();

private:
    PROCESS_INFORMATION m_pi{};
};

// Runs a program to its end and gives its exit code (or ~0u on failure).
DWORD RunToEnd(const std::string& commandLine, DWORD timeoutMs = 20000);

// Sleeps while pumping this thread's messages.
void PumpFor(DWORD ms);
// Polls until the condition holds or the time is up, pumping messages.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

std::string WindowText(HWND hwnd);
std::string ClassNameOf(HWND hwnd);
// Top-level windows of a process (visible or not).
std::vector<HWND> TopLevelWindowsOf(DWORD pid);
// The ids of a process's threads now.
std::set<DWORD> ThreadsOf(DWORD pid);
// A dialog (class #32770) of the process with the given caption, waited for.
HWND WaitForDialog(DWORD pid, const std::string& caption, DWORD timeoutMs);
// The top-level window of that title once it exists and has answered a
// message (it is made, and what its making sets up is in place); null after
// the wait.
HWND WaitForAnsweringWindow(const char* title, DWORD timeoutMs);
// Any dialog of the process, or null.
HWND AnyDialogOf(DWORD pid);
// The first descendant window of the given class, or null.
HWND FindDescendant(HWND parent, const char* className);
// The texts of a dialog's static controls, in child order.
std::vector<std::string> StaticTexts(HWND dialog);
// The message text of a message box.
std::string MessageBoxText(HWND box);
// Presses a dialog's button as a click would.
void PressButton(HWND dialog, int id);

// Velmora.exe started as a user starts it (in currentDir, else its own
// folder) and its sheet waited for; at destruction the sheet is cancelled and
// the process ended if it does not end by itself.
class ConfigProgram {
public:
    explicit ConfigProgram(const std::string& currentDir = "");
    ~ConfigProgram();
    ConfigProgram(const ConfigProgram&) = delete;
    ConfigProgram& operator=(const ConfigProgram&) = delete;
    // Shows the page at this index; its window once visible, or null.
    HWND Show(int index);

    Process process;
    HWND sheet = nullptr;
};

// An event other processes can open by name, unique to this test process.
class NamedEvent {
public:
    explicit NamedEvent(const char* tag);
    ~NamedEvent();
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;
    const std::string& name() const { return m_name; }
    void Set() { SetEvent(m_event); }
    void Reset() { ResetEvent(m_event); }

private:
    std::string m_name;
    HANDLE m_event;
};

// Sets an environment variable for this process (and so for its children)
// and restores it at destruction.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};

// One line of a probe log: process id, parent id, command line, current folder.
struct ProbeStart {
    DWORD pid = 0;
    DWORD ppid = 0;
    std::string commandLine;
    std::string currentDir;
};
std::vector<ProbeStart> ReadProbeLog(const std::string& path);

// What a command line passes beyond its program path. A program started with
// an empty command line sees "" on Windows; Wine fills in the quoted program
// path, so both read as no arguments here.
std::string ArgumentsOf(const std::string& commandLine);


// Waits for a handle to be signalled, pumping this thread's messages; true
// when it was.
bool WaitPumping(HANDLE handle, DWORD timeoutMs);

// A process the test did not start itself (a grandchild, say), opened by id
// and ended by handle at destruction if still running.
class OpenedProcess {
public:
    explicit OpenedProcess(DWORD pid);
    ~OpenedProcess();
    OpenedProcess(const OpenedProcess&) = delete;
    OpenedProcess& operator=(const OpenedProcess&) = delete;

    bool IsOpen() const { return m_process != nullptr; }
    bool WaitForExit(DWORD timeoutMs) { return !m_process || WaitPumping(m_process, timeoutMs); }
    bool Running() const;
    DWORD ExitCode() const;
    DWORD Id() const { return m_pid; }

private:
    DWORD m_pid;
    HANDLE m_process;
};

// A left click of the real mouse at the middle of the window, once the
// screen shows the window (or one of its children) there; false when it
// never did.
bool ClickMiddleOf(HWND hwnd, DWORD timeoutMs = 20000);
// The same at a point on the screen, which must show the window.
bool ClickAt(HWND hwnd, POINT point, DWORD timeoutMs = 20000);

// The first visible top-level window of a process, waited for; null if none came.
HWND WaitForVisibleWindow(DWORD pid, DWORD timeoutMs);

}  // namespace vtest
