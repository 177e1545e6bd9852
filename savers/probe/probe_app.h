#pragma once
// probe.scr: a screensaver the tests drive. Every start appends a line to
// the log named by VELMORA_SAVER_PROBE_LOG; the sidecar INI chooses how it
// behaves (see probe_settings.h).
#include <windows.h>

#include <memory>
#include <string>

#include "framework/win_app.h"
#include "savers/probe/probe_settings.h"
#include "savers/probe/probe_window.h"

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    BOOL RunFullScreen(const ProbeSettings& settings);
    BOOL RunPreview(const ProbeSettings& settings, HWND parent);
    // Starts "<module path>" /handoff and ends this process.
    BOOL HandOff(bool wait);
    BOOL NotStarted();
    // SingleInstance=1 and a screensaver window exists: ends at once.
    bool AnotherInstance(const ProbeSettings& settings);

    std::string m_modulePath;
    std::unique_ptr<CProbeWnd> m_window;
};
