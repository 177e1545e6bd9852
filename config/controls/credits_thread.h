#pragma once
#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "config/controls/credits_markup.h"
#include "config/controls/gdi_thread.h"
#include "framework/dc.h"
#include "framework/gdi.h"

// A memory device context with a bitmap of its own selected into it; the
// bitmap the DC held before is put back before the own bitmap is deleted.
class CSurface {
public:
    CSurface() = default;
    ~CSurface() { Release(); }
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    // A DC compatible with compatibleDc holding bitmap (owned from now on).
    BOOL Create(HDC compatibleDc, HBITMAP bitmap);
    // The same with a new 32-bit bitmap whose pixels can be reached, top row
    // first. GDI batches its drawing: GdiFlush before reading what it drew.
    BOOL CreatePixels(HDC compatibleDc, int width, int height);
    DWORD* Row(int y) const { return m_pixels + static_cast<size_t>(y) * static_cast<size_t>(m_width); }
    void Release();
    HDC Dc() const { return m_dc ? static_cast<HDC>(*m_dc) : nullptr; }
    HBITMAP Bitmap() const { return m_bitmap; }
    explicit operator bool() const { return Dc() != nullptr; }

private:
    std::optional<CMemoryDC> m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
    DWORD* m_pixels = nullptr;
    int m_width = 0;
};

// Scrolls credits written in the credits markup upward through an area of
// the target window, over what the window shows there, one row per frame,
// without end. Everything is drawn once, on the first frame, into an
// off-screen credits picture; a frame is the background with the picture
// laid over it where it is not white, copied to the window for the rows that
// show credits now or did in the frame before.
class CCreditsThread : public CGDIThread {
    VELMORA_RUNTIME_CLASS(CCreditsThread)
public:
    // area: in the target window's client coordinates. Makes only the clip
    // region; everything else is made on the drawing thread.
    CCreditsThread(CWnd* owner, HDC target, const RECT& area, const std::string& credits);
    ~CCreditsThread() override;

    // Takes the background from this picture (owned by the caller, kept
    // until the object is deleted) instead of from the window: origin is where
    // the area's top-left corner lies in it. Call before the thread starts.
    void SetBackground(HBITMAP picture, POINT origin);
    // The dots per inch the credits are drawn at (fonts and speed).
    void SetDpi(UINT dpi);

    // For inspection (tests): where the credits stand and what they made.
    int GetScrollPosition() const { return m_nScrollPos; }
    int GetTotalHeight() const { return m_nTotalHeight; }
    long GetFrameCount() const { return m_frames; }
    // Every GDI object the credits made and still own.
    std::vector<HGDIOBJ> GetGdiObjects() const;

    // The text colours, palette-relative as PALETTERGB makes them.
    static const COLORREF kColours[7];

protected:
    BOOL InitInstance() override;
    DWORD DrawStep() override;

private:
    // The top byte of a credits pixel that shows (the screen ignores it).
    static constexpr DWORD kInk = 0xFF000000;

    void PrepareCredits();
    void CreateCreditFonts();
    void CreateCreditColors();
    void SplitCredits();
    void MakeBackground();
    void ComposeRows(int top, int bottom);
    void DrawCredits(const velmora::credits::CreditsLayout& layout);
    velmora::credits::CreditsLayout MeasureCredits();

    std::string m_strCredits;
    RECT m_rcArea;
    CGdiObject<HRGN> m_rgnClip;
    CSurface m_background;
    CSurface m_credits;
    CSurface m_work;
    int m_nWidth;
    int m_nHeight;
    int m_nTotalHeight = 0;
    int m_nScrollPos = 0;
    std::vector<std::string> m_lines;
    std::vector<COLORREF> m_colours;
    std::vector<CFont> m_fonts;
    std::vector<int> m_lineHeights;
    std::vector<char> m_inkRows;     // per row of the credits picture
    std::vector<char> m_inkedShown;  // per row of the area, as last drawn
    bool m_bPrepared = false;
    HBITMAP m_hBackgroundPicture = nullptr;
    UINT m_dpi = 96;
    POINT m_ptBackgroundOrigin{};
    std::atomic<long> m_frames{0};
};
