#pragma once
// A black window of Velmora's own over one monitor: a cover where the running
// screensaver does not draw, or the window a screensaver of a monitor's own
// draws in. It never takes activation or the keyboard focus from a
// screensaver, and shows no cursor; the user's input over it reaches the
// run through the input watch's hooks.
#include <windows.h>

#include "framework/wnd.h"
#include "runner/monitor_layout.h"

class CMonitorWnd : public CWnd {
public:
    // Made hidden, over the area; FALSE when it could not be made.
    BOOL CreateOver(const velmora::runner::Area& area);
    // Shown above every window; or just below `above` (a screensaver's
    // window), so that it stays over the desktop but under the screensaver.
    void ShowOnTop();
    void ShowBelow(HWND above);
    void Hide();
    const velmora::runner::Area& AreaOf() const { return m_area; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    velmora::runner::Area m_area;
};
