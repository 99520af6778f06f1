#pragma once

// Shapes cut to a rectangle in floating point before PixelRaster turns them into pixels: a
// shape then costs what of it lies in the picture, and far or non-finite coordinates never
// reach an integer pixel position. Worked in halves, so that the difference of two
// coordinates near the largest double stays finite; halving is exact, so a shape that needs
// no cut keeps its coordinates to the bit.

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Kav {
namespace App {
namespace Clip {

struct Rect {
    double left, top, right, bottom;
};

inline bool finite(QPointF const& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

inline bool inside(QPointF const& p, Rect const& r)
{
    return p.x() >= r.left && p.x() <= r.right && p.y() >= r.top && p.y() <= r.bottom;
}

// The segment a-b, which does not lie inside r, cut as segment() says.
__attribute__((noinline)) inline bool cutSegment(QPointF& a, QPointF& b, Rect const& r, double* start)
{
    if (!finite(a) || !finite(b))
        return false;
    double const ax = a.x() * 0.5, ay = a.y() * 0.5;
    double const dx = b.x() * 0.5 - ax, dy = b.y() * 0.5 - ay;
    double t0 = 0.0, t1 = 1.0;
    // Keeps the t with p * t <= q.
    auto keep = [&t0, &t1](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        double const t = q / p;
        if (p < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!keep(-dx, ax - r.left * 0.5) || !keep(dx, r.right * 0.5 - ax) || !keep(-dy, ay - r.top * 0.5)
        || !keep(dy, r.bottom * 0.5 - ay))
        return false;
    if (t1 < 1.0)
        b = QPointF((ax + t1 * dx) * 2.0, (ay + t1 * dy) * 2.0);
    if (t0 > 0.0)
        a = QPointF((ax + t0 * dx) * 2.0, (ay + t0 * dy) * 2.0);
    if (start != nullptr)
        *start = t0;
    return true;
}

// The part of the segment a-b inside r; false when none is or an end is not finite.
// `start` gets where the new a lies along the segment (0 at a, 1 at b).
inline bool segment(QPointF& a, QPointF& b, Rect const& r, double* start = nullptr)
{
    if (start != nullptr)
        *start = 0.0;
    // Most segments of a scene lie inside (not a number never does).
    return (inside(a, r) && inside(b, r)) || cutSegment(a, b, r, start);
}

// The polygon cut to r, edge by edge: inside r every point keeps its winding number, so the
// fill there is the same. Empty when a point is not finite.
inline void polygon(QPointF const* points, int count, Rect const& r, std::vector<QPointF>& out,
                    std::vector<QPointF>& scratch)
{
    out.clear();
    for (int i = 0; i < count; ++i) {
        if (!finite(points[i])) {
            out.clear();
            return;
        }
        out.emplace_back(points[i].x() * 0.5, points[i].y() * 0.5);
    }
    // One side of the rectangle at a time: x or y, the bound, and which side is kept.
    struct Side {
        bool vertical;
        double at;
        bool keepBelow;
    };
    Side const sides[4] = {{true, r.left * 0.5, false}, {true, r.right * 0.5, true},
                           {false, r.top * 0.5, false}, {false, r.bottom * 0.5, true}};
    for (Side const& side : sides) {
        scratch.swap(out);
        out.clear();
        std::size_t const n = scratch.size();
        auto inside = [&side](QPointF const& p) {
            double const v = side.vertical ? p.x() : p.y();
            return side.keepBelow ? v <= side.at : v >= side.at;
        };
        for (std::size_t i = 0; i < n; ++i) {
            QPointF const& p = scratch[i];
            QPointF const& q = scratch[(i + 1) % n];
            bool const pIn = inside(p);
            if (pIn)
                out.push_back(p);
            if (pIn != inside(q)) {
                double const f = side.vertical ? (side.at - p.x()) / (q.x() - p.x()) : (side.at - p.y()) / (q.y() - p.y());
                QPointF cut = p + (q - p) * f;
                (side.vertical ? cut.rx() : cut.ry()) = side.at;
                out.push_back(cut);
            }
        }
    }
    for (QPointF& p : out)
        p *= 2.0;
}

} // namespace Clip
} // namespace App
} // namespace Kav
