#include "framework/data_exchange.h"

#include "framework/wnd.h"

HWND CDataExchange::PrepareCtrl(int id) const {
    return m_pDlgWnd && m_pDlgWnd->m_hWnd ? GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND item = dx->PrepareCtrl(id);
    if (item) control.SubclassWindow(item);
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    HWND item = dx->PrepareCtrl(id);
    if (!item) return;
    if (dx->m_bSaveAndValidate) {
        int length = GetWindowTextLengthA(item);
        std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        int got = GetWindowTextA(item, &text[0], static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(got > 0 ? got : 0));
        value = text;
    } else {
        SetWindowTextA(item, value.c_str());
    }
}

namespace {
bool IsRadio(HWND button) {
    if (!IsWindowOfClass(button, "Button")) return false;
    LONG type = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
}  // namespace

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    HWND item = dx->PrepareCtrl(id);
    if (!item) return;
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        if (IsRadio(item)) {
            if (dx->m_bSaveAndValidate) {
                if (SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                SendMessageA(item, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        item = GetWindow(item, GW_HWNDNEXT);
    } while (item && !(GetWindowLongA(item, GWL_STYLE) & WS_GROUP));
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND item = dx->PrepareCtrl(id);
    if (!item) return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        SendMessageA(item, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
