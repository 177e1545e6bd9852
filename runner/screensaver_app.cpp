#include "runner/screensaver_app.h"

#include <cstdint>

#include "runner/change_password.h"
#include "runner/configure.h"
#include "runner/preview_window.h"
#include "runner/run_session.h"

CScreensaverApp theApp;

ScrMode ParseCommandLine(HWND& hwndArg) {
    hwndArg = nullptr;
    ParsedCommandLine parsed = ParseCommandLineText(GetCommandLineA());
    if (parsed.ownerIsForeground)
        hwndArg = GetForegroundWindow();
    else if (parsed.handle != 0)
        // Windows passes handles as decimal numbers. Only their low 32 bits
        // are significant, and a 64-bit process sign-extends them.
        hwndArg = reinterpret_cast<HWND>(static_cast<intptr_t>(parsed.handle));
    return parsed.mode;
}

BOOL CScreensaverApp::InitInstance() {
    HWND hwndArg = nullptr;
    switch (ParseCommandLine(hwndArg)) {
    case ScrMode::Run:
        return StartRunSession() ? TRUE : FALSE;
    case ScrMode::Preview:
        return StartPreview(hwndArg) ? TRUE : FALSE;
    case ScrMode::Configure:
        RunConfigurationProgram(hwndArg);
        return FALSE;
    case ScrMode::ChangePassword:
        ChangePassword(hwndArg);
        return FALSE;
    case ScrMode::None:
        break;
    }
    return FALSE;
}
