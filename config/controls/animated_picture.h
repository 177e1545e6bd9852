#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/com_picture.h"
#include "framework/critical_section.h"
#include "framework/dc.h"
#include "framework/static.h"

// A static control that shows a picture from memory or from the program's
// resources. Whatever the system's picture loader reads is shown still; a GIF
// of two or more frames plays: each frame is rebuilt as a GIF of its own and
// decoded once at load, and a worker thread composes the frames on an
// off-screen surface with their delays and disposal methods. The paint
// handler only copies that surface to the screen.
//
//     m_picture.LoadFromResource(MAKEINTRESOURCEA(146), "BINARY");
//     m_picture.Start();
//
// Load resizes the control to the picture. The animation stops with the
// window; the destructor releases the rest.
class CAnimatedPicture : public CStatic {
    VELMORA_RUNTIME_CLASS(CAnimatedPicture)
public:
    CAnimatedPicture();
    ~CAnimatedPicture() override;

    BOOL LoadFromResource(const char* name, const char* type);
    // Loads size bytes of a global memory block; the block stays the caller's.
    BOOL Load(HGLOBAL memory, DWORD size);
    // The picture drawn numerator / denominator times its size (a picture
    // drawn for another display scaling); set before loading.
    void SetScale(int numerator, int denominator);
    // Plays an animation, or draws a still picture once. Does nothing while
    // the animation plays already.
    void Start();
    // Ends the animation and waits until its thread has ended.
    void Stop();
    // Stops and releases everything loaded; the control shows nothing.
    void Unload();

    // What a test or a page may ask.
    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }
    bool IsAnimating() const { return m_thread != nullptr; }
    SIZE GetPictureSize() const { return {m_nWidth, m_nHeight}; }
    COLORREF GetBackgroundColor() const { return m_crBackground; }
    // One pixel of the off-screen surface (CLR_INVALID without one), read
    // between two drawing steps of the animation.
    COLORREF GetSurfacePixel(int x, int y);
    // The objects the control owns, for tests that check their release.
    HBITMAP GetSurfaceBitmap() const { return m_surface.Bitmap(); }
    IPicture* GetFramePicture(int index) const;
    IPicture* GetStillPicture() const { return m_still.Get(); }

protected:
    void OnPaint() override;
    void OnDestroy() override;

private:
    class CAnimationThread;
    struct FrameRecord {
        CComPicture picture;
        int width = 0, height = 0, left = 0, top = 0;
        uint32_t delay = 0;  // hundredths of a second
        int disposal = 0;
    };

    BOOL LoadGif(const uint8_t* data, HGLOBAL memory, DWORD size);
    BOOL LoadStill(HGLOBAL memory, DWORD size, bool sizeFromPicture);
    BOOL PrepareSurface(int width, int height);

    // The animation thread's loop, and its steps on the surface.
    void Animate(const CAnimationThread& thread);
    bool DrawFrame(const FrameRecord& frame);
    void DisposeFrame(const FrameRecord& frame);
    void FillSurface(const RECT& rect);

    int m_nWidth = 0, m_nHeight = 0;
    COLORREF m_crBackground = RGB(255, 255, 255);
    int m_nScaleNum = 1;
    int m_nScaleDen = 1;
    int Scaled(int pixels) const;
    int m_nCurrentFrame = 0;  // the animation thread's while it runs
    BOOL m_bSurfaceReady = FALSE;
    CMemorySurface m_surface;
    CMemorySurface m_savedArea;  // under a frame with disposal 3
    // Held while the surface is drawn on or copied, so that a paint never
    // shows half a frame.
    CCriticalSection m_surfaceLock;
    std::unique_ptr<CAnimationThread> m_thread;
    CComPicture m_still;
    std::vector<FrameRecord> m_frames;
};
