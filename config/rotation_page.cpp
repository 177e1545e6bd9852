#include "config/rotation_page.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "config/list_view_items.h"
#include "config/options_rules.h"
#include "config/rotation_rules.h"
#include "framework/win_app.h"
#include "resources/velmora_exe_ids.h"
#include "toolkit/dpi.h"
#include "settings/option_flags.h"
#include "settings/settings_names.h"
#include "settings/windows_line.h"

namespace names = velmora::settings;
using velmora::rotation::EntryExtras;

namespace {

// Posted to the page: a double click opens the editor once the list view
// has finished with the click, which would otherwise take the focus back.
constexpr UINT kEditMessage = WM_APP + 0x41;
constexpr UINT kIconsMessage = WM_APP + 0x42;  // the catalogue's icons changed size

constexpr int kTimeWidth = 130;
constexpr int kWeightWidth = 56;

int Count(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int Selected(HWND list) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Select(HWND list, int row) {
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool Checked(int state) { return state == BST_CHECKED; }

// The selected choice for several monitors; none selected is the first.
int MonitorsSelected(HWND list) {
    return velmora::rotation::MonitorsChoice(static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)));
}

}  // namespace

CRotation::CRotation(CScreensavers& screensavers, const COptions& options)
    : CToolkitPage(IDD_ROTATION), m_screensavers(screensavers), m_options(options) {
    m_lstRotation.m_owner = this;
}

CRotation::~CRotation() { m_lstRotation.m_owner = nullptr; }

void CRotation::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_ROTATION_LIST, m_lstRotation);
    DDX_Check(dx, IDC_PLAY_EACH_ONCE, m_bPlayEachOnce);
    DDX_Check(dx, IDC_GO_ON_WHEN_QUITS, m_bGoOnWhenQuits);
    DDX_Check(dx, IDC_ROTATE_WHEN_LOCKED, m_bRotateWhenLocked);
}

BOOL CRotation::OnInitDialog() {
    CToolkitPage::OnInitDialog();

    // Column widths are pixels at 96 dpi, scaled to the page's.
    const UINT dpi = velmora::toolkit::WindowDpi(m_hWnd);
    const int timeWidth = velmora::toolkit::ScaleForDpi(kTimeWidth, dpi);
    const int weightWidth = velmora::toolkit::ScaleForDpi(kWeightWidth, dpi);
    const RECT client = m_lstRotation.GetClientRect();
    const int nameWidth = client.right - timeWidth - weightWidth -
                          velmora::toolkit::MetricForDpi(SM_CXVSCROLL, dpi);
    listview::InsertColumn(m_lstRotation, kNameColumn, "Screensaver", nameWidth);
    listview::InsertColumn(m_lstRotation, kTimeColumn, "Show time", timeWidth);
    listview::InsertColumn(m_lstRotation, kWeightColumn, "Weight", weightWidth);
    m_lstRotation.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                              LVS_EX_FULLROWSELECT);
    // The Screensavers page's icons; the template's LVS_SHAREIMAGELISTS
    // leaves the list to that page.
    m_lstRotation.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL,
                              reinterpret_cast<LPARAM>(m_screensavers.ImageList()));

    // Read as the screensaver reads them: 1 is on; a missing key, "0" or
    // anything else leaves the rotation as it is without the option.
    for (auto [key, state] : {std::make_pair(names::kKeyPlayEachOnce, &m_bPlayEachOnce),
                              std::make_pair(names::kKeyGoOnWhenQuits, &m_bGoOnWhenQuits),
                              std::make_pair(names::kKeyRotateWhenLocked, &m_bRotateWhenLocked)})
        *state = names::OptionSet(key) ? BST_CHECKED : BST_UNCHECKED;
    UpdateData(FALSE);
    // On the 9x line the screensaver itself asks for the password when it is
    // closed: there the setting changes nothing, and the box says so.
    if (!IsNtLine()) {
        ::EnableWindow(GetDlgItem(IDC_ROTATE_WHEN_LOCKED), FALSE);
        ::EnableWindow(GetDlgItem(IDC_ROTATE_WHEN_LOCKED_NOTE), FALSE);
    }

    // The texts in the order of the stored numbers.
    const HWND monitors = GetDlgItem(IDC_MONITORS);
    for (int i = 0; i < velmora::rotation::kMonitorChoices; ++i) {
        char text[128] = "";
        LoadStringA(AfxGetInstanceHandle(), IDS_MONITORS_AS_DRAWN + i, text, sizeof text);
        ::SendMessageA(monitors, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    const int stored = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionOptions, names::kKeyMonitors, 0, names::kIniFile));
    m_nMonitorsShown = velmora::rotation::MonitorsChoice(stored);
    ::SendMessageA(monitors, CB_SETCURSEL, static_cast<WPARAM>(m_nMonitorsShown), 0);
    char text[32] = "";
    GetPrivateProfileStringA(names::kSectionOptions, names::kKeyMonitors, "", text, sizeof text,
                             names::kIniFile);
    m_strMonitorsStored = text;
    return TRUE;
}

BOOL CRotation::OnSetActive() {
    // Entries added, removed or moved on the Screensavers page, and the
    // Options time changed there, show at once.
    Refresh();
    return CToolkitPage::OnSetActive();
}

BOOL CRotation::OnKillActive() {
    // OK leaves the page before any page saves: an open edit counts.
    EndEditing(TRUE);
    return CToolkitPage::OnKillActive();
}

void CRotation::Refresh() {
    EndEditing(FALSE);
    const int selected = Selected(m_lstRotation);
    m_lstRotation.SendMessage(LVM_DELETEALLITEMS);
    const std::vector<CScreensavers::RotationEntry> entries = m_screensavers.RotationEntries();
    const std::string optionsTime = m_options.ShowTimeText();
    for (size_t i = 0; i < entries.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(entries[i].name.c_str());
        item.iImage = entries[i].image;
        m_lstRotation.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ShowRow(static_cast<int>(i), entries[i].extras, optionsTime);
    }
    const int rows = Count(m_lstRotation);
    if (rows > 0) Select(m_lstRotation, selected < 0 ? 0 : std::min(selected, rows - 1));
}

void CRotation::ShowRow(int row, const EntryExtras& extras, const std::string& optionsTime) {
    listview::SetItemText(m_lstRotation, row, kTimeColumn,
                          velmora::rotation::ShowTimeCell(extras.minutes, optionsTime));
    listview::SetItemText(m_lstRotation, row, kWeightColumn, std::to_string(extras.weight));
}

void CRotation::EditCell(int row, int column) {
    EndEditing(TRUE);
    const std::vector<CScreensavers::RotationEntry> entries = m_screensavers.RotationEntries();
    if (row < 0 || row >= static_cast<int>(entries.size())) return;
    if (column != kWeightColumn) column = kTimeColumn;
    m_lstRotation.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    if (!m_lstRotation.SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&cell)))
        return;
    Select(m_lstRotation, row);
    const EntryExtras& extras = entries[static_cast<size_t>(row)].extras;
    // The time of its own, or nothing for the Options time; the weight as shown.
    const std::string text = column == kTimeColumn ? velmora::rotation::TimeValue(extras)
                                                   : std::to_string(extras.weight);
    m_editRow = row;
    m_editColumn = column;
    if (!m_editor.Create(this, m_lstRotation.m_hWnd, cell, text, FALSE)) {
        m_editRow = m_editColumn = -1;
        return;
    }
    // Digits only from the keyboard; pasted text is checked when the edit ends.
    m_editor.ModifyStyle(0, ES_NUMBER);
}

void CRotation::OnEditEnd(BOOL commit, const std::string& text) {
    const int row = m_editRow, column = m_editColumn;
    m_editRow = m_editColumn = -1;
    if (!commit) return;
    const std::vector<CScreensavers::RotationEntry> entries = m_screensavers.RotationEntries();
    if (row < 0 || row >= static_cast<int>(entries.size())) return;
    EntryExtras extras = entries[static_cast<size_t>(row)].extras;
    // Numbers beyond the range are held to it; text that is no number is
    // refused and the value stays as it was.
    const auto value = column == kWeightColumn ? velmora::rotation::ParseWeight(text)
                                               : velmora::rotation::ParseMinutes(text);
    if (!value) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    (column == kWeightColumn ? extras.weight : extras.minutes) = *value;
    m_screensavers.SetEntryExtras(row, extras);
    ShowRow(row, extras, m_options.ShowTimeText());
}

void CRotation::OnOK() {
    EndEditing(TRUE);
    UpdateData(TRUE);
    // Single keys: the Options page owns the rest of the section.
    WritePrivateProfileStringA(names::kSectionOptions, names::kKeyPlayEachOnce,
                               velmora::options::ChoiceFlag(Checked(m_bPlayEachOnce) ? 1 : 0),
                               names::kIniFile);
    WritePrivateProfileStringA(names::kSectionOptions, names::kKeyGoOnWhenQuits,
                               velmora::options::ChoiceFlag(Checked(m_bGoOnWhenQuits) ? 1 : 0),
                               names::kIniFile);
    // The 9x line's disabled box keeps whatever is stored.
    if (IsNtLine())
        WritePrivateProfileStringA(names::kSectionOptions, names::kKeyRotateWhenLocked,
                                   velmora::options::ChoiceFlag(Checked(m_bRotateWhenLocked) ? 1 : 0),
                                   names::kIniFile);
    // A choice left as shown keeps the stored text, one this version does not
    // know included (a later version's choice, read here as the first).
    const int chosen = MonitorsSelected(GetDlgItem(IDC_MONITORS));
    const std::string monitors = chosen == m_nMonitorsShown && !m_strMonitorsStored.empty()
                                     ? m_strMonitorsStored
                                     : std::to_string(chosen);
    WritePrivateProfileStringA(names::kSectionOptions, names::kKeyMonitors, monitors.c_str(),
                               names::kIniFile);
}

BOOL CRotation::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == IDC_ROTATION_LIST) {
        if (header->code == NM_DBLCLK) {
            // The cell under the pointer; the name column edits the show time.
            LVHITTESTINFO hit{};
            hit.pt = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction;
            m_lstRotation.SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem >= 0)
                PostMessage(kEditMessage, static_cast<WPARAM>(hit.iItem),
                            static_cast<LPARAM>(hit.iSubItem));
            *result = 0;
            return TRUE;
        }
        if (header->code == LVN_KEYDOWN &&
            reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F2) {
            const int row = Selected(m_lstRotation);
            if (row >= 0) EditCell(row, GetKeyState(VK_SHIFT) < 0 ? kWeightColumn : kTimeColumn);
            *result = 0;
            return TRUE;
        }
    }
    return CToolkitPage::OnNotify(wParam, lParam, result);
}

void CRotation::OnDpiChanged(UINT from, UINT to) {
    CToolkitPage::OnDpiChanged(from, to);
    // After every page heard of the change.
    PostMessage(kIconsMessage);
}

LRESULT CRotation::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kEditMessage:
        EditCell(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case kIconsMessage:
        // The Screensavers page's icons at their new size (it remade them
        // in the same list while the dpi change went round).
        m_lstRotation.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL,
                                  reinterpret_cast<LPARAM>(m_screensavers.ImageList()));
        m_lstRotation.Invalidate();
        return 0;
    case WM_DESTROY:
        // Going away with the sheet: an open edit is dropped.
        m_editRow = m_editColumn = -1;
        m_editor.End(FALSE);
        return CToolkitPage::WindowProc(message, wParam, lParam);
    default:
        return CToolkitPage::WindowProc(message, wParam, lParam);
    }
}

LRESULT CRotation::CListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_VSCROLL || message == WM_HSCROLL || message == WM_MOUSEWHEEL) && m_owner)
        m_owner->EndEditing(TRUE);
    return CWnd::WindowProc(message, wParam, lParam);
}
