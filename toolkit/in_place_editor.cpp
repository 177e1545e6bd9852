#include "toolkit/in_place_editor.h"

#include "framework/dc.h"
#include "framework/gdi.h"

#include <commctrl.h>

CInPlaceEditor::CInPlaceEditor() = default;

CInPlaceEditor::~CInPlaceEditor() {
    // Going with the list: the window goes without reporting an end.
    m_owner = nullptr;
    m_browse.m_editor = nullptr;
}

BOOL CInPlaceEditor::Create(IInPlaceEditOwner* owner, HWND parent, const RECT& rect,
                            const std::string& text, BOOL browseButton) {
    if (m_hWnd) return FALSE;
    m_owner = owner;
    m_ending = false;
    // WS_CLIPCHILDREN: the edit repaints its whole client area, which would
    // paint over the browse button inside it.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN | ES_LEFT |
                        ES_AUTOHSCROLL;
    if (!CreateEx(0, "Edit", text.c_str(), style, rect, parent, 0)) return FALSE;
    auto font = static_cast<WPARAM>(::SendMessageA(parent, WM_GETFONT, 0, 0));
    SendMessage(WM_SETFONT, font, FALSE);

    if (browseButton) {
        RECT client = GetClientRect();
        int height = client.bottom - client.top;
        int width = height;
        CClientDC dc(m_hWnd);
        if (dc) {
            ScopedSelectObject select(dc, reinterpret_cast<HGDIOBJ>(font));
            SIZE dots{};
            GetTextExtentPoint32A(dc, "...", 3, &dots);
            if (dots.cx + 8 > width) width = dots.cx + 8;
        }
        RECT button{client.right - width, client.top, client.right, client.bottom};
        m_browse.m_editor = this;
        if (m_browse.CreateEx(0, "Button", "...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, button,
                              m_hWnd, kBrowseButtonId)) {
            m_browse.SendMessage(WM_SETFONT, font, FALSE);
            // A font change resets the margins, so this comes after it: the
            // text stops short of the button.
            SendMessage(EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width + 1));
        }
    }
    SendMessage(EM_SETSEL, 0, -1);
    ::SetFocus(m_hWnd);
    return TRUE;
}

void CInPlaceEditor::End(BOOL commit) {
    if (!m_hWnd || m_ending) return;
    m_ending = true;
    std::string text = GetWindowText();
    // Enter and Escape end with the focus inside the editor; it goes back to
    // the list rather than to nowhere when the window is destroyed.
    HWND focus = ::GetFocus();
    if (focus == m_hWnd || (m_browse.m_hWnd && focus == m_browse.m_hWnd)) ::SetFocus(GetParent());
    DestroyWindow();
    m_ending = false;
    if (m_owner) m_owner->OnEditEnd(commit, text);
}

void CInPlaceEditor::OnFocusLeft(HWND newFocus) {
    if (m_ending || !m_hWnd) return;
    if (newFocus == m_hWnd || (m_browse.m_hWnd && newFocus == m_browse.m_hWnd)) return;
    End(TRUE);
}

LRESULT CInPlaceEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: {
        // The dialog manager would take Enter for the default button and
        // Escape for Cancel; the editor wants both for itself.
        LRESULT code = Default();
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN &&
            (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            End(wParam == VK_RETURN);
            return 0;
        }
        if (wParam == VK_F4 && m_browse.m_hWnd) {
            if (m_owner) m_owner->OnEditBrowse();
            return 0;
        }
        return Default();
    case WM_CHAR:
        // The characters of Enter and Escape would only beep in a single-line edit.
        if (wParam == '\r' || wParam == '\x1b') return 0;
        return Default();
    case WM_KILLFOCUS: {
        LRESULT result = Default();
        OnFocusLeft(reinterpret_cast<HWND>(wParam));
        return result;
    }
    case WM_MOUSEWHEEL:
        // The list would scroll away under the editor: the edit ends first.
        End(TRUE);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kBrowseButtonId && HIWORD(wParam) == BN_CLICKED) {
            if (m_owner) m_owner->OnEditBrowse();
            return 0;
        }
        return Default();
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CInPlaceEditor::CBrowseButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KILLFOCUS) {
        LRESULT result = Default();
        if (m_editor) m_editor->OnFocusLeft(reinterpret_cast<HWND>(wParam));
        return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
