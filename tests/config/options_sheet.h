#pragma once
// A real property sheet around the Options page, driven as a user drives the
// configuration program: the Options page is the second page, so a sheet
// closed without opening it shows what OK does to a page never created.
#include <windows.h>

#include <functional>
#include <string>

#include "config/options_page.h"
#include "framework/property_sheet.h"
#include "toolkit/editable_list.h"

namespace vtest {

class OptionsSheet : public CPropertySheet {
public:
    OptionsSheet();
    // Shows the sheet modeless, in front, and waits until it is.
    bool Show();
    // Opens the Options page (PSM_SETCURSEL 1) and answers its window.
    HWND OpenOptions();
    // Presses a sheet button (PSBTN_OK, PSBTN_CANCEL) and waits until the
    // sheet has closed, then destroys it.
    bool Close(int button);
    // Pumps messages through the sheet's dialog handling until the
    // condition holds.
    bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
    void Settle() { PumpUntil([] { return false; }, 150); }

    // The page's controls.
    HWND Item(int id) const;
    // The paths list, the object bound to group box 1017.
    CEditableList* Paths() const;
    HWND NewButton() const;

    CPropertyPage first;
    COptions options;
};

// Real keyboard input to the focused window.
void Key(WORD vk);
void Type(const std::string& text);

bool Checked(HWND button);
// The settings file's value, "<none>" when the key is missing.
std::string IniValue(const char* section, const char* key);
void Ini(const char* section, const char* key, const char* value);
void FlushIni();

}  // namespace vtest
