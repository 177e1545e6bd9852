#include "tests/toolkit/screen_capture.h"

#include "tests/support/win_test_support.h"

namespace vtest {

ScreenCapture::ScreenCapture(const RECT& rect)
    : m_width(rect.right - rect.left), m_height(rect.bottom - rect.top) {
    if (m_width <= 0 || m_height <= 0) {
        m_width = m_height = 0;
        return;
    }
    // A top-down 32-bit section: one DWORD per pixel, rows in screen order.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, m_width, m_height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    const auto* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        DWORD v = p[i];  // 0x00RRGGBB
        m_pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenCapture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) +
                    static_cast<size_t>(x)];
}

int ScreenCapture::Count(COLORREF color) const {
    return CountIf([color](COLORREF c) { return c == color; });
}

int ScreenCapture::CountIf(const std::function<bool(COLORREF)>& test) const {
    int n = 0;
    for (COLORREF c : m_pixels) n += test(c) ? 1 : 0;
    return n;
}

RECT ScreenCapture::BoundsOf(COLORREF color) const {
    RECT r{m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (At(x, y) == color) {
                if (x < r.left) r.left = x;
                if (y < r.top) r.top = y;
                if (x + 1 > r.right) r.right = x + 1;
                if (y + 1 > r.bottom) r.bottom = y + 1;
            }
    if (r.right == 0) r = RECT{0, 0, 0, 0};
    return r;
}

void BringToScreen(HWND hwnd) {
    ShowWindow(hwnd, SW_SHOW);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN |
                                             RDW_UPDATENOW | RDW_FRAME);
    RECT r{};
    GetWindowRect(hwnd, &r);
    WaitForSteadyScreen(r);
}

void WaitForSteadyScreen(const RECT& rect) {
    const DWORD steadyFor = 250;
    ScreenCapture last(rect);
    DWORD since = GetTickCount();
    WaitUntil(
        [&] {
            ScreenCapture now(rect);
            if (!now.SameAs(last)) {
                last = std::move(now);
                since = GetTickCount();
                return false;
            }
            return GetTickCount() - since >= steadyFor;
        },
        15000);
}

}  // namespace vtest
