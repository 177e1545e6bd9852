#include "savers/demos/trail_layer.h"

#include <algorithm>
#include <cmath>

void TrailLayer::Resize(int width, int height) {
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    m_strokes.clear();
    m_cover.assign(static_cast<size_t>(m_width) * m_height, 0.0f);
    m_distance.assign(m_cover.size(), 0.0f);
    m_opacity.assign(m_cover.size(), 0.0f);
    m_front.assign(m_cover.size(), 0);
    m_touched.clear();
}

void TrailLayer::Add(const std::vector<Vertex>& vertices, const Rgb& colour) {
    if (vertices.empty() || m_cover.empty()) return;
    if (vertices.size() == 1) TraceSegment(vertices[0], vertices[0]);
    for (size_t k = 0; k + 1 < vertices.size(); ++k) TraceSegment(vertices[k], vertices[k + 1]);

    Stroke stroke{colour, {}};
    stroke.cells.reserve(m_touched.size());
    for (uint32_t index : m_touched) {
        float alpha = m_cover[index] * m_opacity[index];
        if (alpha > 0) stroke.cells.push_back({index, alpha, m_front[index] != 0});
        m_cover[index] = 0.0f;
    }
    m_touched.clear();
    if (!stroke.cells.empty()) m_strokes.push_back(std::move(stroke));
}

void TrailLayer::TraceSegment(const Vertex& a, const Vertex& b) {
    for (const Vertex* v : {&a, &b})
        if (!std::isfinite(v->x) || !std::isfinite(v->y) || !std::isfinite(v->halfWidth) ||
            !std::isfinite(v->opacity) || !std::isfinite(v->depth))
            return;
    // Beyond its half width the cover falls to nothing over one pixel.
    const double reach = std::max(std::max(a.halfWidth, b.halfWidth), 0.0) + 1.0;
    const double left = std::max(0.0, std::floor(std::min(a.x, b.x) - reach));
    const double right = std::min(m_width - 1.0, std::ceil(std::max(a.x, b.x) + reach));
    const double top = std::max(0.0, std::floor(std::min(a.y, b.y) - reach));
    const double bottom = std::min(m_height - 1.0, std::ceil(std::max(a.y, b.y) + reach));
    if (left > right || top > bottom) return;

    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y) {
        const double py = y - a.y;
        size_t row = static_cast<size_t>(y) * m_width;
        for (int x = static_cast<int>(left); x <= static_cast<int>(right); ++x) {
            const double px = x - a.x;
            // The nearest point of the segment, as a share of the way to b.
            double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
            double ex = px - t * dx, ey = py - t * dy;
            float distance = static_cast<float>(std::sqrt(ex * ex + ey * ey));
            double halfWidth = a.halfWidth + (b.halfWidth - a.halfWidth) * t;
            float cover = static_cast<float>(std::clamp(halfWidth + 0.5 - distance, 0.0, 1.0));
            if (cover <= 0) continue;
            size_t index = row + x;
            if (m_cover[index] == 0.0f) {
                m_touched.push_back(static_cast<uint32_t>(index));
            } else if (distance >= m_distance[index]) {
                m_cover[index] = std::max(m_cover[index], cover);
                continue;
            }
            // The shape is the union of every piece's cover; the opacity and
            // the side are those of the nearest point of the line, so the
            // round end of a stronger piece does not reach along a weaker one.
            m_cover[index] = std::max(m_cover[index], cover);
            m_distance[index] = distance;
            m_opacity[index] =
                static_cast<float>(std::clamp(a.opacity + (b.opacity - a.opacity) * t, 0.0, 1.0));
            m_front[index] = a.depth + (b.depth - a.depth) * t >= 0;
        }
    }
}

void TrailLayer::Blend(uint32_t* pixels, bool front) const {
    for (const Stroke& stroke : m_strokes) {
        for (const Cell& cell : stroke.cells) {
            if (cell.front != front) continue;
            uint32_t& p = pixels[cell.index];
            Rgb under{double(PixelRed(p)), double(PixelGreen(p)), double(PixelBlue(p))};
            p = PackPixel(Mix(under, stroke.colour, cell.alpha));
        }
    }
}
