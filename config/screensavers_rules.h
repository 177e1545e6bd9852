#pragma once
// The catalogue page's decisions, free of Windows: which name a screensaver
// file is shown under, which buttons a click or an action enables, where the
// marked row of the rotation list moves, and the command line a screensaver
// is started with.
#include <cstddef>
#include <string>

namespace velmora::catalogue {

// Where a file's display name comes from.
enum class NameSource {
    StringResource,  // string 1 of the file, read as data
    FileName,        // the file name without its extension
};

// On the NT line an 8.3 name (at most 12 characters) is read from the file;
// long names, and every name on the 9x line, come from the file name.
NameSource DisplayNameSource(bool ntLine, std::size_t fileNameLength);

// The file name without its last four characters (".scr" as the directory
// search spells it); a name that short gives "".
std::string NameWithoutExtension(const std::string& fileName);

// The rotation screensaver itself is never listed: its lowered file name.
bool IsRotatorFile(const std::string& loweredFileName);

// A button the rules decide about: on, off, or left as it is.
enum class Change { Keep, Enable, Disable };

// A click in the catalogue with this many rows selected.
struct CatalogueClick {
    Change addSelected;      // 1003: switched on, never off again by a click
    Change settingsPreview;  // 1007 and 1008: exactly one row selected
};
CatalogueClick OnCatalogueClick(int selectedCount);

// A click in the rotation list.
struct RotationClick {
    Change removeSelected;  // 1005
    Change up;              // 1009
    Change down;            // 1010
};
RotationClick OnRotationClick(int selectedCount, int rowCount, int selectionMark);

// Up (-1) or Down (+1) on the marked rotation row: the row it changes places
// with, or -1 when it does not move (no mark, first row up, last row down).
int MoveTarget(int selectionMark, int rowCount, int direction);

// What Up and Down leave enabled once the row has moved to `newMark`.
struct MoveButtons {
    Change up;
    Change down;
};
MoveButtons AfterMove(int newMark, int rowCount, int direction);

}  // namespace velmora::catalogue
