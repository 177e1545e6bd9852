#include "config/velmora_dlg.h"

#include "resources/version.h"

#include <shellapi.h>

#include "framework/win_app.h"
#include "resources/velmora_exe_ids.h"
#include "toolkit/dpi.h"

namespace {
constexpr int kBarWidth = 100;
constexpr int kPictureWidth = 32;
constexpr COLORREF kTransparent = 0xFF00FF;
constexpr int kExtraHeight = 10;
constexpr int kButtonGrowth = 10;
}  // namespace

CVelmoraDlg::CVelmoraDlg() : CPictureBarSheet("Velmora " VELMORA_VERSION_TEXT, nullptr, 0) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    SetPictureBar(kBarWidth, IDB_PAGE_PICTURES, kPictureWidth, kTransparent);
    AddPictureStrip(IDB_PAGE_PICTURES_150, kPictureWidth * 3 / 2);
    AddPictureStrip(IDB_PAGE_PICTURES_200, kPictureWidth * 2);
    AddPage(&m_screensavers);
    AddPage(&m_options);
    AddPage(&m_rotation);
    AddPage(&m_donations);
    AddPage(&m_about);
}

BOOL CVelmoraDlg::OnInitDialog() {
    CPictureBarSheet::OnInitDialog();
    SetWindowIcon(IDI_VELMORA);

    // The sizes here are pixels at 96 dpi, scaled to the sheet's.
    const auto scaled = [this](int pixels) { return velmora::toolkit::ScaleForDpi(pixels, GetDpi()); };
    RECT window = GetWindowRect();
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + scaled(kExtraHeight), SWP_NOZORDER | SWP_NOMOVE);

    struct Restyle {
        CFlatButton& button;
        int id;
        int shiftLeft;
        UINT icon;
    };
    for (const Restyle& r : {Restyle{m_ok, IDOK, 35, IDI_BUTTON_OK},
                             Restyle{m_cancel, IDCANCEL, 22, IDI_BUTTON_CANCEL},
                             Restyle{m_help, IDHELP, 10, IDI_BUTTON_HELP}}) {
        HWND item = GetDlgItem(r.id);
        if (!item || !r.button.SubclassWindow(item)) continue;
        const RECT rect = RectInParent(m_hWnd, item);
        SetWindowPos(item, nullptr, rect.left - scaled(r.shiftLeft), rect.top,
                     rect.right - rect.left + scaled(kButtonGrowth),
                     rect.bottom - rect.top + scaled(kButtonGrowth), SWP_NOZORDER);
        r.button.SetFlat();
        r.button.SetIcon(r.icon);
    }
    return TRUE;
}

void CVelmoraDlg::WinHelp(DWORD_PTR, UINT) {
    // The help file in the program's current folder. A missing file or no
    // viewer fails quietly: no error box from the shell either.
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = m_hWnd;
    info.lpVerb = "Open";
    info.lpFile = "Velmora.chm";
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}
