#include "savers/probe/probe_window.h"

#include <cstdlib>
#include <utility>

#include "framework/win_app.h"
#include "savers/probe/probe_colour.h"
#include "savers/probe/probe_ids.h"
#include "savers/probe/probe_settings.h"

namespace {

constexpr UINT_PTR kParentTimer = 1;
constexpr UINT kParentCheckMs = 250;

const char* ProbeClass() {
    // No class cursor and no background brush: the pointer stays hidden over
    // the full screen, and every pixel is painted in WM_PAINT.
    return CWnd::RegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, nullptr,
                                  LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_PROBE)));
}

// The same window procedure under the standard screensaver library's class
// name (the framework names its classes itself).
const char* ScreensaverClass() {
    WNDCLASSA wc{};
    if (!GetClassInfoA(AfxGetInstanceHandle(), ProbeClass(), &wc)) return nullptr;
    wc.lpszClassName = CProbeWnd::kScreensaverClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return CProbeWnd::kScreensaverClass;
}

COLORREF TextColourOn(COLORREF colour) {
    std::uint32_t rgb = static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
                        static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
    return ColorRefFromRgb(ContrastingColour(rgb));
}

}  // namespace

CProbeWnd::CProbeWnd(COLORREF colour, std::string name, bool closable, bool endsOnInput)
    : m_colour(colour), m_name(std::move(name)), m_closable(closable), m_endsOnInput(endsOnInput) {}

void CProbeWnd::EndOnInput() {
    if (!m_endsOnInput) return;
    m_endedByInput = true;
    DestroyWindow();
}

BOOL CProbeWnd::CreateFullScreen(bool primaryOnly, bool notTopmost, bool endsOnDeactivate,
                                 bool screensaverClass) {
    m_fullScreen = true;
    m_endsOnDeactivate = endsOnDeactivate;
    // The virtual screen spans every monitor; before multiple-monitor
    // support its metrics are zero and the primary screen is all there is.
    RECT r = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (primaryOnly || w <= 0 || h <= 0) {
        r.left = r.top = 0;
        w = GetSystemMetrics(SM_CXSCREEN);
        h = GetSystemMetrics(SM_CYSCREEN);
    }
    r.right = r.left + w;
    r.bottom = r.top + h;
    // Where the pointer is before the window exists: the move Windows sends
    // when a window appears reports this same place.
    m_haveFirstCursor = GetCursorPos(&m_firstCursor) != FALSE;
    const char* cls = screensaverClass ? ScreensaverClass() : ProbeClass();
    const char* title = screensaverClass ? kScreensaverTitle : m_name.c_str();
    if (!cls || !CreateEx(notTopmost ? 0 : WS_EX_TOPMOST, cls, title, WS_POPUP | WS_VISIBLE, r,
                          static_cast<HWND>(nullptr), 0))
        return FALSE;
    // A rotator ends its child by WM_CLOSE to the foreground window, or by a
    // key press, which goes to the focus: the probe must hold both.
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
    return TRUE;
}

BOOL CProbeWnd::CreatePreview(HWND parent, bool popup, bool notTopmost) {
    m_fullScreen = false;
    if (!parent || !::IsWindow(parent)) return FALSE;
    m_parent = parent;
    RECT r;
    ::GetClientRect(parent, &r);
    if (!popup) return CreateEx(0, ProbeClass(), m_name.c_str(), WS_CHILD | WS_VISIBLE, r, parent, 0);
    // The parent's client area on the screen; the popup takes no activation.
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return CreateEx((notTopmost ? 0 : WS_EX_TOPMOST) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                    ProbeClass(), m_name.c_str(), WS_POPUP | WS_VISIBLE, r,
                    static_cast<HWND>(nullptr), 0);
}

int CProbeWnd::OnCreate(LPCREATESTRUCTA) {
    // A parent in another process does not always take its child along when
    // it goes, so the preview checks on it.
    if (!m_fullScreen) SetTimer(m_hWnd, kParentTimer, kParentCheckMs, nullptr);
    return 0;
}

void CProbeWnd::OnDestroy() {
    if (!m_fullScreen) KillTimer(m_hWnd, kParentTimer);
}

void CProbeWnd::OnTimer(UINT_PTR id) {
    if (id == kParentTimer && !::IsWindow(m_parent)) DestroyWindow();
}

void CProbeWnd::OnClose() {
    if (m_closable || !m_fullScreen) DestroyWindow();
}

void CProbeWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    Draw(dc);
    EndPaint(m_hWnd, &ps);
}

void CProbeWnd::Draw(HDC dc) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBRUSH fill = CreateSolidBrush(m_colour);
    FillRect(dc, &client, fill);
    DeleteObject(fill);
    if (!m_fullScreen) return;

    // The file name, large enough to read across the room.
    HFONT font = CreateFontA(-(client.bottom / 16), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColourOn(m_colour));
    DrawTextA(dc, m_name.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
    if (font) DeleteObject(font);
}

void CProbeWnd::OnMouseMove(POINT at) {
    if (!m_haveFirstCursor) {
        m_firstCursor = at;
        m_haveFirstCursor = true;
        return;
    }
    if (std::abs(at.x - m_firstCursor.x) > kMoveTolerance ||
        std::abs(at.y - m_firstCursor.y) > kMoveTolerance)
        EndOnInput();
}

LRESULT CProbeWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills every pixel
    case WM_PRINTCLIENT:
        Draw(reinterpret_cast<HDC>(wParam));
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
        EndOnInput();
        return 0;
    case WM_MOUSEMOVE: {
        // In screen coordinates, like the position taken before the window was made.
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(m_hWnd, &at);
        OnMouseMove(at);
        return 0;
    }
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_ACTIVATEAPP:
        if (!wParam && m_endsOnDeactivate) DestroyWindow();
        break;
    case WM_SYSCOMMAND:
        // Windows would start the screensaver again while it runs.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
