#include "tests/demos/demo_fixture.h"

#include <cstdio>
#include <set>

namespace vtest {

std::string SaverPath(const DemoSaver& saver) { return BinDir() + "\\" + saver.file; }

bool StartSaver(Process& process, const DemoSaver& saver, const std::string& arguments) {
    std::string path = SaverPath(saver);
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    return process.Start(path, commandLine, BinDir());
}

std::string ValueText(const DemoSaver& saver, int value) {
    char text[64];
    std::snprintf(text, sizeof text, saver.valueFormat, value);
    return text;
}

std::string DemoIniPath() { return WindowsDir() + "\\VelmoraDemos.ini"; }

std::string StoredSetting(const DemoSaver& saver) {
    if (!PathExists(DemoIniPath())) return "";
    bool inSection = false;
    for (std::string line : ReadLines(DemoIniPath())) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inSection = lstrcmpiA(line.c_str(), (std::string("[") + saver.section + "]").c_str()) == 0;
            continue;
        }
        size_t equals = line.find('=');
        if (inSection && equals != std::string::npos &&
            lstrcmpiA(line.substr(0, equals).c_str(), saver.key) == 0)
            return line.substr(equals + 1);
    }
    return "";
}

void StoreSetting(const DemoSaver& saver, const char* text) {
    // The whole file, written directly: no profile cache of this process can
    // hold an older picture of it.
    std::string bytes = std::string("[") + saver.section + "]\r\n";
    if (text) bytes += std::string(saver.key) + "=" + text + "\r\n";
    WriteFileBytes(DemoIniPath(), bytes);
}

ScreenCapture::ScreenCapture(const RECT& area)
    : m_w(area.right - area.left), m_h(area.bottom - area.top) {
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    m_bitmap = CreateCompatibleBitmap(screen, m_w, m_h);
    m_old = SelectObject(m_dc, m_bitmap);
    BitBlt(m_dc, 0, 0, m_w, m_h, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

ScreenCapture::~ScreenCapture() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

size_t ScreenCapture::DistinctColours(int step) const {
    std::set<COLORREF> colours;
    for (int y = 0; y < m_h; y += step)
        for (int x = 0; x < m_w; x += step) colours.insert(At(x, y));
    return colours.size();
}

int ScreenCapture::Differences(const ScreenCapture& other, int step) const {
    int n = 0;
    for (int y = 0; y < m_h && y < other.m_h; y += step)
        for (int x = 0; x < m_w && x < other.m_w; x += step)
            if (At(x, y) != other.At(x, y)) ++n;
    return n;
}

int ScreenCapture::Count(COLORREF colour, int step) const {
    int n = 0;
    for (int y = 0; y < m_h; y += step)
        for (int x = 0; x < m_w; x += step)
            if (At(x, y) == colour) ++n;
    return n;
}

RECT ScreenRect() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT ClientOnScreen(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

namespace {

// Fills the host with the brush it carries, so each host has its own colour.
LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r,
                 reinterpret_cast<HBRUSH>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HostWindow::HostWindow(int x, int y, int w, int h, COLORREF fill)
    : m_brush(CreateSolidBrush(fill)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelmoraDemoHost";
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "demo host",
                             WS_POPUP | WS_CLIPCHILDREN, x, y, w, h, nullptr, nullptr,
                             wc.hInstance, nullptr);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_brush));
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hwnd);
    PumpFor(100);
}

HostWindow::~HostWindow() {
    Destroy();
    DeleteObject(m_brush);
}

std::string HostWindow::HandleText() const {
    return std::to_string(reinterpret_cast<UINT_PTR>(m_hwnd));
}

void HostWindow::Destroy() {
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

CursorAt::CursorAt(int x, int y) : m_x(x), m_y(y) {
    GetCursorPos(&m_saved);
    SetCursorPos(x, y);
    PumpFor(50);
}

CursorAt::~CursorAt() { SetCursorPos(m_saved.x, m_saved.y); }

void CursorAt::MoveBy(int dx, int dy) const {
    INPUT move{};
    move.type = INPUT_MOUSE;
    // Absolute positions are in 1/65536ths of the screen.
    move.mi.dx = MulDiv(m_x + dx, 65536, GetSystemMetrics(SM_CXSCREEN));
    move.mi.dy = MulDiv(m_y + dy, 65536, GetSystemMetrics(SM_CYSCREEN));
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
}

}  // namespace vtest
