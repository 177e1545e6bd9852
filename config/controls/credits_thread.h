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
    void Release();
    HDC Dc() const { return m_dc ? static_cast<HDC>(*m_dc) : nullptr; }
    HBITMAP Bitmap() const { return m_bitmap; }
    explicit operator bool() const { return Dc() != nullptr; }

private:
    std::optional<CMemoryDC> m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
};

// Scrolls credits written in the credits markup upward through an area of
// the target window, over what the window shows there, one row per frame,
// without end. Everything is drawn once, on the first frame, into an
// off-screen credits picture and its mask; a frame is the background, the
// picture laid over it where it is not white, and one copy to the window.
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
    void DrawStep() override;

private:
    void PrepareCredits();
    void CreateCreditFonts();
    void CreateCreditColors();
    void SplitCredits();
    void DrawBackground();
    void DrawCredits(const velmora::credits::CreditsLayout& layout);
    velmora::credits::CreditsLayout MeasureCredits();

    std::string m_strCredits;
    RECT m_rcArea;
    CGdiObject<HRGN> m_rgnClip;
    CSurface m_background;
    CSurface m_credits;
    CSurface m_work;
    CSurface m_mask;
    int m_nWidth;
    int m_nHeight;
    int m_nTotalHeight = 0;
    int m_nScrollPos = 0;
    std::vector<std::string> m_lines;
    std::vector<COLORREF> m_colours;
    std::vector<CFont> m_fonts;
    std::vector<int> m_lineHeights;
    bool m_bPrepared = false;
    HBITMAP m_hBackgroundPicture = nullptr;
    POINT m_ptBackgroundOrigin{};
    std::atomic<long> m_frames{0};
};
