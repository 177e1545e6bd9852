#include "runner/input_watch.h"

namespace velmora::runner {

namespace {

#ifndef LLMHF_INJECTED
#define LLMHF_INJECTED 0x00000001
#endif
#ifndef LLKHF_INJECTED
#define LLKHF_INJECTED 0x00000010
#endif

// How often the backstop looks at the last-input time: rarely enough to cost
// nothing, often enough that a user whose input the hooks missed is not kept
// waiting long.
constexpr UINT kBackstopMs = 3000;
// How long the thread may take to set its hooks.
constexpr DWORD kReadyWaitMs = 5000;

using GetLastInputInfoFn = BOOL(WINAPI*)(PLASTINPUTINFO);

// Looked up at run time: Windows 98 has no GetLastInputInfo.
GetLastInputInfoFn LastInputFunction() {
    static const GetLastInputInfoFn function = reinterpret_cast<GetLastInputInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetLastInputInfo")));
    return function;
}

using GetPhysicalCursorPosFn = BOOL(WINAPI*)(LPPOINT);

// Vista and later.
GetPhysicalCursorPosFn PhysicalCursorFunction() {
    return reinterpret_cast<GetPhysicalCursorPosFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetPhysicalCursorPos")));
}

}  // namespace

InputWatch* InputWatch::s_active = nullptr;

bool InputWatch::Start(Callback returned, Callback activity, void* context) {
    Stop();
    if (s_active) return false;
    m_callback = returned;
    m_activity = activity;
    m_context = context;
    InterlockedExchange(&m_noticed, 0);
    InterlockedExchange(&m_hooked, 0);
    m_ready.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_ready) return false;
    s_active = this;
    m_thread.Attach(CreateThread(nullptr, 0, ThreadProc, this, 0, &m_threadId));
    if (m_thread) {
        HANDLE handles[2] = {m_ready.Get(), m_thread.Get()};
        WaitForMultipleObjects(2, handles, FALSE, kReadyWaitMs);
    }
    if (!InterlockedExchangeAdd(&m_hooked, 0)) {
        Stop();
        return false;
    }
    return true;
}

void InputWatch::Stop() {
    if (m_thread) {
        // The thread made its queue before it said it was ready.
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread.Get(), INFINITE);
        m_thread.Reset();
    }
    if (s_active == this) s_active = nullptr;
}

DWORD WINAPI InputWatch::ThreadProc(LPVOID self) {
    static_cast<InputWatch*>(self)->Pump();
    return 0;
}

void InputWatch::Pump() {
    MSG msg;
    // The thread's message queue, so that the quit message can reach it.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    // Where the pointer rests: the origin of the user's return where it is
    // known in the hooks' coordinates, and in any case the point a move
    // must leave to count as activity (Windows reports a move to it when a
    // window appears under it). Under display scaling the logical position
    // makes the first move count as activity, which errs on the user's side.
    POINT rest;
    if (GetCursorPos(&rest)) {
        POINT physical = rest;
        const GetPhysicalCursorPosFn physicalFn = PhysicalCursorFunction();
        const bool physicalKnown = physicalFn && physicalFn(&physical);
        m_origin = OriginFromCursor(rest.x, rest.y, physicalKnown, physical.x, physical.y);
        m_lastMove = PointerOrigin{true, rest.x, rest.y};
    }
    HINSTANCE module = GetModuleHandleA(nullptr);
    m_mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, module, 0);
    m_keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
    m_lastSeen = GetTickCount();
    const bool hooked = m_mouse || m_keyboard;
    InterlockedExchange(&m_hooked, hooked ? 1 : 0);
    SetEvent(m_ready.Get());
    if (hooked) {
        UINT_PTR backstop = LastInputFunction() ? SetTimer(nullptr, 0, kBackstopMs, nullptr) : 0;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && msg.hwnd == nullptr)
                CheckLastInput();
            else
                DispatchMessageA(&msg);
        }
        if (backstop) KillTimer(nullptr, backstop);
    }
    if (m_mouse) UnhookWindowsHookEx(m_mouse);
    if (m_keyboard) UnhookWindowsHookEx(m_keyboard);
    m_mouse = m_keyboard = nullptr;
}

void InputWatch::Notice() {
    if (InterlockedExchange(&m_noticed, 1) == 0 && m_callback) m_callback(m_context);
}

void InputWatch::CheckLastInput() {
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    if (LastInputFunction()(&info) &&
        InputMissedByHooks(info.dwTime, m_lastSeen, GetTickCount()))
        Notice();
}

LRESULT CALLBACK InputWatch::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    InputWatch* watch = s_active;
    if (code == HC_ACTION && watch && lParam) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        watch->Seen();
        // MSLLHOOKSTRUCT::pt is in physical pixels whatever this process's
        // DPI awareness: the origin is taken from these events too.
        if (!(info->flags & LLMHF_INJECTED)) {
            const bool move = wParam == WM_MOUSEMOVE;
            const PointerOrigin at{true, info->pt.x, info->pt.y};
            const PointerOrigin before = watch->m_lastMove;
            if (move) watch->m_lastMove = at;
            if (!move || !before.known || before.x != at.x || before.y != at.y) watch->Active();
            if (!move || MoveCounts(watch->m_origin, at.x, at.y)) watch->Notice();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputWatch::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    InputWatch* watch = s_active;
    if (code == HC_ACTION && watch && lParam) {
        const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        watch->Seen();
        if (!(info->flags & LLKHF_INJECTED)) {
            watch->Active();
            watch->Notice();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace velmora::runner
