#include "config/controls/credits_thread.h"

#include <cstdio>
#include <cstring>

#include "framework/win_app.h"
#include "framework/wnd.h"
#include "toolkit/contrast.h"
#include "toolkit/dpi.h"

namespace credits = velmora::credits;

BOOL CSurface::Create(HDC compatibleDc, HBITMAP bitmap) {
    Release();
    m_bitmap.Attach(bitmap);
    m_dc.emplace(compatibleDc);
    if (!*m_dc || !bitmap) return FALSE;
    m_previous = SelectObject(*m_dc, bitmap);
    if (m_previous == HGDI_ERROR) m_previous = nullptr;
    return m_previous != nullptr;
}

BOOL CSurface::CreatePixels(HDC compatibleDc, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = width > 0 && height > 0
                         ? CreateDIBSection(compatibleDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                         : nullptr;
    if (!Create(compatibleDc, bitmap) || !bits) {
        Release();
        return FALSE;
    }
    m_pixels = static_cast<DWORD*>(bits);
    m_width = width;
    return TRUE;
}

void CSurface::Release() {
    // The own bitmap leaves the DC before it is deleted.
    if (m_dc && m_previous) SelectObject(*m_dc, m_previous);
    m_previous = nullptr;
    m_pixels = nullptr;
    m_width = 0;
    m_bitmap.Reset();
    m_dc.reset();
}

const COLORREF CCreditsThread::kColours[7] = {
    PALETTERGB(180, 0, 180), PALETTERGB(250, 250, 250), PALETTERGB(50, 50, 50),
    PALETTERGB(200, 200, 200), PALETTERGB(200, 50, 50), PALETTERGB(30, 30, 255),
    PALETTERGB(0, 0, 0),
};

namespace {

struct CreditsFont {
    const char* face;
    int height;
    int weight;
    bool italic;
};
const CreditsFont kFonts[] = {
    {"Arial", 16, 600, false},
    {"Arial", 16, 400, false},
    {"Times Roman", 32, 900, true},
};

// Heights of the program's bitmap resources, each loaded and let go again.
struct ResourcePictures : credits::PictureHeights {
    int HeightOf(const std::string& name) override {
        CBitmap bitmap(LoadBitmapA(AfxGetInstanceHandle(), name.c_str()));
        BITMAP info{};
        if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return -1;
        return info.bmHeight;
    }
};

}  // namespace

CCreditsThread::CCreditsThread(CWnd* owner, HDC target, const RECT& area,
                               const std::string& credits)
    : CGDIThread(owner, target),
      m_strCredits(credits),
      m_rcArea(area),
      m_rgnClip(CreateRectRgnIndirect(&area)),
      m_nWidth(area.right - area.left),
      m_nHeight(area.bottom - area.top) {}

CCreditsThread::~CCreditsThread() {
    // Bitmaps out of their DCs and deleted first, then the fonts (none is
    // selected any more), then the region with the members.
    m_background.Release();
    m_work.Release();
    m_credits.Release();
    m_fonts.clear();
}

void CCreditsThread::SetDpi(UINT dpi) {
    m_dpi = dpi;
    // The same speed in inches per second on any display scaling.
    const int step = velmora::toolkit::ScaleForDpi(1, dpi);
    m_nScrollInc = step > 1 ? step : 1;
}

void CCreditsThread::SetBackground(HBITMAP picture, POINT origin) {
    m_hBackgroundPicture = picture;
    m_ptBackgroundOrigin = origin;
}

std::vector<HGDIOBJ> CCreditsThread::GetGdiObjects() const {
    std::vector<HGDIOBJ> objects;
    if (m_rgnClip) objects.push_back(m_rgnClip.Get());
    for (const CFont& font : m_fonts)
        if (font) objects.push_back(font.Get());
    for (const CSurface* surface : {&m_background, &m_credits, &m_work}) {
        if (surface->Dc()) objects.push_back(surface->Dc());
        if (surface->Bitmap()) objects.push_back(surface->Bitmap());
    }
    return objects;
}

BOOL CCreditsThread::InitInstance() { return CGDIThread::InitInstance(); }

DWORD CCreditsThread::DrawStep() {
    if (!m_bPrepared) {
        m_bPrepared = true;  // a failed preparation counts as done
        PrepareCredits();
    }
    LARGE_INTEGER frequency{}, start{};
    bool counter = QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
    if (counter) QueryPerformanceCounter(&start);
    {
        CDrawingLock lock;
        MakeBackground();
        // Only the rows that show the credits now, or showed them in the
        // last frame, change; the others keep the background they show.
        std::vector<char> inked =
            credits::InkedRows(m_inkRows, m_nScrollPos, m_nTotalHeight, m_nHeight);
        std::vector<credits::Band> bands = credits::ChangedBands(m_inkedShown, inked);
        for (const credits::Band& band : bands) ComposeRows(band.top, band.bottom);
        // One copy from the first changed row to the last: every copy to the
        // window has a cost of its own, and the rows between hold what the
        // window shows already.
        if (!bands.empty() && m_work)
            BitBlt(m_dc, m_rcArea.left, m_rcArea.top + bands.front().top, m_nWidth,
                   bands.back().bottom - bands.front().top, m_work.Dc(), 0, bands.front().top,
                   SRCCOPY);
        m_inkedShown = std::move(inked);
        GdiFlush();
    }
    m_nScrollPos = credits::NextScrollPosition(m_nScrollPos, m_nScrollInc, m_nTotalHeight);
    ++m_frames;
    int sleep = m_nDelay;
    if (counter) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        sleep = credits::PacingSleep(now.QuadPart - start.QuadPart, frequency.QuadPart, m_nDelay);
    }
    return sleep > 0 ? static_cast<DWORD>(sleep) : 0;
}

void CCreditsThread::CreateCreditFonts() {
    CMemoryDC measure(m_hTargetDC);
    for (const CreditsFont& style : kFonts) {
        LOGFONTA lf{};
        lstrcpynA(lf.lfFaceName, style.face, LF_FACESIZE);
        lf.lfHeight = velmora::toolkit::ScaleForDpi(style.height, m_dpi);
        lf.lfWeight = style.weight;
        lf.lfItalic = style.italic ? TRUE : FALSE;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        CFont font;
        font.CreateFontIndirect(lf);
        SIZE extent{};
        {
            ScopedSelectObject select(measure, font);
            GetTextExtentPoint32A(measure, "Wy", 2, &extent);
        }
        m_fonts.push_back(std::move(font));
        m_lineHeights.push_back(extent.cy);
    }
}

void CCreditsThread::CreateCreditColors() {
    m_colours.assign(std::begin(kColours), std::end(kColours));
    // In high contrast every line takes the theme's text colour.
    if (velmora::toolkit::HighContrastOn())
        for (COLORREF& colour : m_colours) colour = GetSysColor(COLOR_WINDOWTEXT);
}

namespace {
bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }
}  // namespace

void CCreditsThread::SplitCredits() {
    m_lines = credits::SplitCredits(m_strCredits, m_nHeight, IsLeadByte);
}

credits::CreditsLayout CCreditsThread::MeasureCredits() {
    ResourcePictures pictures;
    return credits::LayOutCredits(m_lines, m_lineHeights, static_cast<int>(m_colours.size()),
                                  pictures);
}

void CCreditsThread::PrepareCredits() {
    CreateCreditFonts();
    CreateCreditColors();
    SplitCredits();
    SelectClipRgn(m_dc, m_rgnClip);
    m_work.CreatePixels(m_hTargetDC, m_nWidth, m_nHeight);

    credits::CreditsLayout layout = MeasureCredits();
    if (layout.failed) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "Could not find bitmap resource \"%s\". Be sure to assign the bitmap a "
                      "QUOTED resource name",
                      layout.missingPicture.c_str());
        HWND owner = m_pMainWnd && m_pMainWnd->m_hWnd
                         ? GetAncestor(m_pMainWnd->m_hWnd, GA_ROOT)
                         : nullptr;
        MessageBoxA(owner, text, nullptr, MB_OK);
        return;
    }
    m_nTotalHeight = layout.totalHeight;
    if (m_nWidth <= 0 || m_nTotalHeight <= 0) return;

    if (!m_credits.CreatePixels(m_hTargetDC, m_nWidth, m_nTotalHeight)) return;
    RECT all{0, 0, m_nWidth, m_nTotalHeight};
    FillRect(m_credits.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawCredits(layout);
    GdiFlush();  // the pixels are read directly next

    // What is not white is the credits: marked by a full top byte (which the
    // screen ignores), so that a frame takes those pixels and the
    // background's elsewhere; a row with none of them leaves the background.
    m_inkRows.assign(static_cast<size_t>(m_nTotalHeight), 0);
    for (int y = 0; y < m_nTotalHeight; ++y) {
        DWORD* row = m_credits.Row(y);
        for (int x = 0; x < m_nWidth; ++x) {
            if ((row[x] & 0xFFFFFF) == 0xFFFFFF) {
                row[x] = 0;
            } else {
                row[x] |= kInk;
                m_inkRows[static_cast<size_t>(y)] = 1;
            }
        }
    }
}

void CCreditsThread::DrawCredits(const credits::CreditsLayout& layout) {
    HDC dc = m_credits.Dc();
    ScopedSelectObject font(dc, m_fonts.empty() ? nullptr : m_fonts[0].Get());
    SetBkMode(dc, TRANSPARENT);
    for (const credits::PlacedItem& item : layout.items) {
        if (item.kind == credits::LineKind::Picture) {
            CBitmap picture(LoadBitmapA(AfxGetInstanceHandle(), item.picture.c_str()));
            BITMAP info{};
            if (!picture || !GetObjectA(picture, sizeof info, &info)) continue;
            CMemoryDC source(dc);
            ScopedSelectObject select(source, picture);
            BitBlt(dc, credits::CentredLeft(m_nWidth, info.bmWidth), item.y, info.bmWidth,
                   info.bmHeight, source, 0, 0, SRCCOPY);
            continue;
        }
        if (item.selectFont >= 0) SelectObject(dc, m_fonts[static_cast<size_t>(item.selectFont)]);
        if (item.selectColour >= 0)
            SetTextColor(dc, m_colours[static_cast<size_t>(item.selectColour)]);
        RECT line{0, item.y, m_nWidth, item.y + item.height};
        DrawTextA(dc, item.text.c_str(), static_cast<int>(item.text.size()), &line, 0);
    }
}

void CCreditsThread::MakeBackground() {
    if (m_background || !m_background.CreatePixels(m_hTargetDC, m_nWidth, m_nHeight)) return;
    if (velmora::toolkit::HighContrastOn()) {
        // In high contrast the credits scroll over the theme's window colour.
        const RECT all{0, 0, m_nWidth, m_nHeight};
        FillRect(m_background.Dc(), &all, GetSysColorBrush(COLOR_WINDOW));
    } else if (m_hBackgroundPicture) {
        // The picture itself, whatever covers the window just now.
        CMemoryDC source(m_hTargetDC);
        ScopedSelectObject select(source, m_hBackgroundPicture);
        BitBlt(m_background.Dc(), 0, 0, m_nWidth, m_nHeight, source, m_ptBackgroundOrigin.x,
               m_ptBackgroundOrigin.y, SRCCOPY);
    } else {
        BitBlt(m_background.Dc(), 0, 0, m_nWidth, m_nHeight, m_dc, m_rcArea.left, m_rcArea.top,
               SRCCOPY);
    }
    GdiFlush();
}

void CCreditsThread::ComposeRows(int top, int bottom) {
    if (!m_work || !m_background) return;
    // Never past the picture's last row: below it the background stays.
    const int overlay =
        m_credits ? credits::OverlayRows(m_nScrollPos, m_nTotalHeight, m_nHeight) : 0;
    const size_t rowBytes = static_cast<size_t>(m_nWidth) * sizeof(DWORD);
    for (int y = top; y < bottom; ++y) {
        DWORD* out = m_work.Row(y);
        const DWORD* background = m_background.Row(y);
        if (y >= overlay || !m_inkRows[static_cast<size_t>(m_nScrollPos + y)]) {
            std::memcpy(out, background, rowBytes);
            continue;
        }
        // A credits pixel is 0 where it does not show, and has its top bit
        // set where it does: (top bit - 1) keeps the background only there.
        const DWORD* credit = m_credits.Row(m_nScrollPos + y);
        for (int x = 0; x < m_nWidth; ++x)
            out[x] = (background[x] & ((credit[x] >> 31) - 1)) | credit[x];
    }
}
