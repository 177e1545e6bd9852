// Velmora's benchmarks, run under Wine by scripts/bench. Each figure is a
// ratio of two things measured side by side in this run: the programs'
// work against the floor of the same work done bare. Prints one table and a
// closing line with the headline ratios.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runner/pick_next.h"

namespace {

int g_repeats = 7;
std::string g_bin, g_work, g_stamps, g_windows;

double Now() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double CounterToMs(long long counter) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(end - now, 5), QS_ALLINPUT);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 30000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Pump(1);
    }
    return true;
}

struct Stamp {
    double ms;
    DWORD pid;
};

// The first instructions of the stamp savers (or, from g_windows, the
// moments their windows were made).
std::vector<Stamp> Stamps(const std::string& file = g_stamps) {
    std::vector<Stamp> stamps;
    FILE* f = std::fopen(file.c_str(), "r");
    if (!f) return stamps;
    long long counter;
    unsigned long pid;
    while (std::fscanf(f, "%lld\t%lu\n", &counter, &pid) == 2)
        stamps.push_back({CounterToMs(counter), static_cast<DWORD>(pid)});
    std::fclose(f);
    return stamps;
}

// Waits for the next stamp after `count` and gives it.
bool NextStamp(size_t count, Stamp* stamp, const std::string& file = g_stamps,
               DWORD timeoutMs = 30000) {
    std::vector<Stamp> stamps;
    if (!WaitFor([&] { return (stamps = Stamps(file)).size() > count; }, timeoutMs)) return false;
    *stamp = stamps[count];
    return true;
}

struct Child {
    PROCESS_INFORMATION pi{};
    ~Child() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
    bool Start(const std::string& program, const std::string& arguments, const std::string& dir) {
        std::string line = program + arguments;
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA si{};
        si.cb = sizeof si;
        return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              dir.empty() ? nullptr : dir.c_str(), &si, &pi) != FALSE;
    }
    bool WaitExit(DWORD ms = 30000) {
        return WaitFor([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, ms);
    }
};

struct FindWindowOf {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK VisibleWindowProc(HWND hwnd, LPARAM lParam) {
    auto* find = reinterpret_cast<FindWindowOf*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == find->pid && IsWindowVisible(hwnd)) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindowOf(DWORD pid) {
    FindWindowOf find{pid, nullptr};
    EnumWindows(VisibleWindowProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// Closes a stamp saver through its window and waits for its end.
bool CloseSaver(DWORD pid) {
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = VisibleWindowOf(pid)) != nullptr; })) return false;
    PostMessageA(window, WM_CLOSE, 0, 0);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return true;
    bool ended = WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
    CloseHandle(process);
    return ended;
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n && n < sizeof buffer ? std::string(buffer, n) : path;
}

void Ini(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), "Velmora.ini");
}

void SetRotation(const std::vector<std::string>& savers) {
    WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
    WritePrivateProfileStringA("Additional Path", nullptr, nullptr, "Velmora.ini");
    for (size_t i = 0; i < savers.size(); ++i)
        Ini("Screensaver", ("Scr" + std::to_string(i)).c_str(), savers[i]);
    Ini("Screensaver", "nScr", std::to_string(savers.size()));
    Ini("Options", "ShowRandomOrder", "0");
    Ini("Options", "ShowForXMinuts", "1");
    Ini("Options", "ShowTime", "15");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
}

struct Series {
    explicit Series(std::string n, std::vector<double> values = {})
        : name(std::move(n)), ms(std::move(values)) {}
    std::string name;
    std::vector<double> ms;
    double Median() const {
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double Min() const { return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
    double Max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

std::vector<Series> g_table;
std::vector<std::string> g_ratios;

void Report(const Series& s) {
    g_table.push_back(s);
    std::printf("  %-44s %9.1f %9.1f %9.1f  (n=%zu)\n", s.name.c_str(), s.Min(), s.Median(),
                s.Max(), s.ms.size());
    std::fflush(stdout);
}

void Ratio(const char* name, double value, double bound) {
    char line[160];
    std::snprintf(line, sizeof line, "%s %.2f%s", name, value, value > bound ? " (above bound)" : "");
    g_ratios.push_back(line);
    std::printf("  %-44s %9.2f   (bound %.2f)\n", name, value, bound);
    std::fflush(stdout);
}

std::string Scr() { return g_bin + "\\Velmora.scr"; }

// The saver started bare, as the runner starts it: ms to its first
// instruction (-1 when it did not start); it is closed again.
// A bare start up to the saver's first instruction, or with `file` set to
// g_windows, up to its window.
double BareStart(const std::string& saver, const std::string& file = g_stamps) {
    size_t before = Stamps(file).size();
    Child child;
    std::string dir = saver.substr(0, saver.rfind('\\'));
    double t0 = Now();
    Stamp stamp{};
    if (!child.Start(ShortPath(saver), " /s", dir) || !NextStamp(before, &stamp, file)) return -1;
    CloseSaver(stamp.pid);
    child.WaitExit();
    return stamp.ms - t0;
}

// Velmora.scr /s started: ms to the first instruction of the screensaver
// started `later` starts after the first (-1 when none came within the time);
// its stamp.
double StartRun(Child& scr, size_t later, Stamp& stamp, DWORD timeoutMs = 30000) {
    size_t before = Stamps().size();
    double t0 = Now();
    if (!scr.Start("\"" + Scr() + "\"", " /s", "") ||
        !NextStamp(before + later, &stamp, g_stamps, timeoutMs))
        return -1;
    return stamp.ms - t0;
}

// One repeat of a run against a bare start: Velmora.scr /s started -> its
// first child's first instruction, that child closed and the run ended; then
// the saver started bare, as the runner starts it. False when either failed.
bool RunThenBare(const std::string& saver, Series& run, Series& bare, DWORD timeoutMs = 30000) {
    Child scr;
    Stamp stamp{};
    const double started = StartRun(scr, 0, stamp, timeoutMs);
    if (started < 0) return false;
    run.ms.push_back(started);
    CloseSaver(stamp.pid);
    scr.WaitExit();
    const double alone = BareStart(saver);
    if (alone < 0) return false;
    bare.ms.push_back(alone);
    return true;
}

// Velmora.scr /s started -> the child's first instruction; and the same
// saver started bare, as the runner starts it.
void HandOff(const std::string& saver) {
    SetRotation({saver});
    Series run("Velmora.scr /s -> child's first instruction"), bare("bare start of the same saver");
    for (int i = 0; i < g_repeats; ++i)
        if (!RunThenBare(saver, run, bare)) return;
    Report(run);
    Report(bare);
    Ratio("hand-off (run / two bare starts)", run.Median() / (2 * bare.Median()), 1.15);
}

// The rotation timer's message -> the next child's first instruction; and a
// running saver's close plus one bare start.
// What a rotation cannot do without: the close of a running saver, and a
// bare start of the next.
bool CloseAndBareStart(const std::string& saver, Series& close, Series& bare) {
    for (int i = 0; i < g_repeats; ++i) {
        Child child;
        const size_t before = Stamps().size();
        std::string dir = saver.substr(0, saver.rfind('\\'));
        double t0 = Now();
        Stamp stamp{};
        if (!child.Start(ShortPath(saver), " /s", dir)) return false;
        if (!NextStamp(before, &stamp)) return false;
        bare.ms.push_back(stamp.ms - t0);
        HWND window = nullptr;
        WaitFor([&] { return (window = VisibleWindowOf(stamp.pid)) != nullptr; });
        Pump(200);
        t0 = Now();
        PostMessageA(window, WM_CLOSE, 0, 0);
        child.WaitExit();
        close.ms.push_back(Now() - t0);
    }
    return true;
}

void Rotation(const std::string& first, const std::string& second) {
    SetRotation({first, second});
    Series rotate("rotation tick -> next child's first instruction"),
        close("close of a running saver"), bare("bare start (for the rotation)");
    Child scr;
    size_t before = Stamps().size();
    if (!scr.Start("\"" + Scr() + "\"", " /s", "")) return;
    Stamp stamp{};
    if (!NextStamp(before, &stamp)) return;
    for (int i = 0; i < g_repeats; ++i) {
        WaitFor([&] { return VisibleWindowOf(stamp.pid) != nullptr; });
        Pump(200);  // the child settles into its message loop, as it does in a real run
        HWND session = nullptr;
        WaitFor([&] { return (session = FindWindowA(nullptr, "VelmoraScrWnd")) != nullptr; });
        before = Stamps().size();
        double t0 = Now();
        PostMessageA(session, WM_TIMER, 1, 0);
        if (!NextStamp(before, &stamp)) return;
        rotate.ms.push_back(stamp.ms - t0);
    }
    CloseSaver(stamp.pid);
    scr.WaitExit();
    if (!CloseAndBareStart(first, close, bare)) return;
    Report(rotate);
    Report(close);
    Report(bare);
    Ratio("rotation (tick / (close + bare start))", rotate.Median() / (close.Median() + bare.Median()),
          1.15);
}

double CpuMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// CPU time of Velmora.scr while its child runs for a minute.
void RunnerCost(const std::string& saver) {
    SetRotation({saver});
    Child scr;
    size_t before = Stamps().size();
    if (!scr.Start("\"" + Scr() + "\"", " /s", "")) return;
    Stamp stamp{};
    if (!NextStamp(before, &stamp)) return;
    Pump(1000);
    // Sleep rather than pump: this program then does nothing at all that
    // Velmora.scr or its hook library could be asked to look at.
    double cpu0 = CpuMs(scr.pi.hProcess);
    Sleep(60000);
    double cpu = CpuMs(scr.pi.hProcess) - cpu0;
    CloseSaver(stamp.pid);
    scr.WaitExit();
    Report(Series("runner CPU while a child runs 60 s", {cpu}));
    g_ratios.push_back("runner " + std::to_string(static_cast<int>(cpu)) + " ms CPU/min");
}

// Velmora.exe started -> its sheet shown, with the given extra folder (or none).
double TimeToSheet(const std::string& extraFolder) {
    WritePrivateProfileStringA("Additional Path", nullptr, nullptr, "Velmora.ini");
    if (!extraFolder.empty()) Ini("Additional Path", "Path0", extraFolder + "\\");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
    Child exe;
    double t0 = Now();
    if (!exe.Start("\"" + g_bin + "\\Velmora.exe\"", "", g_bin)) return -1;
    HWND sheet = nullptr;
    WaitFor(
        [&] {
            sheet = VisibleWindowOf(exe.pi.dwProcessId);
            return sheet != nullptr;
        },
        120000);
    double shown = Now() - t0;
    if (sheet) PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    exe.WaitExit();
    return shown;
}

// The floor of the catalogue's scan: the directory search, the name from
// string 1 read as data and the small icon, for each file.
double BareScan(const std::string& folder) {
    double t0 = Now();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.scr").c_str(), &found);
    int names = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string path = folder + "\\" + found.cFileName;
            HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            char name[256] = "";
            if (module) {
                names += LoadStringA(module, 1, name, sizeof name) > 0;
                FreeLibrary(module);
            }
            SHFILEINFOA info{};
            if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
                DestroyIcon(info.hIcon);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return names > 0 ? Now() - t0 : -1;
}

void Catalogue(const std::string& folder) {
    Series with("Velmora.exe shown, 1000 extra savers"), without("Velmora.exe shown, none"),
        bare("bare scan of the 1000");
    for (int i = 0; i < g_repeats; ++i) {
        with.ms.push_back(TimeToSheet(folder));
        without.ms.push_back(TimeToSheet(""));
        bare.ms.push_back(BareScan(folder));
    }
    Report(with);
    Report(without);
    Report(bare);
    Ratio("catalogue ((with - none) / bare scan)", (with.Median() - without.Median()) / bare.Median(),
          1.5);
}

// CPU per second of the threads the page with this title starts in
// Velmora.exe, while it is shown: threads of pages visited on the way to it
// (which keep running while their window exists) are not counted.
void PageThreads(const char* title) {
    SetRotation({});
    Child exe;
    if (!exe.Start("\"" + g_bin + "\\Velmora.exe\"", "", g_bin)) return;
    HWND sheet = nullptr;
    WaitFor([&] { return (sheet = VisibleWindowOf(exe.pi.dwProcessId)) != nullptr; });
    auto threadIds = [&] {
        std::set<DWORD> ids;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 t{};
        t.dwSize = sizeof t;
        for (BOOL ok = Thread32First(snapshot, &t); ok; ok = Thread32Next(snapshot, &t))
            if (t.th32OwnerProcessID == exe.pi.dwProcessId) ids.insert(t.th32ThreadID);
        CloseHandle(snapshot);
        return ids;
    };
    std::set<DWORD> before;
    bool found = false;
    for (int i = 0; i < 8 && !found; ++i) {
        before = threadIds();
        if (!SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0)) break;
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        char text[64] = "";
        GetWindowTextA(page, text, sizeof text);
        found = std::string(text) == title;
    }
    auto workers = [&] {
        double total = 0;
        for (DWORD id : threadIds()) {
            if (before.count(id)) continue;
            HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, id);
            FILETIME c, e, k, u;
            if (thread && GetThreadTimes(thread, &c, &e, &k, &u))
                total += static_cast<double>(((static_cast<unsigned long long>(k.dwHighDateTime) << 32) |
                                              k.dwLowDateTime) +
                                             ((static_cast<unsigned long long>(u.dwHighDateTime) << 32) |
                                              u.dwLowDateTime)) /
                         10000.0;
            if (thread) CloseHandle(thread);
        }
        return total;
    };
    if (found) {
        Pump(2000);
        double cpu0 = workers(), t0 = Now();
        Pump(30000);  // longer than one pass of the credits
        double share = (workers() - cpu0) / (Now() - t0);
        Report(Series(std::string(title) + " page: its threads' CPU ms per s", {share * 1000.0}));
        Ratio((std::string(title) + " thread (share of a core, %)").c_str(), share * 100.0, 1.0);
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    exe.WaitExit();
}

// The next pick from a list of 10 000 entries, as the launcher makes it: in
// list order and plain random order (the design's, one entry read), by
// weight, and from the shuffled deck (which reads and writes the whole deck
// each time); against one bare read of an entry.
void PickCost() {
    constexpr int kEntries = 10000, kDeckEntries = 3500;
    std::string section;
    for (int i = 0; i < kEntries; ++i) {
        section += "Scr" + std::to_string(i) + "=" + g_work + "\\many\\b" + std::to_string(i % 1000) +
                   ".scr" + '\0';
        if (i % 7 == 0) section += "Weight" + std::to_string(i) + "=3" + '\0';
    }
    section += "nScr=" + std::to_string(kEntries) + '\0';
    section += '\0';
    WritePrivateProfileSectionA("Screensaver", section.data(), "Velmora.ini");
    auto time = [](const char* name, int random, int deck, int repeats) {
        Ini("Options", "ShowRandomOrder", std::to_string(random));
        Ini("Options", "PlayEachOnce", std::to_string(deck));
        Series series(name);
        for (int i = 0; i < repeats; ++i) {
            double t0 = Now();
            PickNextScreensaver();
            series.ms.push_back(Now() - t0);
        }
        Report(series);
        return series.Median();
    };
    Series bare("bare read of one entry");
    for (int i = 0; i < g_repeats; ++i) {
        char value[MAX_PATH];
        double t0 = Now();
        GetPrivateProfileStringA("Screensaver", "Scr5000", "", value, sizeof value, "Velmora.ini");
        bare.ms.push_back(Now() - t0);
    }
    Report(bare);
    time("next pick of 10000, list order", 0, 0, g_repeats);
    time("next pick of 10000, random order by weight", 1, 0, g_repeats);
    // The largest deck the settings file carries (5000 cards): 3500 entries,
    // every seventh of weight 3. The first pick deals the deck; the others
    // take from it.
    Ini("Screensaver", "nScr", std::to_string(kDeckEntries));
    const double deck = time("next pick of 3500, shuffled deck", 1, 1, g_repeats + 1);
    char line[96];
    std::snprintf(line, sizeof line, "next pick of 3500 (deck) %.1f ms", deck);
    g_ratios.push_back(line);
    WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
    Ini("Options", "PlayEachOnce", "0");
}

// Velmora.scr /s started -> the child's first instruction, in list order past
// 4000 entries whose files are gone (a folder emptied, a drive unplugged)
// before the one that is there; against a bare start of that saver.
void SkipCost(const std::string& saver) {
    constexpr int kGone = 4000;
    std::string section;
    for (int i = 0; i < kGone; ++i)
        section += "Scr" + std::to_string(i) + "=" + g_work + "\\many\\gone" + std::to_string(i) +
                   ".scr" + '\0';
    section += "Scr" + std::to_string(kGone) + "=" + saver + '\0';
    section += "nScr=" + std::to_string(kGone + 1) + '\0';
    section += '\0';
    Ini("Options", "ShowRandomOrder", "0");
    Ini("Options", "ShowForXMinuts", "0");
    Series run("/s -> first child past 4000 gone, list order"), bare("bare start of the same saver");
    for (int i = 0; i < g_repeats; ++i) {
        WritePrivateProfileSectionA("Screensaver", section.data(), "Velmora.ini");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        if (!RunThenBare(saver, run, bare, 300000)) return;
    }
    Report(run);
    Report(bare);
    char line[96];
    std::snprintf(line, sizeof line, "start past 4000 gone %.0f ms", run.Median());
    g_ratios.push_back(line);
    WritePrivateProfileStringA("Screensaver", nullptr, nullptr, "Velmora.ini");
}

// Two screensavers started at the same moment, as the monitors' hosts start
// theirs: ms to the later first instruction.
bool TwoBareStartsAtOnce(const std::string& first, const std::string& second, Series& series) {
    for (int i = 0; i < g_repeats; ++i) {
        const size_t before = Stamps().size();
        Child one, two;
        const double t0 = Now();
        if (!one.Start(ShortPath(first), " /s", "") || !two.Start(ShortPath(second), " /s", ""))
            return false;
        Stamp later{};
        if (!NextStamp(before + 1, &later)) return false;
        series.ms.push_back(later.ms - t0);
        const std::vector<Stamp> stamps = Stamps();
        for (size_t k = before; k < stamps.size(); ++k) CloseSaver(stamps[k].pid);
        one.WaitExit();
        two.WaitExit();
    }
    return true;
}

// Each monitor a screensaver of its own, with two monitors. The start:
// Velmora.scr /s started -> the later of the two screensavers' first
// instructions. The host windows are the screensavers' parents, so
// Velmora.scr connects to the display and makes windows before any start:
// against a bare start up to the saver's window (a process that connects and
// makes one) and two bare starts at once. The rotation, both monitors at
// once (a tick every monitor takes up): the tick -> the later of the next two
// first instructions, against a close and two bare starts at once. Only on a
// screen of several monitors.
void Monitors(const std::string& first, const std::string& second) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) return;
    Series run("Velmora.scr /s -> a screensaver on each of 2 monitors"),
        windowed("bare start up to its window"),
        rotate("rotation tick -> next screensaver on each of 2 monitors"),
        close("close of a running saver (for the monitors)"), bare("bare start (for the close)"),
        twoAtOnce("two bare starts at once");
    SetRotation({first, second, first, second});
    Ini("Options", "Monitors", "2");
    Ini("Options", "ShowTime", "15");
    auto userBack = [] {
        SetCursorPos(100, 100);
        Pump(50);
        SetCursorPos(500, 400);
    };
    Ini("Options", "ShowForXMinuts", "0");
    for (int i = 0; i < g_repeats; ++i) {
        Child scr;
        Stamp stamp{};
        const double covered = StartRun(scr, 1, stamp);
        if (covered < 0) return;
        run.ms.push_back(covered);
        userBack();  // every monitor's screensaver goes with the run
        scr.WaitExit();
        const double shown = BareStart(first, g_windows);
        if (shown < 0) return;
        windowed.ms.push_back(shown);
    }
    Ini("Options", "ShowForXMinuts", "1");
    {
        Child scr;
        Stamp stamp{};
        if (StartRun(scr, 1, stamp) < 0) return;
        HWND session = nullptr;
        WaitFor([&] { return (session = FindWindowA(nullptr, "VelmoraScrWnd")) != nullptr; });
        for (int i = 0; i < g_repeats && session; ++i) {
            Pump(300);  // the screensavers settle into their message loops
            const size_t before = Stamps().size();
            const double t0 = Now();
            PostMessageA(session, WM_TIMER, 1, 0);
            if (!NextStamp(before + 1, &stamp)) return;
            rotate.ms.push_back(stamp.ms - t0);
        }
        userBack();
        scr.WaitExit();
    }
    Ini("Options", "Monitors", "0");
    Ini("Options", "ShowForXMinuts", "0");
    if (!CloseAndBareStart(first, close, bare) || !TwoBareStartsAtOnce(first, second, twoAtOnce))
        return;
    for (const Series* series : {&run, &windowed, &rotate, &close, &twoAtOnce}) Report(*series);
    Ratio("monitors covered (run / windowed + two bare starts at once)",
          run.Median() / (windowed.Median() + twoAtOnce.Median()), 1.15);
    Ratio("rotation per monitor (tick / (close + two bare starts at once))",
          rotate.Median() / (close.Median() + twoAtOnce.Median()), 1.15);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velmora_bench <bin folder> <work folder> [repeats]\n");
        return 2;
    }
    g_bin = argv[1];
    g_work = argv[2];
    if (argc > 3) g_repeats = std::max(7, std::atoi(argv[3]));
    // The parts to run (all when not given): handoff, rotation, catalogue,
    // pages, runner, pick, skip, monitors (this one on a screen of several
    // monitors).
    const std::string parts = argc > 4 ? argv[4] : "handoff,rotation,catalogue,pages,runner,pick,skip";
    auto wanted = [&](const char* part) { return parts.find(part) != std::string::npos; };
    g_stamps = g_work + "\\stamps.log";
    g_windows = g_work + "\\windows.log";
    DeleteFileA(g_stamps.c_str());
    DeleteFileA(g_windows.c_str());
    SetEnvironmentVariableA("VELMORA_BENCH_STAMPS", g_stamps.c_str());
    SetEnvironmentVariableA("VELMORA_BENCH_WINDOWS", g_windows.c_str());
    const std::string stamp = g_bin + "\\stamp.scr";
    const std::string first = g_work + "\\first.scr", second = g_work + "\\second.scr";
    CopyFileA(stamp.c_str(), first.c_str(), FALSE);
    CopyFileA(stamp.c_str(), second.c_str(), FALSE);
    const std::string many = g_work + "\\many";
    CreateDirectoryA(many.c_str(), nullptr);
    for (int i = 0; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\b%04d.scr", i);
        CopyFileA(stamp.c_str(), (many + name).c_str(), FALSE);
    }
    SetCursorPos(500, 400);

    std::printf("  %-44s %9s %9s %9s   (ms)\n", "", "min", "median", "max");
    if (wanted("handoff")) HandOff(first);
    if (wanted("rotation")) Rotation(first, second);
    if (wanted("catalogue")) Catalogue(many);
    if (wanted("pages")) {
        PageThreads("About");
        PageThreads("Donations");
    }
    if (wanted("runner")) RunnerCost(first);
    if (wanted("pick")) PickCost();
    if (wanted("skip")) SkipCost(first);
    if (wanted("monitors")) Monitors(first, second);

    std::printf("bench:");
    for (size_t i = 0; i < g_ratios.size(); ++i)
        std::printf("%s %s", i ? "," : "", g_ratios[i].c_str());
    std::printf("\n");
    return 0;
}
