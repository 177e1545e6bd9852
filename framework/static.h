#pragma once
#include "framework/wnd.h"

// A static control ("Static" window class), made by us or taken over from a
// dialog item.
class CStatic : public CWnd {
    VELMORA_RUNTIME_CLASS(CStatic)
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, "Static", text, style, rect, parent, id);
    }
};
