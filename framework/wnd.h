#pragma once
#include <windows.h>

#include <string>

#include "framework/runtime_class.h"

// A window object bound to one Win32 window. Windows of our own classes carry
// the object in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY; windows made by
// someone else (dialog items, dialogs, property sheets) are bound with
// SetWindowSubclass and carry it as the subclass reference data. Messages that
// arrive before the binding get the default procedure.
class CWnd {
    VELMORA_RUNTIME_CLASS(CWnd)
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
    // fails, including when the creation handler refused with -1. A class that is
    // not one of ours (a system control) is bound by subclassing after creation.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    // The same under a window that is not one of ours.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT id);

    BOOL DestroyWindow();

    // Binds this object to a window that exists already (a dialog item, a
    // system control). PreSubclassWindow runs first, with m_hWnd set.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Unbinds without destroying the window; answers the window.
    HWND UnsubclassWindow();

    // The object bound to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Thin conveniences over the Win32 calls of the same names.
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    // Changes style bits; with swpFlags a SetWindowPos makes the frame follow.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    std::string GetWindowText() const;
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;

    // The program's help action; the application routes help requests to its
    // main window here. Nothing by default.
    virtual void WinHelp(DWORD_PTR data, UINT command);

    HWND m_hWnd = nullptr;

protected:
    // The message map: one switch calling the typed handlers below, with the
    // default procedure for everything else.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Default handling of the message being processed now: the previous
    // procedure of a subclassed window, DefWindowProc for our own classes.
    LRESULT Default();

    // Runs when an existing window is bound to this object, before any of its
    // messages reaches WindowProc.
    virtual void PreSubclassWindow();

    // Messages a child control sends its parent (WM_COMMAND, WM_NOTIFY,
    // WM_DRAWITEM, WM_CTLCOLOR...) are first offered to the child's own object,
    // so controls can be self-contained. TRUE with *result = handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    virtual int OnCreate(LPCREATESTRUCTA cs);
    virtual void OnDestroy();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnPaint();
    virtual void OnClose();

    // Called after the window is gone and unbound; self-deleting windows
    // delete themselves here.
    virtual void PostNcDestroy();

    // For windows bound after creation by a derived framework class (dialogs,
    // property sheets): subclasses without calling PreSubclassWindow.
    BOOL Attach(HWND hwnd);

private:
    static LRESULT CALLBACK FrameworkWndProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void AfterNcDestroy();

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
    bool m_subclassed = false;
    // Messages of this object being handled now, one inside another; while
    // any is, PostNcDestroy (which may delete the object) waits for the
    // outermost to return.
    int m_dispatchDepth = 0;
    bool m_postNcDestroyPending = false;

protected:
    // Windows this object made (and so destroys with itself), as opposed to
    // windows it only took over.
    bool m_ownsWindow = false;
};

// Whether the window is of the window class (compared as Windows does,
// without regard to case).
inline bool IsWindowOfClass(HWND hwnd, const char* className) {
    char name[64] = "";
    return ::GetClassNameA(hwnd, name, sizeof name) > 0 && lstrcmpiA(name, className) == 0;
}

// A window's rectangle in its parent's client coordinates (where
// SetWindowPos places a child).
inline RECT RectInParent(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
