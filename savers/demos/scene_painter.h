#pragma once
// What a saver window asks of its animation: draw one frame into the back
// buffer. The window owns the timing and the input; the painter the picture.
#include "savers/demos/dib_section.h"

class CScenePainter {
public:
    virtual ~CScenePainter() = default;
    // Draws frame `frame` (timer ticks since the start) over the whole buffer.
    virtual void Paint(CDibSection& target, int frame) = 0;
};
