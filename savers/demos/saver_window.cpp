#include "savers/demos/saver_window.h"

#include <cstdlib>

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMs = 30;
// About once a second a mirror catches up with its parent's place.
constexpr int kFollowFrames = 33;

const char* SaverClass() {
    // No class cursor: in full screen the pointer stays hidden, and a preview
    // takes its parent's.
    return CWnd::RegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr);
}

}  // namespace

CSaverWnd::CSaverWnd(std::unique_ptr<CScenePainter> painter) : m_painter(std::move(painter)) {}

BOOL CSaverWnd::CreateFullScreen(const char* title) {
    m_fullScreen = true;
    // The virtual screen spans every monitor; it is zero before multiple
    // monitor support, where the primary screen is all there is.
    RECT r = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    int w = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), h = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (w <= 0 || h <= 0) {
        r.left = r.top = 0;
        w = ::GetSystemMetrics(SM_CXSCREEN);
        h = ::GetSystemMetrics(SM_CYSCREEN);
    }
    r.right = r.left + w;
    r.bottom = r.top + h;
    // The start position before the window exists: whatever WM_MOUSEMOVE
    // reports first, only a real move away from here ends the saver.
    ::GetCursorPos(&m_firstCursor);
    if (!CreateEx(WS_EX_TOPMOST, SaverClass(), title, WS_POPUP | WS_VISIBLE, r,
                  static_cast<HWND>(nullptr), 0))
        return FALSE;
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    return TRUE;
}

BOOL CSaverWnd::CreatePreview(HWND parent, const char* title) {
    m_fullScreen = false;
    if (!parent || !::IsWindow(parent)) return FALSE;
    RECT r;
    ::GetClientRect(parent, &r);
    if (!CreateEx(0, SaverClass(), title, WS_CHILD | WS_VISIBLE, r, parent, 0)) return FALSE;
    if (CPreviewMirror::NeededFor(parent)) {
        m_mirror = std::make_unique<CPreviewMirror>([this](HDC dc) { Present(dc); },
                                                    [this] { PostMessage(WM_CLOSE); });
        if (!m_mirror->CreateOver(parent, title)) m_mirror.reset();
    }
    return TRUE;
}

int CSaverWnd::OnCreate(LPCREATESTRUCTA cs) {
    if (!m_buffer.Create(cs->cx, cs->cy)) return -1;
    if (m_fullScreen) {
        ::ShowCursor(FALSE);
        m_cursorHidden = true;
    }
    NextFrame();
    ::SetTimer(m_hWnd, kFrameTimer, kFrameMs, nullptr);
    return 0;
}

void CSaverWnd::OnDestroy() {
    ::KillTimer(m_hWnd, kFrameTimer);
    if (m_mirror) m_mirror->DestroyWindow();
    m_mirror.reset();
    if (m_cursorHidden) ::ShowCursor(TRUE);
    m_cursorHidden = false;
}

void CSaverWnd::OnTimer(UINT_PTR id) {
    if (id != kFrameTimer) return;
    // A preview's parent may live in another process, which does not always
    // take its child along when it goes: check on every frame.
    if (!m_fullScreen && !::IsWindow(::GetParent(m_hWnd))) {
        DestroyWindow();
        return;
    }
    ++m_frame;
    NextFrame();
    HDC dc = ::GetDC(m_hWnd);
    Present(dc);
    ::ReleaseDC(m_hWnd, dc);
    if (m_mirror) {
        if (m_frame % kFollowFrames == 0) m_mirror->Follow();
        m_mirror->Show();
    }
}

void CSaverWnd::NextFrame() {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (!m_buffer.Matches(client.right, client.bottom) &&
        !m_buffer.Create(client.right, client.bottom))
        return;
    m_painter->Paint(m_buffer, m_frame);
}

void CSaverWnd::Present(HDC dc) {
    if (m_buffer.Dc())
        ::BitBlt(dc, 0, 0, m_buffer.Width(), m_buffer.Height(), m_buffer.Dc(), 0, 0, SRCCOPY);
}

void CSaverWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    Present(dc);
    ::EndPaint(m_hWnd, &ps);
}

void CSaverWnd::OnMouseMove(POINT at) {
    if (std::abs(at.x - m_firstCursor.x) > kMoveTolerance ||
        std::abs(at.y - m_firstCursor.y) > kMoveTolerance)
        DestroyWindow();
}

LRESULT CSaverWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // every pixel is drawn by the frame copy
    case WM_PRINTCLIENT:
        Present(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        break;
    }
    if (!m_fullScreen) return CWnd::WindowProc(message, wParam, lParam);

    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        DestroyWindow();
        return 0;
    case WM_MOUSEMOVE: {
        // The position in screen coordinates: the window may not start at 0, 0.
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &at);
        OnMouseMove(at);
        return 0;
    }
    case WM_SETCURSOR:
        ::SetCursor(nullptr);
        return TRUE;
    case WM_SYSCOMMAND:
        // Windows would start the screensaver again while it runs.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
