#pragma once
#include <windows.h>

// Trapline.dll, the window-hook library the run session binds. Its handle and
// function addresses are process-wide: set by the main thread before the
// launcher starts, read by the launcher, released after the launcher's last
// call.
using ShellProcFn = LRESULT(WINAPI*)(int, WPARAM, LPARAM);
using EnableWindowHookFn = BOOL(WINAPI*)(BOOL, HWND, UINT, DWORD);
using GetProgramNameFromHandleFn = BOOL(WINAPI*)(HWND, LPSTR, DWORD);
using EnableFunctionAddressFn = BOOL(WINAPI*)(BOOL);
using FindProcessChildFn = BOOL(WINAPI*)(DWORD, DWORD*);
using GetTraplineDllVersionFn = DWORD(WINAPI*)(DWORD*, DWORD*);

struct HookLibrary {
    HMODULE module = nullptr;
    ShellProcFn ShellProc = nullptr;
    EnableWindowHookFn EnableWindowHook = nullptr;
    GetProgramNameFromHandleFn GetProgramNameFromHandle = nullptr;
    EnableFunctionAddressFn EnableFunctionAddress = nullptr;
    FindProcessChildFn FindProcessChild = nullptr;
    GetTraplineDllVersionFn GetTraplineDllVersion = nullptr;
};

extern HookLibrary g_hookLibrary;

// Loads Trapline.dll from the current directory (the system directory while
// a run is being set up) and looks up its six functions. TRUE only when it
// loaded and all six were found; a library that lacks one stays loaded until
// UnloadHookLibrary, like one that loaded completely.
BOOL LoadHookLibrary();

// Switches the library off if it could be switched, and frees it.
void UnloadHookLibrary();
