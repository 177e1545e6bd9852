#include "runner/input_watch.h"

#include <cstdlib>

namespace velmora::runner {

namespace {

#ifndef LLMHF_INJECTED
#define LLMHF_INJECTED 0x00000001
#endif
#ifndef LLKHF_INJECTED
#define LLKHF_INJECTED 0x00000010
#endif

// A pointer that drifts by a pixel or two, or the move Windows reports when
// a window appears under it, is not a returning user.
constexpr int kMoveTolerance = 4;

}  // namespace

InputWatch* InputWatch::s_active = nullptr;

bool InputWatch::Start(Callback callback, void* context) {
    Stop();
    if (s_active) return false;
    m_callback = callback;
    m_context = context;
    m_noticed = false;
    if (!GetCursorPos(&m_origin)) m_origin = POINT{};
    s_active = this;
    HINSTANCE module = GetModuleHandleA(nullptr);
    m_mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, module, 0);
    m_keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
    if (!m_mouse && !m_keyboard) {
        s_active = nullptr;
        return false;
    }
    return true;
}

void InputWatch::Stop() {
    if (m_mouse) UnhookWindowsHookEx(m_mouse);
    if (m_keyboard) UnhookWindowsHookEx(m_keyboard);
    m_mouse = m_keyboard = nullptr;
    if (s_active == this) s_active = nullptr;
}

void InputWatch::Notice() {
    if (m_noticed) return;
    m_noticed = true;
    if (m_callback) m_callback(m_context);
}

LRESULT CALLBACK InputWatch::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    InputWatch* watch = s_active;
    if (code == HC_ACTION && watch && lParam) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if (!(info->flags & LLMHF_INJECTED)) {
            bool moved = std::abs(info->pt.x - watch->m_origin.x) > kMoveTolerance ||
                         std::abs(info->pt.y - watch->m_origin.y) > kMoveTolerance;
            if (wParam != WM_MOUSEMOVE || moved) watch->Notice();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputWatch::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    InputWatch* watch = s_active;
    if (code == HC_ACTION && watch && lParam) {
        const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (!(info->flags & LLKHF_INJECTED)) watch->Notice();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace velmora::runner
