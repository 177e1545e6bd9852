#include "config/screensavers_rules.h"

namespace velmora::catalogue {

NameSource DisplayNameSource(bool ntLine, std::size_t fileNameLength) {
    return ntLine && fileNameLength <= 12 ? NameSource::StringResource : NameSource::FileName;
}

std::string NameWithoutExtension(const std::string& fileName) {
    return fileName.size() < 4 ? std::string() : fileName.substr(0, fileName.size() - 4);
}

bool IsRotatorFile(const std::string& loweredFileName) { return loweredFileName == "velmora.scr"; }

CatalogueClick OnCatalogueClick(int selectedCount) {
    CatalogueClick click;
    click.addSelected = selectedCount > 0 ? Change::Enable : Change::Keep;
    click.settingsPreview = selectedCount == 1 ? Change::Enable : Change::Disable;
    return click;
}

RotationClick OnRotationClick(int selectedCount, int rowCount, int selectionMark) {
    RotationClick click;
    click.removeSelected = selectedCount > 0 ? Change::Enable : Change::Keep;
    click.up = click.down = Change::Disable;
    if (selectedCount == 1 && rowCount > 1 && selectionMark >= 0 && selectionMark < rowCount) {
        if (selectionMark == rowCount - 1) {
            click.up = Change::Enable;
        } else {
            click.up = selectionMark != 0 ? Change::Enable : Change::Disable;
            click.down = Change::Enable;
        }
    }
    return click;
}

int MoveTarget(int selectionMark, int rowCount, int direction) {
    if (selectionMark < 0 || selectionMark >= rowCount) return -1;
    int target = selectionMark + (direction < 0 ? -1 : 1);
    return target >= 0 && target < rowCount ? target : -1;
}

MoveButtons AfterMove(int newMark, int rowCount, int direction) {
    MoveButtons buttons;
    if (direction < 0) {
        buttons.up = newMark == 0 ? Change::Disable : Change::Keep;
        buttons.down = Change::Enable;
    } else {
        buttons.down = newMark == rowCount - 1 ? Change::Disable : Change::Keep;
        buttons.up = Change::Enable;
    }
    return buttons;
}

}  // namespace velmora::catalogue
