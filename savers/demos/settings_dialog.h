#pragma once
// The settings dialog of a demo saver: one trackbar for its one setting,
// written to the settings file on OK only.
#include <windows.h>

#include "savers/demos/saver_kind.h"

class CSettingsDialog {
public:
    explicit CSettingsDialog(const SaverKind& kind) : m_kind(kind) {}
    CSettingsDialog(const CSettingsDialog&) = delete;
    CSettingsDialog& operator=(const CSettingsDialog&) = delete;

    // Shows the dialog modally; IDOK, IDCANCEL, or -1 when it could not.
    INT_PTR DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void ShowValue();
    int Position() const;

    const SaverKind& m_kind;
    HWND m_hWnd = nullptr;
};
