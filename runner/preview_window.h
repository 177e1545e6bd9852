#pragma once
#include <windows.h>

#include "framework/wnd.h"

// The still picture shown in the Display Properties preview: bitmap 129
// centred on black, in a child window that fills the area Windows gave.
class CPreviewWnd : public CWnd {
public:
    explicit CPreviewWnd(BOOL autoDelete) : m_bAutoDelete(autoDelete) {}

    virtual BOOL Create(DWORD dwExStyle, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID);
    // Creation under a window that is not one of ours.
    BOOL Create(DWORD dwExStyle, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                HWND parent, UINT nID);

    // When set, the object deletes itself once its window is gone.
    BOOL m_bAutoDelete;

protected:
    void OnPaint() override;
    void PostNcDestroy() override;

private:
    static const char* WindowClass();
};

// Preview mode: the program's picture as a child of the given window. False
// when the window cannot be created (a null or invalid parent).
bool StartPreview(HWND parent);
