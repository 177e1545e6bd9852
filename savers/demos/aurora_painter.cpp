#include "savers/demos/aurora_painter.h"

#include <algorithm>
#include <cmath>

#include "savers/demos/scene_gdi.h"

void CAuroraPainter::Layout(int width, int height) {
    m_width = width;
    m_height = height;
    const int horizon = static_cast<int>(AuroraScene::kHorizon * height + 0.5);
    const int samples = std::max(8, width / 2 + 2);
    for (int layer = 0; layer < AuroraScene::kLayers; ++layer) {
        std::vector<double> crest = m_scene.Ridge(layer, samples);
        std::vector<POINT>& range = m_ranges[layer];
        std::vector<POINT>& mirror = m_reflections[layer];
        range.clear();
        mirror.clear();
        for (int i = 0; i < samples; ++i) {
            LONG x = static_cast<LONG>(std::lround(static_cast<double>(i) * width / (samples - 1)));
            LONG y = static_cast<LONG>(std::lround(crest[i] * height));
            range.push_back({x, y});
            // Mirrored at the horizon, squashed as the lake squashes the sky.
            mirror.push_back(
                {x, static_cast<LONG>(horizon + (horizon - y) / AuroraScene::kReflectionStretch)});
        }
        range.push_back({width, horizon});
        range.push_back({0, horizon});
        mirror.push_back({width, horizon});
        mirror.push_back({0, horizon});
    }
}

void CAuroraPainter::Paint(CDibSection& target, int frame) {
    const int w = target.Width(), h = target.Height();
    if (w != m_width || h != m_height) Layout(w, h);
    GdiFlush();
    m_scene.Render(target.Bits(), w, h, m_scene.SecondsAt(frame));

    HDC dc = target.Dc();
    ScopedSelectObject pen(dc, GetStockObject(NULL_PEN));
    for (int layer = 0; layer < AuroraScene::kLayers; ++layer) {
        CBrush reflection = MakeBrush(AuroraScene::ReflectionColour(layer));
        {
            ScopedSelectObject brush(dc, reflection.Get());
            Polygon(dc, m_reflections[layer].data(), static_cast<int>(m_reflections[layer].size()));
        }
        CBrush range = MakeBrush(AuroraScene::RidgeColour(layer));
        ScopedSelectObject brush(dc, range.Get());
        Polygon(dc, m_ranges[layer].data(), static_cast<int>(m_ranges[layer].size()));
    }
}
