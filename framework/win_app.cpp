#include "framework/win_app.h"
#include "framework/message_loop.h"

#include "framework/wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return FALSE; }

int CWinApp::Run() {
    m_exitCode = RunMessageLoop(1);
    return ExitInstance();
}

int CWinApp::ExitInstance() { return m_exitCode; }

void CWinApp::OnHelp() {
    if (m_pMainWnd) m_pMainWnd->WinHelp(0, HELP_CONTEXT);
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleA(nullptr);
}
