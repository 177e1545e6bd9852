#pragma once
// The rotation's own switches in the Options section (PlayEachOnce,
// GoOnWhenQuits, RotateWhenLocked), read by one rule in both programs, so
// that what Velmora.exe shows is what Velmora.scr plays.
namespace velmora::settings {

// On when the stored value reads as the number 1 (the profile functions strip
// blanks and one pair of quotes first); missing, "0", "2", "9" or text: off.
bool OptionSet(const char* key);

}  // namespace velmora::settings
