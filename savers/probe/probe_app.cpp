#include "savers/probe/probe_app.h"

#include <cstdint>
#include <vector>

#include "runner/command_line.h"
#include "savers/probe/probe_behaviour.h"
#include "savers/probe/settings_dialog.h"
#include "savers/probe/probe_log.h"

CProbeApp theApp;

namespace {

// Windows passes window handles as decimal numbers; they fit 32 bits.
HWND HandleFrom(int value) { return reinterpret_cast<HWND>(static_cast<intptr_t>(value)); }

}  // namespace

BOOL CProbeApp::InitInstance() {
    // Every start is logged, even one that fails or ends at once.
    velmora::probe::AppendProbeStart("VELMORA_SAVER_PROBE_LOG");
    m_modulePath = ModuleLongPath();
    const ProbeSettings settings = ReadProbeSettings(m_modulePath);
    if (settings.behaviour == ProbeBehaviour::Fail) {
        m_exitCode = kExitFail;
        return FALSE;
    }
    if (settings.startAfterMs) Sleep(settings.startAfterMs);

    const char* commandLine = GetCommandLineA();
    // The second process of a handoff runs as /s would.
    if (IsHandoffCommandLine(commandLine)) return RunFullScreen(settings);

    const ParsedCommandLine command = ParseCommandLineText(commandLine);
    switch (command.mode) {
    case ScrMode::Run:
        if (settings.behaviour == ProbeBehaviour::Handoff ||
            settings.behaviour == ProbeBehaviour::HandoffWait)
            return HandOff(settings.behaviour == ProbeBehaviour::HandoffWait);
        return RunFullScreen(settings);
    case ScrMode::Preview:
        if (AnotherInstance(settings)) return FALSE;
        return RunPreview(settings, HandleFrom(command.handle));
    case ScrMode::Configure: {
        HWND given = HandleFrom(command.handle);
        HWND owner = command.ownerIsForeground ? GetForegroundWindow()
                     : IsWindow(given)         ? given
                                               : nullptr;
        if (!ShowSettingsDialog(owner)) return NotStarted();
        return FALSE;
    }
    default:
        return NotStarted();
    }
}

bool CProbeApp::AnotherInstance(const ProbeSettings& settings) {
    if (!settings.singleInstance ||
        !FindWindowA(CProbeWnd::kScreensaverClass, CProbeWnd::kScreensaverTitle))
        return false;
    m_exitCode = kExitAlreadyRunning;
    return true;
}

BOOL CProbeApp::RunFullScreen(const ProbeSettings& settings) {
    if (AnotherInstance(settings)) return FALSE;
    if (settings.windowAfterMs) Sleep(settings.windowAfterMs);
    const bool hangs = settings.behaviour == ProbeBehaviour::Hang;
    m_window = std::make_unique<CProbeWnd>(
        settings.colour, FileNameOf(m_modulePath),
        settings.behaviour != ProbeBehaviour::IgnoreClose && !hangs, !hangs);
    if (!m_window->CreateFullScreen(settings.primaryOnly, settings.notTopmost,
                                    settings.endsOnDeactivate, settings.singleInstance))
        return NotStarted();
    m_pMainWnd = m_window.get();
    return TRUE;
}

BOOL CProbeApp::RunPreview(const ProbeSettings& settings, HWND parent) {
    // Runs on without a window, until it is ended.
    if (settings.windowlessPreview && !IsWindow(parent)) return TRUE;
    m_window = std::make_unique<CProbeWnd>(settings.colour, FileNameOf(m_modulePath), true);
    if (!m_window->CreatePreview(parent, settings.previewPopup, settings.notTopmost))
        return NotStarted();
    m_pMainWnd = m_window.get();
    return TRUE;
}

BOOL CProbeApp::HandOff(bool wait) {
    std::string text = "\"" + m_modulePath + "\" /handoff";
    std::vector<char> commandLine(text.begin(), text.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(m_modulePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &pi))
        return NotStarted();
    CloseHandle(pi.hThread);
    // A stub that waits for its worker, as many installers' screensavers do.
    if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    return FALSE;
}

int CProbeApp::ExitInstance() {
    // How the window ended, for tests that tell a close from input.
    if (m_exitCode == 0 && m_window && m_window->EndedByInput()) m_exitCode = kExitByInput;
    return CWinApp::ExitInstance();
}

BOOL CProbeApp::NotStarted() {
    m_exitCode = kExitNotStarted;
    return FALSE;
}
