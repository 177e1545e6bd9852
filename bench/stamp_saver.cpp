// A screensaver that notes the moment its first instruction runs: the
// high-resolution counter and its process id, appended to the file that
// VELMORA_BENCH_STAMPS names; with /s, the moment its window is made too, in
// the file VELMORA_BENCH_WINDOWS names. With /s it covers the screen in black until it
// is closed, a key is pressed or the pointer really moves, as any screensaver;
// with /p <window> it fills that window until it is closed or the window goes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

POINT g_start{-1, -1};

void Note(const char* variable) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(variable, path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    char line[64];
    int length = std::snprintf(line, sizeof line, "%lld\t%lu\n",
                               static_cast<long long>(now.QuadPart), GetCurrentProcessId());
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK SaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (g_start.x < 0) {
            g_start = at;
        } else if (std::abs(at.x - g_start.x) > 8 || std::abs(at.y - g_start.y) > 8) {
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A window class with a black background.
const char* BlackClass(HINSTANCE instance, WNDPROC proc, const char* name) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return name;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    Note("VELMORA_BENCH_STAMPS");
    const char* p = commandLine;
    while (*p == ' ') ++p;
    if ((*p == '/' || *p == '-') && (p[1] == 's' || p[1] == 'S')) {
        const char* cls = BlackClass(instance, SaverProc, "VelmoraBenchStamp");
        HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, cls, "stamp", WS_POPUP | WS_VISIBLE,
                                    0, 0, GetSystemMetrics(SM_CXSCREEN),
                                    GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance,
                                    nullptr);
        if (!hwnd) return 1;
        Note("VELMORA_BENCH_WINDOWS");
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } else if ((*p == '/' || *p == '-') && (p[1] == 'p' || p[1] == 'P')) {
        HWND parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoul(p + 2, nullptr, 10)));
        RECT area{};
        if (!IsWindow(parent) || !GetClientRect(parent, &area)) return 1;
        const char* cls = BlackClass(instance, DefWindowProcA, "VelmoraBenchStampPreview");
        HWND hwnd = CreateWindowExA(0, cls, "stamp", WS_CHILD | WS_VISIBLE, 0, 0,
                                    area.right, area.bottom, parent, nullptr, instance, nullptr);
        if (!hwnd) return 1;
        // Until the window goes, closed or with its parent.
        MSG msg;
        for (;;) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            if (!IsWindow(hwnd)) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        }
    }
    return 0;
}
