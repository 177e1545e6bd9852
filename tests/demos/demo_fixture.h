#pragma once
// What the demo saver tests share: the two savers as a table of what a user
// sees of them, a window of the test's own to host a preview or own a
// dialog, the screen read back, and the savers' settings file kept safe.
#include <windows.h>

#include <string>

#include "tests/support/win_test_support.h"

namespace vtest {

constexpr DWORD kDemoWait = 15000;

struct DemoSaver {
    const char* file;     // in the bin folder
    const char* name;     // string 1: the name Windows lists it by
    const char* section;  // where the settings file keeps its one setting
    const char* key;
    int minimum, maximum, fallback;
    const char* valueFormat;  // how the dialog shows the value
};

const DemoSaver kAurora = {"aurora.scr", "Velmora Aurora", "Aurora", "Speed", 1, 10, 5, "%d"};
const DemoSaver kOrbits = {"orbits.scr", "Velmora Orbits", "Orbits", "Planets", 3, 9, 6,
                           "%d planets"};
const DemoSaver kDemoSavers[] = {kAurora, kOrbits};

std::string SaverPath(const DemoSaver& saver);
// Starts "<path>" <arguments> as Windows does, in the bin folder.
bool StartSaver(Process& process, const DemoSaver& saver, const std::string& arguments);
// The value as the settings dialog shows it.
std::string ValueText(const DemoSaver& saver, int value);

// The settings file both savers keep in the Windows folder.
std::string DemoIniPath();
// Keeps the settings file as it was and puts it back at destruction.
class DemoSettingsKeeper {
public:
    DemoSettingsKeeper() : m_restorer(DemoIniPath()) {}

private:
    FileRestorer m_restorer;
};
// The stored text of a saver's setting ("" when missing), read from the file
// itself rather than through a profile cache.
std::string StoredSetting(const DemoSaver& saver);
// Writes the setting's text, or removes the key for nullptr.
void StoreSetting(const DemoSaver& saver, const char* text);

// What the screen shows of a rectangle (screen coordinates).
class ScreenCapture {
public:
    explicit ScreenCapture(const RECT& area);
    ~ScreenCapture();
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    // How many different colours a grid of every step-th pixel holds.
    size_t DistinctColours(int step) const;
    // How many pixels of that grid differ from the other capture's.
    int Differences(const ScreenCapture& other, int step) const;
    // How many pixels of that grid have exactly this colour.
    int Count(COLORREF colour, int step) const;

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
RECT ScreenRect();
RECT ClientOnScreen(HWND hwnd);

// A plain topmost popup of the test's own, filled with one colour.
class HostWindow {
public:
    HostWindow(int x, int y, int w, int h, COLORREF fill);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Hwnd() const { return m_hwnd; }
    std::string HandleText() const;
    void Destroy();

private:
    HWND m_hwnd;
    HBRUSH m_brush;
};

// The pointer parked where a test wants it, put back at destruction.
class CursorAt {
public:
    CursorAt(int x, int y);
    ~CursorAt();
    // Moves the pointer as a mouse does, by input rather than by placing it.
    void MoveBy(int dx, int dy) const;

private:
    int m_x, m_y;
    POINT m_saved{};
};

}  // namespace vtest
