#include "config/about_page.h"

#include "config/about_credits.h"
#include "config/maker_site.h"
#include "framework/data_exchange.h"
#include "framework/win_app.h"
#include "resources/velmora_exe_ids.h"
#include "toolkit/dpi.h"

CAbout::CAbout() : CToolkitPage(IDD_ABOUT) {}

CAbout::~CAbout() { StopCredits(); }

void CAbout::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_ABOUT_PICTURE, m_picture);
    DDX_Control(dx, IDC_HOME_PAGE_LINK, m_homePageLink);
}

BOOL CAbout::OnInitDialog() {
    // The object meets its window here (a dialog's WM_CREATE comes before
    // the binding), so the DC the credits draw through is made here.
    m_pClientDC = std::make_unique<CClientDC>(m_hWnd);
    CToolkitPage::OnInitDialog();
    // The picture drawn for the page's display scaling (the template's is
    // the 100 % one).
    m_dpi = PictureDpi();
    if (velmora::toolkit::PictureSetFor(m_dpi) > 100) {
        m_scaledPicture.Attach(velmora::toolkit::LoadBitmapForDpi(AfxGetInstanceHandle(), IDB_ABOUT,
                                                                  IDB_ABOUT_200, m_dpi));
        if (m_scaledPicture)
            m_picture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                                  reinterpret_cast<LPARAM>(m_scaledPicture.Get()));
    }
    FitPictureToItsBitmap();
    m_homePageLink.SetURL(velmora::config::kMakerHomePage);
    m_homePageLink.SizeToContent();
    m_homePageLink.SetDrawFocusRect(FALSE);
    return TRUE;
}

UINT CAbout::PictureDpi() const {
    // The page's dpi, unless the picture would then reach the text under it:
    // dialog units (which place that text) need not grow quite as the dpi.
    const UINT dpi = velmora::toolkit::WindowDpi(m_hWnd);
    const RECT picture = RectInParent(m_hWnd, m_picture.m_hWnd);
    int room = 0;
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const RECT r = RectInParent(m_hWnd, c);
        if (c != m_picture.m_hWnd && r.top > picture.top && (room == 0 || r.top - picture.top < room))
            room = r.top - picture.top;
    }
    // The picture is 260 pixels tall at 96 dpi, inside a sunken edge.
    const int edges = 2 * GetSystemMetrics(SM_CYEDGE) + velmora::toolkit::ScaleForDpi(1, dpi);
    if (room <= edges) return dpi;
    const UINT fits = static_cast<UINT>(MulDiv(room - edges, 96, 260));
    return fits < dpi ? (fits > 96 ? fits : 96) : dpi;
}

void CAbout::FitPictureToItsBitmap() {
    // The static control sizes its window, sunken edge included, to the
    // bitmap and then stretches the bitmap into the smaller client area. The
    // window grows by its edge instead, so every pixel shows as drawn.
    auto bitmap = reinterpret_cast<HBITMAP>(m_picture.SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return;
    RECT frame{0, 0, info.bmWidth, info.bmHeight};
    AdjustWindowRectEx(&frame, m_picture.GetStyle(), FALSE, m_picture.GetExStyle());
    m_picture.ModifyStyle(0, SS_REALSIZECONTROL);  // keeps the size it is given
    SetWindowPos(m_picture, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CAbout::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW) {
        LRESULT result = CToolkitPage::WindowProc(message, wParam, lParam);
        if (wParam) StartCredits();
        return result;
    }
    if (message == WM_SYSCOLORCHANGE && m_pCreditsThread) {
        // New colours (a high-contrast theme on or off): the credits start
        // again in them.
        StopCredits();
        if (IsWindowVisible()) StartCredits();
    }
    return CToolkitPage::WindowProc(message, wParam, lParam);
}

void CAbout::OnDestroy() {
    CToolkitPage::OnDestroy();
    StopCredits();
    m_pClientDC.reset();  // only after the thread that drew through it is gone
}

void CAbout::StopCredits() {
    if (!m_pCreditsThread) return;
    m_pCreditsThread->RequestStop();
    m_pCreditsThread->WaitForEnd(INFINITE);
    m_pCreditsThread.reset();
    m_background.Reset();
}

void CAbout::StartCredits() {
    if (m_pCreditsThread || !m_picture.m_hWnd) return;
    // The picture's frame in page coordinates gives the area; the area stays
    // inside the picture itself (not over its sunken edge).
    const RECT frame = RectInParent(m_hWnd, m_picture.m_hWnd);
    velmora::about::Area a =
        velmora::about::CreditsArea({frame.left, frame.top, frame.right, frame.bottom},
                                    static_cast<int>(m_dpi));
    RECT area{a.left, a.top, a.right, a.bottom};
    RECT client = m_picture.GetClientRect();
    MapWindowPoints(m_picture.m_hWnd, m_hWnd, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&area, &area, &client);

    auto thread = std::make_unique<CCreditsThread>(
        this, m_pClientDC ? static_cast<HDC>(*m_pClientDC) : nullptr, area,
        velmora::about::CreditsText());
    // The credits scroll over the picture itself, whatever covers the page
    // when the first frame is drawn and whether or not it has painted yet.
    m_background.Attach(
        velmora::toolkit::PictureSetFor(m_dpi) > 100
            ? velmora::toolkit::LoadBitmapForDpi(AfxGetInstanceHandle(), IDB_ABOUT, IDB_ABOUT_200,
                                                 m_dpi)
            : static_cast<HBITMAP>(LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_ABOUT),
                                              IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    thread->SetDpi(m_dpi);
    if (m_background)
        thread->SetBackground(m_background, POINT{area.left - client.left, area.top - client.top});
    if (!thread->CreateThread(CREATE_SUSPENDED)) {
        m_background.Reset();
        return;  // no credits this time; the next showing tries again
    }
    thread->SetThreadPriority(THREAD_PRIORITY_IDLE);
    m_pCreditsThread = std::move(thread);
    m_pCreditsThread->ResumeThread();
}
