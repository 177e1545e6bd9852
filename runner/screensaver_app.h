#pragma once
#include <windows.h>

#include "framework/win_app.h"
#include "runner/command_line.h"

// Reads this process's command line. hwndArg is the window handle the switch
// carried: the owner for Configure, the parent for Preview and ChangePassword.
ScrMode ParseCommandLine(HWND& hwndArg);

class CScreensaverApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
