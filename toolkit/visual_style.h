#pragma once
#include <windows.h>

// The system's visual style (themes), reached through uxtheme.dll loaded at
// run time: Windows before XP has no such library, and where it exists themes
// may be switched off. Every call answers "no theme" when it cannot help.
class CVisualStyle {
public:
    static CVisualStyle& Instance();

    // Whether drawing should go through the theme now: the library is there,
    // a theme is active, and this program's windows are themed.
    bool IsThemed() const;
    // A theme handle for a window class list such as L"BUTTON", or null.
    HANDLE Open(HWND hwnd, const wchar_t* classList) const;
    void Close(HANDLE theme) const;
    bool DrawBackground(HANDLE theme, HDC dc, int part, int state, const RECT& rect) const;
    // Paints what the parent shows under a control (the page texture).
    bool DrawParentBackground(HWND control, HDC dc, const RECT& rect) const;
    // Dialog pages take the theme's tab-body texture where themes draw one.
    void EnableDialogTexture(HWND dialog) const;
    // Drops the library (the toolkit's release step).
    void Unload();

private:
    CVisualStyle() = default;
    bool Load() const;

    mutable HMODULE m_module = nullptr;
    mutable bool m_tried = false;
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using IsAppThemedFn = BOOL(WINAPI*)();
    using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*,
                                                   const RECT*);
    using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
    mutable DrawThemeParentBackgroundFn m_drawParentBackground = nullptr;
    using EnableThemeDialogTextureFn = HRESULT(WINAPI*)(HWND, DWORD);
    mutable IsThemeActiveFn m_isThemeActive = nullptr;
    mutable IsAppThemedFn m_isAppThemed = nullptr;
    mutable OpenThemeDataFn m_open = nullptr;
    mutable CloseThemeDataFn m_close = nullptr;
    mutable DrawThemeBackgroundFn m_drawBackground = nullptr;
    mutable EnableThemeDialogTextureFn m_enableDialogTexture = nullptr;
};
