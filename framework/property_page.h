#pragma once
#include <windows.h>
#include <prsht.h>

#include "framework/dialog.h"

// One page of a property sheet. It owns its PROPSHEETPAGEA (the first-version
// layout, which every comctl32 accepts); the sheet creates the page window the
// first time the page is shown, and only then is the object bound to it.
class CPropertyPage : public CDialog {
    VELMORA_RUNTIME_CLASS(CPropertyPage)
public:
    // captionId 0: the caption is the title of the dialog template.
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    PROPSHEETPAGEA m_psp{};

    // Whether the sheet has created the page window.
    BOOL IsCreated() const { return m_hWnd != nullptr; }
    // The caption the sheet shows for this page: the template's title.
    std::string GetCaption() const;

protected:
    // OK and Cancel belong to the sheet: a page never ends on them.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The sheet's apply notification (the user pressed OK or Apply). Default:
    // OnOK. TRUE accepts.
    virtual BOOL OnApply();
    // The sheet was cancelled. Default: OnCancel.
    virtual void OnReset();
    virtual BOOL OnSetActive();
    // TRUE lets the page be left.
    virtual BOOL OnKillActive();
    // Pages save in OnOK and discard in OnCancel; neither ends anything.
    void OnOK() override;
    void OnCancel() override;

private:
    static INT_PTR CALLBACK PageDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam);
    std::string m_caption;
};
