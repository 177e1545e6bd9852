#include "tests/support/win_test_support.h"

#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

namespace vtest {

std::string BinDir() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.rfind('\\'));
}

std::string WindowsDir() {
    char path[MAX_PATH];
    UINT n = GetWindowsDirectoryA(path, sizeof path);
    return std::string(path, n);
}

std::string IniPath() { return WindowsDir() + "\\Velmora.ini"; }

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string bytes = ReadFileBytes(path);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string LongPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return path;
    return std::string(buffer, n);
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(LongPath(a).c_str(), LongPath(b).c_str()) == 0;
}

TempDir::TempDir(const char* tag) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static LONG counter = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%s%s_%lu_%ld", base, tag, GetCurrentProcessId(),
                      InterlockedIncrement(&counter));
        if (CreateDirectoryA(name, nullptr)) {
            m_path = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempDir::~TempDir() {
    if (!m_path.empty()) RemoveTree(m_path);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!std::strcmp(data.cFileName, ".") || !std::strcmp(data.cFileName, "..")) continue;
            std::string child = path + "\\" + data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                // A program that just ended may still hold its file for a moment.
                for (int i = 0; i < 50 && !DeleteFileA(child.c_str()); ++i) Sleep(20);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    for (int i = 0; i < 50 && !RemoveDirectoryA(path.c_str()); ++i) Sleep(20);
}

FileRestorer::FileRestorer(std::string path) : m_path(std::move(path)) {
    m_existed = PathExists(m_path);
    if (m_existed) m_bytes = ReadFileBytes(m_path);
}

FileRestorer::~FileRestorer() {
    // The profile functions may cache the file; flush before replacing it.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str());
    if (m_existed)
        WriteFileBytes(m_path, m_bytes);
    else
        DeleteFileA(m_path.c_str());
}

RegValueRestorer::RegValueRestorer(HKEY root, std::string subkey, std::string value)
    : m_root(root), m_subkey(std::move(subkey)), m_value(std::move(value)) {
    HKEY key;
    if (RegOpenKeyExA(m_root, m_subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(key, m_value.c_str(), nullptr, &m_type, nullptr, &size) ==
        ERROR_SUCCESS) {
        m_data.resize(size);
        m_existed = RegQueryValueExA(key, m_value.c_str(), nullptr, &m_type, m_data.data(),
                                     &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
}

RegValueRestorer::~RegValueRestorer() {
    if (m_existed)
        SetRegBytes(m_root, m_subkey, m_value, m_data.data(), static_cast<DWORD>(m_data.size()),
                    m_type);
    else
        DeleteRegValue(m_root, m_subkey, m_value);
}

bool SetRegBytes(HKEY root, const std::string& subkey, const std::string& value, const void* data,
                 DWORD size, DWORD type) {
    HKEY key;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(key, value.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
              ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool SetRegString(HKEY root, const std::string& subkey, const std::string& value,
                  const std::string& data, DWORD type) {
    return SetRegBytes(root, subkey, value, data.c_str(), static_cast<DWORD>(data.size() + 1),
                       type);
}

bool SetRegDword(HKEY root, const std::string& subkey, const std::string& value, DWORD data) {
    return SetRegBytes(root, subkey, value, &data, sizeof data, REG_DWORD);
}

void DeleteRegValue(HKEY root, const std::string& subkey, const std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, value.c_str());
    RegCloseKey(key);
}

void DeleteRegTree(HKEY root, const std::string& subkey) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        char name[256];
        DWORD size = sizeof name;
        while (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS) {
            DeleteRegTree(key, name);
            size = sizeof name;
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(root, subkey.c_str());
}

WineVersionFor::WineVersionFor(std::string exeName, const char* version)
    : m_key("Software\\Wine\\AppDefaults\\" + exeName) {
    SetRegString(HKEY_CURRENT_USER, m_key, "Version", version);
}

WineVersionFor::~WineVersionFor() { DeleteRegTree(HKEY_CURRENT_USER, m_key); }

Process::~Process() { Kill(); }

bool Process::Start(const std::string& applicationName, const std::string& commandLine,
                    const std::string& currentDir) {
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    // Wine's own start of a process (its preloader reserving the address
    // ranges, the new process reaching the server) fails now and then on a
    // loaded machine, before any of the program's code has run: that is tried
    // again, and said. A program that cannot be found or loaded is not.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessA(applicationName.empty() ? nullptr : applicationName.c_str(), cmd.data(),
                           nullptr, nullptr, FALSE, 0, nullptr,
                           currentDir.empty() ? nullptr : currentDir.c_str(), &si, &m_pi))
            return true;
        const DWORD error = GetLastError();
        std::fprintf(stderr, "starting %s failed (error %lu, attempt %d)\n", commandLine.c_str(),
                     error, attempt);
        if (attempt == 3 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_BAD_EXE_FORMAT || error == ERROR_DIRECTORY)
            return false;
        Sleep(500);
    }
}

bool Process::WaitForExit(DWORD timeoutMs) {
    if (!m_pi.hProcess) return true;
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0;
        DWORD rc = MsgWaitForMultipleObjects(1, &m_pi.hProcess, FALSE, timeoutMs - elapsed,
                                             QS_ALLINPUT);
        if (rc == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool Process::Running() const {
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::ExitCode() const {
    DWORD code = ~0u;
    if (m_pi.hProcess) GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void Process::Kill() {
    if (!m_pi.hProcess) return;
    if (Running()) {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
    m_pi = {};
}

DWORD RunToEnd(const std::string& commandLine, DWORD timeoutMs) {
    Process p;
    if (!p.Start("", commandLine)) return ~0u;
    if (!p.WaitForExit(timeoutMs)) return ~0u;
    return p.ExitCode();
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return condition();
        PumpFor(20);
    }
    return true;
}

std::string WindowText(HWND hwnd) {
    char text[1024] = "";
    // WM_GETTEXT works across processes; GetWindowText would not ask them.
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::string ClassNameOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

namespace {
struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == s->pid) s->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD pid, const std::string& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindowsOf(pid)) {
                if (ClassNameOf(hwnd) == "#32770" && IsWindowVisible(hwnd) &&
                    WindowText(hwnd) == caption) {
                    found = hwnd;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND WaitForAnsweringWindow(const char* title, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA(nullptr, title)) != nullptr; }, timeoutMs);
    DWORD_PTR answer = 0;
    if (window && !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer))
        return nullptr;
    return window;
}

HWND AnyDialogOf(DWORD pid) {
    for (HWND hwnd : TopLevelWindowsOf(pid))
        if (ClassNameOf(hwnd) == "#32770" && IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
}

namespace {
struct DescendantSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchDescendant(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<DescendantSearch*>(lp);
    if (lstrcmpiA(ClassNameOf(hwnd).c_str(), s->className) != 0) return TRUE;
    s->found = hwnd;
    return FALSE;
}
}  // namespace

HWND FindDescendant(HWND parent, const char* className) {
    DescendantSearch search{className, nullptr};
    EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::string> StaticTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (lstrcmpiA(ClassNameOf(child).c_str(), "Static") == 0)
            texts.push_back(WindowText(child));
    return texts;
}

std::string MessageBoxText(HWND box) {
    // The message text is the box's static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text) return WindowText(text);
    for (const std::string& t : StaticTexts(box))
        if (!t.empty()) return t;
    return "";
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

NamedEvent::NamedEvent(const char* tag) {
    static LONG counter = 0;
    char name[128];
    std::snprintf(name, sizeof name, "VelmoraTest_%s_%lu_%ld", tag, GetCurrentProcessId(),
                  InterlockedIncrement(&counter));
    m_name = name;
    m_event = CreateEventA(nullptr, TRUE, FALSE, name);
}

NamedEvent::~NamedEvent() {
    SetEvent(m_event);
    CloseHandle(m_event);
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : m_name(std::move(name)) {
    char old[4096];
    DWORD n = GetEnvironmentVariableA(m_name.c_str(), old, sizeof old);
    m_had = n > 0 && n < sizeof old;
    if (m_had) m_old = old;
    SetEnvironmentVariableA(m_name.c_str(), value.c_str());
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
}

std::vector<ProbeStart> ReadProbeLog(const std::string& path) {
    std::vector<ProbeStart> starts;
    for (const std::string& line : ReadLines(path)) {
        ProbeStart s;
        size_t a = line.find('\t');
        size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
        size_t c = b == std::string::npos ? b : line.find('\t', b + 1);
        if (c == std::string::npos) continue;
        s.pid = std::strtoul(line.substr(0, a).c_str(), nullptr, 10);
        s.ppid = std::strtoul(line.substr(a + 1, b - a - 1).c_str(), nullptr, 10);
        s.commandLine = line.substr(b + 1, c - b - 1);
        s.currentDir = line.substr(c + 1);
        starts.push_back(s);
    }
    return starts;
}

std::string ArgumentsOf(const std::string& commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        i = commandLine.find('"', 1);
        i = i == std::string::npos ? commandLine.size() : i + 1;
    } else {
        i = commandLine.find(' ');
        if (i == std::string::npos) i = commandLine.size();
    }
    while (i < commandLine.size() && commandLine[i] == ' ') ++i;
    return commandLine.substr(i);
}


bool WaitPumping(HANDLE handle, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        DWORD rc = MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (rc == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

OpenedProcess::OpenedProcess(DWORD pid)
    : m_pid(pid),
      m_process(pid ? OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE,
                                  FALSE, pid)
                    : nullptr) {}

OpenedProcess::~OpenedProcess() {
    if (!m_process) return;
    if (Running()) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool OpenedProcess::Running() const {
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

DWORD OpenedProcess::ExitCode() const {
    DWORD code = ~0u;
    if (m_process) GetExitCodeProcess(m_process, &code);
    return code;
}

HWND WaitForVisibleWindow(DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindowsOf(pid))
                if (IsWindowVisible(hwnd)) {
                    found = hwnd;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

std::set<DWORD> ThreadsOf(DWORD pid) {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == pid) ids.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

bool ClickAt(HWND hwnd, POINT point, DWORD timeoutMs) {
    // A click goes to whatever the screen shows at the point: a window still
    // on its way to the front would lose it.
    bool shown = WaitUntil(
        [&] {
            HWND under = WindowFromPoint(point);
            return IsWindowVisible(hwnd) && (under == hwnd || IsChild(hwnd, under));
        },
        timeoutMs);
    if (!shown) return false;
    SetCursorPos(point.x, point.y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool ClickMiddleOf(HWND hwnd, DWORD timeoutMs) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return ClickAt(hwnd, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, timeoutMs);
}

}  // namespace vtest

namespace vtest {

ConfigProgram::ConfigProgram(const std::string& currentDir) {
    const std::string exe = BinDir() + "\\Velmora.exe";
    if (process.Start(exe, "\"" + exe + "\"", currentDir.empty() ? BinDir() : currentDir))
        sheet = WaitForDialog(process.Id(), "Velmora 2.0.1", 30000);
}

ConfigProgram::~ConfigProgram() {
    if (sheet && IsWindow(sheet)) PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    if (!process.WaitForExit(30000)) process.Kill();
}

HWND ConfigProgram::Show(int index) {
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    HWND page = nullptr;
    WaitUntil(
        [&] {
            page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            return page && IsWindowVisible(page);
        },
        30000);
    return page && IsWindowVisible(page) ? page : nullptr;
}

}  // namespace vtest
