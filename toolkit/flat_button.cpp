#include "toolkit/flat_button.h"

#include <commctrl.h>

#include <string>

#include "framework/win_app.h"
#include "toolkit/contrast.h"
#include "toolkit/dpi.h"
#include "toolkit/toolkit_manager.h"
#include "toolkit/visual_style.h"

using velmora::toolkit::ScaleForDpi;
using velmora::toolkit::WindowDpi;

namespace {
BOOL g_drawThemed = TRUE;

// Push-button part and states of the "BUTTON" theme class.
constexpr int kPartPushButton = 1;
constexpr int kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4,
              kStateDefaulted = 5;
}  // namespace

CFlatButton::~CFlatButton() {
    if (m_hTooltip && ::IsWindow(m_hTooltip)) ::DestroyWindow(m_hTooltip);
}

void CFlatButton::SetDrawThemed(BOOL themed) { g_drawThemed = themed; }
BOOL CFlatButton::GetDrawThemed() { return g_drawThemed; }

void CFlatButton::PreSubclassWindow() {
    // Owner-drawn from now on; whether it was the default button is kept,
    // since BS_OWNERDRAW replaces the BS_DEFPUSHBUTTON type.
    DWORD type = GetStyle() & BS_TYPEMASK;
    m_bDefault = type == BS_DEFPUSHBUTTON;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate();
}

void CFlatButton::SetFlat(BOOL flat) {
    m_bFlat = flat;
    if (m_hWnd) Invalidate();
}

int CFlatButton::IconSize() const {
    const UINT dpi = m_hWnd ? WindowDpi(m_hWnd) : velmora::toolkit::kDefaultDpi;
    if (!m_hWnd) return ScaleForDpi(16, dpi);
    RECT r = GetClientRect();
    // A large picture where the button is tall enough to frame it.
    return r.bottom - r.top >= ScaleForDpi(40, dpi) && GetWindowText().empty()
               ? ScaleForDpi(32, dpi)
               : ScaleForDpi(16, dpi);
}

void CFlatButton::SetIcon(UINT iconResourceId) {
    // Loaded at the size it is drawn at (the icon holds sizes for each
    // display scaling), and again when the dpi changes.
    SetIcon(velmora::toolkit::LoadIconSized(AfxGetInstanceHandle(), iconResourceId, IconSize()));
    m_iconId = iconResourceId;
}

void CFlatButton::SetIcon(HICON icon) {
    m_iconId = 0;
    if (icon == m_icon.Get()) return;
    m_icon.Attach(icon);
    if (m_hWnd) Invalidate();
}

void CFlatButton::SetTooltipText(const char* text) {
    if (!m_hWnd) return;
    HWND parent = GetParent();
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    info.lpszText = const_cast<char*>(text ? text : "");
    if (!m_hTooltip) {
        m_hTooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                                     AfxGetInstanceHandle(), nullptr);
        if (!m_hTooltip) return;
        ::SendMessageA(m_hTooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        ::SendMessageA(m_hTooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

LRESULT CFlatButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == velmora::toolkit::DpiChangedMessage()) {
        if (m_iconId) SetIcon(m_iconId);
        return 0;
    }
    switch (message) {
    case BM_SETSTYLE: {
        // The dialog manager moves the default-button look from button to
        // button with BM_SETSTYLE: keep the owner-drawn type, note the rest.
        m_bDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        LRESULT r = ::DefSubclassProc(m_hWnd, message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW,
                                      lParam);
        Invalidate();
        return r;
    }
    case WM_GETDLGCODE:
        return DLGC_BUTTON | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case WM_MOUSEMOVE:
        if (!m_bHot) {
            m_bHot = true;
            Invalidate(FALSE);
        }
        if (!m_bTracking) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
            m_bTracking = TrackMouseEvent(&track) != FALSE;
        }
        break;
    case WM_MOUSELEAVE:
        m_bTracking = false;
        m_bHot = false;
        Invalidate(FALSE);
        break;
    case WM_ENABLE:
        Invalidate(FALSE);
        break;
    case WM_NCDESTROY:
        if (m_hTooltip && ::IsWindow(m_hTooltip)) ::DestroyWindow(m_hTooltip);
        m_hTooltip = nullptr;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CFlatButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM) return FALSE;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

void CFlatButton::DrawFrame(HDC dc, RECT rect, bool pressed, bool disabled) {
    CToolkitManager* manager = CToolkitManager::Get();
    // In high contrast the button is drawn in the theme's system colours and
    // keeps its frame, so that it can be told from the page.
    const bool contrast = velmora::toolkit::HighContrastOn();
    bool themed = g_drawThemed && manager && manager->DrawThemed() && !contrast;
    bool framed = !m_bFlat || m_bHot || pressed || (m_bDefault && !m_bFlat) || contrast;
    // Unframed, the button shows what lies under it: the themed page's
    // texture, or the dialog face colour.
    if (!themed || !CVisualStyle::Instance().DrawParentBackground(m_hWnd, dc, rect))
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    if (themed && framed) {
        CVisualStyle& style = CVisualStyle::Instance();
        HANDLE theme = style.Open(m_hWnd, L"BUTTON");
        int state = disabled  ? kStateDisabled
                    : pressed ? kStatePressed
                    : m_bHot  ? kStateHot
                    : m_bDefault ? kStateDefaulted
                                 : kStateNormal;
        bool drawn = style.DrawBackground(theme, dc, kPartPushButton, state, rect);
        style.Close(theme);
        if (drawn) return;
    }
    if (!framed) return;
    if (m_bFlat)
        DrawEdge(dc, &rect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    else
        DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
}

void CFlatButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawFrame(dc, rect, pressed, disabled);

    std::string text = GetWindowText();
    int offset = pressed ? 1 : 0;
    int iconSize = IconWidth(m_icon);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SIZE textSize{};
    if (!text.empty()) GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &textSize);
    int gap = iconSize && !text.empty() ? 4 : 0;
    int contentWidth = iconSize + gap + textSize.cx;
    int x = rect.left + (width - contentWidth) / 2 + offset;
    if (m_icon) {
        int y = rect.top + (height - iconSize) / 2 + offset;
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_icon.Get()), 0, x, y, iconSize,
                   iconSize, DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
        x += iconSize + gap;
    }
    if (!text.empty()) {
        RECT textRect{x, rect.top + offset, x + textSize.cx + 1, rect.bottom + offset};
        int mode = SetBkMode(dc, TRANSPARENT);
        COLORREF color = ::SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        ::SetTextColor(dc, color);
        SetBkMode(dc, mode);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}
