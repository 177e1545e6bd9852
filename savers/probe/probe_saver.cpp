// A real screensaver that the tests drive: it records every start, shows a
// plain full-screen window, and can be told (by an INI file beside it) to
// fail at once, to hand its work to a second process, or to ignore WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runner/command_line.h"
#include "savers/probe/probe_ids.h"
#include "tests/support/probe_log.h"

namespace {

enum class Behaviour { Normal, Fail, HandOff, IgnoreClose };

struct Settings {
    Behaviour behaviour = Behaviour::Normal;
    COLORREF color = RGB(40, 90, 160);
    std::string name;
};

std::string ModulePath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

// Started by an 8.3 path, the program still finds its sidecar by its long name.
Settings ReadSettings() {
    Settings s;
    std::string module = ModulePath();
    char longPath[MAX_PATH];
    DWORD n = GetLongPathNameA(module.c_str(), longPath, sizeof longPath);
    std::string path = n && n < sizeof longPath ? std::string(longPath, n) : module;
    size_t slash = path.rfind('\\');
    size_t dot = path.rfind('.');
    std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                           ? path.substr(0, dot)
                           : path;
    s.name = base.substr(slash == std::string::npos ? 0 : slash + 1);
    std::string ini = base + ".ini";

    char value[64] = "";
    GetPrivateProfileStringA("Probe", "Behaviour", "normal", value, sizeof value, ini.c_str());
    if (!lstrcmpiA(value, "fail")) s.behaviour = Behaviour::Fail;
    if (!lstrcmpiA(value, "handoff")) s.behaviour = Behaviour::HandOff;
    if (!lstrcmpiA(value, "ignoreclose")) s.behaviour = Behaviour::IgnoreClose;

    // A colour of its own from the name, unless one is given.
    unsigned hash = 2166136261u;
    for (char c : s.name) hash = (hash ^ static_cast<unsigned char>(c | 0x20)) * 16777619u;
    s.color = RGB(hash & 0xFF, (hash >> 8) & 0xFF, (hash >> 16) & 0xFF);
    GetPrivateProfileStringA("Probe", "Color", "", value, sizeof value, ini.c_str());
    if (std::strlen(value) == 6) {
        unsigned long rgb = std::strtoul(value, nullptr, 16);
        s.color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    return s;
}

Settings g_settings;
bool g_haveFirstMouse = false;
POINT g_firstMouse;

LRESULT CALLBACK SaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rect;
        GetClientRect(hwnd, &rect);
        HBRUSH brush = CreateSolidBrush(g_settings.color);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        SetBkMode(dc, TRANSPARENT);
        COLORREF c = g_settings.color;
        bool light = GetRValue(c) + GetGValue(c) + GetBValue(c) > 384;
        SetTextColor(dc, light ? RGB(0, 0, 0) : RGB(255, 255, 255));
        DrawTextA(dc, g_settings.name.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETCURSOR:
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) break;
        // Windows sends a move when the window appears; only a real move of
        // the pointer means the user is back.
        POINT p;
        GetCursorPos(&p);
        if (!g_haveFirstMouse) {
            g_firstMouse = p;
            g_haveFirstMouse = true;
        } else if (std::abs(p.x - g_firstMouse.x) > 4 || std::abs(p.y - g_firstMouse.y) > 4) {
            DestroyWindow(hwnd);
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) DestroyWindow(hwnd);
        return 0;
    case WM_CLOSE:
        if (g_settings.behaviour == Behaviour::IgnoreClose) return 0;
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* RegisterSaverClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SaverProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROBE));
    wc.lpszClassName = "VelmoraProbeSaver";
    RegisterClassA(&wc);
    return wc.lpszClassName;
}

int MessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int RunFullScreen(HINSTANCE instance) {
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, RegisterSaverClass(instance), "Velmora Probe",
                                WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, instance,
                                nullptr);
    if (!hwnd) return 2;
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    return MessageLoop();
}

int RunPreview(HINSTANCE instance, HWND parent) {
    if (!parent || !IsWindow(parent)) return 2;
    RECT rect;
    GetClientRect(parent, &rect);
    HWND hwnd = CreateWindowExA(0, RegisterSaverClass(instance), "Velmora Probe Preview",
                                WS_CHILD | WS_VISIBLE, 0, 0, rect.right, rect.bottom, parent,
                                nullptr, instance, nullptr);
    if (!hwnd) return 2;
    return MessageLoop();
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

bool HandOff() {
    std::string module = ModulePath();
    std::string commandLine = "\"" + module + "\" /handoff";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(module.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vtest::AppendProbeStart("VELMORA_SAVER_PROBE_LOG");
    g_settings = ReadSettings();

    const char* commandLine = GetCommandLineA();
    if (std::strstr(commandLine, " /handoff")) return RunFullScreen(instance);

    ParsedCommandLine parsed = ParseCommandLineText(commandLine);
    switch (parsed.mode) {
    case ScrMode::Run:
        if (g_settings.behaviour == Behaviour::Fail) return 3;
        if (g_settings.behaviour == Behaviour::HandOff) return HandOff() ? 0 : 4;
        return RunFullScreen(instance);
    case ScrMode::Preview:
        return RunPreview(instance,
                          reinterpret_cast<HWND>(static_cast<INT_PTR>(parsed.handle)));
    case ScrMode::Configure:
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PROBE_SETTINGS),
                        parsed.ownerIsForeground ? GetForegroundWindow()
                                                 : reinterpret_cast<HWND>(
                                                       static_cast<INT_PTR>(parsed.handle)),
                        SettingsProc, 0);
        return 0;
    default:
        return 1;
    }
}
