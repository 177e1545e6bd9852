#include "savers/demos/preview_mirror.h"

#ifndef WS_EX_NOACTIVATE
#define WS_EX_NOACTIVATE 0x08000000L
#endif

namespace {

bool UnderWine() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

CPreviewMirror::CPreviewMirror(std::function<void(HDC)> present, std::function<void()> close)
    : m_present(std::move(present)), m_close(std::move(close)) {}

bool CPreviewMirror::NeededFor(HWND parent) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(parent, &owner);
    return owner && owner != ::GetCurrentProcessId() && UnderWine();
}

BOOL CPreviewMirror::CreateOver(HWND parent, const char* title) {
    m_parent = parent;
    // No class cursor and no background: every pixel is a frame copy, and
    // the pointer stays hidden as over the parent.
    const char* cls = RegisterWndClass(0, nullptr, nullptr, nullptr);
    RECT none = {0, 0, 0, 0};
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, title, WS_POPUP,
                  none, HWND{}, 0))
        return FALSE;
    Follow();
    return TRUE;
}

void CPreviewMirror::Follow() {
    RECT area;
    if (!::IsWindowVisible(m_parent) || !::GetClientRect(m_parent, &area) ||
        area.right <= 0 || area.bottom <= 0) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    ::MapWindowPoints(m_parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    // Topmost again each time: the parent may be a topmost window shown
    // after this one.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
}

void CPreviewMirror::Show() {
    if (!IsWindowVisible()) return;
    HDC dc = ::GetDC(m_hWnd);
    m_present(dc);
    ::ReleaseDC(m_hWnd, dc);
}

void CPreviewMirror::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    m_present(dc);
    ::EndPaint(m_hWnd, &ps);
}

void CPreviewMirror::OnClose() { m_close(); }

LRESULT CPreviewMirror::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
        ::SetCursor(nullptr);
        return TRUE;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
