#pragma once
// The probe's sidecar INI: "<program path without extension>.ini", [Probe].
#include <windows.h>

#include <cstdint>
#include <string>

#include "savers/probe/probe_behaviour.h"

struct ProbeSettings {
    ProbeBehaviour behaviour = ProbeBehaviour::Normal;
    COLORREF colour = RGB(0, 0, 0);
    // Area=primary: full screen on the primary monitor only, as classic
    // screensavers size themselves; otherwise the whole virtual screen.
    bool primaryOnly = false;
    // WindowAfterMs=n: the full-screen window comes only n ms after the
    // start, as .NET, Unity or web-based screensavers' windows do.
    unsigned windowAfterMs = 0;
    // NotTopmost=1: a full-screen window that is not topmost.
    bool notTopmost = false;
    // EndOnDeactivate=1: ends when it loses activation, as screensavers of
    // the standard screensaver library do.
    bool endsOnDeactivate = false;
    // SingleInstance=1: its full-screen window is of the screensaver class
    // titled "Screensaver", as the standard screensaver library makes it,
    // and it ends at once when such a top-level window exists already.
    bool singleInstance = false;
    // StartAfterMs=n: the whole start (any mode) takes n ms before it does
    // anything but log itself: a slow disk, a slow framework.
    unsigned startAfterMs = 0;
    // WindowlessPreview=1: in preview mode it runs without a window until it
    // is ended, as one does whose /p handle was not a window to it (a form
    // of the handle it does not read, a parent gone before it looked).
    bool windowlessPreview = false;
    // PreviewPopup=1: in preview mode a popup of its own laid over the
    // parent's place on the screen instead of a child window (topmost unless
    // NotTopmost=1), ending when the parent goes.
    bool previewPopup = false;
};

// This program's path with long names.
std::string ModuleLongPath();
// The path with its extension replaced by ".ini".
std::string SidecarPathFor(const std::string& modulePath);
// The last component of a path.
std::string FileNameOf(const std::string& path);

// Behaviour= and Color= from the sidecar next to the program; the colour
// falls back to one fixed by the program's file name.
ProbeSettings ReadProbeSettings(const std::string& modulePath);

COLORREF ColorRefFromRgb(std::uint32_t rgb);
