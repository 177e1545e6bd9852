#include "config/screensavers_page.h"

#include "config/list_view_items.h"

#include <mbstring.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

#include "config/options_rules.h"
#include "config/screensaver_scan.h"
#include "config/screensavers_rules.h"
#include "framework/win_app.h"
#include "resources/velmora_exe_ids.h"
#include "toolkit/contrast.h"
#include "toolkit/dpi.h"
#include "runner/process_start.h"
#include "runner/profile_list.h"
#include "settings/extra_folders.h"
#include "settings/runtime_text.h"
#include "settings/settings_names.h"
#include "settings/system_folders.h"

using namespace velmora::settings;
using velmora::catalogue::Change;

namespace {

constexpr int kNameColumn = 0;
constexpr int kFileColumn = 1;
// A display name from a string resource fits 99 characters; one made from a
// long file name can be as long as the file name, and a path fits MAX_PATH.
// Cells are read with room for either, so no name is cut.
using listview::kCellBuffer;
using listview::ItemData;
using listview::InsertColumn;
using listview::ItemText;
using listview::SetItemData;
using listview::SetItemText;
int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int SelectedCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

int SelectionMark(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
}

void Apply(CWnd& button, Change change) {
    if (change == Change::Enable) button.EnableWindow(TRUE);
    if (change == Change::Disable) button.EnableWindow(FALSE);
}

std::string Trimmed(const char* text) { return velmora::options::TrimWhiteSpace(text); }

std::string EntryKey(const char* format, int i) {
    char key[32];
    std::snprintf(key, sizeof key, format, i);
    return key;
}

std::string StoredValue(const char* format, int i) {
    char value[kPathBuffer] = "";
    GetPrivateProfileStringA(kSectionScreensaver, EntryKey(format, i).c_str(), "", value,
                             sizeof value, kIniFile);
    return value;
}

}  // namespace

CScreensavers::CScreensavers() : CToolkitPage(IDD_SCREENSAVERS) {}

CScreensavers::~CScreensavers() = default;

void CScreensavers::DoDataExchange(CDataExchange* dx) {
    CToolkitPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_SELECTED_LIST, m_lstSelected);
    DDX_Control(dx, IDC_AVAILABLE_LIST, m_lstAvailable);
    DDX_Control(dx, IDC_REMOVE_SELECTED, m_btnRemoveSelected);
    DDX_Control(dx, IDC_REMOVE_ALL, m_btnRemoveAll);
    DDX_Control(dx, IDC_ADD_SELECTED, m_btnAddSelected);
    DDX_Control(dx, IDC_ADD_ALL, m_btnAddAll);
    DDX_Control(dx, IDC_SAVER_SETTINGS, m_btnSettings);
    DDX_Control(dx, IDC_SAVER_PREVIEW, m_btnPreview);
    DDX_Control(dx, IDC_MOVE_DOWN, m_btnDown);
    DDX_Control(dx, IDC_MOVE_UP, m_btnUp);
}

BOOL CScreensavers::OnInitDialog() {
    CToolkitPage::OnInitDialog();

    // Column widths and icons follow the page's display scaling.
    const UINT dpi = velmora::toolkit::WindowDpi(m_hWnd);
    const auto scaled = [dpi](int pixels) { return velmora::toolkit::ScaleForDpi(pixels, dpi); };
    InsertColumn(m_lstAvailable, 0, "Available Screensavers", scaled(210));
    InsertColumn(m_lstAvailable, 1, "File", scaled(200));
    InsertColumn(m_lstSelected, 0, "Selected Screensavers", scaled(220));
    for (HWND list : {m_lstAvailable.m_hWnd, m_lstSelected.m_hWnd})
        ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                       LVS_EX_FULLROWSELECT);

    struct Picture {
        CFlatButton* button;
        UINT icon;
        UINT tip;  // 0: no tooltip
    };
    const Picture pictures[] = {
        {&m_btnAddSelected, IDI_ADD_SELECTED, IDS_TIP_ADD_SELECTED},
        {&m_btnAddAll, IDI_ADD_ALL, IDS_TIP_ADD_ALL},
        {&m_btnRemoveSelected, IDI_REMOVE_SELECTED, IDS_TIP_REMOVE_SELECTED},
        {&m_btnRemoveAll, IDI_REMOVE_ALL, IDS_TIP_REMOVE_ALL},
        {&m_btnUp, IDI_MOVE_UP, 0},
        {&m_btnDown, IDI_MOVE_DOWN, 0},
        {&m_btnSettings, IDI_SAVER_SETTINGS, 0},
        {&m_btnPreview, IDI_SAVER_PREVIEW, 0},
    };
    for (const Picture& picture : pictures) {
        picture.button->SetFlat(TRUE);
        picture.button->SetIcon(picture.icon);
        if (picture.tip) {
            char tip[128] = "";
            LoadStringA(AfxGetInstanceHandle(), picture.tip, tip, sizeof tip);
            picture.button->SetTooltipText(tip);
        }
    }

    const int iconSize = velmora::toolkit::MetricForDpi(SM_CXSMICON, dpi);
    m_imageList.Create(iconSize, iconSize, ILC_COLOR8 | ILC_MASK, 0, 1000);

    // The first catalogue is listed in name order (without regard to case)
    // at once: sorting the filled list view would rewrite every row's item
    // data twice, which with a thousand screensavers took about a second.
    m_bCollecting = true;
    velmora::catalogue::ScanSystemFolders(
        [this](const velmora::catalogue::FoundScreensaver& found) { AddFound(found); });
    ScanAdditionalPaths();
    m_bCollecting = false;
    ListCollected();

    // Without LVS_SHAREIMAGELISTS each list view destroys its image list with
    // itself; the page owns the one list both show.
    for (CWnd* list : {&m_lstAvailable, &m_lstSelected}) {
        list->ModifyStyle(0, LVS_SHAREIMAGELISTS);
        list->SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList.Get()));
    }

    LoadSelection();

    if (RowCount(m_lstAvailable) > 0) m_btnAddAll.EnableWindow(TRUE);
    if (RowCount(m_lstSelected) > 0) m_btnRemoveAll.EnableWindow(TRUE);
    for (HWND list : {m_lstAvailable.m_hWnd, m_lstSelected.m_hWnd}) {
        int rows = RowCount(list);
        if (rows > 0) ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
    }
    return TRUE;
}

void CScreensavers::OnDpiChanged(UINT from, UINT to) {
    CToolkitPage::OnDpiChanged(from, to);
    const int size = velmora::toolkit::MetricForDpi(SM_CXSMICON, to);
    // Setting the size empties the list; every icon comes back at its index
    // (the file's own icon, or the program's screensaver icon).
    if (!m_imageList || !ImageList_SetIconSize(m_imageList, size, size)) return;
    for (const std::string& source : m_iconSources) {
        CIcon icon(velmora::catalogue::GetFileIcon(source.c_str()));
        ImageList_ReplaceIcon(m_imageList, -1, icon.Get());
    }
    // The lists measure their rows again from the list's new size.
    for (HWND list : {m_lstAvailable.m_hWnd, m_lstSelected.m_hWnd}) {
        ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList.Get()));
        ::InvalidateRect(list, nullptr, TRUE);
    }
}

void CScreensavers::ScanDirectory(const char* folder) {
    velmora::catalogue::ScanFolder(
        folder, [this](const velmora::catalogue::FoundScreensaver& found) { AddFound(found); });
}

void CScreensavers::AddFound(const velmora::catalogue::FoundScreensaver& found) {
    // The image list keeps a copy; the scan's icon goes with `found`. The
    // row takes the image index its icon got, so rows and icons stay paired
    // even if one icon could not be added.
    const int image = found.icon ? ImageList_ReplaceIcon(m_imageList, -1, found.icon.Get()) : -1;
    if (image >= 0) m_iconSources.push_back(found.path);
    CollectedRow row{found.name, found.path, image};
    if (m_bCollecting)
        m_collected.push_back(std::move(row));
    else
        InsertRow(row);
}

void CScreensavers::ListCollected() {
    // Stable: rows of equal names keep the order they were found in (the
    // Windows folder, the system folder, the extra folders).
    std::stable_sort(m_collected.begin(), m_collected.end(),
                     [](const CollectedRow& a, const CollectedRow& b) {
                         return _mbsicmp(reinterpret_cast<const unsigned char*>(a.name.c_str()),
                                         reinterpret_cast<const unsigned char*>(b.name.c_str())) < 0;
                     });
    for (const CollectedRow& row : m_collected) InsertRow(row);
    m_collected.clear();
}

void CScreensavers::InsertRow(const CollectedRow& row) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = RowCount(m_lstAvailable);
    item.pszText = const_cast<char*>(row.name.c_str());
    item.iImage = row.image;
    item.lParam = 0;
    int inserted = static_cast<int>(
        m_lstAvailable.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted < 0) return;
    SetItemText(m_lstAvailable, inserted, kFileColumn, row.path);
}

void CScreensavers::ScanAdditionalPaths() {
    for (const std::string& folder : ReadExtraFolders()) ScanDirectory(folder.c_str());
}

int CScreensavers::FindAvailable(const char* text, int column) {
    const int rows = RowCount(m_lstAvailable);
    for (int row = 0; row < rows; ++row) {
        const std::string cell = ItemText(m_lstAvailable, row, column);
        if (_mbscmp(reinterpret_cast<const unsigned char*>(cell.c_str()),
                    reinterpret_cast<const unsigned char*>(text)) == 0)
            return row;
    }
    return -1;
}

int CScreensavers::FindFile(const std::string& path) {
    const int rows = RowCount(m_lstAvailable);
    for (int row = 0; row < rows; ++row) {
        const std::string cell = ItemText(m_lstAvailable, row, kFileColumn);
        if (_mbsicmp(reinterpret_cast<const unsigned char*>(cell.c_str()),
                     reinterpret_cast<const unsigned char*>(path.c_str())) == 0)
            return row;
    }
    return -1;
}

bool CScreensavers::AddMissing(const std::string& path) {
    // Once each, compared without regard to case; a long list of them costs
    // a look-up each, not a walk.
    if (!m_missingKeys.insert(velmora::settings::LowerMultibyte(path)).second) return false;
    const std::string shown = path + " (not found)";
    m_missing.emplace(shown, path);
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = RowCount(m_lstSelected);
    row.pszText = const_cast<char*>(shown.c_str());
    row.iImage = -1;
    m_lstSelected.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    return true;
}

void CScreensavers::AddToSelection(int catalogueRow) {
    if (ItemData(m_lstAvailable, catalogueRow) == 1) return;
    SetItemData(m_lstAvailable, catalogueRow, 1);
    // Redraw the row now in red.
    m_lstAvailable.SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(catalogueRow),
                               static_cast<LPARAM>(catalogueRow));

    // The whole name goes across: saving finds the catalogue row by it.
    char name[kCellBuffer] = "";
    LVITEMA source{};
    source.mask = LVIF_TEXT | LVIF_IMAGE;
    source.iItem = catalogueRow;
    source.pszText = name;
    source.cchTextMax = sizeof name;
    m_lstAvailable.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&source));

    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = RowCount(m_lstSelected);
    row.pszText = name;
    row.iImage = source.iImage;
    m_lstSelected.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
}

void CScreensavers::RemoveFromSelection(int rotationRow) {
    const std::string name = ItemText(m_lstSelected, rotationRow, kNameColumn);
    m_lstSelected.SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(rotationRow), 0);

    // The catalogue row to turn back is one that is in the list under exactly
    // this name. The first row whose name matches without regard to case may
    // be another one (a folder scanned twice, "alpha" beside "Alpha"); that
    // would leave the listed row red and impossible to add again.
    const int rows = RowCount(m_lstAvailable);
    for (int row = 0; row < rows; ++row) {
        if (ItemData(m_lstAvailable, row) != 1) continue;
        const std::string cell = ItemText(m_lstAvailable, row, kNameColumn);
        if (_mbscmp(reinterpret_cast<const unsigned char*>(cell.c_str()),
                    reinterpret_cast<const unsigned char*>(name.c_str())) != 0)
            continue;
        SetItemData(m_lstAvailable, row, 0);
        m_lstAvailable.SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
        return;
    }
}

void CScreensavers::RunScreensaver(const char* path, const char* arguments) {
    // The screensaver runs on its own; nothing here watches it, so its
    // handles go at once.
    velmora::process::StartProcess(velmora::process::PlanStart(path, arguments));
}

void CScreensavers::LoadSelection() {
    const int count = GetPrivateProfileIntA(kSectionScreensaver, kKeyCount, 0, kIniFile);
    for (int i : velmora::runner::ListedEntryIndices(count)) {
        char entry[kPathBuffer] = "";
        GetPrivateProfileStringA(kSectionScreensaver, EntryKey(kKeyEntryFormat, i).c_str(), "",
                                 entry, sizeof entry, kIniFile);
        const std::string path = Trimmed(entry);
        if (path.empty()) continue;
        // Paths are matched without regard to case, as Windows matches them;
        // an entry whose file is not there now stays in the list as it is.
        const int row = FindFile(velmora::settings::ReachablePath(path));
        const int before = RowCount(m_lstSelected);
        if (row != -1)
            AddToSelection(row);
        else
            AddMissing(path);
        // An entry stored twice is listed once, with the first one's settings.
        if (RowCount(m_lstSelected) == before) continue;
        const auto extras = velmora::rotation::StoredExtras(
            StoredValue(kKeyTimeFormat, i), StoredValue(kKeyWeightFormat, i));
        SetEntryExtras(before, extras);
    }
}

void CScreensavers::SaveSelection() {
    WritePrivateProfileStringA(kSectionScreensaver, nullptr, nullptr, kIniFile);
    const int rows = RowCount(m_lstSelected);
    int written = 0;
    for (int i = 0; i < rows; ++i) {
        const std::string name = ItemText(m_lstSelected, i, kNameColumn);
        // A row came from the catalogue, which does not change while the page
        // lives, or is an entry whose file was not there, stored as it was.
        std::string file;
        const int row = FindAvailable(name.c_str(), kNameColumn);
        if (row != -1) {
            file = ItemText(m_lstAvailable, row, kFileColumn);
        } else {
            const auto missing = m_missing.find(name);
            if (missing != m_missing.end()) file = missing->second;
        }
        if (file.empty()) continue;
        WritePrivateProfileStringA(kSectionScreensaver, EntryKey(kKeyEntryFormat, written).c_str(),
                                   file.c_str(), kIniFile);
        // Under the index the entry is written with, so a list whose entries
        // moved or went keeps each time and weight with its own entry.
        const auto extras = velmora::rotation::Unpack(static_cast<std::uint32_t>(ItemData(m_lstSelected, i)));
        const std::pair<const char*, std::string> own[] = {
            {kKeyTimeFormat, velmora::rotation::TimeValue(extras)},
            {kKeyWeightFormat, velmora::rotation::WeightValue(extras)}};
        for (const auto& [format, value] : own)
            if (!value.empty())
                WritePrivateProfileStringA(kSectionScreensaver, EntryKey(format, written).c_str(),
                                           value.c_str(), kIniFile);
        ++written;
    }
    WritePrivateProfileStringA(kSectionScreensaver, kKeyCount, std::to_string(written).c_str(),
                               kIniFile);
}

std::vector<CScreensavers::RotationEntry> CScreensavers::RotationEntries() const {
    std::vector<RotationEntry> entries;
    const int rows = RowCount(m_lstSelected);
    for (int i = 0; i < rows; ++i) {
        char name[kCellBuffer] = "";
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.pszText = name;
        item.cchTextMax = sizeof name;
        m_lstSelected.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        entries.push_back(
            {name, item.iImage, velmora::rotation::Unpack(static_cast<std::uint32_t>(item.lParam))});
    }
    return entries;
}

void CScreensavers::SetEntryExtras(int rotationRow, const velmora::rotation::EntryExtras& extras) {
    if (rotationRow < 0 || rotationRow >= RowCount(m_lstSelected)) return;
    SetItemData(m_lstSelected, rotationRow, static_cast<LPARAM>(velmora::rotation::Pack(extras)));
}

void CScreensavers::OnOK() { SaveSelection(); }

BOOL CScreensavers::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_ADD_SELECTED: OnAddSelected(); return TRUE;
        case IDC_ADD_ALL: OnAddAll(); return TRUE;
        case IDC_REMOVE_SELECTED: OnRemoveSelected(); return TRUE;
        case IDC_REMOVE_ALL: OnRemoveAll(); return TRUE;
        case IDC_SAVER_SETTINGS: OnSettings(); return TRUE;
        case IDC_SAVER_PREVIEW: OnPreview(); return TRUE;
        case IDC_MOVE_UP: OnMove(-1); return TRUE;
        case IDC_MOVE_DOWN: OnMove(+1); return TRUE;
        default: break;
        }
    }
    return CToolkitPage::OnCommand(wParam, lParam);
}

BOOL CScreensavers::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == IDC_AVAILABLE_LIST) {
        if (header->code == NM_CUSTOMDRAW) {
            *result = OnCustomDrawAvailable(reinterpret_cast<const NMLVCUSTOMDRAW*>(lParam));
            return TRUE;
        }
        if (header->code == NM_CLICK) {
            OnClickAvailable();
            *result = 0;
            return TRUE;
        }
    }
    if (header && header->idFrom == IDC_SELECTED_LIST && header->code == NM_CLICK) {
        OnClickSelected();
        *result = 0;
        return TRUE;
    }
    // A selection the user changed from the keyboard (arrow keys, Space,
    // Ctrl+A) sends no click: the buttons follow it as they follow a click.
    // Only while the list has the focus, so that the page's own changes to
    // the lists keep the buttons as the click rules leave them.
    if (header && header->code == LVN_ITEMCHANGED && ::GetFocus() == header->hwndFrom) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) {
            if (header->idFrom == IDC_AVAILABLE_LIST) OnClickAvailable();
            if (header->idFrom == IDC_SELECTED_LIST) OnClickSelected();
        }
    }
    return CToolkitPage::OnNotify(wParam, lParam, result);
}

LRESULT CScreensavers::OnCustomDrawAvailable(const NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.lItemlParam == 1)
        // In high contrast the theme's grey text marks them instead of red.
        const_cast<NMLVCUSTOMDRAW*>(draw)->clrText =
            velmora::toolkit::ContrastColor(RGB(255, 0, 0), COLOR_GRAYTEXT);
    return CDRF_DODEFAULT;
}

void CScreensavers::OnClickAvailable() {
    const auto click = velmora::catalogue::OnCatalogueClick(SelectedCount(m_lstAvailable));
    Apply(m_btnAddSelected, click.addSelected);
    Apply(m_btnSettings, click.settingsPreview);
    Apply(m_btnPreview, click.settingsPreview);
}

void CScreensavers::OnClickSelected() {
    const auto click = velmora::catalogue::OnRotationClick(
        SelectedCount(m_lstSelected), RowCount(m_lstSelected), SelectionMark(m_lstSelected));
    Apply(m_btnRemoveSelected, click.removeSelected);
    Apply(m_btnUp, click.up);
    Apply(m_btnDown, click.down);
}

void CScreensavers::OnAddSelected() {
    for (int row = static_cast<int>(m_lstAvailable.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                               LVNI_SELECTED));
         row != -1;
         row = static_cast<int>(m_lstAvailable.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                           LVNI_SELECTED)))
        AddToSelection(row);
    if (RowCount(m_lstSelected) > 0) m_btnRemoveAll.EnableWindow(TRUE);
}

void CScreensavers::OnAddAll() {
    const int rows = RowCount(m_lstAvailable);
    for (int row = 0; row < rows; ++row) AddToSelection(row);
    if (RowCount(m_lstSelected) > 0) m_btnRemoveAll.EnableWindow(TRUE);
}

void CScreensavers::OnRemoveSelected() {
    for (;;) {
        int row = static_cast<int>(
            m_lstSelected.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (row == -1) break;
        RemoveFromSelection(row);
    }
    m_btnUp.EnableWindow(FALSE);
    m_btnDown.EnableWindow(FALSE);
    if (RowCount(m_lstSelected) == 0) {
        m_btnRemoveAll.EnableWindow(FALSE);
        m_btnRemoveSelected.EnableWindow(FALSE);
    }
}

void CScreensavers::OnRemoveAll() {
    const int rows = RowCount(m_lstSelected);
    for (int i = 0; i < rows; ++i) RemoveFromSelection(0);
    m_btnRemoveAll.EnableWindow(FALSE);
    m_btnRemoveSelected.EnableWindow(FALSE);
    m_btnUp.EnableWindow(FALSE);
    m_btnDown.EnableWindow(FALSE);
}

std::string CScreensavers::MarkedFile() {
    const int mark = SelectionMark(m_lstAvailable);
    if (mark < 0 || mark >= RowCount(m_lstAvailable)) return std::string();
    return ItemText(m_lstAvailable, mark, kFileColumn);
}

void CScreensavers::OnSettings() {
    const std::string file = MarkedFile();
    if (file.empty()) return;
    // The handle in decimal makes the page the owner of the saver's dialog.
    const std::string arguments =
        " /c:" + velmora::process::HandleDecimal(m_hWnd);
    RunScreensaver(file.c_str(), arguments.c_str());
}

void CScreensavers::OnPreview() {
    const std::string file = MarkedFile();
    if (file.empty()) return;
    RunScreensaver(file.c_str(), " /s");
}

void CScreensavers::OnMove(int direction) {
    const int rows = RowCount(m_lstSelected);
    const int mark = SelectionMark(m_lstSelected);
    const int target = velmora::catalogue::MoveTarget(mark, rows, direction);
    if (target == -1) return;
    SwapSelectedRows(mark, target);
    m_lstSelected.SendMessage(LVM_SETSELECTIONMARK, 0, target);
    const auto buttons = velmora::catalogue::AfterMove(target, rows, direction);
    Apply(m_btnUp, buttons.up);
    Apply(m_btnDown, buttons.down);
}

void CScreensavers::SwapSelectedRows(int a, int b) {
    char textA[kCellBuffer] = "", textB[kCellBuffer] = "";
    LVITEMA rowA{}, rowB{};
    for (auto [row, item, text] : {std::make_tuple(a, &rowA, textA), std::make_tuple(b, &rowB, textB)}) {
        item->mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT | LVIF_STATE | LVIF_PARAM;
        item->iItem = row;
        item->stateMask = LVIS_SELECTED;
        item->pszText = text;
        item->cchTextMax = kCellBuffer;
        m_lstSelected.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item));
    }
    // Each row's content, selected state and own settings included, goes to
    // the other's place.
    std::swap(rowA.iItem, rowB.iItem);
    m_lstSelected.SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&rowA));
    m_lstSelected.SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&rowB));
}
