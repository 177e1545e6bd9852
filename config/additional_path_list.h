#pragma once
#include "toolkit/editable_list.h"

// The options page's list of extra folders to search for screensavers. Its
// browse button asks for a folder with the shell's folder browser: with no
// item selected the folder is added at the end (and the first time in a run
// of the program the user is told to restart it, since the catalogue scans
// the folders only when the program starts); otherwise it replaces the
// selected item.
class CAdditionalPathList : public CEditableList {
    VELMORA_RUNTIME_CLASS(CAdditionalPathList)
protected:
    void OnBrowse() override;
};
