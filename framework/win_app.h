#pragma once
#include <windows.h>

class CWnd;

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

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

    int m_exitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
