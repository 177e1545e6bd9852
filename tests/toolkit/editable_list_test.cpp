// The editable list as a user meets it: a real dialog whose messages go
// through the dialog manager, keys typed as real input, buttons clicked.
#include "toolkit/editable_list.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "tests/support/win_test_support.h"
#include "tests/toolkit/editable_list_test_ids.h"

namespace {

using namespace vtest;

constexpr DWORD kWait = 5000;

// What the list knew when its browse action ran.
struct BrowseCall {
    int selected;
    int count;
    bool editing;
};

class RecordingList : public CEditableList {
public:
    std::vector<BrowseCall> browses;

protected:
    void OnBrowse() override {
        browses.push_back({GetSelectedIndex(), GetCount(), IsEditing() != FALSE});
    }
};

class ListDialog : public CDialog {
public:
    explicit ListDialog(UINT buttons = CEditableList::kNewButton | CEditableList::kDeleteButton,
                        BOOL browse = TRUE)
        : CDialog(IDD_LIST_TEST), m_buttons(buttons), m_browse(browse) {}
    RecordingList list;
    int oks = 0, cancels = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_TEST_LIST, list); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        list.SetStandardButtons(m_buttons);
        list.EnableBrowseButton(m_browse);
        return TRUE;
    }
    // Counted, and the dialog stays: Enter and Escape in the editor must
    // never reach these.
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }

private:
    UINT m_buttons;
    BOOL m_browse;
};

// Pumps this thread's messages through the dialog manager, as a dialog's
// own loop does, until the condition holds.
bool PumpDialogUntil(HWND dialog, const std::function<bool()>& condition,
                     DWORD timeoutMs = kWait) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Lets the input and what it caused settle.
void Settle(HWND dialog) {
    PumpDialogUntil(dialog, [] { return false; }, 150);
}

void Key(WORD vk) {
    INPUT in[2]{};
    in[0].type = INPUT_KEYBOARD;
    in[0].ki.wVk = vk;
    in[1] = in[0];
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void Type(const std::string& text) {
    for (char c : text) {
        INPUT in[2]{};
        in[0].type = INPUT_KEYBOARD;
        in[0].ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1] = in[0];
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
}

std::vector<std::string> Items(const CEditableList& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.GetCount(); ++i) items.push_back(list.GetItemText(i));
    return items;
}

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class EditableList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        hwnd = dialog.m_hWnd;
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return GetForegroundWindow() == hwnd; }));
        ASSERT_NE(dialog.list.GetListView(), nullptr);
    }

    void FocusList() {
        SetFocus(dialog.list.GetListView());
        ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return GetFocus() == dialog.list.GetListView(); }));
    }

    // Real keys, then waits until the list shows what they should make of it.
    void Expect(const char* what, const std::vector<std::string>& items, int editing,
                int selected) {
        bool settled = PumpDialogUntil(hwnd, [&] {
            return Items(dialog.list) == items && dialog.list.GetEditIndex() == editing &&
                   dialog.list.GetSelectedIndex() == selected;
        });
        EXPECT_TRUE(settled) << what << ": items " << ::testing::PrintToString(Items(dialog.list))
                             << ", editing " << dialog.list.GetEditIndex() << ", selected "
                             << dialog.list.GetSelectedIndex();
    }

    ListDialog dialog;
    HWND hwnd = nullptr;
};

TEST_F(EditableList, KeysAddEditCancelAndDeleteItems) {
    EXPECT_EQ(dialog.list.GetCaption(), "Things");
    FocusList();

    struct Step {
        const char* what;
        std::function<void()> keys;
        std::vector<std::string> items;
        int editing;
        int selected;
    };
    const Step steps[] = {
        {"Insert adds an empty item and edits it", [] { Key(VK_INSERT); }, {""}, 0, -1},
        {"typing and Enter commit", [] { Type("alpha"); Key(VK_RETURN); }, {"alpha"}, -1, -1},
        {"a new item cancelled goes", [] { Key(VK_INSERT); Type("beta"); Key(VK_ESCAPE); },
         {"alpha"}, -1, -1},
        {"a new item committed empty goes", [] { Key(VK_INSERT); Key(VK_RETURN); }, {"alpha"},
         -1, -1},
        {"Tab moves the focus on and commits",
         [] { Key(VK_INSERT); Type("gamma"); Key(VK_TAB); }, {"alpha", "gamma"}, -1, -1},
        {"F2 edits the selected item",
         [this] {
             dialog.list.SetSelectedIndex(0);
             SetFocus(dialog.list.GetListView());
             Key(VK_F2);
         },
         {"alpha", "gamma"}, 0, 0},
        {"typing replaces the selected text, Enter commits",
         [] { Type("delta"); Key(VK_RETURN); }, {"delta", "gamma"}, -1, 0},
        {"Escape keeps the old text", [] { Key(VK_F2); Type("zzz"); Key(VK_ESCAPE); },
         {"delta", "gamma"}, -1, 0},
        {"an item emptied and committed goes",
         [] { Key(VK_F2); Key(VK_BACK); Key(VK_RETURN); }, {"gamma"}, -1, -1},
        {"Delete removes the selected item",
         [this] {
             dialog.list.AddItem("epsilon");
             dialog.list.SetSelectedIndex(0);
             Key(VK_DELETE);
         },
         {"epsilon"}, -1, 0},
        {"Delete again removes the item that took its place", [] { Key(VK_DELETE); }, {}, -1,
         -1},
        {"Delete with nothing left does nothing", [] { Key(VK_DELETE); }, {}, -1, -1},
    };
    for (const Step& step : steps) {
        step.keys();
        Expect(step.what, step.items, step.editing, step.selected);
    }
    Settle(hwnd);
    EXPECT_EQ(dialog.oks, 0) << "Enter in the editor reached the dialog";
    EXPECT_EQ(dialog.cancels, 0) << "Escape in the editor reached the dialog";

    // Outside the editor the dialog manager keeps its keys.
    FocusList();
    Key(VK_RETURN);
    EXPECT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.oks == 1; }));
}

TEST_F(EditableList, ButtonsRunNewAndDeleteAndFollowTheSelection) {
    HWND list = dialog.list.GetListView();
    HWND newButton = GetDlgItem(dialog.list, CEditableList::kNewButtonId);
    HWND deleteButton = GetDlgItem(dialog.list, CEditableList::kDeleteButtonId);
    ASSERT_NE(newButton, nullptr);
    ASSERT_NE(deleteButton, nullptr);
    EXPECT_EQ(WindowText(newButton), "New");
    EXPECT_EQ(WindowText(deleteButton), "Delete");

    // The list and its buttons lie inside the group box, under its caption.
    RECT box = ScreenRect(dialog.list);
    for (HWND child : {list, newButton, deleteButton})
        EXPECT_TRUE(Inside(ScreenRect(child), box)) << ClassNameOf(child);
    EXPECT_GT(ScreenRect(list).top, ScreenRect(newButton).top);
    // Clicks in the list reach the list view, not the box under it.
    RECT l = ScreenRect(list);
    POINT centre{(l.left + l.right) / 2, (l.top + l.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(centre), list);

    EXPECT_FALSE(IsWindowEnabled(deleteButton)) << "nothing selected";
    SendMessageA(newButton, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.IsEditing(); }));
    EXPECT_EQ(dialog.list.GetEditIndex(), 0);
    EXPECT_EQ(GetFocus(), dialog.list.GetEditor());
    // The editor lies over its item.
    RECT item{};
    item.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    RECT editor = ScreenRect(dialog.list.GetEditor());
    EXPECT_EQ(editor.top, item.top);
    EXPECT_TRUE(Inside(editor, ScreenRect(list)));

    Type("one");
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return WindowText(dialog.list.GetEditor()) == "one"; }));
    // New again: the click takes the focus, which commits the first.
    SendMessageA(newButton, BM_CLICK, 0, 0);
    Type("two");
    Key(VK_RETURN);
    Expect("second New", {"one", "two"}, -1, -1);

    dialog.list.SetSelectedIndex(0);
    EXPECT_TRUE(IsWindowEnabled(deleteButton));
    SendMessageA(deleteButton, BM_CLICK, 0, 0);
    Expect("Delete button", {"two"}, -1, 0);
    SendMessageA(deleteButton, BM_CLICK, 0, 0);
    Expect("Delete button again", {}, -1, -1);
    EXPECT_FALSE(IsWindowEnabled(deleteButton));
}

TEST_F(EditableList, BrowseButtonEndsTheEditAndCallsOnBrowse) {
    dialog.list.AddItem("first");
    dialog.list.AddItem("second");

    // Editing a selected item: the button sits inside the editor.
    dialog.list.SetSelectedIndex(1);
    FocusList();
    Key(VK_F2);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.GetEditIndex() == 1; }));
    HWND browse = dialog.list.GetBrowseButton();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(GetParent(browse), dialog.list.GetEditor());
    EXPECT_EQ(WindowText(browse), "...");
    EXPECT_TRUE(Inside(ScreenRect(browse), ScreenRect(dialog.list.GetEditor())));
    Type("changed");
    ASSERT_TRUE(PumpDialogUntil(
        hwnd, [&] { return WindowText(dialog.list.GetEditor()) == "changed"; }));
    SendMessageA(browse, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.browses.size() == 1; }));
    // What was typed is committed before the browse action runs.
    EXPECT_EQ(dialog.list.browses[0].selected, 1);
    EXPECT_EQ(dialog.list.browses[0].count, 2);
    EXPECT_FALSE(dialog.list.browses[0].editing);
    EXPECT_EQ(Items(dialog.list), (std::vector<std::string>{"first", "changed"}));

    // From a new item: nothing is selected, and the empty new item is gone
    // by the time the action runs.
    FocusList();
    Key(VK_INSERT);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.GetBrowseButton() != nullptr; }));
    SendMessageA(dialog.list.GetBrowseButton(), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.browses.size() == 2; }));
    EXPECT_EQ(dialog.list.browses[1].selected, -1);
    EXPECT_EQ(dialog.list.browses[1].count, 2);
    EXPECT_FALSE(dialog.list.browses[1].editing);

    // F4 in the editor is the keyboard's way to the same action.
    FocusList();
    dialog.list.SetSelectedIndex(0);
    Key(VK_F2);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.IsEditing(); }));
    Key(VK_F4);
    ASSERT_TRUE(PumpDialogUntil(hwnd, [&] { return dialog.list.browses.size() == 3; }));
    EXPECT_EQ(dialog.list.browses[2].selected, 0);
    Settle(hwnd);
    EXPECT_EQ(Items(dialog.list), (std::vector<std::string>{"first", "changed"}));
    EXPECT_EQ(dialog.oks + dialog.cancels, 0);
}

TEST(EditableListOptions, WithoutBrowseOrButtonsTheirKeysDoNothing) {
    ListDialog dialog(0, FALSE);
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND hwnd = dialog.m_hWnd;
    EXPECT_EQ(GetDlgItem(dialog.list, CEditableList::kNewButtonId), nullptr);
    EXPECT_EQ(GetDlgItem(dialog.list, CEditableList::kDeleteButtonId), nullptr);
    dialog.list.AddItem("kept");
    dialog.list.SetSelectedIndex(0);
    HWND list = dialog.list.GetListView();
    // The list view's own key notifications, as a key press sends them.
    for (WORD key : {static_cast<WORD>(VK_INSERT), static_cast<WORD>(VK_DELETE)}) {
        NMLVKEYDOWN down{};
        down.hdr.hwndFrom = list;
        down.hdr.idFrom = CEditableList::kListId;
        down.hdr.code = LVN_KEYDOWN;
        down.wVKey = key;
        SendMessageA(dialog.list, WM_NOTIFY, CEditableList::kListId,
                     reinterpret_cast<LPARAM>(&down));
    }
    EXPECT_EQ(Items(dialog.list), std::vector<std::string>{"kept"});
    EXPECT_FALSE(dialog.list.IsEditing());
    ASSERT_TRUE(dialog.list.EditItem(0));
    EXPECT_EQ(dialog.list.GetBrowseButton(), nullptr) << "browse button off";
    dialog.list.EndEditing(FALSE);

    // Buttons switched on later appear, and off again go.
    dialog.list.SetStandardButtons(CEditableList::kNewButton);
    EXPECT_NE(GetDlgItem(dialog.list, CEditableList::kNewButtonId), nullptr);
    EXPECT_EQ(GetDlgItem(dialog.list, CEditableList::kDeleteButtonId), nullptr);
    dialog.list.SetStandardButtons(0);
    EXPECT_EQ(GetDlgItem(dialog.list, CEditableList::kNewButtonId), nullptr);
    DestroyWindow(hwnd);
}

TEST(EditableListItems, OperationsOnItems) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    CEditableList& list = dialog.list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_EQ(list.AddItem("a"), 0);
    EXPECT_EQ(list.AddItem(""), 1);
    std::string longText(700, 'x');
    longText += "end";
    EXPECT_EQ(list.AddItem(longText), 2);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetItemText(2), longText) << "a long text comes back whole";
    EXPECT_EQ(list.GetItemText(3), "");
    EXPECT_EQ(list.GetItemText(-1), "");
    EXPECT_TRUE(list.SetItemText(1, "b"));
    EXPECT_FALSE(list.SetItemText(3, "c"));
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", longText}));

    list.SetSelectedIndex(2);
    EXPECT_EQ(list.GetSelectedIndex(), 2);
    list.SetSelectedIndex(-1);
    EXPECT_EQ(list.GetSelectedIndex(), -1);

    // Setting the text of the item being edited shows in the editor and
    // survives its commit.
    ASSERT_TRUE(list.EditItem(1));
    EXPECT_EQ(WindowText(list.GetEditor()), "b");
    list.SetItemText(1, "replaced");
    EXPECT_EQ(WindowText(list.GetEditor()), "replaced");
    list.EndEditing(TRUE);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.GetItemText(1), "replaced");

    // Deleting around an open editor keeps it on its item.
    ASSERT_TRUE(list.EditItem(2));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetEditIndex(), 1);
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_FALSE(list.IsEditing()) << "the edited item went, and its editor with it";
    EXPECT_FALSE(list.DeleteItem(5));
    EXPECT_EQ(Items(list), std::vector<std::string>{"replaced"});
    DestroyWindow(dialog.m_hWnd);
}

}  // namespace
