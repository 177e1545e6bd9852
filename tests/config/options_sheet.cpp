#include "tests/config/options_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "resources/velmora_exe_ids.h"

namespace vtest {

OptionsSheet::OptionsSheet() : CPropertySheet("Velmora options test"), first(IDD_DONATIONS) {
    AddPage(&first);
    AddPage(&options);
}

bool OptionsSheet::Show() {
    if (!Create()) return false;
    ShowWindow(SW_SHOW);
    SetForegroundWindow(m_hWnd);
    return PumpUntil([&] { return GetForegroundWindow() == m_hWnd; });
}

HWND OptionsSheet::OpenOptions() {
    SendMessage(PSM_SETCURSEL, 1, 0);
    PumpUntil([&] { return options.IsCreated(); });
    return options.m_hWnd;
}

bool OptionsSheet::PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!m_hWnd || !PropSheet_IsDialogMessage(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool OptionsSheet::Close(int button) {
    HWND sheet = m_hWnd;
    SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    bool closed = PumpUntil([&] { return ::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0; });
    ::DestroyWindow(sheet);
    return closed;
}

HWND OptionsSheet::Item(int id) const { return ::GetDlgItem(options.m_hWnd, id); }

CEditableList* OptionsSheet::Paths() const {
    CWnd* bound = CWnd::FromHandle(Item(IDC_ADDITIONAL_PATHS));
    if (!bound || std::string(bound->GetRuntimeClass()->m_lpszClassName) != "CAdditionalPathList")
        return nullptr;
    return static_cast<CEditableList*>(bound);
}

HWND OptionsSheet::NewButton() const {
    return ::GetDlgItem(Item(IDC_ADDITIONAL_PATHS), CEditableList::kNewButtonId);
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

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string IniValue(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

void Ini(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, "Velmora.ini");
}

void FlushIni() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

}  // namespace vtest
