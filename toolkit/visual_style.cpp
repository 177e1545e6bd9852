#include "toolkit/visual_style.h"

#include <string>

namespace {
template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

CVisualStyle& CVisualStyle::Instance() {
    static CVisualStyle style;
    return style;
}

bool CVisualStyle::Load() const {
    if (m_tried) return m_module != nullptr;
    m_tried = true;
    // From the system folder only: a uxtheme.dll beside the program is not ours.
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + sizeof "\\uxtheme.dll" > MAX_PATH) return false;
    std::string full = std::string(path, n) + "\\uxtheme.dll";
    m_module = LoadLibraryA(full.c_str());
    if (!m_module) return false;
    Resolve(m_module, "IsThemeActive", m_isThemeActive);
    Resolve(m_module, "IsAppThemed", m_isAppThemed);
    Resolve(m_module, "OpenThemeData", m_open);
    Resolve(m_module, "CloseThemeData", m_close);
    Resolve(m_module, "DrawThemeBackground", m_drawBackground);
    Resolve(m_module, "EnableThemeDialogTexture", m_enableDialogTexture);
    Resolve(m_module, "DrawThemeParentBackground", m_drawParentBackground);
    return true;
}

bool CVisualStyle::IsThemed() const {
    if (!Load() || !m_isThemeActive || !m_open || !m_drawBackground) return false;
    if (!m_isThemeActive()) return false;
    return !m_isAppThemed || m_isAppThemed();
}

HANDLE CVisualStyle::Open(HWND hwnd, const wchar_t* classList) const {
    return IsThemed() ? m_open(hwnd, classList) : nullptr;
}

void CVisualStyle::Close(HANDLE theme) const {
    if (theme && m_close) m_close(theme);
}

bool CVisualStyle::DrawBackground(HANDLE theme, HDC dc, int part, int state,
                                  const RECT& rect) const {
    return theme && m_drawBackground && SUCCEEDED(m_drawBackground(theme, dc, part, state, &rect,
                                                                   nullptr));
}

bool CVisualStyle::DrawParentBackground(HWND control, HDC dc, const RECT& rect) const {
    return IsThemed() && m_drawParentBackground &&
           SUCCEEDED(m_drawParentBackground(control, dc, &rect));
}

void CVisualStyle::EnableDialogTexture(HWND dialog) const {
    // ETDT_ENABLETAB = ETDT_ENABLE | ETDT_USETABTEXTURE.
    if (IsThemed() && m_enableDialogTexture) m_enableDialogTexture(dialog, 0x6);
}

void CVisualStyle::Unload() {
    if (m_module) FreeLibrary(m_module);
    m_module = nullptr;
    m_tried = false;
    m_isThemeActive = nullptr;
    m_isAppThemed = nullptr;
    m_open = nullptr;
    m_close = nullptr;
    m_drawBackground = nullptr;
    m_enableDialogTexture = nullptr;
    m_drawParentBackground = nullptr;
}
