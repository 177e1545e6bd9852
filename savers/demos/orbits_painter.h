#pragma once
// Draws Velmora Orbits with GDI: a still backdrop (rendered once per size),
// then orbit lines, trails, the sun and shaded planets, back to front.
#include <windows.h>

#include <cstdint>

#include "savers/demos/dib_section.h"
#include "savers/demos/orbits_scene.h"
#include "savers/demos/scene_painter.h"

class COrbitsPainter : public CScenePainter {
public:
    COrbitsPainter(uint32_t seed, int planets) : m_scene(seed, planets) {}
    void Paint(CDibSection& target, int frame) override;

private:
    // The still parts, into the backdrop once per size.
    void DrawOrbits(HDC dc) const;
    Rgb BackdropAt(const OrbitsScene::Projected& p) const;
    // Trail segments on one side of the sun's plane: behind it, or before it.
    void DrawTrails(HDC dc, double t, bool front) const;
    void DrawSun(HDC dc) const;
    void DrawPlanet(HDC dc, int i, double t) const;
    void DrawBall(HDC dc, const OrbitsScene::Projected& at, const Rgb& colour) const;

    OrbitsScene m_scene;
    CDibSection m_backdrop;
};
