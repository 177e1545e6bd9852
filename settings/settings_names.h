#pragma once

// The settings file shared by Velmora.scr and Velmora.exe. It is always given
// to the profile functions as a bare name, so Windows keeps it in the Windows
// folder. Section and key names are compared without regard to case.
namespace velmora::settings {

constexpr const char kIniFile[] = "Velmora.ini";

constexpr const char kSectionGeneral[] = "General";
constexpr const char kKeyProgramPath[] = "ProgramPath";

constexpr const char kSectionScreensaver[] = "Screensaver";
constexpr const char kKeyCount[] = "nScr";
constexpr const char kKeyEntryFormat[] = "Scr%d";
constexpr const char kKeyLastShown[] = "LastScrShow";
// Beside Scr<i>, under the same index and written by the same rewrite of the
// section: the entry's own show time in minutes (kMinShowTime..kMaxShowTime;
// missing or empty: ShowTime) and its weight in random order (missing: 1).
// Only entries that differ from those defaults have the keys. The runner
// keeps the shuffled deck of the list beside them.
constexpr const char kKeyTimePrefix[] = "Time";
constexpr const char kKeyTimeFormat[] = "Time%d";
constexpr const char kKeyWeightPrefix[] = "Weight";
constexpr const char kKeyWeightFormat[] = "Weight%d";
constexpr int kMinWeight = 1;
constexpr int kMaxWeight = 10;
constexpr int kDefaultWeight = 1;
constexpr const char kKeyDeck[] = "Deck";

constexpr const char kSectionOptions[] = "Options";
constexpr const char kKeyRandomOrder[] = "ShowRandomOrder";
constexpr const char kKeyRotate[] = "ShowForXMinuts";
constexpr const char kKeyShowTime[] = "ShowTime";
constexpr int kDefaultShowTime = 15;
constexpr int kMinShowTime = 1;
constexpr int kMaxShowTime = 10000;
// Random order as a shuffled deck; and a screensaver that quits by itself
// passed over instead of ending the run. "1" on, "0" off; missing: off,
// which is the rotation without them.
constexpr const char kKeyPlayEachOnce[] = "PlayEachOnce";
constexpr const char kKeyGoOnWhenQuits[] = "GoOnWhenQuits";
// How several monitors are covered: "0" as the screensaver draws it, "1"
// black where it does not draw, "2" a screensaver of its own on each
// monitor. Missing or any other value: 0, the run without the choice.
constexpr const char kKeyMonitors[] = "Monitors";
// "1": rotate also when Windows asks for the password on return (the NT
// line only, where Windows, not the screensaver, asks); missing or anything
// else: no rotation with password protection.
constexpr const char kKeyRotateWhenLocked[] = "RotateWhenLocked";

constexpr const char kSectionAdditionalPath[] = "Additional Path";
constexpr const char kKeyPathFormat[] = "Path%d";

// Every path the programs read or build fits a MAX_PATH buffer.
constexpr int kPathBuffer = 260;

// The desktop registry values that say whether Windows protects the screensaver.
constexpr const char kDesktopKey[] = "Control Panel\\Desktop";
constexpr const char kSecureValueNt[] = "ScreenSaverIsSecure";
constexpr const char kUsePasswordValue9x[] = "ScreenSaveUsePassword";

}  // namespace velmora::settings
