// A screensaver of the other bitness for the tests of 64-bit Windows:
// probe64.scr (64-bit) beside the 32-bit edition, probe32.scr (32-bit) beside
// the x64 edition. It logs every start like the probe (to the log
// VELMORA_SAVER_PROBE_LOG names), and with /s shows a full-screen window
// titled "Velmora Probe64" or "Velmora Probe32" until it is told to close.
// Any other switch ends it at once.
#include <windows.h>

#include <cstring>

#include "savers/probe/probe_log.h"

namespace {

#ifdef _WIN64
constexpr char kClassName[] = "VelmoraProbe64";
constexpr char kTitle[] = "Velmora Probe64";
#else
constexpr char kClassName[] = "VelmoraProbe32";
constexpr char kTitle[] = "Velmora Probe32";
#endif

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The switch letter after the program, as Windows passes it (/s, -S, /c:123).
char SwitchLetter(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        if (!p) return 0;
        ++p;
    } else {
        while (*p && *p != ' ') ++p;
    }
    while (*p == ' ') ++p;
    if (*p != '/' && *p != '-') return 0;
    return static_cast<char>(p[1] | 0x20);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    velmora::probe::AppendProbeStart("VELMORA_SAVER_PROBE_LOG");
    if (SwitchLetter(GetCommandLineA()) != 's') return 0;

    WNDCLASSA cls{};
    cls.lpfnWndProc = ProbeProc;
    cls.hInstance = instance;
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = kClassName;
    if (!RegisterClassA(&cls)) return 1;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
