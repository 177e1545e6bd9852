#include "runner/pick_next.h"

#include <windows.h>

#include "runner/next_choice.h"
#include "settings/settings_names.h"

namespace names = velmora::settings;

namespace {

// The generator value of this moment: a pick depends only on the millisecond
// at which it is made.
int CurrentDraw() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return DrawForMillisecond(now.wMilliseconds);
}

}  // namespace

int RandomInRange(int lo, int hi) { return ScaleDraw(CurrentDraw(), lo, hi); }

std::string PickNextScreensaver() {
    int order = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionOptions, names::kKeyRandomOrder, 0, names::kIniFile));
    int count = static_cast<int>(
        GetPrivateProfileIntA(names::kSectionScreensaver, names::kKeyCount, 0, names::kIniFile));

    // Only what the choice needs is read: a single entry never touches
    // LastScrShow, and a random pick never reads it.
    int last = count - 1;
    int draw = 0;
    if (count >= 2 && order == 1)
        draw = CurrentDraw();
    else if (count >= 2)
        last = static_cast<int>(GetPrivateProfileIntA(names::kSectionScreensaver,
                                                      names::kKeyLastShown, count - 1,
                                                      names::kIniFile));
    NextChoice choice = ChooseNext(count, order, last, draw);
    if (choice.index < 0) return "";

    char key[32];
    if (choice.writeLast) {
        char value[16];
        wsprintfA(value, "%d", choice.index);
        WritePrivateProfileStringA(names::kSectionScreensaver, names::kKeyLastShown, value,
                                   names::kIniFile);
    }
    wsprintfA(key, names::kKeyEntryFormat, choice.index);
    // One character more than a path may have: a value that fills it was cut
    // by the profile function and is no usable path; the caller sees that.
    char path[names::kPathBuffer + 1] = "";
    GetPrivateProfileStringA(names::kSectionScreensaver, key, "", path, sizeof path,
                             names::kIniFile);
    return path;
}
