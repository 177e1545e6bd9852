// The paths list's browse button with the shell's real folder browser: a
// folder is added when no item is selected and replaces the selected one
// otherwise, and the restart warning comes with the first folder added in
// this run of the program only. The browser and the message box are modal
// on the page's thread, so a second thread answers them as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/win_app.h"
#include "tests/config/options_sheet.h"
#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

// What the user saw, in order.
struct Seen {
    std::string what;  // "browser" or "warning"
    HWND owner;
    bool ownerEnabled;  // whether the sheet still took input meanwhile
    std::string text;   // the message box's text
    bool informationIcon;
};

bool IsBrowser(HWND dialog) {
    for (const std::string& t : StaticTexts(dialog))
        if (t == "Select path to add") return true;
    return false;
}

// Answers the folder browser (choosing the root of its tree, the desktop,
// or cancelling, in the order given) and the restart warning.
class User {
public:
    explicit User(HWND sheet) : m_sheet(sheet), m_thread([this] { Run(); }) {}
    ~User() {
        m_stop = true;
        m_thread.join();
    }
    void WillChoose(bool chooseRoot) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_choices.push_back(chooseRoot);
    }
    std::vector<Seen> SeenSoFar() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_seen;
    }

private:
    void Run() {
        while (!m_stop) {
            for (HWND hwnd : TopLevelWindowsOf(GetCurrentProcessId())) {
                if (ClassNameOf(hwnd) != "#32770" || !IsWindowVisible(hwnd) || hwnd == m_sheet)
                    continue;
                if (IsBrowser(hwnd))
                    AnswerBrowser(hwnd);
                else if (WindowText(hwnd) == "Warning")
                    AnswerWarning(hwnd);
            }
            Sleep(20);
        }
    }

    void AnswerBrowser(HWND browser) {
        HWND tree = nullptr;
        for (int i = 0; i < 500 && !m_stop; ++i) {
            tree = FindDescendant(browser, "SysTreeView32");
            if (tree && SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0) break;
            Sleep(10);
        }
        bool choose = false;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            if (!m_choices.empty()) {
                choose = m_choices.front();
                m_choices.pop_front();
            }
            m_seen.push_back({"browser", GetWindow(browser, GW_OWNER),
                              IsWindowEnabled(m_sheet) != FALSE, "", false});
        }
        if (choose && tree) {
            // Wine opens the browser again without a selection: select the root.
            LRESULT root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, root);
            PressButton(browser, IDOK);
        } else {
            PressButton(browser, IDCANCEL);
        }
        for (int i = 0; i < 500 && IsWindow(browser); ++i) Sleep(10);
    }

    void AnswerWarning(HWND box) {
        // The information icon is the box's icon control, whatever its id.
        HICON information = LoadIconA(nullptr, IDI_ASTERISK);
        bool icon = false;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (ClassNameOf(child) == "Static" &&
                reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == information)
                icon = true;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_seen.push_back({"warning", GetWindow(box, GW_OWNER),
                              IsWindowEnabled(m_sheet) != FALSE, MessageBoxText(box), icon});
        }
        PressButton(box, IDOK);
        for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    }

    HWND m_sheet;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::deque<bool> m_choices;
    std::vector<Seen> m_seen;
    std::thread m_thread;
};

std::string DesktopFolder() {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    return path;
}

std::string Lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

TEST(OptionsBrowse, AddsWithoutSelectionReplacesTheSelectedAndWarnsOnce) {
    FileRestorer ini{IniPath()};
    FlushIni();
    DeleteFileA(IniPath().c_str());

    CWinApp app;
    OptionsSheet sheet;
    ASSERT_TRUE(sheet.Show());
    app.m_pMainWnd = &sheet;  // the restart warning's owner
    ASSERT_NE(sheet.OpenOptions(), nullptr);
    CEditableList* paths = sheet.Paths();
    ASSERT_NE(paths, nullptr);
    User user(sheet.m_hWnd);
    const std::string desktop = DesktopFolder();
    ASSERT_TRUE(PathExists(desktop)) << desktop;

    // Presses the browse button of the editor open now and waits until the
    // browse action has run to its end (the browser and any message box
    // answered), with count items in the list.
    size_t browses = 0;
    auto browse = [&](bool choose, int count) {
        ASSERT_TRUE(sheet.PumpUntil([&] { return paths->GetBrowseButton() != nullptr; }));
        user.WillChoose(choose);
        SendMessageA(paths->GetBrowseButton(), BM_CLICK, 0, 0);
        ++browses;
        ASSERT_TRUE(sheet.PumpUntil([&] {
            std::vector<Seen> seen = user.SeenSoFar();
            size_t browsers = 0;
            for (const Seen& s : seen) browsers += s.what == "browser";
            return browsers == browses && !paths->IsEditing() && paths->GetCount() == count;
        }));
    };
    auto warnings = [&] {
        int n = 0;
        for (const Seen& s : user.SeenSoFar()) n += s.what == "warning";
        return n;
    };

    // New adds an empty, unselected item: its browse adds a folder.
    SendMessageA(sheet.NewButton(), BM_CLICK, 0, 0);
    browse(true, 1);
    EXPECT_EQ(paths->GetItemText(0), desktop) << "as the shell returned it";
    EXPECT_EQ(warnings(), 1);

    SendMessageA(sheet.NewButton(), BM_CLICK, 0, 0);
    browse(true, 2);
    EXPECT_EQ(paths->GetItemText(1), desktop);
    EXPECT_EQ(warnings(), 1) << "the warning comes with the first folder only";

    // A typed folder, selected and edited: its browse replaces it.
    SendMessageA(sheet.NewButton(), BM_CLICK, 0, 0);
    ASSERT_TRUE(sheet.PumpUntil([&] { return paths->IsEditing(); }));
    Type("c:\\typed");
    Key(VK_RETURN);
    ASSERT_TRUE(sheet.PumpUntil([&] { return paths->GetItemText(2) == "c:\\typed"; }));
    paths->SetSelectedIndex(2);
    ASSERT_TRUE(paths->EditItem(2));
    browse(true, 3);
    EXPECT_EQ(paths->GetItemText(2), desktop) << "the selected item was replaced";
    EXPECT_EQ(paths->GetSelectedIndex(), 2);

    // Cancelled in the browser: nothing changes, the new empty item goes.
    paths->SetSelectedIndex(-1);
    SendMessageA(sheet.NewButton(), BM_CLICK, 0, 0);
    browse(false, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(paths->GetItemText(i), desktop) << i;
    EXPECT_EQ(warnings(), 1);

    std::vector<Seen> seen = user.SeenSoFar();
    ASSERT_EQ(seen.size(), 5u);
    for (const Seen& s : seen) {
        SCOPED_TRACE(s.what);
        // Both are modal to the sheet, the browser through the list it is
        // owned by, the warning through the main window.
        EXPECT_EQ(s.owner, sheet.m_hWnd);
        EXPECT_FALSE(s.ownerEnabled);
    }
    EXPECT_EQ(seen[1].what, "warning");
    EXPECT_EQ(seen[1].text,
              "You must close and restart the program\nfor update the available screensaver "
              "list\nwith new screensavers coming from additional paths.");
    EXPECT_TRUE(seen[1].informationIcon);

    app.m_pMainWnd = nullptr;
    ASSERT_TRUE(sheet.Close(PSBTN_OK));
    FlushIni();
    // Three times the same folder: written once, with its backslash, lowered.
    EXPECT_EQ(IniValue("Additional Path", "Path0"), Lower(desktop) + "\\");
    EXPECT_EQ(IniValue("Additional Path", "Path1"), "<none>");
}

}  // namespace
