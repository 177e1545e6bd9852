#include "savers/demos/demo_app.h"

#include "runner/command_line.h"
#include "savers/demos/demo_ids.h"
#include "savers/demos/demo_settings.h"
#include "savers/demos/settings_dialog.h"

BOOL CDemoApp::InitInstance() {
    const ParsedCommandLine command = ParseCommandLineText(GetCommandLineA());
    char name[128] = "";
    LoadStringA(m_hInstance, IDS_DESCRIPTION, name, sizeof name);
    HWND given = reinterpret_cast<HWND>(static_cast<INT_PTR>(command.handle));

    switch (command.mode) {
    case ScrMode::Run:
    case ScrMode::Preview: {
        // A new picture each time it starts; the seed fixes all of it.
        auto painter = m_kind.createPainter(GetTickCount(), LoadDemoSetting(m_kind));
        m_window = std::make_unique<CSaverWnd>(std::move(painter));
        BOOL created = command.mode == ScrMode::Run
                           ? m_window->CreateFullScreen(name)
                           : command.handle != 0 && m_window->CreatePreview(given, name);
        if (!created) return FALSE;
        m_pMainWnd = m_window.get();
        return TRUE;
    }
    case ScrMode::Configure: {
        HWND owner = command.ownerIsForeground ? GetForegroundWindow()
                     : IsWindow(given)         ? given
                                               : nullptr;
        CSettingsDialog dialog(m_kind);
        dialog.DoModal(owner);
        return FALSE;
    }
    default:
        // Changing a password is not ours to do, and unknown switches end at once.
        return FALSE;
    }
}
