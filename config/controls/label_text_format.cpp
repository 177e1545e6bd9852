#include "config/controls/label_text_format.h"

unsigned LabelTextFormat(unsigned long style, const std::string& text) {
    using namespace label_draw;
    unsigned format;
    switch (style & label_style::kTypeMask) {
    case label_style::kCenter: format = kCenter | kWordBreak; break;
    case label_style::kRight: format = kRight | kWordBreak; break;
    case label_style::kLeftNoWordWrap: format = kLeft; break;
    default: format = kLeft | kWordBreak; break;
    }
    if (text.find('\t') != std::string::npos) format |= kExpandTabs;
    if (style & label_style::kCenterImage) {
        format = text.find("\r\n") != std::string::npos ? kCenter
                                                        : kCenter | kVCenter | kSingleLine;
    }
    return format;
}
