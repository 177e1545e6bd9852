#include "runner/preview_window.h"

#include "framework/dc.h"
#include "framework/gdi.h"
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
    CPaintDC dc(m_hWnd);

    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    POINT corner = {rect.left, rect.top};
    POINT opposite = {rect.right, rect.bottom};
    ScreenToClient(m_hWnd, &corner);
    ScreenToClient(m_hWnd, &opposite);
    rect = {corner.x, corner.y, opposite.x, opposite.y};
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;

    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Loaded for each paint and released after it.
    CBitmap picture(LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_PREVIEW)));
    if (!picture) return;
    BITMAP info{};
    GetObjectA(picture, sizeof info, &info);
    CMemoryDC memory(dc);
    ScopedSelectObject select(memory, picture);
    int x = w >= info.bmWidth ? (w - info.bmWidth) / 2 : 0;
    int y = h >= info.bmHeight ? (h - info.bmHeight) / 2 : 0;
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
}

void CPreviewWnd::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}

bool StartPreview(HWND parent) {
    if (!parent || !IsWindow(parent)) return false;
    RECT client;
    GetClientRect(parent, &client);
    auto* wnd = new CPreviewWnd(TRUE);
    // On failure the auto-deleting object is gone already.
    if (!wnd->Create(0, "Preview", WS_CHILD | WS_VISIBLE, client, parent, 0)) return false;
    AfxGetApp()->m_pMainWnd = wnd;
    return true;
}
