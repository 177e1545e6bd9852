#pragma once
#include <windows.h>

#include <string>

class CWnd;

// One pass of data exchange between a dialog's controls and its fields:
// towards the controls (m_bSaveAndValidate FALSE) or from them (TRUE).
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // The dialog item with this id (null if there is none).
    HWND PrepareCtrl(int id) const;

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds a dialog item to a control object (once; later passes leave it).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The window text of an item.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// A group of radio buttons starting at item id (which has WS_GROUP) up to the
// next item with WS_GROUP: the index of the checked one, -1 when none is; a
// value that is no index checks none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// A check box: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* dx, int id, int& value);
