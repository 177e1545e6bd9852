#pragma once
// The probe's window: full screen (filled with its colour, its file name in
// the middle, ending when the user comes back) or a preview child (filled
// with its colour, ending with its parent).
#include <windows.h>

#include <string>

#include "framework/wnd.h"

class CProbeWnd : public CWnd {
public:
    // closable: whether WM_CLOSE ends the full-screen window; endsOnInput:
    // whether a key, button or move does.
    CProbeWnd(COLORREF colour, std::string name, bool closable, bool endsOnInput = true);

    // Whether the full-screen window ended on input rather than WM_CLOSE.
    bool EndedByInput() const { return m_endedByInput; }

    // A topmost popup over the whole screen, in the foreground with focus
    // (not topmost with notTopmost; ending when it loses activation with
    // endsOnDeactivate; of the standard screensaver library's class and
    // title with screensaverClass).
    BOOL CreateFullScreen(bool primaryOnly = false, bool notTopmost = false,
                          bool endsOnDeactivate = false, bool screensaverClass = false);
    // A child filling the parent's client area, or with popup a window of
    // its own laid over that area (topmost unless notTopmost); FALSE for an
    // invalid parent.
    BOOL CreatePreview(HWND parent, bool popup = false, bool notTopmost = false);

    // The class and title of the standard screensaver library's full-screen
    // window, which single-instance screensavers look for.
    static constexpr char kScreensaverClass[] = "WindowsScreenSaverClass";
    static constexpr char kScreensaverTitle[] = "Screensaver";

    // How far the pointer may drift before the user counts as back.
    static constexpr int kMoveTolerance = 4;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA cs) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    void OnClose() override;

private:
    void Draw(HDC dc);
    void OnMouseMove(POINT at);
    void EndOnInput();

    COLORREF m_colour;
    std::string m_name;
    bool m_closable;
    bool m_endsOnInput;
    bool m_endedByInput = false;
    bool m_fullScreen = false;
    bool m_endsOnDeactivate = false;
    HWND m_parent = nullptr;
    bool m_haveFirstCursor = false;
    POINT m_firstCursor{};
};
