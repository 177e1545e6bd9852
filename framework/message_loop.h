#pragma once
#include <windows.h>

// The thread's message loop until WM_QUIT: its exit code, or errorResult
// when GetMessage fails (an invalid window handle, say).
inline int RunMessageLoop(int errorResult) {
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return errorResult;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
