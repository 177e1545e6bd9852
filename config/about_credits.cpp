#include "config/about_credits.h"

#include "resources/version.h"

namespace velmora::about {

namespace {
std::string Heading(const char* text) { return std::string("00:06:") + text + "|"; }
std::string Body(const char* text) { return std::string("01:06:") + text + "|"; }
std::string Spacing(int rows) { return "S:" + std::to_string(rows) + "|"; }
}  // namespace

std::string CreditsText() {
    std::string text;
    text += Heading("Velmora") + Body("Version " VELMORA_VERSION_TEXT) + Spacing(10);
    text += Body("Copyright (C) 2001 Kestrune") + Body("") + Spacing(15);
    text += Heading("Author") + Body("Kestrune") + Spacing(15);
    text += Heading("Partial Copyrights");
    text += Body("Toolkit (C) 2001 Kestrune");
    text += Body("Link label (C) 2001 Kestrune");
    text += Body("GIF player (C) 2001 Kestrune");
    text += Body("Credits (C) 2001 Kestrune");
    text += Spacing(15);
    text += Heading("Thanks") + Body("Trapline hook library") + Spacing(15);
    text += Heading("Legal Informations");
    static const char* const kLegal[] = {
        "",
        "",
        "for it, and I am not obliged to",
        "offer you support. I take no",
        "responsibility of any damages",
        "caused by this program, you",
        "use it at your risk. Obligatory",
        "registration is not needed, but",
        "I always appreciate an E-Mail",
        "with compliments, suggestions,",
        "annotations, critics, proposal",
        "of marriage, insults",
        "(not too wounding however!)",
        "and anything else that you can",
        "send by E-Mail! :-)You may",
        "", "", "", "", "", "", "",
    };
    for (const char* line : kLegal) text += Body(line);
    return text;
}

Area CreditsArea(const Area& picture, int dpi) {
    const auto scaled = [dpi](int pixels) { return pixels * dpi / 96; };
    Area area = picture;
    area.top += scaled(3);
    area.bottom -= scaled(3);
    area.left += (picture.right - picture.left) / 2 + scaled(15);
    return area;
}

}  // namespace velmora::about
