// The framework's dialogs, data exchange, subclassing, reflection and
// property sheets, driven as real windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/property_page.h"
#include "framework/property_sheet.h"
#include "tests/framework/framework_test_ids.h"
#include "tests/support/win_test_support.h"

namespace {

// A button that takes its own clicks through reflection.
class ClickCounter : public CWnd {
public:
    int clicks = 0;
    bool preSubclassed = false;

protected:
    void PreSubclassWindow() override { preSubclassed = m_hWnd != nullptr; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
        ++clicks;
        *result = 0;
        return TRUE;
    }
};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) {}
    std::string text = "hello";
    int choice = 1;
    ClickCounter button;
    int parentCommands = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_BUTTON, button);
        DDX_Text(dx, IDC_TEST_EDIT, text);
        DDX_Radio(dx, IDC_TEST_RADIO_1, choice);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == IDC_TEST_BUTTON) ++parentCommands;
        return CDialog::OnCommand(wParam, lParam);
    }
};

bool Checked(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(FrameworkDialog, DataExchangeBothWaysAndRadioGroups) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND hwnd = dialog.m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), &dialog);
    EXPECT_STREQ(dialog.GetRuntimeClass()->m_lpszClassName, "CDialog");

    // OnInitDialog put the fields into the controls.
    EXPECT_EQ(vtest::WindowText(GetDlgItem(hwnd, IDC_TEST_EDIT)), "hello");
    EXPECT_FALSE(Checked(hwnd, IDC_TEST_RADIO_1));
    EXPECT_TRUE(Checked(hwnd, IDC_TEST_RADIO_2));
    EXPECT_FALSE(Checked(hwnd, IDC_TEST_RADIO_3));

    // And back: what the user typed and checked.
    SetWindowTextA(GetDlgItem(hwnd, IDC_TEST_EDIT), "typed text");
    SendMessageA(GetDlgItem(hwnd, IDC_TEST_RADIO_3), BM_CLICK, 0, 0);
    dialog.UpdateData(TRUE);
    EXPECT_EQ(dialog.text, "typed text");
    EXPECT_EQ(dialog.choice, 2);

    // A value that is no index of the group checks none; saving that reads -1.
    struct Case {
        int stored;
        int saved;
    };
    for (Case c : {Case{0, 0}, Case{2, 2}, Case{3, -1}, Case{-1, -1}, Case{7, -1}}) {
        dialog.choice = c.stored;
        dialog.UpdateData(FALSE);
        dialog.choice = 99;
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.choice, c.saved) << "stored " << c.stored;
    }
    // The radio group ended at the next WS_GROUP item: the button was not
    // counted or touched.
    EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, IDC_TEST_BUTTON), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(FrameworkDialog, ChildControlsTakeTheirOwnNotifications) {
    auto dialog = std::make_unique<TestDialog>();
    ASSERT_TRUE(dialog->Create(nullptr));
    HWND hwnd = dialog->m_hWnd;
    HWND button = GetDlgItem(hwnd, IDC_TEST_BUTTON);
    EXPECT_TRUE(dialog->button.preSubclassed);
    EXPECT_EQ(CWnd::FromHandle(button), &dialog->button);

    SendMessageA(button, BM_CLICK, 0, 0);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->button.clicks, 2);
    EXPECT_EQ(dialog->parentCommands, 0) << "the reflected click reached the parent too";

    // A second binding of a bound window is refused.
    ClickCounter other;
    EXPECT_FALSE(other.SubclassWindow(button));

    // Destroying the object destroys the dialog it made, and its items with it.
    dialog.reset();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(button));
}

TEST(FrameworkDialog, ASubclassedControlOutlivesItsObject) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND edit = GetDlgItem(dialog.m_hWnd, IDC_TEST_EDIT);
    {
        CWnd taken;
        ASSERT_TRUE(taken.SubclassWindow(edit));
        EXPECT_EQ(taken.GetWindowText(), "hello");
        EXPECT_TRUE(taken.ModifyStyle(0, ES_UPPERCASE));
        EXPECT_TRUE(taken.GetStyle() & ES_UPPERCASE);
    }
    // The edit belongs to the dialog: still there, unbound, still working.
    EXPECT_TRUE(IsWindow(edit));
    EXPECT_EQ(CWnd::FromHandle(edit), nullptr);
    SetWindowTextA(edit, "again");
    EXPECT_EQ(vtest::WindowText(edit), "AGAIN");  // the style it was given holds
}

struct PageLog {
    std::vector<std::string> events;
};

class LoggingPage : public CPropertyPage {
public:
    LoggingPage(UINT id, const char* name, PageLog& log)
        : CPropertyPage(id), m_name(name), m_log(log) {}

protected:
    BOOL OnInitDialog() override {
        m_log.events.push_back(m_name + " init");
        return CPropertyPage::OnInitDialog();
    }
    void OnOK() override { m_log.events.push_back(m_name + " ok"); }
    void OnCancel() override { m_log.events.push_back(m_name + " cancel"); }

private:
    std::string m_name;
    PageLog& m_log;
};

class LoggingSheet : public CPropertySheet {
public:
    LoggingSheet(PageLog& log)
        : CPropertySheet("Test sheet"),
          a(IDD_TEST_PAGE_A, "a", log),
          b(IDD_TEST_PAGE_B, "b", log),
          c(IDD_TEST_PAGE_C, "c", log),
          m_log(log) {
        AddPage(&a);
        AddPage(&b);
        AddPage(&c);
    }
    LoggingPage a, b, c;

protected:
    BOOL OnInitDialog() override {
        m_log.events.push_back(std::string("sheet init, bound ") +
                               (CWnd::FromHandle(m_hWnd) == this ? "yes" : "no"));
        return TRUE;
    }

private:
    PageLog& m_log;
};

bool SheetClosed(HWND sheet) {
    return SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

TEST(FrameworkPropertySheet, OkSavesOnlyThePagesThatWereShown) {
    PageLog log;
    LoggingSheet sheet(log);
    ASSERT_TRUE(sheet.Create());
    HWND hwnd = sheet.m_hWnd;
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(vtest::WindowText(hwnd).find("Test sheet"), 0u);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_TRUE(sheet.a.IsCreated());
    EXPECT_FALSE(sheet.b.IsCreated());
    EXPECT_EQ(sheet.a.GetCaption(), "First page");
    EXPECT_EQ(sheet.b.GetCaption(), "Second page");  // a DIALOG, not a DIALOGEX

    // The tab control shows the template titles.
    HWND tab = reinterpret_cast<HWND>(SendMessageA(hwnd, PSM_GETTABCONTROL, 0, 0));
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 3);

    ASSERT_TRUE(sheet.SetActivePage(2));
    EXPECT_EQ(sheet.GetActiveIndex(), 2);
    SendMessageA(hwnd, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(vtest::WaitUntil([&] { return SheetClosed(hwnd); }, 5000));
    DestroyWindow(hwnd);
    EXPECT_EQ(sheet.m_hWnd, nullptr);

    std::vector<std::string> expected{"sheet init, bound yes", "a init", "c init", "a ok",
                                      "c ok"};
    // comctl32 creates the first page before it reports the sheet initialised.
    std::vector<std::string> alternative{"a init", "sheet init, bound yes", "c init", "a ok",
                                         "c ok"};
    EXPECT_TRUE(log.events == expected || log.events == alternative)
        << ::testing::PrintToString(log.events);
}

TEST(FrameworkPropertySheet, CancelSavesNothing) {
    PageLog log;
    LoggingSheet sheet(log);
    ASSERT_TRUE(sheet.Create());
    HWND hwnd = sheet.m_hWnd;
    sheet.SetActivePage(1);
    SendMessageA(hwnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(vtest::WaitUntil([&] { return SheetClosed(hwnd); }, 5000));
    DestroyWindow(hwnd);
    for (const std::string& e : log.events) EXPECT_EQ(e.find(" ok"), std::string::npos) << e;
    EXPECT_NE(std::find(log.events.begin(), log.events.end(), "b cancel"), log.events.end());
}

// Wine does not count GDI objects (GetGuiResources answers 0), so each handle
// is asked whether it is still a live object.
TEST(FrameworkGdi, OwnersReleaseWhatTheyHold) {
    HGDIOBJ first = nullptr, second = nullptr, pen = nullptr;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        first = brush.Get();
        CBrush moved(std::move(brush));
        EXPECT_EQ(brush.Get(), nullptr);
        EXPECT_EQ(moved.Get(), first);
        EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BRUSH));
        moved.CreateSolidBrush(RGB(4, 5, 6));  // the first brush goes
        second = moved.Get();
        EXPECT_EQ(GetObjectType(first), 0u);
        EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
        CPen owner;
        owner.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        pen = owner.Get();
        EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    }
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(GetObjectType(pen), 0u);
}

}  // namespace

// A window that deletes itself, destroyed from inside its own WM_CLOSE
// handler: the object outlives the handler and goes once it has returned.
namespace {

struct SelfDeletingLog {
    bool deleted = false;
    bool deletedDuringClose = false;
};

class SelfDeletingWnd : public CWnd {
public:
    explicit SelfDeletingWnd(SelfDeletingLog* log) : m_log(log) {}

protected:
    void OnClose() override {
        DestroyWindow();
        m_log->deletedDuringClose = m_log->deleted;
        m_marker = 42;  // the object is still ours to use here
    }
    void PostNcDestroy() override {
        m_log->deleted = true;
        delete this;
    }

private:
    SelfDeletingLog* m_log;
    int m_marker = 0;
};

}  // namespace

TEST(FrameworkWindow, ASelfDeletingWindowGoesAfterTheHandlerThatDestroyedIt) {
    SelfDeletingLog log;
    auto* wnd = new SelfDeletingWnd(&log);
    const char* cls = CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr);
    ASSERT_TRUE(wnd->CreateEx(0, cls, "self-deleting", WS_POPUP, RECT{0, 0, 10, 10},
                              static_cast<HWND>(nullptr), 0));
    HWND hwnd = wnd->m_hWnd;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(log.deletedDuringClose) << "deleted while its own handler ran";
    EXPECT_TRUE(log.deleted);
}
