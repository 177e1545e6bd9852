#include "runner/run_state.h"

namespace velmora::runner {

void RunState::ChildStarted() {
    m_childRunning = true;
    m_displayCameOn = false;
    m_child = ChildClock{};
    m_child.quit = m_quit;
}

bool RunState::Rotation(uint32_t now) {
    if (!m_childRunning || m_quit || m_userBack || m_child.closeAsked) return false;
    m_bEndOnChildExit = false;
    m_child.closeAsked = true;
    m_child.closeAskedAt = now;
    return true;
}

void RunState::UserBack(uint32_t now) {
    if (m_userBack) return;
    m_userBack = true;
    // A pending rotation no longer starts the next screensaver.
    m_bEndOnChildExit = true;
    m_child.userBack = true;
    m_child.userBackAt = now;
}

void RunState::Quit() {
    m_quit = true;
    m_bEndOnChildExit = true;
    m_child.quit = true;
}

bool RunState::DisplayOff(uint32_t now) {
    if (m_displayOff) return false;
    m_displayOff = true;
    m_displayCameOn = false;
    return Rotation(now);
}

void RunState::DisplayOn(uint32_t now) {
    if (!m_displayOff) return;
    m_displayOff = false;
    m_displayCameOn = true;
    m_displayOnAt = now;
}

void RunState::EndAsked(uint32_t now) {
    m_child.endAsked = true;
    m_child.endAskedAt = now;
}

void RunState::ChildEnded() {
    m_childRunning = false;
    // A child that ends while its end means the user came back ends the run;
    // one that was asked to close makes way for the next.
    if (m_bEndOnChildExit) m_ended = true;
    m_bEndOnChildExit = true;
    m_child = ChildClock{};
}

Between RunState::Next(uint32_t now) const {
    if (m_quit || m_userBack || m_ended) return Between{NextMove::EndRun, 0};
    if (m_displayOff) return Between{NextMove::Wait, kNoDeadline};
    if (m_displayCameOn) {
        uint32_t elapsed = now - m_displayOnAt;
        if (elapsed < kDisplayOnSettleMs)
            return Between{NextMove::Wait, kDisplayOnSettleMs - elapsed};
    }
    return Between{NextMove::StartNext, 0};
}

}  // namespace velmora::runner
