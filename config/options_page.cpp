#include "config/options_page.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/options_rules.h"
#include "settings/runtime_text.h"
#include "resources/velmora_exe_ids.h"
#include "settings/extra_folders.h"
#include "settings/password_protection.h"
#include "settings/settings_names.h"

namespace names = velmora::settings;

namespace {

std::string ReadString(const char* section, const char* key, const char* fallback) {
    char value[names::kPathBuffer] = "";
    GetPrivateProfileStringA(section, key, fallback, value, sizeof value, names::kIniFile);
    return value;
}

std::string StoredShowTime() {
    return ReadString(names::kSectionOptions, names::kKeyShowTime,
                      std::to_string(names::kDefaultShowTime).c_str());
}

std::string PathKey(int index) {
    char key[32];
    std::snprintf(key, sizeof key, names::kKeyPathFormat, index);
    return key;
}

}  // namespace

COptions::COptions() : CToolkitPage(IDD_OPTIONS) {}

void COptions::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_ADDITIONAL_PATHS, m_lstPaths);
    DDX_Radio(dx, IDC_LIST_ORDER, m_nOrder);
    DDX_Radio(dx, IDC_SHOW_INFINITE, m_nShowTime);
    DDX_Control(dx, IDC_SHOW_TIME_SPIN, m_spnMinutes);
    DDX_Text(dx, IDC_SHOW_TIME, m_strMinutes);
    DDX_Control(dx, IDC_PASSWORD_NOTE, m_lblPasswordNote);
}

BOOL COptions::OnInitDialog() {
    CToolkitPage::OnInitDialog();

    m_lstPaths.SetStandardButtons(CEditableList::kNewButton | CEditableList::kDeleteButton);
    m_lstPaths.EnableBrowseButton(TRUE);
    // Upper limit in the low word, lower limit in the high word.
    m_spnMinutes.SendMessage(UDM_SETRANGE, 0,
                             MAKELPARAM(names::kMaxShowTime, names::kMinShowTime));

    for (const std::string& folder : names::ReadExtraFolders()) m_lstPaths.AddItem(folder);

    // GetPrivateProfileIntA answers a UINT; a stored -1 comes back as -1.
    int order = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionOptions, names::kKeyRandomOrder, 0, names::kIniFile));
    int showTime = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionOptions, names::kKeyRotate, 0, names::kIniFile));
    m_strMinutes = StoredShowTime();

    velmora::options::LoadedOptions loaded =
        velmora::options::LoadOptions(order, showTime, ProtectionHoldsRotation());
    m_nOrder = loaded.order;
    m_nShowTime = loaded.showTime;
    if (loaded.passwordNote) {
        m_lblPasswordNote.ShowWindow(SW_SHOWNORMAL);
        m_lblPasswordNote.SetTextColor(RGB(255, 0, 0));
    }
    if (!loaded.minutesChoiceEnabled) {
        ::EnableWindow(GetDlgItem(IDC_SHOW_MINUTES), FALSE);
        ::EnableWindow(GetDlgItem(IDC_MINUTES_LABEL), FALSE);
    }
    if (loaded.minutesFieldEnabled) EnableMinutes(TRUE);

    UpdateData(FALSE);
    return TRUE;
}

std::string COptions::ShowTimeText() const {
    if (IsCreated()) {
        char text[names::kPathBuffer] = "";
        GetDlgItemTextA(m_hWnd, IDC_SHOW_TIME, text, sizeof text);
        return text;
    }
    return StoredShowTime();
}

void COptions::EnableMinutes(BOOL enable) {
    ::EnableWindow(GetDlgItem(IDC_SHOW_TIME), enable);
    ::EnableWindow(GetDlgItem(IDC_SHOW_TIME_SPIN), enable);
}

BOOL COptions::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDC_SHOW_MINUTES) {
            EnableMinutes(TRUE);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_SHOW_INFINITE) {
            EnableMinutes(FALSE);
            return TRUE;
        }
    }
    return CToolkitPage::OnCommand(wParam, lParam);
}

void COptions::OnOK() {
    // The sheet can close under an open editor: what it holds counts.
    m_lstPaths.EndEditing(TRUE);
    UpdateData(TRUE);

    WritePrivateProfileStringA(names::kSectionAdditionalPath, nullptr, nullptr, names::kIniFile);
    std::vector<std::string> items;
    for (int i = 0; i < m_lstPaths.GetCount(); ++i) items.push_back(m_lstPaths.GetItemText(i));
    std::vector<std::string> folders = velmora::options::FoldersToSave(items, velmora::settings::RuntimeText());
    for (size_t k = 0; k < folders.size(); ++k)
        WritePrivateProfileStringA(names::kSectionAdditionalPath,
                                   PathKey(static_cast<int>(k)).c_str(), folders[k].c_str(),
                                   names::kIniFile);

    WritePrivateProfileStringA(names::kSectionOptions, names::kKeyRandomOrder,
                               velmora::options::ChoiceFlag(m_nOrder), names::kIniFile);
    WritePrivateProfileStringA(names::kSectionOptions, names::kKeyRotate,
                               velmora::options::ChoiceFlag(m_nShowTime), names::kIniFile);
    WritePrivateProfileStringA(names::kSectionOptions, names::kKeyShowTime, m_strMinutes.c_str(),
                               names::kIniFile);
}
