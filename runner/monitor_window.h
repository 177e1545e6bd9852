#pragma once
// A black window of Velmora's own over one monitor: a cover where the running
// screensaver does not draw, or the window a screensaver of a monitor's own
// draws in. It never takes activation or the keyboard focus from a
// screensaver, and shows no cursor; the user's input over it reaches the
// run through the input watch's hooks. In a run of a screensaver per monitor
// no screensaver window can hold the focus, so one host holds it instead.
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
    // Takes the foreground and the keyboard focus for the run, so that no
    // key reaches the program the user left in front, and Windows sees a
    // full-screen program there (no notifications over the screensavers).
    // Keys that reach it are dropped: the hooks take them as the user's
    // return.
    void HoldFocus();
    const velmora::runner::Area& AreaOf() const { return m_area; }
    // A host follows the screensaver it hosts (pid; 0 when none runs): a
    // screensaver that makes a popup of its own instead of a child window
    // is kept in sight (the host goes just below its top-level windows);
    // with none, the host is on top again. From any thread; wait: returns
    // once the window has taken it up (it is about to be asked to close).
    void FollowScreensaver(DWORD pid, bool wait = false);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Follow();

    velmora::runner::Area m_area;
    bool m_holdsFocus = false;
    volatile LONG m_followPid = 0;
    int m_followChecks = 0;
};
