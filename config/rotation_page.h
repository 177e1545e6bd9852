#pragma once
#include <windows.h>

#include <string>

#include "config/options_page.h"
#include "config/screensavers_page.h"
#include "framework/wnd.h"
#include "toolkit/in_place_editor.h"
#include "toolkit/toolkit_page.h"

// The Rotation page: the rotation list as the Screensavers page has it at
// this moment, each entry with its own show time and weight edited in place,
// and the two options of the rotation (play each once before any comes
// again, go on when a screensaver quits by itself), and how several monitors
// are covered. The times and weights live in the Screensavers page's rows,
// which write them with the list on OK; this page writes only its options,
// and only once it was opened.
class CRotation : public CToolkitPage, private IInPlaceEditOwner {
    VELMORA_RUNTIME_CLASS(CRotation)
public:
    // The pages it shows the list and the Options time of; they outlive it.
    CRotation(CScreensavers& screensavers, const COptions& options);
    ~CRotation() override;

    // The columns of the list.
    static constexpr int kNameColumn = 0;
    static constexpr int kTimeColumn = 1;
    static constexpr int kWeightColumn = 2;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnDpiChanged(UINT from, UINT to) override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnOK() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The list view; scrolling it ends an edit first, since the editor would
    // not move with the rows.
    class CListView : public CWnd {
    public:
        CRotation* m_owner = nullptr;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    // Shows the Screensavers page's rotation list again.
    void Refresh();
    // The row's time and weight cells; optionsTime is the Options page's.
    void ShowRow(int row, const velmora::rotation::EntryExtras& extras,
                 const std::string& optionsTime);
    // Opens the editor over a cell of the time or weight column.
    void EditCell(int row, int column);
    void EndEditing(BOOL commit) { m_editor.End(commit); }
    void OnEditEnd(BOOL commit, const std::string& text) override;
    void OnEditBrowse() override {}

    CScreensavers& m_screensavers;
    const COptions& m_options;
    CListView m_lstRotation;
    int m_bPlayEachOnce = BST_UNCHECKED;
    int m_bGoOnWhenQuits = BST_UNCHECKED;
    int m_bRotateWhenLocked = BST_UNCHECKED;
    // The several-monitors choice as the page showed it, and the stored text.
    int m_nMonitorsShown = 0;
    std::string m_strMonitorsStored;
    CInPlaceEditor m_editor;
    int m_editRow = -1;
    int m_editColumn = -1;
};
