#pragma once
// Finding the machine's screensavers for the catalogue: the folders to
// search, the files each holds, the name each is shown under and its icon.
// The catalogue page puts what the scan finds into its list.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/icon.h"

namespace velmora::catalogue {

// One screensaver file a scan found, with its 16 x 16 icon (empty when none
// could be made).
struct FoundScreensaver {
    std::string name;  // display name
    std::string path;  // folder text + file name as the search reports it
    CIcon icon;
};
using FoundCallback = std::function<void(const FoundScreensaver&)>;

// Every screensaver file of the folder (its text ends with a backslash), in
// the order the system reports them; the rotation screensaver itself is
// left out. A file for which `skip` answers true is left out too.
void ScanFolder(const std::string& folder, const FoundCallback& found,
                const std::function<bool(const std::string& fileName)>& skip = nullptr);

// The standard folders in catalogue order: the Windows folder and the system
// folder and, on 64-bit Windows, the real system folder through its
// Sysnative alias. A file there that the system folder also holds keeps the
// one row the system folder gave it: rotation lists store that path.
void ScanSystemFolders(const FoundCallback& found);

// The name a screensaver is shown under (string 1 of the file on the NT
// line for 8.3 names, else the file name without its extension).
std::string DisplayName(bool ntLine, const std::string& fileName, const std::string& path);

// A 16 x 16 icon for a file; the caller owns it.
HICON GetFileIcon(const char* path);

}  // namespace velmora::catalogue
