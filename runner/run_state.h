#pragma once
// The state of a run and its transitions, free of Win32: what has happened to
// the run and to its child screensaver, and what comes next. The launcher
// owns it and alone changes it, taking up each event with the time it saw it
// (millisecond ticks that wrap). A run with several children at once would
// keep one of these per child, each with its own clock.
#include <cstdint>

#include "runner/child_deadlines.h"

namespace velmora::runner {

// What the launcher does while no child runs.
enum class NextMove { StartNext, Wait, EndRun };
struct Between {
    NextMove move = NextMove::StartNext;
    uint32_t waitMs = 0;  // for Wait; kNoDeadline: until something happens
};

class RunState {
public:
    // How long a display that came back on is given before the next
    // screensaver starts: the input that woke it ends the run instead.
    static constexpr uint32_t kDisplayOnSettleMs = velmora::runner::kDisplayOnSettleMs;
    // How long after a child quit by itself the next one waits: input that
    // comes meanwhile (a user whose first move ended it) ends the run instead.
    static constexpr uint32_t kPassOverGraceMs = velmora::runner::kPassOverGraceMs;

    // rotateAfterMs: the child's own show time (kNoDeadline: none).
    void ChildStarted(uint32_t now = 0, uint32_t rotateAfterMs = kNoDeadline);
    // A child that quits by itself while the user has not come back makes way
    // for the next, up to limit times in a row (0: the run ends, as it does
    // without this). Set when the run starts; 0 again when the user's input
    // cannot be watched, since such a quit then cannot be told from a return.
    void PassOverQuits(int limit);
    // The child is asked to close as soon as the user is back, without the
    // time it is given to end by itself: where the user's input may not
    // reach it (a screensaver in a window of ours, or input over a black
    // monitor of ours).
    void AskAtOnceWhenUserBack() { m_userGraceMs = 0; }
    // A rotation is due. True when the running child is to be asked to close
    // now; a tick while no child runs, or one already asked, changes nothing.
    bool Rotation(uint32_t now);
    void UserBack(uint32_t now);
    void Quit();
    // The display went off: true when the running child is to be asked to
    // close now, as at a rotation. Nothing new starts while it stays off.
    bool DisplayOff(uint32_t now);
    void DisplayOn(uint32_t now);
    // The launcher asked the child to close again, or one last time.
    void ClosedAgain() { m_child.closedAgain = true; }
    void EndAsked(uint32_t now);

    // While the child runs: what to do about it now.
    ChildStep Child(uint32_t now) const { return NextChildStep(m_child, now); }
    // The child ended, or could not be started. inputSince: the user's
    // hand was seen on the mouse or keyboard since it started, if only
    // faintly: its end is then not taken for a quit by itself.
    void ChildEnded(uint32_t now = 0, bool inputSince = false);
    // Input was seen while no child runs: a quit being passed over is taken
    // for the user's return after all.
    void InputSeen();
    // While no child runs: start the next one, wait, or end the run.
    Between Next(uint32_t now) const;

    // What the end of the running child means: true = the user came back (or
    // the run stops), end the run; false = it was asked to close, go on.
    bool EndOnChildExit() const { return m_bEndOnChildExit; }
    bool ChildRunning() const { return m_childRunning; }

private:
    bool m_bEndOnChildExit = true;
    bool m_childRunning = false;
    ChildClock m_child;
    bool m_userBack = false;
    bool m_quit = false;
    // A child ended by itself: the run is over.
    bool m_ended = false;
    bool m_displayOff = false;
    bool m_displayCameOn = false;
    uint32_t m_displayOnAt = 0;
    uint32_t m_userGraceMs = kUserGraceMs;
    int m_passOverLimit = 0;
    int m_quitsInARow = 0;
    bool m_passingOver = false;
    uint32_t m_passedOverAt = 0;
};

}  // namespace velmora::runner
