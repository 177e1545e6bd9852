#pragma once
// What the probe tests share: a copy of probe.scr under a name of the test's
// choosing, the screen read back, a window of the test's own to host it.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace vtest {

constexpr DWORD kProbeWait = 15000;

// The copy lives in a fresh folder with its sidecar INI and the log it
// writes; everything goes at destruction.
class ProbeCopy {
public:
    // iniLines: the [Probe] section's lines ("Behaviour=fail"), none for no INI.
    ProbeCopy(const std::string& fileName, const std::vector<std::string>& iniLines);
    ProbeCopy(const ProbeCopy&) = delete;
    ProbeCopy& operator=(const ProbeCopy&) = delete;

    bool Copied() const { return m_copied; }
    const std::string& Path() const { return m_path; }
    const std::string& Folder() const { return m_dir.path(); }
    // Starts "<path>" <arguments> in the copy's folder.
    bool Start(Process& process, const std::string& arguments) const;
    std::vector<ProbeStart> Starts() const { return ReadProbeLog(m_log); }
    // Waits until the log holds at least count lines.
    bool WaitForStarts(size_t count) const;

private:
    TempDir m_dir;
    std::string m_path;
    std::string m_log;
    ScopedEnv m_logVariable;
    bool m_copied = false;
};

// Reads what the screen shows (all top-level windows, any process).
class ScreenShot {
public:
    ScreenShot();
    ~ScreenShot();
    ScreenShot(const ScreenShot&) = delete;
    ScreenShot& operator=(const ScreenShot&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    int Width() const { return m_w; }
    int Height() const { return m_h; }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// The colour the probe derives from a file name when its INI names none.
COLORREF DefaultProbeColour(const std::string& fileName);

// A plain window of the test's own, at the given place.
class HostWindow {
public:
    HostWindow(int x, int y, int w, int h);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Hwnd() const { return m_hwnd; }
    std::string HandleText() const;
    void Destroy();

private:
    HWND m_hwnd;
};

}  // namespace vtest
