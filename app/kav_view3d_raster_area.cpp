#include "kav_view3d_raster.h"
#include "kav_view3d_raster_blend.h"

#include <algorithm>
#include <climits>
#include <cmath>

// The shapes of PixelRaster filled by their area: polygons, wide strokes, dashes, circles.

namespace Kav {
namespace App {

using namespace Blend;

namespace {

constexpr int MAX_SIDES = 96;

int sidesFor(double radius)
{
    return std::clamp(static_cast<int>(std::ceil(radius * 4.0)), 12, MAX_SIDES);
}

struct Bounds {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    double probe = 0.0;   // stays 0 while every coordinate is finite
    bool finite() const { return probe == 0.0; }
    bool within(Clip::Rect const& r) const
    {
        return left >= r.left && top >= r.top && right <= r.right && bottom <= r.bottom;
    }
};

Bounds boundsOf(QPointF const* points, int count)
{
    Bounds b;
    for (int i = 0; i < count; ++i) {
        b.left = std::min(b.left, points[i].x());
        b.right = std::max(b.right, points[i].x());
        b.top = std::min(b.top, points[i].y());
        b.bottom = std::max(b.bottom, points[i].y());
        b.probe += points[i].x() * 0.0 + points[i].y() * 0.0;
    }
    return b;
}

} // namespace

bool PixelRaster::open(double left, double top, double right, double bottom)
{
    if (!(right > 0.0 && bottom > 0.0 && left < width_ && top < height_))
        return false;
    left_ = static_cast<int>(std::floor(std::max(0.0, left)));
    top_ = static_cast<int>(std::floor(std::max(0.0, top)));
    columns_ = static_cast<int>(std::ceil(std::min(static_cast<double>(width_), right))) - left_;
    rows_ = static_cast<int>(std::ceil(std::min(static_cast<double>(height_), bottom))) - top_;
    if (columns_ <= 0 || rows_ <= 0)
        return false;
    std::size_t const cells = static_cast<std::size_t>(columns_ + 2) * static_cast<std::size_t>(rows_);
    if (cells_.size() < cells)
        cells_.resize(cells, 0.0f);
    if (rowFirst_.size() < static_cast<std::size_t>(rows_)) {
        rowFirst_.resize(static_cast<std::size_t>(rows_), INT_MAX);
        rowLast_.resize(static_cast<std::size_t>(rows_), -1);
    }
    return true;
}

void PixelRaster::addEdge(double ax, double ay, double bx, double by)
{
    ax -= left_;
    bx -= left_;
    ay -= top_;
    by -= top_;
    double const bottom = rows_;
    if (ay == by || (ay <= 0.0 && by <= 0.0) || (ay >= bottom && by >= bottom) || !std::isfinite(ax + ay + bx + by))
        return;
    // Into the rows of the box.
    auto clipY = [](double& px, double& py, double qx, double qy, double y) {
        px += (qx - px) * (y - py) / (qy - py);
        py = y;
    };
    if (ay < 0.0)
        clipY(ax, ay, bx, by, 0.0);
    if (by < 0.0)
        clipY(bx, by, ax, ay, 0.0);
    if (ay > bottom)
        clipY(ax, ay, bx, by, bottom);
    if (by > bottom)
        clipY(bx, by, ax, ay, bottom);
    // Left of the box an edge still covers the cells to its right: it is moved onto the box's
    // left side; right of it, it covers nothing inside and is moved onto the right side.
    double const right = columns_;
    double cuts[3];
    int n = 0;
    if ((ax < 0.0) != (bx < 0.0))
        cuts[n++] = -ax / (bx - ax);
    if ((ax > right) != (bx > right))
        cuts[n++] = (right - ax) / (bx - ax);
    std::sort(cuts, cuts + n);
    cuts[n++] = 1.0;
    double px = ax, py = ay;
    for (int i = 0; i < n; ++i) {
        double const qx = i + 1 == n ? bx : ax + (bx - ax) * cuts[i];
        double const qy = i + 1 == n ? by : ay + (by - ay) * cuts[i];
        accumulate(std::clamp(px, 0.0, right), py, std::clamp(qx, 0.0, right), qy);
        px = qx;
        py = qy;
    }
}

// The signed area the edge adds to each cell, as differences along the row: summed from
// the left they give the covered part of each pixel.
void PixelRaster::accumulate(double x0, double y0, double x1, double y1)
{
    if (y0 == y1)
        return;
    double dir = 1.0;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1.0;
    }
    std::size_t const stride = static_cast<std::size_t>(columns_ + 2);
    double const dxdy = (x1 - x0) / (y1 - y0);
    double x = x0;
    // An edge nearly along a row has a slope too steep for a number: its ends bound it.
    double const xLow = std::min(x0, x1), xHigh = std::max(x0, x1);
    int const first = static_cast<int>(y0);
    int const last = std::min(rows_, static_cast<int>(std::ceil(y1)));
    work_ += static_cast<quint64>(std::max(0, last - first));
    for (int y = first; y < last; ++y) {
        float* row = cells_.data() + static_cast<std::size_t>(y) * stride;
        double const dy = std::min(y + 1.0, y1) - std::max(static_cast<double>(y), y0);
        double const xnext = std::clamp(x + dxdy * dy, xLow, xHigh);
        double const d = dy * dir;
        double const xa = std::min(x, xnext);
        double const xb = std::max(x, xnext);
        int const ia = static_cast<int>(xa);
        int const ib = static_cast<int>(std::ceil(xb));
        rowFirst_[static_cast<std::size_t>(y)] = std::min(rowFirst_[static_cast<std::size_t>(y)], ia);
        rowLast_[static_cast<std::size_t>(y)] = std::max(rowLast_[static_cast<std::size_t>(y)], std::max(ia + 1, ib));
        if (ib <= ia + 1) {
            double const middle = 0.5 * (x + xnext) - ia;
            row[ia] += static_cast<float>(d - d * middle);
            row[ia + 1] += static_cast<float>(d * middle);
        } else {
            double const s = 1.0 / (xb - xa);
            double const fa = xa - ia;
            double const a0 = 0.5 * s * (1.0 - fa) * (1.0 - fa);
            double const fb = xb - ib + 1.0;
            double const am = 0.5 * s * fb * fb;
            row[ia] += static_cast<float>(d * a0);
            if (ib == ia + 2) {
                row[ia + 1] += static_cast<float>(d * (1.0 - a0 - am));
            } else {
                double const a1 = s * (1.5 - fa);
                row[ia + 1] += static_cast<float>(d * (a1 - a0));
                work_ += static_cast<quint64>(ib - ia);
                for (int i = ia + 2; i < ib - 1; ++i)
                    row[i] += static_cast<float>(d * s);
                double const a2 = a1 + (ib - ia - 3) * s;
                row[ib - 1] += static_cast<float>(d * (1.0 - a2 - am));
            }
            row[ib] += static_cast<float>(d * am);
        }
        x = xnext;
    }
}

void PixelRaster::close(QRgb color)
{
    quint32 const premultiplied = qPremultiply(color);
    std::size_t const stride = static_cast<std::size_t>(columns_ + 2);
    for (int y = 0; y < rows_; ++y) {
        int& first = rowFirst_[static_cast<std::size_t>(y)];
        int& last = rowLast_[static_cast<std::size_t>(y)];
        if (first > last)
            continue;
        float* row = cells_.data() + static_cast<std::size_t>(y) * stride;
        auto* pixels = reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(top_ + y) * stride_) + left_;
        int const end = std::min(last, columns_ - 1);
        work_ += static_cast<quint64>(last - first + 1);
        float sum = 0.0f;
        for (int x = first; x <= end; ++x) {
            sum += row[x];
            row[x] = 0.0f;
            blendPixel(pixels[x], premultiplied, static_cast<unsigned int>(std::min(1.0f, std::fabs(sum)) * 255.0f + 0.5f));
        }
        for (int x = std::max(first, end + 1); x <= last; ++x)
            row[x] = 0.0f;
        first = INT_MAX;
        last = -1;
    }
}

void PixelRaster::fillPolygon(QPointF const* points, int count, QRgb color)
{
    if (count < 3 || qAlpha(color) == 0)
        return;
    Bounds box = boundsOf(points, count);
    if (!box.finite())
        return;
    Clip::Rect const image = grown(1.0);
    if (!box.within(image)) {
        Clip::polygon(points, count, image, clipped_, clipScratch_);
        points = clipped_.data();
        count = static_cast<int>(clipped_.size());
        if (count < 3)
            return;
        box = boundsOf(points, count);
    }
    if (!open(box.left, box.top, box.right, box.bottom))
        return;
    for (int i = 0; i < count; ++i) {
        QPointF const& a = points[i];
        QPointF const& b = points[(i + 1) % count];
        addEdge(a.x(), a.y(), b.x(), b.y());
    }
    close(color);
}

// A rectangle `halfWidth` to each side of the segment, lengthened by as much at an end that
// has a square cap. All parts of a stroke go round the same way, so that where they
// overlap their areas add up rather than cancel.
void PixelRaster::addBand(QPointF const& from, QPointF const& to, double halfWidth, bool capFrom, bool capTo)
{
    QPointF const d = to - from;
    double const length = std::hypot(d.x(), d.y());
    if (!(length > 0.0))
        return;
    QPointF const along = d * (halfWidth / length);
    QPointF const normal(-along.y(), along.x());
    QPointF const a = capFrom ? from - along : from;
    QPointF const b = capTo ? to + along : to;
    QPointF const corners[4] = {a + normal, b + normal, b - normal, a - normal};
    for (int i = 0; i < 4; ++i)
        addEdge(corners[i].x(), corners[i].y(), corners[(i + 1) % 4].x(), corners[(i + 1) % 4].y());
}

// The bevel between two bands meeting at `corner`: the triangles on both sides (the inner one
// lies inside the bands), turned the way the bands go.
void PixelRaster::addBevel(QPointF const& before, QPointF const& corner, QPointF const& after, double halfWidth)
{
    QPointF const d1 = corner - before;
    QPointF const d2 = after - corner;
    double const l1 = std::hypot(d1.x(), d1.y());
    double const l2 = std::hypot(d2.x(), d2.y());
    if (!(l1 > 0.0 && l2 > 0.0))
        return;
    QPointF const n1(-d1.y() * halfWidth / l1, d1.x() * halfWidth / l1);
    QPointF const n2(-d2.y() * halfWidth / l2, d2.x() * halfWidth / l2);
    for (double side : {1.0, -1.0}) {
        QPointF p = corner + n1 * side;
        QPointF q = corner + n2 * side;
        double const area = (p.x() - corner.x()) * (q.y() - corner.y()) - (q.x() - corner.x()) * (p.y() - corner.y());
        if (area > 0.0)
            std::swap(p, q);
        addEdge(corner.x(), corner.y(), p.x(), p.y());
        addEdge(p.x(), p.y(), q.x(), q.y());
        addEdge(q.x(), q.y(), corner.x(), corner.y());
    }
}

void PixelRaster::strokePolygon(QPointF const* points, int count, bool closed, QRgb color, double width)
{
    if (count < 2 || qAlpha(color) == 0)
        return;
    int const segments = closed ? count : count - 1;
    if (width <= 1.0) {
        quint32 const premultiplied = qPremultiply(color);
        for (int i = 0; i < segments; ++i)
            thinLine(points[i], points[(i + 1) % count], premultiplied, !closed && segments == 1);
        return;
    }
    Bounds const box = boundsOf(points, count);
    double const half = width / 2.0;
    if (!std::isfinite(width) || !open(box.left - width, box.top - width, box.right + width, box.bottom + width))
        return;
    // Each part is cut to the image and a margin its width and caps cannot reach over; a cut
    // end, and a corner, outside that margin adds nothing to be seen.
    Clip::Rect const reach = grown(width + 2.0);
    // As QPainter's default pen: square caps at the ends, bevels at the corners.
    for (int i = 0; i < segments; ++i) {
        QPointF from = points[i];
        QPointF to = points[(i + 1) % count];
        if (Clip::segment(from, to, reach))
            addBand(from, to, half, !closed && i == 0, !closed && i + 1 == segments);
    }
    for (int i = closed ? 0 : 1; i < (closed ? count : count - 1); ++i) {
        QPointF const& before = points[(i + count - 1) % count];
        QPointF const& after = points[(i + 1) % count];
        if (Clip::inside(points[i], reach) && Clip::finite(before) && Clip::finite(after))
            addBevel(before, points[i], after, half);
    }
    close(color);
}

void PixelRaster::strokeDashedLine(QPointF const& from, QPointF const& to, QRgb color, double width)
{
    double const w = std::max(1.0, width);
    if (qAlpha(color) == 0 || !std::isfinite(w))
        return;
    // Only the dashes in the picture are laid, where they would have been along the whole line.
    QPointF a = from;
    QPointF b = to;
    double cut = 0.0;
    if (!Clip::segment(a, b, grown(2.0 * w + 2.0), &cut))
        return;
    double const length = 2.0 * std::hypot(to.x() * 0.5 - from.x() * 0.5, to.y() * 0.5 - from.y() * 0.5);
    QPointF const d = b - a;
    double const seen = std::hypot(d.x(), d.y());
    if (!(seen > 0.0))
        return;
    if (!open(std::min(a.x(), b.x()) - w, std::min(a.y(), b.y()) - w, std::max(a.x(), b.x()) + w,
              std::max(a.y(), b.y()) + w))
        return;
    QPointF const unit = d / seen;
    double const period = 6.0 * w;
    // Along the seen part, from the start of the dash or gap under its first point (a line
    // too long for a finite length has its dashes anywhere).
    double const phase = std::isfinite(length) ? std::fmod(cut * length, period) : 0.0;
    for (double start = -phase; start < seen; start += period) {
        ++work_;
        if (start + 4.0 * w > 0.0)
            addBand(a + unit * std::max(0.0, start), a + unit * std::min(seen, start + 4.0 * w), w / 2.0, true, true);
    }
    close(color);
}

std::vector<QPointF> const& PixelRaster::circle(int sides)
{
    std::vector<QPointF>& points = circles_[static_cast<std::size_t>(sides)];
    if (points.empty()) {
        for (int i = 0; i <= sides; ++i) {
            double const angle = 2.0 * M_PI * (i % sides) / sides;
            points.emplace_back(std::cos(angle), std::sin(angle));
        }
    }
    return points;
}

void PixelRaster::fillEllipse(QPointF const& centre, double radius, QRgb color)
{
    if (!(radius > 0.0) || qAlpha(color) == 0 || !open(centre.x() - radius, centre.y() - radius,
                                                      centre.x() + radius, centre.y() + radius))
        return;
    int const sides = sidesFor(radius);
    std::vector<QPointF> const& unit = circle(sides);
    for (int i = 0; i < sides; ++i) {
        QPointF const a = centre + unit[static_cast<std::size_t>(i)] * radius;
        QPointF const b = centre + unit[static_cast<std::size_t>(i) + 1] * radius;
        addEdge(a.x(), a.y(), b.x(), b.y());
    }
    close(color);
}

void PixelRaster::strokeEllipse(QPointF const& centre, double radius, QRgb color, double width)
{
    double const outer = radius + width / 2.0;
    double const inner = radius - width / 2.0;
    if (!(outer > 0.0) || qAlpha(color) == 0
        || !open(centre.x() - outer, centre.y() - outer, centre.x() + outer, centre.y() + outer))
        return;
    // A ring: the outer circle one way round, the inner one the other way.
    int const sides = sidesFor(outer);
    std::vector<QPointF> const& unit = circle(sides);
    double const innerRadius = std::max(0.0, inner);
    for (int i = 0; i < sides; ++i) {
        std::size_t const k = static_cast<std::size_t>(i);
        QPointF const a = centre + unit[k] * outer;
        QPointF const b = centre + unit[k + 1] * outer;
        addEdge(a.x(), a.y(), b.x(), b.y());
        QPointF const c = centre + unit[k + 1] * innerRadius;
        QPointF const d = centre + unit[k] * innerRadius;
        addEdge(c.x(), c.y(), d.x(), d.y());
    }
    close(color);
}

} // namespace App
} // namespace Kav
