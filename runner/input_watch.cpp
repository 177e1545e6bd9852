#include "runner/input_watch.h"

#include "framework/proc_address.h"
#include "runner/run_timings.h"
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
// (kBackstopMs; kReadyWaitMs, how long the thread may take to set its
// hooks: run_timings.h)

using GetLastInputInfoFn = BOOL(WINAPI*)(PLASTINPUTINFO);

// Looked up at run time: Windows 98 has no GetLastInputInfo.
GetLastInputInfoFn LastInputFunction() {
    static const auto function = User32Function<GetLastInputInfoFn>("GetLastInputInfo");
    return function;
}

using GetPhysicalCursorPosFn = BOOL(WINAPI*)(LPPOINT);

// Vista and later.
GetPhysicalCursorPosFn PhysicalCursorFunction() {
    return User32Function<GetPhysicalCursorPosFn>("GetPhysicalCursorPos");
}

// How this thread takes the pointer's resting place in the hooks' own
// coordinates. MSLLHOOKSTRUCT::pt is in per-monitor-aware (physical) screen
// coordinates whatever the program's awareness, while Velmora.scr declares
// none:
// - Windows 10 1607 and later: the input thread itself is made per-monitor
//   aware (SetThreadDpiAwarenessContext), so GetCursorPos answers in the
//   hooks' space and is the origin.
// - Windows 8.1 and 10 before 1607: since 8.1 the system hands a program
//   points in its own coordinate space and the logical/physical conversions
//   no longer transform them, so no call is known to answer physical points
//   to an unaware program: the hooks' first event is the origin.
// - Vista to 8: GetPhysicalCursorPos answers physical points; where they
//   differ from the logical ones, the hooks' first event is the origin.
// - Before Vista: no scaling of programs; GetCursorPos is the origin.
enum class OriginSpace { ThreadAware, HooksOnly, PhysicalCheck };
OriginSpace MakeOriginSpace() {
    using SetContextFn = HANDLE(WINAPI*)(HANDLE);
    auto setContext = User32Function<SetContextFn>("SetThreadDpiAwarenessContext");
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 (1703), else the first
    // per-monitor context (1607).
    if (setContext && (setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4))) ||
                       setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-3)))))
        return OriginSpace::ThreadAware;
    if (User32Function<FARPROC>("PhysicalToLogicalPointForPerMonitorDPI"))
        return OriginSpace::HooksOnly;
    return OriginSpace::PhysicalCheck;
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
    const OriginSpace space = MakeOriginSpace();
    POINT rest;
    if (GetCursorPos(&rest)) {
        if (space == OriginSpace::ThreadAware) {
            m_origin = PointerOrigin{true, rest.x, rest.y};
        } else if (space == OriginSpace::PhysicalCheck) {
            POINT physical = rest;
            const GetPhysicalCursorPosFn physicalFn = PhysicalCursorFunction();
            const bool physicalKnown = physicalFn && physicalFn(&physical);
            m_origin = OriginFromCursor(rest.x, rest.y, physicalKnown, physical.x, physical.y);
        }
        m_lastMove = PointerOrigin{true, rest.x, rest.y};
    }
    HINSTANCE module = GetModuleHandleA(nullptr);
    m_mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, module, 0);
    m_keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
    Seen();
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
        InputMissedByHooks(info.dwTime, static_cast<DWORD>(m_lastSeen), GetTickCount())) {
        // Input all the same, for a quit that is being judged too.
        Active();
        Notice();
    }
}

bool InputWatch::MissedByHooksNow() {
    const InputWatch* watch = s_active;
    if (!watch || !InterlockedExchangeAdd(const_cast<volatile LONG*>(&watch->m_hooked), 0) ||
        !LastInputFunction())
        return false;
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    return LastInputFunction()(&info) &&
           InputNewerThanHooks(info.dwTime, static_cast<DWORD>(watch->m_lastSeen));
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
            // A low-level hook that answers non-zero keeps the key from
            // every program (and from the rest of the chain).
            if (watch->m_dropKeys) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace velmora::runner
