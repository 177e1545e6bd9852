#pragma once
#include <windows.h>

// A window object bound to one Win32 window. The object is stored in the
// window's GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY; messages that
// arrive before the binding get the default procedure.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Registers (once per distinct set of arguments) a window class whose
    // procedure is the framework's, and returns its name. The name stays valid
    // for the life of the process.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background,
                                        HICON icon);

    // Creates the window with this object bound to it. FALSE when CreateWindowEx
    // fails, including when the creation handler refused with -1.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    // The same under a window that is not one of ours.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT id);

    BOOL DestroyWindow();

    // The object bound to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND m_hWnd = nullptr;

protected:
    // The message map: one switch calling the typed handlers below, with the
    // default procedure for everything else.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Default handling of the message being processed now.
    LRESULT Default();

    virtual int OnCreate(LPCREATESTRUCTA cs);
    virtual void OnDestroy();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnPaint();
    virtual void OnClose();

    // Called after the window is gone and unbound; self-deleting windows
    // delete themselves here.
    virtual void PostNcDestroy();

private:
    static LRESULT CALLBACK FrameworkWndProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
};
