#pragma once
// Draws Velmora Aurora: the scene renders sky, stars, curtains and lake into
// the buffer's pixels; GDI lays the mountain ranges and their reflections
// over them.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "savers/demos/aurora_scene.h"
#include "savers/demos/scene_painter.h"

class CAuroraPainter : public CScenePainter {
public:
    CAuroraPainter(uint32_t seed, int speed) : m_scene(seed, speed) {}
    void Paint(CDibSection& target, int frame) override;

private:
    // The crests do not move: computed once per size.
    void Layout(int width, int height);

    AuroraScene m_scene;
    int m_width = 0, m_height = 0;
    std::vector<POINT> m_ranges[AuroraScene::kLayers];
    std::vector<POINT> m_reflections[AuroraScene::kLayers];
};
