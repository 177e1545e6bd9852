#pragma once
// What tells the two demo savers apart for the shared shell: where their one
// setting lives, its range, and the animation that uses it.
#include <cstdint>
#include <memory>

#include "savers/demos/scene_painter.h"

struct SaverKind {
    const char* section;  // in the settings file
    const char* key;
    int minimum, maximum, fallback;
    const char* valueFormat;  // printf format of the value shown in the dialog
    std::unique_ptr<CScenePainter> (*createPainter)(uint32_t seed, int setting);
};

// The savers' settings file, in the Windows folder (a bare name to the
// profile functions means that folder).
constexpr const char* kDemoSettingsFile = "VelmoraDemos.ini";
