#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/rotation_rules.h"
#include "config/screensaver_scan.h"
#include "framework/image_list.h"
#include "framework/wnd.h"
#include "toolkit/flat_button.h"
#include "toolkit/toolkit_page.h"

// The catalogue page, the first page of the configuration program: every
// screensaver found in the Windows folder, the system folder and the extra
// folders on the left, the rotation list on the right. The catalogue is built
// and the rotation list loaded once, when the page is created; OK rewrites
// the `Screensaver` section of the settings file. A catalogue row's item data
// is 1 while the row is in the rotation list (drawn red), else 0; a rotation
// row is tied to its catalogue row by the display name alone, and its item
// data holds the entry's own show time and weight (the Rotation page edits
// them), so they move, go and are saved with the row.
class CScreensavers : public CToolkitPage {
    VELMORA_RUNTIME_CLASS(CScreensavers)
public:
    CScreensavers();
    ~CScreensavers() override;

    // Adds the screensavers of a folder to the catalogue; the folder text
    // ends with a backslash.
    void ScanDirectory(const char* folder);
    // ScanDirectory for every folder of the `Additional Path` section.
    void ScanAdditionalPaths();
    // The first catalogue row whose text in the column equals the text,
    // case included; -1 if none.
    int FindAvailable(const char* text, int column);
    // The catalogue row whose file is the path, compared without regard to
    // case as Windows compares paths; -1 when there is none.
    int FindFile(const std::string& path);
    void AddToSelection(int catalogueRow);
    void RemoveFromSelection(int rotationRow);
    // Starts a screensaver file as a process and does not wait for it.
    void RunScreensaver(const char* path, const char* arguments);
    void LoadSelection();
    void SaveSelection();

    // One row of the rotation list as the Rotation page shows it.
    struct RotationEntry {
        std::string name;
        int image;
        velmora::rotation::EntryExtras extras;
    };
    // The rotation list as it is now, in play order.
    std::vector<RotationEntry> RotationEntries() const;
    // The entry's own settings, written with the list on OK.
    void SetEntryExtras(int rotationRow, const velmora::rotation::EntryExtras& extras);
    // The icons of both lists, for a page that shows the same entries.
    HIMAGELIST ImageList() const { return m_imageList.Get(); }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // The icons remade at the new dpi's size, in the same places of the
    // image list, and the columns kept in proportion.
    void OnDpiChanged(UINT from, UINT to) override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // A catalogue row to be: the scan's name and path, and the image its
    // icon got in the image list (-1: none).
    struct CollectedRow {
        std::string name;
        std::string path;
        int image;
    };
    // Takes a screensaver the scan found: its icon is copied into the image
    // list, and the row appended (or collected while the first catalogue is
    // built).
    void AddFound(const velmora::catalogue::FoundScreensaver& found);
    // Appends the collected rows in name order.
    void ListCollected();
    void InsertRow(const CollectedRow& row);
    LRESULT OnCustomDrawAvailable(const NMLVCUSTOMDRAW* draw);
    void OnClickAvailable();
    void OnClickSelected();
    void OnAddSelected();
    void OnAddAll();
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnSettings();
    void OnPreview();
    void OnMove(int direction);
    void SwapSelectedRows(int a, int b);
    // The "File" text of the marked catalogue row, "" when none is marked.
    std::string MarkedFile();

    CWnd m_lstSelected;   // 1001, the rotation list
    CWnd m_lstAvailable;  // 1002, the catalogue
    // Shared by both list views (LVS_SHAREIMAGELISTS): this page destroys it.
    CImageList m_imageList;
    std::vector<std::string> m_iconSources;  // the file of each image, in image order
    // While the first catalogue is built, its rows wait here to be sorted.
    bool m_bCollecting = false;
    std::vector<CollectedRow> m_collected;
    // Rotation entries whose file the catalogue does not have at this moment
    // (a folder on a drive that is unplugged, a network share offline): each
    // is listed under its shown name (its path and " (not found)") and saved
    // again as it was stored, so that OK for another change keeps it.
    std::map<std::string, std::string> m_missing;  // shown name -> stored path
    std::set<std::string> m_missingKeys;           // their paths in lower case
    // Appends such an entry to the rotation list; false when it is there.
    bool AddMissing(const std::string& path);
    CFlatButton m_btnRemoveSelected;  // 1005
    CFlatButton m_btnRemoveAll;       // 1006
    CFlatButton m_btnAddSelected;     // 1003
    CFlatButton m_btnAddAll;          // 1004
    CFlatButton m_btnSettings;        // 1007
    CFlatButton m_btnPreview;         // 1008
    CFlatButton m_btnDown;            // 1010
    CFlatButton m_btnUp;              // 1009
};
