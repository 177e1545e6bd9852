#include "tests/e2e/run_session_fixture.h"

namespace run_session_test {

std::string SystemDir() {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n);
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n ? std::string(buffer, n) : path;
}

void Ini(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), "Velmora.ini");
}

std::string IniValue(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

bool ProcessAlive(DWORD pid) {
    HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!p) return false;
    bool alive = WaitForSingleObject(p, 0) == WAIT_TIMEOUT;
    CloseHandle(p);
    return alive;
}

DWORD LastInputTime() {
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    return GetLastInputInfo(&info) ? info.dwTime : 0;
}

bool XDoTool(const std::string& arguments) {
    // Wine starts a Unix program given by its Unix path, but gives back no
    // handle to wait on: the caller waits for what it does.
    std::string text = "/usr/bin/xdotool " + arguments;
    std::vector<char> command(text.begin(), text.end());
    command.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return true;
}

bool XPointerMove(int x, int y) {
    if (!XDoTool("mousemove " + std::to_string(x) + " " + std::to_string(y))) return false;
    return WaitUntil(
        [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == x && at.y == y;
        },
        kWait);
}

InputCounter::InputCounter() {
    s_keys = s_mouse = 0;
    GetCursorPos(&s_rest);
    m_keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, Key, GetModuleHandleA(nullptr), 0);
    m_pointer = SetWindowsHookExA(WH_MOUSE_LL, Mouse, GetModuleHandleA(nullptr), 0);
}

InputCounter::~InputCounter() {
    if (m_keyboard) UnhookWindowsHookEx(m_keyboard);
    if (m_pointer) UnhookWindowsHookEx(m_pointer);
}

LRESULT CALLBACK InputCounter::Key(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) ++s_keys;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputCounter::Mouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        bool restingMove = wParam == WM_MOUSEMOVE && !(event->flags & LLMHF_INJECTED) &&
                           event->pt.x == s_rest.x && event->pt.y == s_rest.y;
        if (!restingMove) ++s_mouse;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int InputCounter::s_keys = 0;
int InputCounter::s_mouse = 0;
POINT InputCounter::s_rest{};

void RunSession::SetUp() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    DeleteFileA(IniPath().c_str());
    InstallTrapline("Trapline.dll");
    SetRegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure", "0");
    SetCursorPos(500, 400);
}

void RunSession::TearDown() {
    // Whatever a failed test left running goes with it.
    for (const ProbeStart& start : Starts()) {
        HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, start.pid);
        if (!p) continue;
        if (WaitForSingleObject(p, 0) == WAIT_TIMEOUT) {
            TerminateProcess(p, 1);
            WaitForSingleObject(p, kWait);
        }
        CloseHandle(p);
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
}

void RunSession::InstallTrapline(const char* builtName) {
    CopyFileA((BinDir() + "\\" + builtName).c_str(), trapline.c_str(), FALSE);
}

std::string RunSession::AddSaver(const std::string& folder, const std::string& name,
                                 const char* behaviour) {
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".scr";
    CopyFileA((BinDir() + "\\probe.scr").c_str(), path.c_str(), FALSE);
    WritePrivateProfileStringA("Probe", "Behaviour", behaviour,
                               (folder + "\\" + name + ".ini").c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, (folder + "\\" + name + ".ini").c_str());
    return path;
}

void RunSession::SetList(const std::vector<std::string>& entries) {
    WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
    for (size_t i = 0; i < entries.size(); ++i)
        Ini("Screensaver", ("Scr" + std::to_string(i)).c_str(), entries[i]);
    Ini("Screensaver", "nScr", std::to_string(entries.size()));
}

void RunSession::SetOptions(bool rotate, int minutes, bool random) {
    Ini("Options", "ShowRandomOrder", random ? "1" : "0");
    Ini("Options", "ShowForXMinuts", rotate ? "1" : "0");
    Ini("Options", "ShowTime", std::to_string(minutes));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
}

bool RunSession::StartRun(Process& scr) {
    std::string exe = BinDir() + "\\Velmora.scr";
    return scr.Start(exe, "\"" + exe + "\" /s");
}

bool RunSession::StartRunToFirst(Process& scr, ProbeStart& first) {
    if (!StartRun(scr) || !WaitForStarts(1)) return false;
    first = Starts()[0];
    return WaitForForeground(first.pid);
}

bool RunSession::StartRunOf(const char* behaviour, Process& scr, ProbeStart& first,
                            HWND& session) {
    SetList({AddSaver(savers.path(), behaviour, behaviour)});
    SetOptions(false);
    if (!StartRunToFirst(scr, first)) return false;
    session = SessionWindow();
    return session != nullptr;
}

bool RunSession::WaitForStarts(size_t n) {
    return WaitUntil([&] { return Starts().size() >= n; }, kWait);
}

bool RunSession::WaitForForeground(DWORD pid) {
    return WaitUntil(
        [&] {
            DWORD owner = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &owner);
            return owner == pid;
        },
        kWait);
}

void RunSession::ReturningUser() {
    SetCursorPos(100, 100);
    PumpFor(50);
    SetCursorPos(700, 500);
}

HWND RunSession::SessionWindow() {
    // The session window is made once the first screensaver has started. It
    // can be found while it is still being made; it answers a message once
    // that is over (and the run's watch on the user's input is in place).
    return WaitForAnsweringWindow("VelmoraScrWnd", kWait);
}

void RunSession::Rotate() {
    HWND session = SessionWindow();
    ASSERT_NE(session, nullptr);
    PostMessageA(session, WM_TIMER, 1, 0);
}

}  // namespace run_session_test
