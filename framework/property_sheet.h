#pragma once
#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/property_page.h"
#include "framework/wnd.h"

// A property sheet on PropertySheetA, modal or modeless (a test drives a
// modeless one). Pages are added before the sheet is shown; the sheet window
// is bound to this object when comctl32 reports it initialised, and
// OnInitDialog runs then.
class CPropertySheet : public CWnd {
    VELMORA_RUNTIME_CLASS(CPropertySheet)
public:
    CPropertySheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0);

    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);

    // Modal: answers what PropertySheetA answers (IDOK, IDCANCEL, -1 on failure).
    virtual INT_PTR DoModal();
    // Modeless under parent; the caller pumps messages through
    // PropSheet_IsDialogMessage and destroys the sheet when
    // PropSheet_GetCurrentPageHwnd answers null (the user closed it).
    BOOL Create(HWND parent = nullptr);

    PROPSHEETHEADERA m_psh{};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Runs once the sheet window and its first page exist.
    virtual BOOL OnInitDialog();
    // A chance to change the sheet's dialog template before it is created.
    virtual void OnPreCreate(DLGTEMPLATE* sheetTemplate);

    std::vector<CPropertyPage*> m_pages;

private:
    void BuildHeader(bool modeless, HWND parent);
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);

    std::string m_caption;
    CWnd* m_pParentWnd;
    // The pages' blocks back to back: comctl32 steps through the array by
    // each block's dwSize, the first-version size, not sizeof.
    std::vector<BYTE> m_pageBlocks;
};
