#pragma once

// Shapes cut to a rectangle in floating point before PixelRaster turns them into pixels: a
// shape then costs what of it lies in the picture, and far or non-finite coordinates never
// reach an integer pixel position. A shape that needs no cut keeps its coordinates to the bit.

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

// Where the line through p and q, which lie on either side of x = at (vertical) or y = at,
// crosses it: the other coordinate. Taken from the nearer of the two, so that a far one costs
// no precision, and in halves, so that differences near the largest double stay finite.
inline double crossing(QPointF const& p, QPointF const& q, bool vertical, double at)
{
    double const pv = vertical ? p.x() : p.y(), qv = vertical ? q.x() : q.y();
    if (std::fabs(at - pv) > std::fabs(at - qv))
        return crossing(q, p, vertical, at);
    double const po = vertical ? p.y() : p.x(), qo = vertical ? q.y() : q.x();
    double const f = (at * 0.5 - pv * 0.5) / (qv * 0.5 - pv * 0.5);
    return po + (qo * 0.5 - po * 0.5) * f * 2.0;
}

// The segment a-b, which does not lie inside r, cut as segment() says: an end beyond a side
// is put onto it, until both are inside or both beyond the same side.
__attribute__((noinline)) inline bool cutSegment(QPointF& a, QPointF& b, Rect const& r, double* start)
{
    if (!finite(a) || !finite(b))
        return false;
    QPointF const a0 = a, b0 = b;
    auto beyond = [&r](QPointF const& p) {
        return (p.x() < r.left ? 1 : 0) | (p.x() > r.right ? 2 : 0) | (p.y() < r.top ? 4 : 0) | (p.y() > r.bottom ? 8 : 0);
    };
    // Each turn settles one coordinate of one end; a few more let rounding at a corner settle.
    for (int turn = 0; turn < 8 && (beyond(a) | beyond(b)) != 0; ++turn) {
        int const sidesA = beyond(a), sidesB = beyond(b);
        if ((sidesA & sidesB) != 0)
            return false;
        QPointF& p = sidesA != 0 ? a : b;
        int const sides = sidesA != 0 ? sidesA : sidesB;
        if ((sides & 3) != 0) {
            double const x = (sides & 1) != 0 ? r.left : r.right;
            p = QPointF(x, crossing(a0, b0, true, x));
        } else {
            double const y = (sides & 4) != 0 ? r.top : r.bottom;
            p = QPointF(crossing(a0, b0, false, y), y);
        }
    }
    if ((beyond(a) | beyond(b)) != 0)
        return false;
    if (start != nullptr && a != a0) {
        double const dx = b0.x() * 0.5 - a0.x() * 0.5, dy = b0.y() * 0.5 - a0.y() * 0.5;
        *start = std::fabs(dx) >= std::fabs(dy) ? (a.x() * 0.5 - a0.x() * 0.5) / dx : (a.y() * 0.5 - a0.y() * 0.5) / dy;
    }
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

// The polygon cut to r, side by side: inside r every point keeps its winding number, so the
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
        out.push_back(points[i]);
    }
    struct Side {
        bool vertical;
        double at;
        bool keepBelow;
    };
    Side const sides[4] = {{true, r.left, false}, {true, r.right, true}, {false, r.top, false}, {false, r.bottom, true}};
    for (Side const& side : sides) {
        scratch.swap(out);
        out.clear();
        std::size_t const n = scratch.size();
        auto kept = [&side](QPointF const& p) {
            double const v = side.vertical ? p.x() : p.y();
            return side.keepBelow ? v <= side.at : v >= side.at;
        };
        for (std::size_t i = 0; i < n; ++i) {
            QPointF const& p = scratch[i];
            QPointF const& q = scratch[(i + 1) % n];
            if (kept(p))
                out.push_back(p);
            if (kept(p) != kept(q)) {
                double const other = crossing(p, q, side.vertical, side.at);
                out.push_back(side.vertical ? QPointF(side.at, other) : QPointF(other, side.at));
            }
        }
    }
}

} // namespace Clip
} // namespace App
} // namespace Kav
