#pragma once
// Wine shows a child window only when the process of its top-level window
// draws it, so a preview inside another program's window (the screensaver
// settings' little monitor, a rotator's host window) stays unseen there. Under
// Wine a preview of ours whose parent belongs to another process also shows
// its frames in this: a borderless popup of its own, laid over the parent's
// client area, that never takes activation and hides the pointer. Windows
// draws the child itself, and there no mirror is made.
#include <windows.h>

#include <functional>

#include "framework/wnd.h"

class CPreviewMirror : public CWnd {
public:
    // present draws the latest frame into a DC of the mirror's size; close
    // asks the preview to end (the mirror is a top-level window of the
    // saver's, and whoever closes the saver's windows may close it first).
    CPreviewMirror(std::function<void(HDC)> present, std::function<void()> close);

    // True when the preview under parent needs a mirror to be seen.
    static bool NeededFor(HWND parent);
    BOOL CreateOver(HWND parent, const char* title);
    // Follows the parent: over its client area and above the windows there
    // while it shows, hidden while it does not.
    void Follow();
    // Draws the latest frame now.
    void Show();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnClose() override;

private:
    std::function<void(HDC)> m_present;
    std::function<void()> m_close;
    HWND m_parent = nullptr;
};
