#pragma once
// Whether the display is on, where Windows tells: a window registered for the
// console display state (Windows 8 and later) or for the monitor's power
// (Vista and 7) receives WM_POWERBROADCAST whenever it changes, and once at
// registration. Older Windows reports nothing, and nothing is registered.
#include <windows.h>

namespace velmora::runner {

class DisplayPower {
public:
    DisplayPower() = default;
    ~DisplayPower() { Unregister(); }
    DisplayPower(const DisplayPower&) = delete;
    DisplayPower& operator=(const DisplayPower&) = delete;

    // Registers the window for the display state this Windows reports; false
    // where there is none.
    bool Register(HWND window);
    void Unregister();

    enum class State { Unknown, Off, On };
    // What a WM_POWERBROADCAST says of the display. A dimmed display is on.
    static State StateOf(WPARAM wParam, LPARAM lParam);

private:
    void* m_notification = nullptr;
};

}  // namespace velmora::runner
