#pragma once
#include <windows.h>

class CWnd;

// The standard help command.
constexpr UINT ID_HELP = 0xE146;

// The application object. A program defines exactly one global instance of a
// class derived from CWinApp; the framework's WinMain finds it, calls
// InitInstance, and runs the message loop while InitInstance returned TRUE.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Return TRUE to enter the message loop, FALSE to end the program at once.
    virtual BOOL InitInstance();
    // The message loop: runs until WM_QUIT, which is posted when the main
    // window is destroyed (or by anyone calling PostQuitMessage).
    virtual int Run();
    virtual int ExitInstance();

    // An application that handles the help command (ID_HELP) gets a Help
    // button on its property sheets and pages; help requests reach OnHelp,
    // which hands them to the main window's WinHelp.
    virtual BOOL HandlesHelp() const { return FALSE; }
    virtual void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

    int m_exitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
