#include "config/controls/animated_picture.h"

#include "config/controls/gif_walk.h"
#include "framework/gdi.h"
#include "framework/global_memory.h"
#include "framework/win_app.h"
#include "framework/win_thread.h"

namespace gif = velmora::gif;

// The worker that plays the frames: its whole life is one run of the
// control's loop (no message loop). The control owns it, stops it through
// its stop event and deletes it once it has ended.
class CAnimatedPicture::CAnimationThread : public CWinThread {
public:
    explicit CAnimationThread(CAnimatedPicture& owner) : m_owner(owner) { m_bAutoDelete = FALSE; }

protected:
    BOOL InitInstance() override {
        m_owner.Animate(*this);
        return FALSE;
    }

private:
    CAnimatedPicture& m_owner;
};

CAnimatedPicture::CAnimatedPicture() = default;

CAnimatedPicture::~CAnimatedPicture() { Unload(); }

BOOL CAnimatedPicture::LoadFromResource(const char* name, const char* type) {
    const HINSTANCE instance = AfxGetInstanceHandle();
    const HRSRC resource = FindResourceA(instance, name, type);
    if (!resource) return FALSE;
    const HGLOBAL loaded = LoadResource(instance, resource);
    const DWORD size = SizeofResource(instance, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return FALSE;
    CGlobalMemory block;
    if (!block.CopyOf(bytes, size)) return FALSE;
    return Load(block.Get(), size);
}

BOOL CAnimatedPicture::Load(HGLOBAL memory, DWORD size) {
    Unload();
    if (!memory || GlobalSize(memory) < size) return FALSE;
    CGlobalLock lock(memory);
    const auto* data = static_cast<const uint8_t*>(lock.Data());
    if (!data) return FALSE;
    gif::Screen screen;
    if (!gif::ReadScreen(data, size, &screen)) {
        lock.Unlock();
        return LoadStill(memory, size, true);
    }
    gif::Walker walker(data, size, screen);
    const int count = walker.CountFrames();
    if (count == 0) return FALSE;
    if (count == 1) {
        lock.Unlock();
        if (!LoadStill(memory, size, false)) return FALSE;
    } else {
        walker.Rewind();
        gif::Frame frame;
        while (walker.ExtractFrame(&frame)) {
            // A frame that cannot be decoded is left out; the others play.
            CGlobalMemory block;
            if (!block.CopyOf(frame.gif.data(), frame.gif.size())) continue;
            FrameRecord record;
            if (!record.picture.Load(block.Detach(), static_cast<DWORD>(frame.gif.size()), true))
                continue;
            record.width = Scaled(frame.width);
            record.height = Scaled(frame.height);
            record.left = Scaled(frame.left);
            record.top = Scaled(frame.top);
            record.delay = frame.delay;
            record.disposal = frame.disposal;
            m_frames.push_back(std::move(record));
        }
        if (m_frames.empty()) return FALSE;
    }
    return PrepareSurface(Scaled(screen.width), Scaled(screen.height));
}

void CAnimatedPicture::SetScale(int numerator, int denominator) {
    if (numerator > 0 && denominator > 0) {
        m_nScaleNum = numerator;
        m_nScaleDen = denominator;
    }
}

int CAnimatedPicture::Scaled(int pixels) const { return MulDiv(pixels, m_nScaleNum, m_nScaleDen); }

BOOL CAnimatedPicture::LoadStill(HGLOBAL memory, DWORD size, bool sizeFromPicture) {
    if (!m_still.Load(memory, size, false)) return FALSE;
    if (!sizeFromPicture) return TRUE;
    // HIMETRIC is hundredths of a millimetre: 2540 to the inch.
    const SIZE hm = m_still.HimetricSize();
    CClientDC dc(m_hWnd);
    return PrepareSurface(Scaled(MulDiv(hm.cx, GetDeviceCaps(dc, LOGPIXELSX), 2540)),
                          Scaled(MulDiv(hm.cy, GetDeviceCaps(dc, LOGPIXELSY), 2540)));
}

BOOL CAnimatedPicture::PrepareSurface(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
    if (m_hWnd) SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    CClientDC dc(m_hWnd);
    if (!dc || !m_surface.Create(dc, width, height)) return FALSE;
    m_crBackground = GetSysColor(COLOR_BTNFACE);
    const RECT all{0, 0, width, height};
    FillRect(m_surface, &all, GetSysColorBrush(COLOR_MENU));
    m_bSurfaceReady = TRUE;
    return TRUE;
}

void CAnimatedPicture::Start() {
    if (!m_bSurfaceReady || m_thread) return;
    if (m_frames.size() >= 2) {
        auto thread = std::make_unique<CAnimationThread>(*this);
        if (!thread->CreateThread(CREATE_SUSPENDED)) return;
        m_thread = std::move(thread);
        m_thread->ResumeThread();
        return;
    }
    // A still picture is drawn once. A GIF of which a single frame could be
    // decoded shows nothing: it is neither a still picture nor an animation.
    if (!m_still) return;
    bool drawn = false;
    {
        CSingleLock hold(m_surfaceLock);
        drawn = m_still.Render(m_surface, 0, 0, m_nWidth, m_nHeight);
    }
    if (drawn && m_hWnd) InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CAnimatedPicture::Stop() {
    if (!m_thread) return;
    m_thread->RequestStop();
    // The pictures and the surface stay until the thread is done with them;
    // its longest step is one Render.
    m_thread->WaitForEnd(INFINITE);
    m_thread.reset();
}

void CAnimatedPicture::Unload() {
    Stop();
    m_still.Reset();
    m_frames.clear();
    m_surface.Reset();
    m_savedArea.Reset();
    m_bSurfaceReady = FALSE;
    m_nCurrentFrame = 0;
    m_nWidth = m_nHeight = 0;
    m_crBackground = RGB(255, 255, 255);
}

IPicture* CAnimatedPicture::GetFramePicture(int index) const {
    return index >= 0 && index < GetFrameCount() ? m_frames[static_cast<size_t>(index)].picture.Get()
                                                 : nullptr;
}

COLORREF CAnimatedPicture::GetSurfacePixel(int x, int y) {
    if (!m_bSurfaceReady) return CLR_INVALID;
    CSingleLock hold(m_surfaceLock);
    return GetPixel(m_surface, x, y);
}

void CAnimatedPicture::Animate(const CAnimationThread& thread) {
    const int count = GetFrameCount();
    {
        // A stop leaves the frame that was showing undisposed.
        CSingleLock hold(m_surfaceLock);
        DisposeFrame(m_frames[static_cast<size_t>(m_nCurrentFrame)]);
    }
    while (!thread.IsStopRequested()) {
        const FrameRecord& frame = m_frames[static_cast<size_t>(m_nCurrentFrame)];
        bool drawn = false;
        {
            CSingleLock hold(m_surfaceLock);
            if (frame.disposal == 3) {
                if (m_savedArea.Create(m_surface, frame.width, frame.height))
                    BitBlt(m_savedArea, 0, 0, frame.width, frame.height, m_surface, frame.left,
                           frame.top, SRCCOPY);
            }
            drawn = DrawFrame(frame);
        }
        if (drawn) InvalidateRect(m_hWnd, nullptr, FALSE);
        // The stop event ends the wait at once.
        if (thread.IsStopRequested(gif::FrameWaitMs(frame.delay))) break;
        CSingleLock hold(m_surfaceLock);
        DisposeFrame(frame);
        if (++m_nCurrentFrame == count) {
            m_nCurrentFrame = 0;
            FillSurface({0, 0, m_nWidth, m_nHeight});
        }
    }
}

bool CAnimatedPicture::DrawFrame(const FrameRecord& frame) {
    return frame.picture.Render(m_surface, frame.left, frame.top, frame.width, frame.height);
}

void CAnimatedPicture::DisposeFrame(const FrameRecord& frame) {
    if (frame.disposal == 2) {
        FillSurface({frame.left, frame.top, frame.left + frame.width, frame.top + frame.height});
    } else if (frame.disposal == 3 && m_savedArea) {
        BitBlt(m_surface, frame.left, frame.top, frame.width, frame.height, m_savedArea, 0, 0,
               SRCCOPY);
        m_savedArea.Reset();
    }
}

void CAnimatedPicture::FillSurface(const RECT& rect) {
    CBrush brush;
    if (brush.CreateSolidBrush(m_crBackground)) FillRect(m_surface, &rect, brush);
}

void CAnimatedPicture::OnPaint() {
    CPaintDC dc(m_hWnd);
    if (!m_bSurfaceReady) return;
    CSingleLock hold(m_surfaceLock);
    BitBlt(dc, 0, 0, m_nWidth, m_nHeight, m_surface, 0, 0, SRCCOPY);
}

void CAnimatedPicture::OnDestroy() {
    Stop();
    CStatic::OnDestroy();
}
