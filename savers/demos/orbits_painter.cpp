#include "savers/demos/orbits_painter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "savers/demos/scene_gdi.h"

namespace {

// Enough points that the curve shows no corners even on the widest orbit.
constexpr int kTrailSamples = 96;

POINT ToPoint(const OrbitsScene::Projected& p) {
    return {static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
}

void Disc(HDC dc, double x, double y, double r) {
    Ellipse(dc, static_cast<int>(std::lround(x - r)), static_cast<int>(std::lround(y - r)),
            static_cast<int>(std::lround(x + r)) + 1, static_cast<int>(std::lround(y + r)) + 1);
}

}  // namespace

void COrbitsPainter::Paint(CDibSection& target, int frame) {
    const int w = target.Width(), h = target.Height();
    if (!m_backdrop.Matches(w, h)) RenderBackdrop(w, h);
    if (!m_backdrop.Matches(w, h)) return;
    HDC dc = target.Dc();
    BitBlt(dc, 0, 0, w, h, m_backdrop.Dc(), 0, 0, SRCCOPY);

    const double t = OrbitsScene::SecondsAt(frame);
    TraceTrails(t);
    // GDI may batch its drawing: flush it before the pixels are touched.
    GdiFlush();
    m_trails.Blend(target.Bits(), false);

    std::vector<int> order = m_scene.BackToFront(t);
    size_t next = 0;
    for (; next < order.size() && m_scene.PlanetAt(order[next], t).depth < 0; ++next)
        DrawPlanet(dc, order[next], t);
    DrawSun(dc);
    GdiFlush();
    m_trails.Blend(target.Bits(), true);
    for (; next < order.size(); ++next) DrawPlanet(dc, order[next], t);
}

void COrbitsPainter::RenderBackdrop(int width, int height) {
    m_scene.SetViewport(width, height);
    if (!m_backdrop.Create(width, height)) return;
    m_scene.RenderBackdrop(m_backdrop.Bits());
    m_trails.Resize(width, height);
    const double halfWidth = 0.55;
    for (int i = 0; i < static_cast<int>(m_scene.Planets().size()); ++i) {
        std::vector<TrailLayer::Vertex> line;
        for (const auto& p : m_scene.OrbitPath(i, 240))
            line.push_back({p.x, p.y, halfWidth, OrbitsScene::kOrbitLineOpacity, p.depth});
        m_trails.Add(line, OrbitsScene::OrbitLineColour());
    }
    m_trails.Blend(m_backdrop.Bits(), false);
    m_trails.Blend(m_backdrop.Bits(), true);
    m_trails.Clear();
}

void COrbitsPainter::TraceTrails(double t) {
    m_trails.Clear();
    const auto& planets = m_scene.Planets();
    for (int i = 0; i < static_cast<int>(planets.size()); ++i) {
        std::vector<OrbitsScene::Projected> trail = m_scene.Trail(i, t, kTrailSamples);
        const double head = m_scene.PlanetAt(i, t).radius;
        std::vector<TrailLayer::Vertex> stroke;
        for (int k = 0; k < kTrailSamples; ++k) {
            double age = static_cast<double>(k) / (kTrailSamples - 1);
            const auto& p = trail[k];
            stroke.push_back({p.x, p.y, OrbitsScene::TrailWidth(head, age) / 2,
                              OrbitsScene::TrailOpacity(age), p.depth});
        }
        m_trails.Add(stroke, planets[i].colour);
    }
}

void COrbitsPainter::DrawSun(HDC dc) const {
    const OrbitsScene::Projected sun = m_scene.Sun();
    ScopedSelectObject pen(dc, GetStockObject(NULL_PEN));
    const int steps = 16;
    for (int k = 0; k < steps; ++k) {
        double f = 1 - static_cast<double>(k) / steps;
        CBrush brush = MakeBrush(OrbitsScene::SunColour(f));
        ScopedSelectObject use(dc, brush.Get());
        Disc(dc, sun.x, sun.y, sun.radius * (0.25 + 0.75 * f));
    }
}

void COrbitsPainter::DrawBall(HDC dc, const OrbitsScene::Projected& at, const Rgb& colour) const {
    const OrbitsScene::Projected sun = m_scene.Sun();
    double lx = sun.x - at.x, ly = sun.y - at.y;
    double len = std::max(1e-6, std::hypot(lx, ly));
    lx /= len;
    ly /= len;
    // The lit side faces the sun; a planet between us and the sun shows more
    // of its night side, so the light slides further to its edge.
    double slide = at.radius * (0.30 + 0.35 * std::clamp(at.depth, 0.0, 1.0));

    CRgn clip(CreateEllipticRgn(
        static_cast<int>(std::lround(at.x - at.radius)),
        static_cast<int>(std::lround(at.y - at.radius)),
        static_cast<int>(std::lround(at.x + at.radius)) + 1,
        static_cast<int>(std::lround(at.y + at.radius)) + 1));
    ScopedSelectObject pen(dc, GetStockObject(NULL_PEN));
    {
        CBrush night = MakeBrush(Add(Scale(colour, 0.16), {6, 4, 12}));
        ScopedSelectObject use(dc, night.Get());
        Disc(dc, at.x, at.y, at.radius);
    }
    SelectClipRgn(dc, clip.Get());
    const int steps = at.radius > 6 ? 9 : 4;
    for (int k = 0; k < steps; ++k) {
        double s = static_cast<double>(k) / (steps - 1);
        Rgb c = Mix(Scale(colour, 0.3), colour, std::pow(s, 0.7));
        if (s > 0.75) c = Mix(c, {255, 250, 235}, (s - 0.75) * 1.2);
        CBrush brush = MakeBrush(c);
        ScopedSelectObject use(dc, brush.Get());
        double r = at.radius * (1.05 - 0.8 * s);
        Disc(dc, at.x + lx * slide * (0.4 + s), at.y + ly * slide * (0.4 + s), r);
    }
    SelectClipRgn(dc, nullptr);
}

void COrbitsPainter::DrawPlanet(HDC dc, int i, double t) const {
    const OrbitsScene::Planet& planet = m_scene.Planets()[i];
    const OrbitsScene::Projected at = m_scene.PlanetAt(i, t);
    const Rgb moonColour{205, 200, 195};
    OrbitsScene::Projected moon{};
    if (planet.hasMoon) moon = m_scene.MoonAt(i, t);
    if (planet.hasMoon && moon.depth < at.depth) DrawBall(dc, moon, moonColour);

    Rgb ringColour = Mix(planet.colour, {240, 225, 200}, 0.5);
    int ringWidth = std::max(1, static_cast<int>(std::lround(at.radius * 0.28)));
    auto ring = [&](bool front) {
        std::vector<POINT> points;
        for (const auto& p : m_scene.RingHalf(at, front, 24)) points.push_back(ToPoint(p));
        CPen pen = MakePen(ringColour, ringWidth);
        ScopedSelectObject use(dc, pen.Get());
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    };
    if (planet.ringed) ring(false);
    DrawBall(dc, at, planet.colour);
    if (planet.ringed) ring(true);

    if (planet.hasMoon && moon.depth >= at.depth) DrawBall(dc, moon, moonColour);
}
