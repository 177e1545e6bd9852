#include "framework/wnd.h"

#include <commctrl.h>

#include <set>
#include <string>

#include "framework/critical_section.h"
#include "framework/proc_address.h"
#include "framework/win_app.h"

namespace {
// Our subclass is told apart from anyone else's by procedure and this id.
constexpr UINT_PTR kSubclassId = 0x56454C4D;

// The common controls' subclassing functions, looked up when a window is
// first subclassed: as imports they would load the common controls at every
// start of Velmora.scr, which never subclasses anything. The library is found
// by its bare name so that a program's manifest still chooses its version.
struct Subclassing {
    decltype(&::SetWindowSubclass) set = nullptr;
    decltype(&::GetWindowSubclass) get = nullptr;
    decltype(&::RemoveWindowSubclass) remove = nullptr;
    decltype(&::DefSubclassProc) forward = nullptr;
};

// Until the library is loaded no window can have been subclassed here, so a
// lookup needs nothing of it: only a new subclass loads it.
const Subclassing* Comctl(bool load) {
    if (!load && !GetModuleHandleA("comctl32.dll")) return nullptr;
    static const Subclassing functions = [] {
        HMODULE module = GetModuleHandleA("comctl32.dll");
        if (!module) module = LoadLibraryA("comctl32.dll");
        Subclassing f;
        f.set = ProcAddress<decltype(f.set)>(module, "SetWindowSubclass");
        f.get = ProcAddress<decltype(f.get)>(module, "GetWindowSubclass");
        f.remove = ProcAddress<decltype(f.remove)>(module, "RemoveWindowSubclass");
        f.forward = ProcAddress<decltype(f.forward)>(module, "DefSubclassProc");
        return f;
    }();
    return &functions;
}

BOOL AddSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    const Subclassing* f = Comctl(true);
    return f && f->set ? f->set(hwnd, proc, id, data) : FALSE;
}
BOOL FindSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* data) {
    const Subclassing* f = Comctl(false);
    return f && f->get ? f->get(hwnd, proc, id, data) : FALSE;
}
BOOL RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    const Subclassing* f = Comctl(false);
    return f && f->remove ? f->remove(hwnd, proc, id) : FALSE;
}
LRESULT NextSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Subclassing* f = Comctl(false);
    return f && f->forward ? f->forward(hwnd, message, wParam, lParam)
                           : DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

CWnd::~CWnd() {
    // An object destroyed while its window lives must not be reached again.
    // A window we only subclassed belongs to someone else (a dialog owns its
    // items): unbind it and leave it alone; one of our own classes goes.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandle(m_hWnd) == this) {
        HWND hwnd = m_hWnd;
        if (m_subclassed) {
            UnsubclassWindow();
        } else {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            m_hWnd = nullptr;
        }
        if (m_ownsWindow) ::DestroyWindow(hwnd);
    }
}

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background,
                                   HICON icon) {
    static CCriticalSection lock;
    static std::set<std::string> names;  // node-based: c_str() stays put
    char name[96];  // at most 8 + 4 * 9 + 8 characters
    wsprintfA(name, "Velmora:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()),
              classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
              static_cast<void*>(icon));
    CSingleLock hold(lock);
    auto it = names.find(name);
    if (it != names.end()) return it->c_str();

    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = FrameworkWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return names.insert(name).first->c_str();
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(exStyle, className, windowName, style, rect, parent ? parent->m_hWnd : nullptr,
                    id);
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parentHwnd, UINT id) {
    if (!className) return FALSE;
    HWND hwnd = CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parentHwnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                AfxGetInstanceHandle(), this);
    if (!hwnd) return FALSE;
    m_ownsWindow = true;
    // A system class never saw our WM_NCCREATE binding: subclass it now.
    if (FromHandle(hwnd) != this && !SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd)) return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandle(hwnd)) return FALSE;
    m_hWnd = hwnd;
    m_subclassed = true;
    if (!AddSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        m_subclassed = false;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent || !parent->m_hWnd) return FALSE;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd || !m_subclassed) return nullptr;
    RemoveSubclass(hwnd, SubclassProc, kSubclassId);
    m_hWnd = nullptr;
    m_subclassed = false;
    return hwnd;
}

namespace {
// Changes bits of GWL_STYLE or GWL_EXSTYLE; with swpFlags a SetWindowPos
// makes the frame follow (styles are cached until then).
BOOL ModifyStyleBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    SetWindowLongA(hwnd, index, static_cast<LONG>(changed));
    if (swpFlags)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyStyleBits(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

std::string CWnd::GetWindowText() const {
    int length = GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

RECT CWnd::GetClientRect() const {
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetWindowRect() const {
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

void CWnd::WinHelp(DWORD_PTR, UINT) {}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    // Another process's window carries no object of ours, whatever its class
    // procedure's address reads as there.
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != GetCurrentProcessId()) return nullptr;
    // Windows of our own classes carry the object pointer; the others only
    // when we subclassed them.
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC)) == FrameworkWndProc) {
        if (auto* self = reinterpret_cast<CWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
            return self;
    }
    DWORD_PTR ref = 0;
    if (FindSubclass(hwnd, SubclassProc, kSubclassId, &ref) && ref)
        return reinterpret_cast<CWnd*>(ref);
    return nullptr;
}

LRESULT CALLBACK CWnd::FrameworkWndProc(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    CWnd* self = reinterpret_cast<CWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self && message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<CWnd*>(cs->lpCreateParams);
        if (self) {
            self->m_hWnd = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        LRESULT result = self->Dispatch(message, wParam, lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->AfterNcDestroy();
        return result;
    }
    return self->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR refData) {
    CWnd* self = reinterpret_cast<CWnd*>(refData);
    if (!self) return NextSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        LRESULT result = self->Dispatch(message, wParam, lParam);
        RemoveSubclass(hwnd, SubclassProc, kSubclassId);
        self->m_subclassed = false;
        self->AfterNcDestroy();
        return result;
    }
    return self->Dispatch(message, wParam, lParam);
}

void CWnd::AfterNcDestroy() {
    m_hWnd = nullptr;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The main window is gone: the message loop ends with it.
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    // Destroyed from inside one of its own handlers (a WM_CLOSE handler that
    // calls DestroyWindow, say): that handler's Dispatch still uses the
    // object when it returns, so a self-deleting window must wait for it.
    if (m_dispatchDepth > 0) {
        m_postNcDestroyPending = true;
        return;
    }
    PostNcDestroy();
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage saved = m_current;  // handlers may send messages to themselves
    m_current = {message, wParam, lParam};
    ++m_dispatchDepth;
    LRESULT result = 0;
    if (!ReflectToChild(message, wParam, lParam, &result))
        result = WindowProc(message, wParam, lParam);
    m_current = saved;
    if (--m_dispatchDepth == 0 && m_postNcDestroyPending) {
        m_postNcDestroyPending = false;
        PostNcDestroy();  // may delete this: nothing of the object is used after it
    }
    return result;
}

BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
        break;
    case WM_NOTIFY:
        if (lParam) child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        if (lParam && reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return FALSE;
    }
    if (!child || child == m_hWnd) return FALSE;
    CWnd* object = FromHandle(child);
    return object && object->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    default:
        return Default();
    }
}

LRESULT CWnd::Default() {
    if (m_subclassed)
        return NextSubclassProc(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
    return DefWindowProcA(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

int CWnd::OnCreate(LPCREATESTRUCTA) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::PostNcDestroy() {}
