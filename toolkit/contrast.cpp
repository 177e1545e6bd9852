#include "toolkit/contrast.h"

namespace velmora::toolkit {
namespace {
int g_override = -1;

BOOL CALLBACK TellOfColours(HWND child, LPARAM) {
    SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
}  // namespace

bool HighContrastOn() {
    if (g_override >= 0) return g_override != 0;
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF ContrastColor(COLORREF own, int systemIndex) {
    return HighContrastOn() ? GetSysColor(systemIndex) : own;
}

void OverrideHighContrast(int state) { g_override = state < 0 ? -1 : state != 0; }

void RepaintForColours(HWND root) {
    EnumChildWindows(root, TellOfColours, 0);
    RedrawWindow(root, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace velmora::toolkit
