#include "savers/probe/probe_settings.h"


#include "savers/probe/probe_colour.h"

namespace {
const char kSection[] = "Probe";
}

std::string ModuleLongPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return "";
    // The runner starts children by their 8.3 path, and the module name is
    // the path the process was started by; the sidecar has the long name.
    char longPath[MAX_PATH];
    DWORD m = GetLongPathNameA(path, longPath, sizeof longPath);
    if (m == 0 || m >= sizeof longPath) return std::string(path, n);
    return std::string(longPath, m);
}

std::string SidecarPathFor(const std::string& modulePath) {
    size_t slash = modulePath.find_last_of("\\/");
    size_t dot = modulePath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return modulePath + ".ini";
    return modulePath.substr(0, dot) + ".ini";
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

COLORREF ColorRefFromRgb(std::uint32_t rgb) {
    return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

ProbeSettings ReadProbeSettings(const std::string& modulePath) {
    const std::string ini = SidecarPathFor(modulePath);
    ProbeSettings settings;
    char text[64];
    GetPrivateProfileStringA(kSection, "Behaviour", "normal", text, sizeof text, ini.c_str());
    settings.behaviour = ParseBehaviour(text);
    GetPrivateProfileStringA(kSection, "Area", "", text, sizeof text, ini.c_str());
    settings.primaryOnly = lstrcmpiA(text, "primary") == 0;
    settings.windowAfterMs = GetPrivateProfileIntA(kSection, "WindowAfterMs", 0, ini.c_str());
    settings.notTopmost = GetPrivateProfileIntA(kSection, "NotTopmost", 0, ini.c_str()) == 1;
    settings.endsOnDeactivate =
        GetPrivateProfileIntA(kSection, "EndOnDeactivate", 0, ini.c_str()) == 1;
    settings.singleInstance = GetPrivateProfileIntA(kSection, "SingleInstance", 0, ini.c_str()) == 1;
    settings.startAfterMs = GetPrivateProfileIntA(kSection, "StartAfterMs", 0, ini.c_str());
    settings.windowlessPreview =
        GetPrivateProfileIntA(kSection, "WindowlessPreview", 0, ini.c_str()) == 1;
    settings.previewPopup = GetPrivateProfileIntA(kSection, "PreviewPopup", 0, ini.c_str()) == 1;

    std::uint32_t rgb = ColourFromName(FileNameOf(modulePath).c_str());
    GetPrivateProfileStringA(kSection, "Color", "", text, sizeof text, ini.c_str());
    ParseHexColour(text, rgb);
    settings.colour = ColorRefFromRgb(rgb);
    return settings;
}
