#pragma once
// The window a demo saver animates: full screen (ending when the user comes
// back) or a preview child (ending with its parent). A 30 ms timer draws the
// next frame into a back buffer and copies it to the window.
#include <windows.h>

#include <memory>

#include "framework/wnd.h"
#include "savers/demos/dib_section.h"
#include "savers/demos/preview_mirror.h"
#include "savers/demos/scene_painter.h"

class CSaverWnd : public CWnd {
public:
    explicit CSaverWnd(std::unique_ptr<CScenePainter> painter);

    // A topmost popup over the whole screen, in the foreground, cursor hidden.
    BOOL CreateFullScreen(const char* title);
    // A child filling the parent's client area; false for an invalid parent.
    BOOL CreatePreview(HWND parent, const char* title);

    // How far the pointer must move before the user counts as back.
    static constexpr int kMoveTolerance = 4;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA cs) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;

private:
    void NextFrame();
    void Present(HDC dc);
    void OnMouseMove(POINT at);

    std::unique_ptr<CScenePainter> m_painter;
    CDibSection m_buffer;
    // Where Wine would not show a preview under another program's window.
    std::unique_ptr<CPreviewMirror> m_mirror;
    bool m_fullScreen = false;
    bool m_cursorHidden = false;
    POINT m_firstCursor{};
    int m_frame = 0;
};
