#pragma once
// Soft, anti-aliased strokes laid straight into 0x00RRGGBB pixels: the
// planets' trails and the orbit lines. A stroke is a polyline whose width and
// opacity change along its length. Each pixel takes the strongest cover any
// piece of the stroke gives it and the opacity of the line's nearest point,
// so the pieces join without seams, and no spot is blended twice where they
// overlap.
#include <cstdint>
#include <vector>

#include "savers/demos/scene_colour.h"

class TrailLayer {
public:
    struct Vertex {
        double x, y;       // in pixels; pixel (i, j) is centred on (i, j)
        double halfWidth;  // half the stroke's width here, in pixels
        double opacity;    // 0 .. 1
        double depth;      // the stroke is in front where this is >= 0
    };

    // The size of the pixels strokes are laid over; forgets all strokes.
    void Resize(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Forgets the strokes, keeping the size.
    void Clear() { m_strokes.clear(); }
    // Traces a stroke through the vertices and keeps what it covers.
    void Add(const std::vector<Vertex>& vertices, const Rgb& colour);
    // Blends the parts of every stroke behind (front = false) or in front of
    // the plane into the pixels (Width() x Height(), top row first), in the
    // order the strokes were added.
    void Blend(uint32_t* pixels, bool front) const;

    // What a stroke leaves on one pixel: how much of its colour, and on
    // which side. Cells of one stroke are unique and in no particular order.
    struct Cell {
        uint32_t index;  // y * Width() + x
        float alpha;     // 0 < alpha <= 1
        bool front;
    };
    int StrokeCount() const { return static_cast<int>(m_strokes.size()); }
    const std::vector<Cell>& Cells(int stroke) const { return m_strokes[stroke].cells; }

private:
    void TraceSegment(const Vertex& a, const Vertex& b);

    struct Stroke {
        Rgb colour;
        std::vector<Cell> cells;
    };

    int m_width = 0, m_height = 0;
    std::vector<Stroke> m_strokes;
    // While a stroke is traced, for every pixel: the best cover so far (zero
    // where untouched), the distance to the nearest point of the line and the
    // opacity and side there; and the pixels touched.
    std::vector<float> m_cover;
    std::vector<float> m_distance;
    std::vector<float> m_opacity;
    std::vector<uint8_t> m_front;
    std::vector<uint32_t> m_touched;
};
