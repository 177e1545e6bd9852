#pragma once
// Scene colours as GDI colours, and the pens and brushes the painters draw
// with, in the framework's owners.
#include <windows.h>

#include "framework/gdi.h"
#include "savers/demos/scene_colour.h"

inline COLORREF ToColorRef(const Rgb& c) {
    return RGB(ClampByte(c.r), ClampByte(c.g), ClampByte(c.b));
}

// A round-capped solid pen (PS_GEOMETRIC, so wide segments join smoothly).
inline CPen MakePen(const Rgb& c, int width) {
    LOGBRUSH brush{BS_SOLID, ToColorRef(c), 0};
    return CPen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                             width < 1 ? 1 : width, &brush, 0, nullptr));
}

inline CBrush MakeBrush(const Rgb& c) { return CBrush(CreateSolidBrush(ToColorRef(c))); }
