#include "runner/launcher.h"

#include <string>

#include "runner/input_watch.h"
#include "runner/monitor_layout.h"
#include "runner/rotation_checks.h"
#include "runner/show_time.h"
#include "settings/password_protection.h"
#include "settings/option_flags.h"
#include "settings/settings_names.h"

namespace names = velmora::settings;

namespace velmora::runner {

DWORD WINAPI LauncherThread(LPVOID launcher) {
    static_cast<Launcher*>(launcher)->Run();
    return 0;
}

namespace {

// Quits passed over in a row at most, however long the list: with the grace
// after each, a list of broken screensavers ends its run within a minute.
constexpr int kMaxQuitsInARow = 100;

int Setting(const char* section, const char* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, names::kIniFile));
}

}  // namespace

bool SharedPicks::Free(int monitor, int index) const {
    for (size_t m = 0; m < m_showing.size(); ++m)
        if (static_cast<int>(m) != monitor && m_showing[m] == index) return false;
    return true;
}

bool Launcher::Open(const ModeRules& rules) {
    m_rules = rules;
    // Where the user's input may not reach the child (over a cover, or in a
    // window of ours), it is asked to close as soon as the user is back.
    if (m_rules.asksAtOnceWhenUserBack) m_state.AskAtOnceWhenUserBack();
    m_wake.Attach(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    m_firstStart.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_configured.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    return m_wake && m_firstStart && m_configured && m_control.Listen(m_wake.Get());
}

void Launcher::Configure() {
    if (m_isConfigured) return;
    m_isConfigured = true;
    // Rotation only when asked for, and not while password protection holds
    // it back (on the 9x line a protected screensaver asks for the password
    // when it is closed).
    m_rotate = Setting(names::kSectionOptions, names::kKeyRotate, 0) && !ProtectionHoldsRotation();
    m_minutes = ShowTimeMinutes(
        Setting(names::kSectionOptions, names::kKeyShowTime, names::kDefaultShowTime));
    // A monitor of its own rotates on its own clock, counted per child.
    m_ownShowTimes = m_rotate && (m_rules.ownShowTimes || AnyOwnShowTime());
    // A screensaver that will not run in a window ends at once: there the
    // next one always comes.
    if (m_rules.passesOverQuits || names::OptionSet(names::kKeyGoOnWhenQuits)) {
        int count = Setting(names::kSectionScreensaver, names::kKeyCount, 0);
        m_state.PassOverQuits(count < 1 ? 1 : count > kMaxQuitsInARow ? kMaxQuitsInARow : count);
        if (m_inputUnwatched) m_state.PassOverQuits(0);
    }
    SetEvent(m_configured.Get());
}

void Launcher::Run() {
    // Nothing may leave a thread procedure; whatever happened, the run ends,
    // and what was started goes with it.
    try {
        Launch();
    } catch (...) {
    }
    try {
        m_child.End();
    } catch (...) {
    }
    Configure();
    SetEvent(m_firstStart.Get());
    m_events.RunOver();
}

PickedEntry Launcher::Pick() {
    // Before the first start an entry's own show time is read in any case.
    const bool ownShowTime = m_ownShowTimes || !m_isConfigured;
    // List order passes over the files that are gone, asking each folder
    // once.
    ListedFiles files;
    auto usable = [&files](const std::string& path) { return files.Usable(path); };
    if (!m_place.picks) return PickNextEntry(ownShowTime, nullptr, usable);
    const int count = Setting(names::kSectionScreensaver, names::kKeyCount, 0);
    PickedEntry entry;
    // A few tries for an entry no other monitor shows, then whatever comes.
    for (int attempt = 0;; ++attempt) {
        {
            CSingleLock hold(m_place.picks->Lock());
            // A random pick looks for a free entry itself, taking no other
            // card out of the deck; list order moves on to the next.
            entry = PickNextEntry(
                ownShowTime,
                [this](int index) { return m_place.picks->Free(m_place.monitor, index); },
                usable);
            if (entry.path.empty() || attempt >= 8 || attempt >= count ||
                m_place.picks->Free(m_place.monitor, entry.index)) {
                m_place.picks->Show(m_place.monitor, entry.index);
                return entry;
            }
        }
        WaitForNextPick();
    }
}

void Launcher::Launch() {
    for (bool first = true;; first = false) {
        // The first screensaver starts before anything else is read: how the
        // run rotates is needed only once it runs.
        if (!first) Configure();
        TakeUpEvents();
        const Between next = m_state.Next(GetTickCount());
        if (next.move == NextMove::EndRun) return;
        if (next.move == NextMove::Wait) {
            WaitForSingleObject(m_wake.Get(), next.waitMs);
            continue;
        }
        const PickedEntry entry = Pick();
        const std::string& path = entry.path;
        if (path.empty()) return;
        if (!ListedFileUsable(path)) {
            // A file that is gone is skipped while another listed one exists
            // (list order has passed over those it could already). That is
            // asked once for every list's length of skips in a row, not at
            // every skip: with many files gone, asking each time cost the
            // square of the list, and a long list never started.
            const int count = Setting(names::kSectionScreensaver, names::kKeyCount, 0);
            if (m_skipsInARow++ % (count > 0 ? count : 1) == 0 && !AnyListedFileUsable()) return;
            // A random pick depends on the clock's millisecond: the next one
            // waits for it to change. One in list order moves on by itself.
            if (Setting(names::kSectionOptions, names::kKeyRandomOrder, 0) == 1) WaitForNextPick();
            continue;
        }
        m_skipsInARow = 0;
        const LONG activityBefore = m_control.Read().activity;
        const bool started = m_child.Start(path, m_place.host);
        Configure();
        SetEvent(m_firstStart.Get());
        if (started) {
            uint32_t showTime = kNoDeadline;
            if (m_ownShowTimes) {
                showTime = static_cast<uint32_t>(
                               entry.showTimeMinutes > 0 ? entry.showTimeMinutes : m_minutes) *
                           60000u;
                // The monitors' first changes come one after the other.
                if (!m_rotatedOnce && entry.showTimeMinutes <= 0)
                    showTime = FirstShowTimeMs(showTime, m_place.monitor, m_place.monitors);
            }
            m_events.ChildStarted(m_child.ProcessId());
            m_state.ChildStarted(GetTickCount(), showTime);
            WaitForChild();
        }
        // A start that failed counts as a child that ended at once. Input the
        // hooks did not see (Windows removed them) is the user's all the same.
        m_state.ChildEnded(GetTickCount(), m_control.Read().activity != activityBefore ||
                                               (started && InputWatch::MissedByHooksNow()));
        if (started && m_state.Next(GetTickCount()).move != NextMove::EndRun) m_events.ChildGone();
    }
}

void Launcher::TakeUpEvents() {
    const RunControl::Events events = m_control.Read();
    const DWORD now = GetTickCount();
    if (events.quit) m_state.Quit();
    if (events.inputUnwatched && !m_inputUnwatched) {
        m_inputUnwatched = true;
        m_state.PassOverQuits(0);
    }
    if (events.userBack) m_state.UserBack(now);
    if (events.displayOff != m_displayOff) {
        m_displayOff = events.displayOff;
        if (!m_displayOff)
            m_state.DisplayOn(now);
        else if (m_state.DisplayOff(now))
            CloseChild();
    }
    if (events.activity != m_activitySeen) {
        m_activitySeen = events.activity;
        m_state.InputSeen();
    }
    if (events.rotations != m_rotationsSeen) {
        m_rotationsSeen = events.rotations;
        if (m_state.Rotation(now)) CloseChild();
    }
}

void Launcher::WaitForChild() {
    for (;;) {
        TakeUpEvents();
        const ChildStep step = m_state.Child(GetTickCount());
        switch (step.action) {
        case ChildAction::Rotate:
            m_rotatedOnce = true;
            if (m_state.Rotation(GetTickCount())) CloseChild();
            continue;
        case ChildAction::Terminate:
            m_child.End();
            return;
        case ChildAction::AskToEnd:
            // A child with no window to be asked through goes at once.
            if (m_child.AskToClose() == 0) {
                m_child.End();
                return;
            }
            m_state.EndAsked(GetTickCount());
            continue;
        case ChildAction::CloseAgain:
            m_child.AskToClose();
            m_state.ClosedAgain();
            continue;
        case ChildAction::Wait:
            break;
        }
        HANDLE handles[2] = {m_child.WaitHandle(), m_wake.Get()};
        const DWORD result = WaitForMultipleObjects(2, handles, FALSE, step.waitMs);
        if (result == WAIT_OBJECT_0) {
            // The child ended; it may have handed its work to a process of
            // its own, which is waited for in the same way.
            if (m_child.TakeUpEnd()) {
                m_events.ChildStarted(m_child.HandOffId());
                continue;
            }
            m_child.Reset();
            return;
        }
        if (result == WAIT_FAILED) {
            // Nothing left to wait on safely: end what may still run.
            m_child.End();
            return;
        }
        // Woken, or a deadline came: the state is looked at again.
    }
}

void Launcher::CloseChild() {
    m_events.ClosingChild();
    m_child.Close();
}

void Launcher::WaitForNextPick() {
    SYSTEMTIME then;
    GetSystemTime(&then);
    for (int i = 0; i < 100; ++i) {
        // The wake event only shortens the wait; the loop looks at the state.
        if (WaitForSingleObject(m_wake.Get(), 1) == WAIT_OBJECT_0) return;
        SYSTEMTIME now;
        GetSystemTime(&now);
        if (now.wMilliseconds != then.wMilliseconds || now.wSecond != then.wSecond) return;
    }
}

}  // namespace velmora::runner
