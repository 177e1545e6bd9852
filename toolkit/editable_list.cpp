#include "toolkit/editable_list.h"

#include "framework/dc.h"
#include "framework/gdi.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {
// Posted to the list itself: the browse button's action runs once the
// button's click has been handled, not inside it, because it destroys the
// editor that holds the button. A double click starts editing the same way,
// after the list view has finished with the click.
constexpr UINT kBrowseMessage = WM_APP + 0x31;
constexpr UINT kEditMessage = WM_APP + 0x32;

constexpr int kMargin = 6;
constexpr int kGap = 4;
}  // namespace

CEditableList::CEditableList() = default;

CEditableList::~CEditableList() { m_list.m_owner = nullptr; }

void CEditableList::PreSubclassWindow() {
    m_caption = GetWindowText();
    // The box is the parent of the list and its buttons: it must not paint
    // over them, and the dialog manager must tab into them.
    ModifyStyle(0, WS_CLIPCHILDREN);
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);

    RECT none{0, 0, 0, 0};
    m_list.m_owner = this;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                        LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER;
    if (!m_list.CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, none, m_hWnd, kListId))
        return;
    m_list.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    m_list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    m_list.SendMessage(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    Layout();
}

BOOL CEditableList::MakeButton(CWnd& button, UINT id, const char* text) {
    if (button.m_hWnd) return TRUE;
    RECT none{0, 0, 0, 0};
    if (!button.CreateEx(0, "Button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                         none, m_hWnd, id))
        return FALSE;
    button.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    return TRUE;
}

void CEditableList::SetStandardButtons(UINT buttons) {
    m_buttons = buttons;
    if (!m_hWnd) return;
    if (buttons & kNewButton)
        MakeButton(m_newButton, kNewButtonId, "New");
    else
        m_newButton.DestroyWindow();
    if (buttons & kDeleteButton)
        MakeButton(m_deleteButton, kDeleteButtonId, "Delete");
    else
        m_deleteButton.DestroyWindow();
    Layout();
    UpdateButtons();
}

void CEditableList::Layout() {
    if (!m_hWnd || !m_list.m_hWnd) return;
    RECT client = GetClientRect();
    int textHeight = 13;
    std::vector<std::pair<CWnd*, int>> row;  // button, width
    CClientDC dc(m_hWnd);
    if (dc) {
        ScopedSelectObject select(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        textHeight = metrics.tmHeight;
        for (CWnd* button : {&m_newButton, &m_deleteButton}) {
            if (!button->m_hWnd) continue;
            std::string text = button->GetWindowText();
            SIZE size{};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            row.emplace_back(button, size.cx + 16);
        }
    }
    // The buttons sit at the right end of the caption line, over the frame;
    // the list fills the frame below them.
    int buttonHeight = textHeight + 6;
    int right = client.right - kMargin;
    for (auto it = row.rbegin(); it != row.rend(); ++it) {
        int width = std::max(it->second, buttonHeight * 2);
        SetWindowPos(it->first->m_hWnd, nullptr, right - width, 0, width, buttonHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        right -= width + kGap;
    }
    int top = (row.empty() ? textHeight : buttonHeight) + 3;
    SetWindowPos(m_list.m_hWnd, nullptr, kMargin, top, client.right - 2 * kMargin,
                 std::max(0, static_cast<int>(client.bottom) - kMargin - top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitColumn();
}

void CEditableList::FitColumn() {
    if (!m_list.m_hWnd) return;
    // The one column spans the list, less a vertical scroll bar when the
    // items need one (the client area shrinks with it).
    RECT client = m_list.GetClientRect();
    m_list.SendMessage(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right, 0));
}

void CEditableList::UpdateButtons() {
    if (m_deleteButton.m_hWnd) m_deleteButton.EnableWindow(GetSelectedIndex() >= 0);
}

int CEditableList::AddItem(const std::string& text) {
    if (!m_list.m_hWnd) return -1;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = GetCount();
    item.pszText = const_cast<char*>(text.c_str());
    int index = static_cast<int>(m_list.SendMessage(LVM_INSERTITEMA, 0,
                                                    reinterpret_cast<LPARAM>(&item)));
    FitColumn();
    return index;
}

int CEditableList::GetCount() const {
    return m_list.m_hWnd ? static_cast<int>(m_list.SendMessage(LVM_GETITEMCOUNT)) : 0;
}

int CEditableList::GetSelectedIndex() const {
    if (!m_list.m_hWnd) return -1;
    return static_cast<int>(m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                               MAKELPARAM(LVNI_SELECTED, 0)));
}

void CEditableList::SetSelectedIndex(int index) {
    if (!m_list.m_hWnd) return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (index >= 0 && index < GetCount()) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&item));
        m_list.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
    UpdateButtons();
}

std::string CEditableList::GetItemText(int index) const {
    if (!m_list.m_hWnd || index < 0 || index >= GetCount()) return "";
    // LVM_GETITEMTEXT answers the characters it copied: a full buffer may
    // have cut the text, so it is asked again with more room.
    for (size_t size = 264;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        auto copied = static_cast<size_t>(m_list.SendMessage(
            LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < size || size >= 65536) return std::string(buffer.data(), copied);
    }
}

BOOL CEditableList::SetItemText(int index, const std::string& text) {
    if (!m_list.m_hWnd || index < 0 || index >= GetCount()) return FALSE;
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    BOOL done = static_cast<BOOL>(m_list.SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                                                     reinterpret_cast<LPARAM>(&item)));
    // An editor open over the item shows the new text, or its commit would
    // put the old one back.
    if (done && m_editor.IsOpen() && m_editIndex == index) m_editor.SetWindowText(text.c_str());
    return done;
}

BOOL CEditableList::DeleteItem(int index) {
    if (!m_list.m_hWnd || index < 0 || index >= GetCount()) return FALSE;
    if (m_editor.IsOpen()) {
        if (index == m_editIndex) {
            // The item goes with its editor, which reports to nobody.
            m_editIndex = -1;
            m_editor.End(FALSE);
        } else if (index < m_editIndex) {
            --m_editIndex;
        }
    }
    BOOL done = static_cast<BOOL>(m_list.SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index)));
    FitColumn();
    UpdateButtons();
    return done;
}

int CEditableList::FinishEdit(BOOL commit, int index) {
    if (!m_editor.IsOpen()) return index;
    int edited = m_editIndex;
    int before = GetCount();
    m_editor.End(commit);
    if (GetCount() < before && index >= 0) {
        if (edited == index) return -1;
        if (edited < index) return index - 1;
    }
    return index;
}

void CEditableList::NewItem() {
    FinishEdit(TRUE, -1);
    // The new item is not selected: a browse from its editor adds a folder
    // rather than replacing one.
    SetSelectedIndex(-1);
    int index = AddItem("");
    if (index < 0) return;
    if (EditItem(index)) m_editingNew = true;
}

void CEditableList::DeleteSelected() {
    FinishEdit(TRUE, -1);
    int index = GetSelectedIndex();
    if (index < 0) return;
    DeleteItem(index);
    // The selection moves on to the item that took its place, so that
    // Delete can be pressed again.
    int count = GetCount();
    if (count > 0) SetSelectedIndex(std::min(index, count - 1));
}

BOOL CEditableList::EditItem(int index) {
    if (m_editor.IsOpen() && m_editIndex == index) return TRUE;
    index = FinishEdit(TRUE, index);
    if (index < 0 || index >= GetCount()) return FALSE;
    m_list.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!m_list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(&rect)))
        return FALSE;
    RECT client = m_list.GetClientRect();
    rect.left = 0;
    rect.right = client.right;
    m_editIndex = index;
    m_editingNew = false;
    if (!m_editor.Create(this, m_list.m_hWnd, rect, GetItemText(index), m_browse)) {
        m_editIndex = -1;
        return FALSE;
    }
    return TRUE;
}

void CEditableList::OnEditEnd(BOOL commit, const std::string& text) {
    int index = m_editIndex;
    bool wasNew = m_editingNew;
    m_editIndex = -1;
    m_editingNew = false;
    if (index < 0 || index >= GetCount()) return;
    if (commit && !text.empty())
        SetItemText(index, text);
    else if (commit || wasNew)
        DeleteItem(index);  // emptied, or a new item given up
}

void CEditableList::OnEditBrowse() { PostMessage(kBrowseMessage); }

void CEditableList::OnBrowse() {}

BOOL CEditableList::OnListNotify(const NMHDR* header, LRESULT* result) {
    switch (header->code) {
    case LVN_KEYDOWN: {
        WORD key = reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey;
        if (key == VK_INSERT && (m_buttons & kNewButton)) {
            NewItem();
        } else if (key == VK_DELETE && (m_buttons & kDeleteButton)) {
            DeleteSelected();
        } else if (key == VK_F2) {
            int selected = GetSelectedIndex();
            if (selected >= 0) EditItem(selected);
        } else {
            return FALSE;
        }
        *result = 0;
        return TRUE;
    }
    case NM_DBLCLK: {
        int selected = GetSelectedIndex();
        if (selected >= 0) PostMessage(kEditMessage, static_cast<WPARAM>(selected));
        *result = 0;
        return TRUE;
    }
    case LVN_ITEMCHANGED:
        UpdateButtons();
        return FALSE;
    default:
        return FALSE;
    }
}

LRESULT CEditableList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (header && header->hwndFrom == m_list.m_hWnd && OnListNotify(header, &result))
            return result;
        return Default();
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            HWND from = reinterpret_cast<HWND>(lParam);
            if (from && from == m_newButton.m_hWnd) {
                NewItem();
                return 0;
            }
            if (from && from == m_deleteButton.m_hWnd) {
                DeleteSelected();
                return 0;
            }
        }
        return Default();
    case kBrowseMessage:
        FinishEdit(TRUE, -1);
        OnBrowse();
        return 0;
    case kEditMessage:
        EditItem(static_cast<int>(wParam));
        return 0;
    case WM_DESTROY:
        // Going away with the dialog: an open edit is dropped, not committed
        // into a list that is being destroyed.
        m_editIndex = -1;
        m_editor.End(FALSE);
        return Default();
    case WM_SIZE: {
        LRESULT result = Default();
        Layout();
        return result;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CEditableList::CListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_VSCROLL || message == WM_HSCROLL || message == WM_MOUSEWHEEL) && m_owner)
        m_owner->FinishEdit(TRUE, -1);
    return CWnd::WindowProc(message, wParam, lParam);
}
