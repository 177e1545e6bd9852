#pragma once
#include "framework/win_app.h"
#include "toolkit/toolkit_manager.h"

// The application object of Velmora.exe: it shows the main sheet modally and
// ends the program when the sheet closes.
class CVelmoraApp : public CWinApp, public CToolkitApp {
public:
    BOOL InitInstance() override;
    // The application takes the help command, so the sheet and its pages get
    // a Help button and help requests reach the sheet's WinHelp.
    BOOL HandlesHelp() const override { return TRUE; }
};
