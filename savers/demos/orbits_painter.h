#pragma once
// Draws Velmora Orbits: a still backdrop with the orbit lines (rendered once
// per size), then, back to front, the trails laid into the pixels and the sun
// and shaded planets drawn with GDI.
#include <windows.h>

#include <cstdint>

#include "savers/demos/dib_section.h"
#include "savers/demos/orbits_scene.h"
#include "savers/demos/scene_painter.h"
#include "savers/demos/trail_layer.h"

class COrbitsPainter : public CScenePainter {
public:
    COrbitsPainter(uint32_t seed, int planets) : m_scene(seed, planets) {}
    void Paint(CDibSection& target, int frame) override;

private:
    // The still parts, into the backdrop once per size.
    void RenderBackdrop(int width, int height);
    // Every planet's trail at time t, into m_trails.
    void TraceTrails(double t);
    void DrawSun(HDC dc) const;
    void DrawPlanet(HDC dc, int i, double t) const;
    void DrawBall(HDC dc, const OrbitsScene::Projected& at, const Rgb& colour) const;

    OrbitsScene m_scene;
    CDibSection m_backdrop;
    TrailLayer m_trails;
};
