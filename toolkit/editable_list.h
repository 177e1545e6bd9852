#pragma once
#include <windows.h>

#include <string>

#include "framework/wnd.h"
#include "toolkit/in_place_editor.h"

// A one-column list whose items are edited in place, with a small row of
// command buttons. It takes over a group box of a dialog: the box keeps its
// frame, its text is the list's caption, and the list view and the buttons
// are made inside it at run time (the box becomes their parent, so their
// notifications come here).
//
// Keys in the list: Insert is New, Delete is Delete (each only when its
// button is shown), F2 or a double click edits the selected item. New adds an
// empty item at the end, clears the selection and edits the new item; an
// item whose editing ends empty is removed, and so is a new item whose
// editing is cancelled. The in-place editor can carry a browse button, which
// ends the editing (committing it) and calls OnBrowse.
class CEditableList : public CWnd, private IInPlaceEditOwner {
    VELMORA_RUNTIME_CLASS(CEditableList)
public:
    // Standard buttons, combined with |.
    enum : UINT { kNewButton = 0x1, kDeleteButton = 0x2 };
    // Child window ids inside the group box.
    static constexpr UINT kListId = 100;
    static constexpr UINT kNewButtonId = 101;
    static constexpr UINT kDeleteButtonId = 102;

    CEditableList();
    ~CEditableList() override;

    // Which standard buttons show; may change at any time after binding.
    void SetStandardButtons(UINT buttons);
    // Whether the in-place editor carries the browse button.
    void EnableBrowseButton(BOOL enable = TRUE) { m_browse = enable != FALSE; }

    // Adds an item at the end; answers its index, or -1.
    int AddItem(const std::string& text);
    int GetCount() const;
    // The selected item, -1 when none is.
    int GetSelectedIndex() const;
    // Selects one item (and only that one); -1 clears the selection.
    void SetSelectedIndex(int index);
    std::string GetItemText(int index) const;
    BOOL SetItemText(int index, const std::string& text);
    BOOL DeleteItem(int index);

    // The standard commands, as the buttons and keys run them.
    void NewItem();
    void DeleteSelected();
    // Opens the in-place editor over an item.
    BOOL EditItem(int index);
    BOOL IsEditing() const { return m_editor.IsOpen(); }
    // Ends an open edit as Enter (commit) or Escape would; a page calls it
    // before it reads the items, in case the sheet closes under an editor.
    void EndEditing(BOOL commit = TRUE) { FinishEdit(commit, -1); }
    // The item being edited, -1 when none is.
    int GetEditIndex() const { return m_editor.IsOpen() ? m_editIndex : -1; }

    const std::string& GetCaption() const { return m_caption; }
    HWND GetListView() const { return m_list.m_hWnd; }
    // The editor's window and its browse button, null when not editing.
    HWND GetEditor() const { return m_editor.m_hWnd; }
    HWND GetBrowseButton() const { return m_editor.GetBrowseButton(); }

protected:
    // The browse button's action. Nothing here; lists that browse for
    // something override it.
    virtual void OnBrowse();

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The list view; scrolling it ends an edit first, since the editor
    // would not move with the items.
    class CListView : public CWnd {
    public:
        CEditableList* m_owner = nullptr;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    void OnEditEnd(BOOL commit, const std::string& text) override;
    void OnEditBrowse() override;
    BOOL OnListNotify(const NMHDR* header, LRESULT* result);
    // Ends an open edit and answers where item index is afterwards (-1 if
    // the edit removed it), since ending can remove the edited item.
    int FinishEdit(BOOL commit, int index);
    void Layout();
    void FitColumn();
    void UpdateButtons();
    BOOL MakeButton(CWnd& button, UINT id, const char* text);

    std::string m_caption;
    UINT m_buttons = 0;
    bool m_browse = false;
    CListView m_list;
    CWnd m_newButton;
    CWnd m_deleteButton;
    CInPlaceEditor m_editor;
    int m_editIndex = -1;
    bool m_editingNew = false;
};
