// Velmora.exe's sheet under a high-contrast theme, for the picture in the
// README. Wine keeps no high-contrast setting, so this program gives the
// session a black high-contrast palette, hands the flag to the toolkit and
// shows the real sheet in its own process; the palette goes back when the
// sheet closes.
#include <windows.h>
#include <commctrl.h>

#include "config/velmora_dlg.h"
#include "framework/win_app.h"
#include "toolkit/contrast.h"
#include "toolkit/flat_button.h"
#include "toolkit/toolkit_manager.h"

namespace {

class CContrastPreviewApp : public CWinApp, public CToolkitApp {
public:
    BOOL InitInstance() override {
        InitCommonControls();
        InitToolkit();
        CWinApp::InitInstance();
        SetVisualStyleFollowsTheme();
        CFlatButton::SetDrawThemed(TRUE);
        // The colours of Windows' "High Contrast Black".
        const int indices[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT,
                               COLOR_3DFACE, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT,
                               COLOR_GRAYTEXT, COLOR_MENU, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW};
        const COLORREF theme[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                                  RGB(255, 255, 255), RGB(0, 0, 0),       RGB(26, 235, 255),
                                  RGB(0, 0, 0),       RGB(255, 255, 0),   RGB(63, 242, 63),
                                  RGB(0, 0, 0),       RGB(255, 255, 255), RGB(255, 255, 255)};
        constexpr int count = sizeof indices / sizeof indices[0];
        COLORREF old[count];
        for (int i = 0; i < count; ++i) old[i] = GetSysColor(indices[i]);
        SetSysColors(count, indices, theme);
        velmora::toolkit::OverrideHighContrast(1);
        {
            CVelmoraDlg dialog;
            m_pMainWnd = &dialog;
            dialog.DoModal();
            m_pMainWnd = nullptr;
            ReleaseToolkit();
        }
        SetSysColors(count, indices, old);
        return FALSE;
    }
    BOOL HandlesHelp() const override { return TRUE; }
};

CContrastPreviewApp theApp;

}  // namespace
