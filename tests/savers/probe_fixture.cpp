#include "tests/savers/probe_fixture.h"

#include <cstdint>

#include "savers/probe/probe_colour.h"

namespace vtest {

ProbeCopy::ProbeCopy(const std::string& fileName, const std::vector<std::string>& iniLines)
    : m_dir("probe"),
      m_path(m_dir / fileName),
      m_log(m_dir / "starts.log"),
      m_logVariable("VELMORA_SAVER_PROBE_LOG", m_log) {
    m_copied = CopyFileA((BinDir() + "\\probe.scr").c_str(), m_path.c_str(), FALSE) != 0;
    if (iniLines.empty()) return;
    std::string ini = "[Probe]\r\n";
    for (const std::string& line : iniLines) ini += line + "\r\n";
    size_t dot = m_path.rfind('.');
    WriteFileBytes(m_path.substr(0, dot) + ".ini", ini);
}

bool ProbeCopy::Start(Process& process, const std::string& arguments) const {
    std::string commandLine = "\"" + m_path + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    return process.Start(m_path, commandLine, m_dir.path());
}

bool ProbeCopy::WaitForStarts(size_t count) const {
    return WaitUntil([&] { return Starts().size() >= count; }, kProbeWait);
}

ScreenShot::ScreenShot()
    : m_w(GetSystemMetrics(SM_CXSCREEN)), m_h(GetSystemMetrics(SM_CYSCREEN)) {
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    m_bitmap = CreateCompatibleBitmap(screen, m_w, m_h);
    m_old = SelectObject(m_dc, m_bitmap);
    BitBlt(m_dc, 0, 0, m_w, m_h, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

ScreenShot::~ScreenShot() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

COLORREF DefaultProbeColour(const std::string& fileName) {
    std::uint32_t rgb = ColourFromName(fileName.c_str());
    return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

HostWindow::HostWindow(int x, int y, int w, int h) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "VelmoraProbeHost";
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "probe host",
                             WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h, nullptr,
                             nullptr, wc.hInstance, nullptr);
    PumpFor(100);
}

HostWindow::~HostWindow() { Destroy(); }

std::string HostWindow::HandleText() const {
    return std::to_string(reinterpret_cast<UINT_PTR>(m_hwnd));
}

void HostWindow::Destroy() {
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

}  // namespace vtest
