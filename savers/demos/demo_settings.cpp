#include "savers/demos/demo_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

int LoadDemoSetting(const SaverKind& kind) {
    int value = static_cast<int>(
        GetPrivateProfileIntA(kind.section, kind.key, kind.fallback, kDemoSettingsFile));
    return std::clamp(value, kind.minimum, kind.maximum);
}

void SaveDemoSetting(const SaverKind& kind, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", std::clamp(value, kind.minimum, kind.maximum));
    WritePrivateProfileStringA(kind.section, kind.key, text, kDemoSettingsFile);
    // The profile functions may cache; flush so the file holds the value now.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, kDemoSettingsFile);
}
