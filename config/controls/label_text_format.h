#pragma once
// The DrawText format a label uses for its text, chosen from the control's
// style bits and the text itself; free of Win32, so the values it needs are
// spelled out here with the numbers Windows gives them.
#include <string>

namespace label_style {
constexpr unsigned long kTypeMask = 0x0000001F;  // SS_TYPEMASK
constexpr unsigned long kLeft = 0x00000000;       // SS_LEFT
constexpr unsigned long kCenter = 0x00000001;     // SS_CENTER
constexpr unsigned long kRight = 0x00000002;      // SS_RIGHT
constexpr unsigned long kLeftNoWordWrap = 0x0000000C;  // SS_LEFTNOWORDWRAP
constexpr unsigned long kCenterImage = 0x00000200;     // SS_CENTERIMAGE
}  // namespace label_style

namespace label_draw {
constexpr unsigned kLeft = 0x00000000;        // DT_LEFT
constexpr unsigned kCenter = 0x00000001;      // DT_CENTER
constexpr unsigned kRight = 0x00000002;       // DT_RIGHT
constexpr unsigned kVCenter = 0x00000004;     // DT_VCENTER
constexpr unsigned kWordBreak = 0x00000010;   // DT_WORDBREAK
constexpr unsigned kSingleLine = 0x00000020;  // DT_SINGLELINE
constexpr unsigned kExpandTabs = 0x00000040;  // DT_EXPANDTABS
}  // namespace label_draw

// SS_CENTER, SS_RIGHT and the rest wrap words; SS_LEFTNOWORDWRAP does not.
// A tab adds tab expansion. SS_CENTERIMAGE overrides all of that: a text
// with "\r\n" is centred line by line, any other is centred both ways on a
// single line (DT_VCENTER works only together with DT_SINGLELINE).
unsigned LabelTextFormat(unsigned long style, const std::string& text);
