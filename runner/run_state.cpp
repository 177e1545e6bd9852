#include "runner/run_state.h"

namespace velmora::runner {

void RunState::ChildStarted(uint32_t now, uint32_t rotateAfterMs) {
    m_childRunning = true;
    m_displayCameOn = false;
    m_passingOver = false;
    m_child = ChildClock{};
    m_child.startedAt = now;
    m_child.rotateAfterMs = rotateAfterMs;
    m_child.userGraceMs = m_userGraceMs;
    m_child.quit = m_quit;
}

void RunState::PassOverQuits(int limit) {
    m_passOverLimit = limit > 0 ? limit : 0;
    if (m_passOverLimit == 0 && m_passingOver) {
        m_passingOver = false;
        m_ended = true;
    }
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
    m_child.userGraceMs = m_userGraceMs;
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

void RunState::InputSeen() {
    if (!m_passingOver) return;
    m_passingOver = false;
    m_ended = true;
}

void RunState::ChildEnded(uint32_t now, bool inputSince) {
    m_childRunning = false;
    // A child that ends while its end means the user came back ends the run,
    // unless quits are passed over; one that was asked to close makes way
    // for the next, and the list is playing again.
    const bool quitByItself = m_bEndOnChildExit && !m_userBack && !m_quit && !inputSince;
    if (!m_bEndOnChildExit) m_quitsInARow = 0;
    if (quitByItself && m_quitsInARow < m_passOverLimit) {
        ++m_quitsInARow;
        m_passingOver = true;
        m_passedOverAt = now;
    } else if (m_bEndOnChildExit) {
        m_ended = true;
    }
    m_bEndOnChildExit = true;
    m_child = ChildClock{};
}

Between RunState::Next(uint32_t now) const {
    if (m_quit || m_userBack || m_ended) return Between{NextMove::EndRun, 0};
    if (m_displayOff) return Between{NextMove::Wait, kNoDeadline};
    if (m_passingOver) {
        uint32_t elapsed = now - m_passedOverAt;
        if (elapsed < kPassOverGraceMs) return Between{NextMove::Wait, kPassOverGraceMs - elapsed};
    }
    if (m_displayCameOn) {
        uint32_t elapsed = now - m_displayOnAt;
        if (elapsed < kDisplayOnSettleMs)
            return Between{NextMove::Wait, kDisplayOnSettleMs - elapsed};
    }
    return Between{NextMove::StartNext, 0};
}

}  // namespace velmora::runner
