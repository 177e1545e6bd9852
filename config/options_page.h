#pragma once
#include <windows.h>

#include <string>

#include "config/additional_path_list.h"
#include "config/controls/styled_label.h"
#include "toolkit/toolkit_page.h"

// The Options page of the configuration program: the order of the rotation
// list, whether each screensaver is replaced after some minutes, and the
// extra folders the catalogue searches. It loads the `Options` and
// `Additional Path` sections when it is first shown and rewrites them on OK;
// a page never shown leaves them alone. When Windows protects the
// screensaver with a password the screensaver does not rotate, so the page
// shows a red note and keeps the timed choice off.
class COptions : public CToolkitPage {
    VELMORA_RUNTIME_CLASS(COptions)
public:
    COptions();

    // The show time in minutes as the page has it now: the field's text once
    // the page was opened, else the stored one.
    std::string ShowTimeText() const;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The show-time radios switch the minutes field and its spin.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void EnableMinutes(BOOL enable);

    CAdditionalPathList m_lstPaths;
    int m_nOrder = 0;     // 0 list order, 1 random order
    int m_nShowTime = 0;  // 0 infinite, 1 for some minutes
    CWnd m_spnMinutes;
    std::string m_strMinutes;
    CStyledLabel m_lblPasswordNote;
};
