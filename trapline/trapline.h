#pragma once
// Trapline.dll, the window-hook library Velmora.scr binds: its six exports.
//
// All six are stdcall and exported under their decorated names, exactly
// "_ShellProc@12", "_EnableWindowHook@16", "_GetProgramNameFromHandle@12",
// "_EnableFunctionAddress@4", "_FindProcessChild@8" and
// "_GetTraplineDllVersion@8" (see trapline.def). A client looks them up with
// GetProcAddress under those names and calls them through the types below.
#include <windows.h>

// The version this library reports.
constexpr DWORD kTraplineVersionMajor = 2;
constexpr DWORD kTraplineVersionMinor = 0;

using ShellProcFn = LRESULT(WINAPI*)(int, WPARAM, LPARAM);
using EnableWindowHookFn = BOOL(WINAPI*)(BOOL, HWND, UINT, DWORD);
using GetProgramNameFromHandleFn = BOOL(WINAPI*)(HWND, LPSTR, DWORD);
using EnableFunctionAddressFn = BOOL(WINAPI*)(BOOL);
using FindProcessChildFn = BOOL(WINAPI*)(DWORD, DWORD*);
using GetTraplineDllVersionFn = DWORD(WINAPI*)(DWORD*, DWORD*);

extern "C" {

// The WH_SHELL hook procedure. It passes every call on (CallNextHookEx).
// While EnableWindowHook has set a notification target, it also posts
// notifyMessage to notifyWindow for HSHELL_WINDOWCREATED and
// HSHELL_WINDOWDESTROYED, with wParam the shell code and lParam the window.
LRESULT WINAPI ShellProc(int code, WPARAM wParam, LPARAM lParam);

// enable: sets this process's WH_SHELL hook with ShellProc on the given
// thread (0: every thread of the desktop), replacing one it set before, and
// makes (notifyWindow, notifyMessage) the notification target unless the
// window is null or the message 0. There is one target for every process that
// maps this DLL (a desktop hook runs ShellProc in all of them); the last one
// set wins. !enable: removes the hook this process set, if any, and its
// target if it is still the current one. TRUE on success (removing no hook
// succeeds); FALSE when the hook could not be set.
BOOL WINAPI EnableWindowHook(BOOL enable, HWND notifyWindow, UINT notifyMessage, DWORD threadId);

// The program file of the process that owns the window: the first module of
// a Toolhelp module snapshot of that process. Copied into buffer with its
// terminator; FALSE, with buffer emptied when size allows, for a bad window,
// a null buffer, size 0 or a name that does not fit.
BOOL WINAPI GetProgramNameFromHandle(HWND hwnd, LPSTR buffer, DWORD size);

// TRUE: switches the library on and answers non-zero when it is ready (the
// Toolhelp functions it needs are in kernel32). FALSE: switches it off and
// removes the shell hook if this process set one; answers TRUE.
BOOL WINAPI EnableFunctionAddress(BOOL enable);

// A live process whose parent id is processId and that was created while
// processId ran (typically a process that just ended and handed its work on):
// TRUE with its id in *childId. Process ids are reused, so an older process
// that merely records a former owner of that id as its parent never counts.
// The caller holds processId open (as the handle CreateProcess gave it)
// until it has asked, so that its times can be read; a process that cannot
// be opened has no answer. Never processId itself nor the calling process.
// Of several, the most recently created one; ties keep the first in snapshot
// order. 0 while the library is off, for a null childId, or when there is
// none (*childId is then left alone).
BOOL WINAPI FindProcessChild(DWORD processId, DWORD* childId);

// Writes the version to the non-null pointers and answers
// MAKELONG(minor, major).
DWORD WINAPI GetTraplineDllVersion(DWORD* major, DWORD* minor);

}  // extern "C"
