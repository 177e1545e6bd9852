#include "runner/preview_window.h"

#include "framework/win_app.h"
#include "resources/velmora_scr_ids.h"

const char* CPreviewWnd::WindowClass() {
    return RegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr,
                            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                            LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_VELMORA)));
}

BOOL CPreviewWnd::Create(DWORD dwExStyle, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID) {
    HWND parent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    return Create(dwExStyle, lpszWindowName, dwStyle, rect, parent, nID);
}

BOOL CPreviewWnd::Create(DWORD dwExStyle, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                         HWND parent, UINT nID) {
    // A creation that fails may or may not have made (and destroyed) a
    // window; either way an auto-deleting object goes with it, once.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    BOOL created = CreateEx(dwExStyle, WindowClass(), lpszWindowName, dwStyle, rect, parent, nID);
    m_bAutoDelete = autoDelete;
    if (!created && autoDelete) delete this;
    return created;
}

void CPreviewWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);

    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    POINT corner = {rect.left, rect.top};
    POINT opposite = {rect.right, rect.bottom};
    ScreenToClient(m_hWnd, &corner);
    ScreenToClient(m_hWnd, &opposite);
    rect = {corner.x, corner.y, opposite.x, opposite.y};
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;

    HDC memory = CreateCompatibleDC(dc);
    // Loaded for each paint and released after it.
    HBITMAP picture = LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_PREVIEW));
    BITMAP info{};
    if (picture) GetObjectA(picture, sizeof info, &info);
    HGDIOBJ previous = picture ? SelectObject(memory, picture) : nullptr;

    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (picture) {
        int x = w >= info.bmWidth ? (w - info.bmWidth) / 2 : 0;
        int y = h >= info.bmHeight ? (h - info.bmHeight) / 2 : 0;
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteObject(picture);
    }
    DeleteDC(memory);
    EndPaint(m_hWnd, &ps);
}

void CPreviewWnd::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}
