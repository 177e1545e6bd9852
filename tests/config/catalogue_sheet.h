#pragma once
// A real property sheet whose first page is the catalogue page, driven as a
// user drives the configuration program, and the screensaver files the tests
// place for it to find.
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "config/screensavers_page.h"
#include "framework/property_sheet.h"

namespace vtest {

// One catalogue or rotation row as the list view shows it.
struct Row {
    std::string name;
    std::string file;  // empty in the rotation list
    bool operator==(const Row& other) const { return name == other.name && file == other.file; }
};

class CatalogueSheet : public CPropertySheet {
public:
    CatalogueSheet();
    ~CatalogueSheet() override;
    // Shows the sheet modeless and in front; the page builds its catalogue.
    bool Show();
    // Presses a sheet button (PSBTN_OK, PSBTN_CANCEL) and waits until the
    // sheet has closed, then destroys it.
    bool Close(int button);
    // Closes it as the close box does.
    bool CloseBox();
    bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

    HWND Page() const { return page.m_hWnd; }
    HWND Item(int id) const { return ::GetDlgItem(page.m_hWnd, id); }
    std::vector<Row> Catalogue() const;
    std::vector<std::string> Rotation() const;
    // Item data of every catalogue row (1 = in the rotation list).
    std::vector<LPARAM> Marks() const;
    // The enabled state of buttons 1003 to 1010, one '1' or '0' each.
    std::string Buttons() const;

    // Selects exactly these rows of a list as a click would (the last one
    // clicked is the selection mark) and sends the click notification.
    void Click(int listId, const std::vector<int>& rows);
    // Presses an enabled button with BM_CLICK; false when it is disabled.
    bool Press(int id);

    CScreensavers page;
    bool shown = false;
};

// The first catalogue row whose name is this, -1 if none.
inline std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << "{" << row.name << " | " << row.file << "}";
}

int RowNamed(const std::vector<Row>& rows, const std::string& name);

// A copy of the probe screensaver at `path`. `name` replaces its string 1
// (the display name, in the ANSI code page); an empty `name` removes string
// 1; nullptr keeps the probe's own "Velmora Probe". An `icon` colour paints
// its icons all in it. The copy is deleted at destruction.
class PlacedSaver {
public:
    PlacedSaver(std::string path, const char* name, COLORREF icon = CLR_INVALID);
    ~PlacedSaver();
    PlacedSaver(const PlacedSaver&) = delete;
    PlacedSaver& operator=(const PlacedSaver&) = delete;
    bool Placed() const { return m_placed; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_placed = false;
};

std::string WindowsFolder();  // with a trailing backslash
std::string SystemFolder();   // with a trailing backslash
std::string ShortPathOf(const std::string& path);

std::string IniValue(const char* section, const char* key);
void Ini(const char* section, const char* key, const char* value);
void FlushIni();

}  // namespace vtest
