#include "toolkit/picture_bar_sheet.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "framework/win_app.h"
#include "toolkit/contrast.h"
#include "toolkit/dpi.h"

using velmora::toolkit::ScaleForDpi;
using velmora::toolkit::WindowDpi;

namespace {
// The sheet whose keys the thread's hook looks at (one sheet per program).
CPictureBarSheet* g_keySheet = nullptr;

constexpr int kMargin = 7;  // comctl32's own margin around the tab control
constexpr UINT kWmDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later

// One child moved and sized from one dpi to another, and given the new
// dialog font where it had the old one.
struct ScaleStep {
    UINT from, to;
    HFONT oldFont, newFont;
};

BOOL CALLBACK ScaleChild(HWND child, LPARAM param) {
    const auto& s = *reinterpret_cast<const ScaleStep*>(param);
    RECT r = RectInParent(::GetParent(child), child);
    auto at = [&](LONG v) { return MulDiv(v, static_cast<int>(s.to), static_cast<int>(s.from)); };
    SetWindowPos(child, nullptr, at(r.left), at(r.top), at(r.right - r.left), at(r.bottom - r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (s.newFont && reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)) == s.oldFont)
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(s.newFont), TRUE);
    return TRUE;
}

void Offset(HWND parent, HWND child, int dx, int dy) {
    RECT r = RectInParent(parent, child);
    SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

CPictureBarSheet::~CPictureBarSheet() {
    if (m_keyHook) UnhookWindowsHookEx(m_keyHook);
    if (g_keySheet == this) g_keySheet = nullptr;
}

void CPictureBarSheet::SetPictureBar(int barWidth, UINT bitmapId, int pictureWidth,
                                     COLORREF transparent) {
    m_barWidth = barWidth;
    m_strips = {{bitmapId, pictureWidth}};
    m_transparent = transparent;
}

void CPictureBarSheet::AddPictureStrip(UINT bitmapId, int pictureWidth) {
    m_strips.push_back({bitmapId, pictureWidth});
}

BOOL CPictureBarSheet::OnInitDialog() {
    BOOL result = CPropertySheet::OnInitDialog();
    m_dpi = WindowDpi(m_hWnd);
    if (m_barWidth > 0) Relayout();
    return result;
}

void CPictureBarSheet::Relayout() {
    HWND tab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
    if (!tab) return;
    RECT tabRect = RectInParent(m_hWnd, tab);
    // The height of the tab row: where the page area starts inside the tab.
    RECT display = {0, 0, tabRect.right - tabRect.left, tabRect.bottom - tabRect.top};
    TabCtrl_AdjustRect(tab, FALSE, &display);
    const int tabMargin = ScaleForDpi(kMargin, m_dpi);
    int rowHeight = display.top > tabMargin ? display.top - tabMargin : 0;

    // Every child but the tab moves right by the bar and up by the tab row;
    // the tab moves right and up too, so comctl32 places later pages with it.
    const int barWidth = ScaleForDpi(m_barWidth, m_dpi);
    const int margin = ScaleForDpi(kMargin, m_dpi);
    int dx = barWidth + margin;
    std::vector<HWND> children;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) Offset(m_hWnd, child, dx, -rowHeight);
    ::ShowWindow(tab, SW_HIDE);

    RECT window = GetWindowRect();
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + dx,
                 window.bottom - window.top - rowHeight, SWP_NOMOVE | SWP_NOZORDER);

    RECT page = display;
    OffsetRect(&page, tabRect.left + dx, tabRect.top - rowHeight);
    RECT barRect{margin, page.top, margin + barWidth, page.bottom};
    m_bar = std::make_unique<CPictureBar>();
    if (!m_bar->Create(m_hWnd, barRect, m_strips, m_transparent, m_dpi)) {
        m_bar.reset();
        return;
    }
    for (CPropertyPage* p : m_pages) m_bar->AddItem(p->GetCaption());
    m_bar->SetCurrent(GetActiveIndex());
    m_tabFollower.SubclassWindow(tab);
    // The keys that step through the pages are read before any window sees
    // them: the modal loop belongs to comctl32, whose own handling of them
    // looks at the hidden tab control (and Wine's does not step at all), and
    // the bar would take Ctrl+PgDn as a list box's PgDn.
    if (!m_keyHook) {
        g_keySheet = this;
        m_keyHook = SetWindowsHookExA(WH_GETMESSAGE, KeyHook, nullptr, GetCurrentThreadId());
    }
    // Tab order: the bar first, before the page.
    SetWindowPos(m_bar->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CPictureBarSheet::CTabFollower::WindowProc(UINT message, WPARAM wParam, LPARAM) {
    LRESULT result = Default();
    if (message == TCM_SETCURSEL && m_sheet.m_bar)
        m_sheet.m_bar->SetCurrent(static_cast<int>(wParam));
    return result;
}

LRESULT CPictureBarSheet::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    const UINT dpi = HIWORD(wParam);
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    if (dpi == 0 || dpi == m_dpi) return CPropertySheet::WindowProc(kWmDpiChanged, wParam, lParam);
    const UINT old = m_dpi;
    m_dpi = dpi;
    LRESULT result = 0;
    if (velmora::toolkit::DialogsScaleThemselves()) {
        // In per-monitor version 2 the dialog manager, in its default
        // handling of the message, takes the suggested rectangle and moves,
        // sizes and refonts the sheet's and the pages' children itself.
        result = CPropertySheet::WindowProc(kWmDpiChanged, wParam, lParam);
    } else {
        // Before it (per-monitor version 1 on 8.1 and early 10) only the
        // top-level window hears of the change: the program scales its
        // children and takes the rectangle Windows suggests.
        ScaleChildren(old, dpi);
        SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    velmora::toolkit::NotifyDpiChanged(m_hWnd, dpi);
    LoadWindowIcons();
    return result;
}

void CPictureBarSheet::SetWindowIcon(UINT iconId) {
    m_iconId = iconId;
    LoadWindowIcons();
}

void CPictureBarSheet::LoadWindowIcons() {
    if (!m_hWnd || !m_iconId) return;
    // A per-monitor aware program gets the system's sizes for the system dpi
    // from GetSystemMetrics and LoadIcon: the sizes are asked for the sheet's
    // own. The old icons go only once the window holds the new ones.
    HINSTANCE instance = AfxGetInstanceHandle();
    CIcon smallIcon(velmora::toolkit::LoadIconSized(
        instance, m_iconId, velmora::toolkit::MetricForDpi(SM_CXSMICON, m_dpi)));
    CIcon bigIcon(velmora::toolkit::LoadIconSized(
        instance, m_iconId, velmora::toolkit::MetricForDpi(SM_CXICON, m_dpi)));
    if (smallIcon) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
    if (bigIcon) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
    if (smallIcon) m_smallIcon = std::move(smallIcon);
    if (bigIcon) m_bigIcon = std::move(bigIcon);
}

void CPictureBarSheet::ScaleChildren(UINT from, UINT to) {
    // One dialog font at the new size for every child that had the old one.
    auto current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTA lf{};
    CFont scaled;
    if (current && GetObjectA(current, sizeof lf, &lf) == sizeof lf) {
        lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(to), static_cast<int>(from));
        lf.lfWidth = 0;
        scaled.CreateFontIndirect(lf);
    }
    ScaleStep step{from, to, current, scaled.Get()};
    EnumChildWindows(m_hWnd, ScaleChild, reinterpret_cast<LPARAM>(&step));
    if (scaled) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(scaled.Get()), FALSE);
        m_scaledFont = std::move(scaled);
    }
}

bool CPictureBarSheet::StepPageForKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !m_hWnd || !m_bar) return false;
    if (message.hwnd != m_hWnd && !IsChild(m_hWnd, message.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
    const bool back = GetKeyState(VK_SHIFT) < 0;
    int step = 0;
    if (message.wParam == VK_TAB) step = back ? -1 : 1;
    else if (message.wParam == VK_NEXT) step = 1;
    else if (message.wParam == VK_PRIOR) step = -1;
    if (step == 0) return false;
    // A control that takes every key (an editor in a list) keeps them.
    MSG copy = message;
    if (::SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam,
                       reinterpret_cast<LPARAM>(&copy)) &
        DLGC_WANTMESSAGE)
        return false;
    const int count = GetPageCount();
    if (count < 2) return true;
    const int next = (GetActiveIndex() + step + count) % count;
    // The page being left may refuse (PSN_KILLACTIVE); the bar then stays.
    SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(next), 0);
    return true;
}

LRESULT CALLBACK CPictureBarSheet::KeyHook(int code, WPARAM wParam, LPARAM lParam) {
    CPictureBarSheet* sheet = g_keySheet;
    HHOOK hook = sheet ? sheet->m_keyHook : nullptr;
    if (code == HC_ACTION && wParam == PM_REMOVE && sheet) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        // The key is taken: no window sees it after the page changed.
        if (sheet->StepPageForKey(*message)) message->message = WM_NULL;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT CPictureBarSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY && m_keyHook) {
        UnhookWindowsHookEx(m_keyHook);
        m_keyHook = nullptr;
        if (g_keySheet == this) g_keySheet = nullptr;
    }
    if (message == kWmDpiChanged && lParam) return OnDpiChanged(wParam, lParam);
    LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
    // A change of colours or of the high-contrast theme: the pages and our
    // own controls take the new colours now.
    if (message == WM_SYSCOLORCHANGE ||
        (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST) ||
        message == WM_THEMECHANGED)
        velmora::toolkit::RepaintForColours(m_hWnd);
    // PropertySheetA's modal loop sees that the sheet has ended only when
    // GetMessage returns, and a message sent from another thread (a button
    // pressed by a test or an accessibility tool) is handled inside GetMessage
    // without making it return: a posted no-op lets the loop end at once.
    if ((message == PSM_PRESSBUTTON ||
         (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))) &&
        InSendMessage() && ::IsWindow(m_hWnd))
        PostMessage(WM_NULL);
    // After a page change was asked for, the bar shows the page the sheet
    // really has: one that refused to be left keeps a click on the bar from
    // sticking (the tab control, and so its follower, saw no change then).
    if (m_bar && (message == PSM_SETCURSEL || message == PSM_SETCURSELID ||
                  (message == WM_NOTIFY && lParam &&
                   reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE)))
        m_bar->SetCurrent(GetActiveIndex());
    return result;
}
