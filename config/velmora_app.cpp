#include "config/velmora_app.h"

#include <commctrl.h>

#include "config/velmora_dlg.h"
#include "toolkit/flat_button.h"

CVelmoraApp theApp;

BOOL CVelmoraApp::InitInstance() {
    InitCommonControls();
    InitToolkit();
    CWinApp::InitInstance();
    SetVisualStyleFollowsTheme();
    CFlatButton::SetDrawThemed(TRUE);
    {
        CVelmoraDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        ReleaseToolkit();
    }
    // FALSE: no message loop, the program ends here.
    return FALSE;
}
