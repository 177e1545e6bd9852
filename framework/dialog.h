#pragma once
#include "framework/data_exchange.h"
#include "framework/wnd.h"

// A dialog made from a dialog template resource, modal or modeless. The object
// is bound at WM_INITDIALOG (the creation parameter) by subclassing the dialog
// window, so WindowProc sees every later message with ordinary LRESULT
// semantics and Default() goes on to the dialog manager.
class CDialog : public CWnd {
    VELMORA_RUNTIME_CLASS(CDialog)
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Runs the dialog modally; answers what EndDialog was given, or -1.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless under parent (may be null).
    BOOL Create(HWND parent);
    // Modeless from an in-memory template.
    BOOL CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent);
    void EndDialog(int result);

    // Data exchange over DoDataExchange: towards the controls (FALSE) or from
    // them (TRUE).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT m_nIDTemplate;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void DoDataExchange(CDataExchange* dx);
    // Default: data exchange towards the controls; TRUE lets the dialog
    // manager set the focus.
    virtual BOOL OnInitDialog();
    // Default: data exchange from the controls, then EndDialog(IDOK).
    virtual void OnOK();
    virtual void OnCancel();
    // WM_COMMAND not taken by a child control or OK/Cancel; TRUE = handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY not taken by the child that sent it; TRUE = handled.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Binds the object to the dialog window at WM_INITDIALOG.
    BOOL BindDialog(HWND hwnd);

    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK StartDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    bool m_modal = false;
};
