#pragma once
// Whole runs: Velmora.scr /s started as Windows starts it, rotating copies of
// the probe screensaver, with Trapline.dll installed in the system folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace run_session_test {

using namespace vtest;

constexpr DWORD kWait = 20000;

std::string SystemDir();
std::string ShortPath(const std::string& path);
void Ini(const char* section, const char* key, const std::string& value);
std::string IniValue(const char* section, const char* key);
bool ProcessAlive(DWORD pid);
// The system's last-input time: what a key press or a real pointer move
// changes, and what power management counts idle time from.
DWORD LastInputTime();
// A real pointer move through the X server, as a returning user makes it:
// Windows sees it as hardware input, not as input a program made.
bool XPointerMove(int x, int y);
// xdotool with these arguments, started; true once it is on its way.
bool XDoTool(const std::string& arguments);

// Counts the input the system sees while it lives: key events, and mouse
// events other than a move to where the pointer already is. Wine turns a
// window opening or closing under the resting pointer into such a move (and
// counts it as input for the last-input time); a rotation's own input would
// be a key press or an injected event. The thread must pump (the waits here
// do).
class InputCounter {
public:
    InputCounter();
    ~InputCounter();
    InputCounter(const InputCounter&) = delete;
    InputCounter& operator=(const InputCounter&) = delete;
    int keys() const { return m_keyboard ? s_keys : -1; }
    int mouse() const { return m_pointer ? s_mouse : -1; }

private:
    static LRESULT CALLBACK Key(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Mouse(int code, WPARAM wParam, LPARAM lParam);
    static int s_keys, s_mouse;
    static POINT s_rest;
    HHOOK m_keyboard, m_pointer;
};

class RunSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void InstallTrapline(const char* builtName);
    // A copy of the probe under the given name, with its behaviour.
    std::string AddSaver(const std::string& folder, const std::string& name,
                         const char* behaviour = "normal");
    void SetList(const std::vector<std::string>& entries);
    void SetOptions(bool rotate, int minutes = 15, bool random = false);
    bool StartRun(Process& scr);
    std::vector<ProbeStart> Starts() { return ReadProbeLog(log); }
    bool WaitForStarts(size_t n);
    // The probe's full-screen window, once it is up and in front.
    bool WaitForForeground(DWORD pid);
    // StartRun, then the first screensaver started and in front.
    bool StartRunToFirst(Process& scr, ProbeStart& first);
    // A run of one probe with the given behaviour (rotation off), up to its
    // first screensaver in front and the session window answering.
    bool StartRunOf(const char* behaviour, Process& scr, ProbeStart& first, HWND& session);
    static void ReturningUser();
    // The session window once it exists; nullptr after the usual wait.
    static HWND SessionWindow();
    static void Rotate();

    std::string trapline = SystemDir() + "\\Trapline.dll";
    FileRestorer ini{IniPath()};
    FileRestorer installed{trapline};
    RegValueRestorer secure{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaverIsSecure"};
    TempDir savers{"savers"};
    std::string log = savers / "starts.log";
    ScopedEnv logVar{"VELMORA_SAVER_PROBE_LOG", log};
};

}  // namespace run_session_test
