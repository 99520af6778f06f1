#include "kav_view3d_projection.h"
#include "kav_view3d_raster.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QRectF>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace Kav {
namespace App {

namespace {

// Elements that are drawn as solids; assemblies, folders and snapshots only group others.
bool isDrawn(unsigned int type)
{
    using EC = CAD::ElementCreator;
    return type != EC::ASSEMBLY && type != EC::FOLDER && type != EC::REPORT;
}

// The screen box of points, for the tests against the window.
struct Bounds {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    void add(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    bool outside(QSize const& size, double margin) const
    {
        return right < -margin || bottom < -margin || left > size.width() + margin || top > size.height() + margin;
    }
    bool belowPixel() const { return right - left < 1.0 && bottom - top < 1.0; }
};

// The affine part of a transformation, copied out of it: a local copy the compiler knows
// nothing else writes, so that its numbers stay in registers while points are stored.
struct Affine {
    double m[3][4];
    explicit Affine(Transformation const& t)
    {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column)
                m[row][column] = t(row, column);
        }
    }
    // Transformation::map without the division, inline: sections map many points.
    BaVec3d<double> map(BaVec3d<double> const& p) const
    {
        return BaVec3d<double>(m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
                               m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
                               m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]);
    }
};

// How many elements ahead the pass over the scene asks for.
constexpr std::size_t PREFETCH_AHEAD = 8;

// Dots are drawn with this radius.
constexpr double DOT_RADIUS = 3.0;

// A box at most this many pixels across has its sides drawn together, at its centre's depth:
// what of it another face could cover or not is a few pixels along an edge.
constexpr double SMALL_BOX = 12.0;

} // namespace

QRgb rgbaOf(quint32 rgb, double transparency)
{
    // Not negative: adding a half rounds.
    int const alpha = static_cast<int>(std::clamp(1.0 - transparency, 0.0, 1.0) * 255.0 + 0.5);
    return qRgba(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF),
                 alpha);
}

QColor rgbColor(quint32 rgb, double transparency)
{
    return QColor::fromRgba(rgbaOf(rgb, transparency));
}

namespace {
constexpr double CELL = Coverage::CELL_SIZE;

// A cell index of a coordinate, limited while still a double: a far coordinate must not
// reach an int.
int cellOf(double cells, int low, int high)
{
    return static_cast<int>(std::clamp(cells, static_cast<double>(low), static_cast<double>(high)));
}

// The vector over its largest component, whose square is then finite.
BaVec3d<double> shrunk(BaVec3d<double> const& v)
{
    double const m = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
    return m > 0.0 && std::isfinite(m) ? v * (1.0 / m) : v;
}

bool hasNaN(QRectF const& r)
{
    return std::isnan(r.left()) || std::isnan(r.top()) || std::isnan(r.right()) || std::isnan(r.bottom());
}
} // namespace

Coverage::Coverage(QSize const& size)
    : columns_(std::max(1, static_cast<int>(std::ceil(size.width() / CELL)))),
      rows_(std::max(1, static_cast<int>(std::ceil(size.height() / CELL)))),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0)
{
}

bool Coverage::covered(int x, int y) const
{
    // Outside the window nothing is seen.
    if (x < 0 || y < 0 || x >= columns_ || y >= rows_)
        return true;
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x)] != 0;
}

void Coverage::add(QRectF const& box)
{
    inner_.clear();
    if (hasNaN(box))
        return;
    int const left = cellOf(std::ceil(box.left() / CELL), 0, columns_);
    int const right = cellOf(std::floor(box.right() / CELL), 0, columns_);
    int const top = cellOf(std::ceil(box.top() / CELL), 0, rows_);
    int const bottom = cellOf(std::floor(box.bottom() / CELL), 0, rows_);
    for (int y = top; y < bottom; ++y)
        std::fill_n(cells_.begin() + static_cast<std::ptrdiff_t>(y) * columns_ + left, std::max(0, right - left), 1);
}

bool Coverage::covers(QRectF const& area) const
{
    if (hasNaN(area))
        return false;
    int const left = cellOf(std::floor(area.left() / CELL), -1, columns_);
    int const right = cellOf(std::ceil(area.right() / CELL), -1, columns_);
    int const top = cellOf(std::floor(area.top() / CELL), -1, rows_);
    int const bottom = cellOf(std::ceil(area.bottom() / CELL), -1, rows_);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (!covered(x, y))
                return false;
        }
    }
    return true;
}

void Coverage::makeInner()
{
    if (!inner_.empty())
        return;
    inner_.assign(cells_.size(), 0);
    for (int y = 0; y < rows_; ++y) {
        for (int x = 0; x < columns_; ++x) {
            bool all = true;
            for (int dy = -1; dy <= 1 && all; ++dy) {
                for (int dx = -1; dx <= 1 && all; ++dx)
                    all = covered(x + dx, y + dy);
            }
            inner_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x)] = all;
        }
    }
}

bool Coverage::coversAround(int x, int y)
{
    makeInner();
    // Cells of four pixels: a shift is a floor division, also left of and above the window.
    static_assert(CELL_SIZE == 4, "cells of four pixels");
    int const cx = x >> 2;
    int const cy = y >> 2;
    if (cx >= 0 && cy >= 0 && cx < columns_ && cy < rows_)
        return inner_[static_cast<std::size_t>(cy) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(cx)] != 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (!covered(cx + dx, cy + dy))
                return false;
        }
    }
    return true;
}

namespace {

constexpr auto const& SIDES = PixelRaster::BOX_SIDES;

// What an affine view makes of every box with positive half extents alike, worked out once per
// projection: a box then costs its centre's image and a few products.
struct BoxSides {
    bool usable = false;
    // The image of a unit step along each axis.
    BaVec3d<double> column[3];
    struct Side {
        int axis = 0;          // the axis the side is across
        double sign = 1.0;     // on the + or the - side of the centre
        BaVec3d<double> normal;   // unit
        double shade = 0.75;
        double across = 0.0;   // normal . column[axis]
    } sides[6];

    explicit BoxSides(Transformation const& t, BaVec3d<double> const& light)
    {
        for (int axis = 0; axis < 3; ++axis)
            column[axis] = BaVec3d<double>(t(0, axis), t(1, axis), t(2, axis));
        usable = true;
        for (int s = 0; s < 6; ++s) {
            Side& side = sides[s];
            int const* c = SIDES[s];
            // The axis whose bit all four corners share, and on which side.
            int const common = ~(c[0] ^ c[1]) & ~(c[0] ^ c[3]) & 7;
            side.axis = common == 1 ? 0 : (common == 2 ? 1 : 2);
            side.sign = (c[0] & common) != 0 ? 1.0 : -1.0;
            // The corner steps a and b of the side, for a unit box: twice a column each.
            int const stepA = c[1] ^ c[0], stepB = c[3] ^ c[0];
            auto axisOf = [](int bit) { return bit == 1 ? 0 : (bit == 2 ? 1 : 2); };
            double const signA = (c[1] & stepA) != 0 ? 1.0 : -1.0, signB = (c[3] & stepB) != 0 ? 1.0 : -1.0;
            BaVec3d<double> const a = column[axisOf(stepA)] * signA, b = column[axisOf(stepB)] * signB;
            BaVec3d<double> const n = a.cross(b);
            double const len = n.length();
            if (!(len > 0.0) || !std::isfinite(len)) {
                usable = false;
                return;
            }
            side.normal = n * (1.0 / len);
            side.shade = 0.55 + 0.45 * std::fabs(side.normal.dot(light));
            side.across = side.normal.dot(column[side.axis]);
        }
    }
};

// The depth as an unsigned number in the same order, and the face's index below it.
quint64 sortKey(double depth, std::size_t index)
{
    float const f = static_cast<float>(depth);
    quint32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    bits = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return (static_cast<quint64>(bits) << 32) | index;
}

void addFace(ProjectedScene& out, double depth, ProjectedScene::Face const& face)
{
    out.keys.push_back(sortKey(depth, out.faces.size()));
    out.faces.push_back(face);
    out.depths.push_back(depth);
}

// Far sides first; equal depths keep the scene order. A stable radix sort on the depths as
// floats, then the rare runs of equal floats but different depths put in order by the depth.
void sortByDepth(ProjectedScene& out)
{
    std::vector<quint64>& keys = out.keys;
    std::vector<quint64>& scratch = out.keyScratch;
    std::size_t const n = keys.size();
    scratch.resize(n);
    constexpr int DIGITS[3][2] = {{32, 11}, {43, 11}, {54, 10}};
    std::vector<std::size_t> count;
    for (auto const& digit : DIGITS) {
        int const shift = digit[0];
        std::size_t const buckets = std::size_t(1) << digit[1];
        quint64 const mask = buckets - 1;
        count.assign(buckets + 1, 0);
        for (quint64 k : keys)
            ++count[((k >> shift) & mask) + 1];
        if (n == 0 || count[((keys[0] >> shift) & mask) + 1] == n)
            continue;   // one digit for all: nothing moves
        for (std::size_t b = 1; b <= buckets; ++b)
            count[b] += count[b - 1];
        for (quint64 k : keys)
            scratch[count[(k >> shift) & mask]++] = k;
        keys.swap(scratch);
    }
    std::vector<quint32>& order = out.order;
    order.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = static_cast<quint32>(keys[i]);
    std::vector<double> const& depths = out.depths;
    auto const byDepth = [&depths](quint32 a, quint32 b) {
        return depths[a] < depths[b] || (!(depths[b] < depths[a]) && a < b);
    };
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first + 1;
        bool same = true;
        double const depth = depths[order[first]];
        while (last < n && (keys[last] >> 32) == (keys[first] >> 32)) {
            same = same && depths[order[last]] == depth;
            ++last;
        }
        if (!same)
            std::sort(order.begin() + static_cast<std::ptrdiff_t>(first), order.begin() + static_cast<std::ptrdiff_t>(last),
                      byDepth);
        first = last;
    }
}

// A dot where drawDot puts it, those it would leave out of the picture left out here; dots of
// one colour on the same pixel, one after the other within the group, become one dot that
// counts them. The last `lookBack` dots of the group are looked at.
void addDot(std::vector<ProjectedScene::Dot>& dots, std::size_t groupStart, QPointF const& at, QRgb color,
            QSize const& size, std::size_t lookBack)
{
    if (!(at.x() > -9.0 && at.y() > -9.0 && at.x() < size.width() + 9.0 && at.y() < size.height() + 9.0))
        return;
    int const x = PixelRaster::dotPixel(at.x()), y = PixelRaster::dotPixel(at.y());
    if (!(x > -8 && y > -8 && x < size.width() + 8 && y < size.height() + 8))
        return;
    std::size_t const from = dots.size() > groupStart + lookBack ? dots.size() - lookBack : groupStart;
    for (std::size_t i = dots.size(); i > from; --i) {
        ProjectedScene::Dot& d = dots[i - 1];
        if (d.color != color)
            break;   // over a dot of another colour the order counts
        if (d.x == x && d.y == y) {
            ++d.count;
            return;
        }
    }
    dots.push_back({x, y, color, 1});
}

} // namespace

void projectScene(MCADCmd::Scene& scene, Transformation const& t, QSize const& size, ProjectedScene& out)
{
    // Emptied, not freed: the next projection needs about as much room, and fresh memory
    // costs more than reused.
    out.points.clear();
    out.faces.clear();
    out.boxSides.clear();
    out.depths.clear();
    out.keys.clear();
    out.dots.clear();
    out.dotGroups.clear();
    out.pullOuts.clear();
    out.labels.clear();
    QSet<QString> const selected(scene.selection().begin(), scene.selection().end());
    BaVec3d<double> const light = BaVec3d<double>(0.3, -0.5, 0.8) * (1.0 / std::sqrt(0.98));
    GLegend2::GlobalLegend const* legend = scene.legend();
    bool const affine = t(3, 0) == 0.0 && t(3, 1) == 0.0 && t(3, 2) == 0.0 && t(3, 3) == 1.0;
    Affine const affined(t);
    BoxSides const boxSides(t, light);
    constexpr quint32 NO_COLOR = 0xff000000u;
    std::vector<quint32> stepColors;
    bool const fast = affine && boxSides.usable;

    std::vector<CAD::Element*> const& elements = scene.elements();
    for (std::size_t index = 0; index < elements.size(); ++index) {
        // One pass over the elements, fetched ahead: the time goes into reaching them.
        if (index + PREFETCH_AHEAD < elements.size()) {
            char const* ahead = reinterpret_cast<char const*>(elements[index + PREFETCH_AHEAD]);
            for (std::size_t line = 0; line < sizeof(CAD::Element); line += 64)
                __builtin_prefetch(ahead + line);
        }
        CAD::Element* e = elements[index];
        if (!e->isVisible(CAD::VISIBLE_IN_SCENE))
            continue;
        if (out.dotGroups.empty() || out.dotGroups.back() != out.dots.size())
            out.dotGroups.push_back(static_cast<quint32>(out.dots.size()));
        if (LabelElement* label = e->getLabel())
            out.labels.push_back(label);
        if (CAD::DistPullOut* pull = e->getDistPullOut()) {
            BaVec3d<double> const from = t.map(e->getCenter());
            BaVec3d<double> const to = t.map(pull->getPullOutPoint());
            Bounds bounds;
            bounds.add(from.x, from.y);
            bounds.add(to.x, to.y);
            if (!bounds.outside(size, 6.0))
                out.pullOuts.push_back({QPointF(from.x, from.y), QPointF(to.x, to.y)});
        }
        if (!isDrawn(e->getElementType()))
            continue;
        CAD::ElemProp const* prop = e->getElemProperties();
        bool const isSelected = !selected.isEmpty() && selected.contains(e->getName());
        QRgb const outline = isSelected ? qRgb(0xff, 0x8c, 0x00)
                                        : (e->isValid() ? qRgba(0x30, 0x30, 0x30, 160) : qRgb(0xd0, 0x00, 0x00));
        double const outlineWidth = isSelected ? 2.5 : (e->isValid() ? 1.0 : 2.0);
        double const margin = std::max({outlineWidth, prop->lineWidth, DOT_RADIUS}) + 1.0;

        auto const* section = e->getElementType() == CAD::ElementCreator::SECTION_INSPECTION_2D
                                  ? dynamic_cast<CAD::SectionInsp2d const*>(e)
                                  : nullptr;
        if (section != nullptr) {
            auto const& samples = section->getSamplePoints();
            auto const& distances = section->getDistances();
            if (samples.empty())
                continue;
            // The outline goes straight into the points, and back out if it is not seen.
            std::size_t const first = out.points.size();
            out.points.resize(first + samples.size());
            QPointF* mapped = out.points.data() + first;
            Bounds bounds;
            for (auto const& sample : samples) {
                BaVec3d<double> const m = affine ? affined.map(sample) : t.map(sample);
                *mapped++ = QPointF(m.x, m.y);
                bounds.add(m.x, m.y);
            }
            if (bounds.outside(size, margin)) {
                out.points.resize(first);
                continue;
            }
            std::size_t const group = out.dots.size();
            quint32 const alpha = rgbaOf(0, prop->transparency) & 0xff000000u;
            // Near the window all round, no sample needs a test of its own before it is rounded.
            bool const near = bounds.left > -9.0 && bounds.top > -9.0 && bounds.right < size.width() + 9.0
                              && bounds.bottom < size.height() + 9.0;
            // The legend's colours, each made once; samples past the distances in the element's.
            std::size_t const coloured = std::min(samples.size(), distances.size());
            quint32 const own = (prop->color & 0xffffffu) | alpha;
            auto const colourOf = [&](std::size_t i) {
                if (i >= coloured)
                    return own;
                unsigned int const step = legend->stepOf(distances[i]);
                if (step >= stepColors.size())
                    stepColors.resize(step + 1, NO_COLOR);
                quint32& made = stepColors[step];
                if (made == NO_COLOR)
                    made = legend->stepColor(step);
                return (made & 0xffffffu) | alpha;
            };
            if (!near) {
                for (std::size_t i = 0; i < samples.size(); ++i)
                    addDot(out.dots, group, out.points[first + i], colourOf(i), size, 1);
            } else {
                // Samples follow each other round the section: one on the pixel of the one
                // before is all there is to find.
                int const width = size.width(), height = size.height();
                QPointF const* const at = out.points.data() + first;
                for (std::size_t i = 0; i < samples.size(); ++i) {
                    quint32 const color = colourOf(i);
                    int const x = PixelRaster::dotPixel(at[i].x());
                    int const y = PixelRaster::dotPixel(at[i].y());
                    if (!(x > -8 && y > -8 && x < width + 8 && y < height + 8))
                        continue;
                    if (out.dots.size() > group) {
                        ProjectedScene::Dot& last = out.dots.back();
                        if (last.color == color && last.x == x && last.y == y) {
                            ++last.count;
                            continue;
                        }
                    }
                    out.dots.push_back({x, y, color, 1});
                }
            }
            out.points.push_back(out.points[first]);
            ProjectedScene::Face f;
            f.first = static_cast<quint32>(first);
            f.count = static_cast<quint32>(out.points.size() - first);
            f.fill = 0;
            f.outline = isSelected ? outline : rgbaOf(prop->color, prop->transparency);
            f.outlineWidth = static_cast<float>(std::max(1.0, prop->lineWidth));
            addFace(out, t.map(e->getCenter()).z, f);
            continue;
        }

        BaVec3d<double> const c = e->getCenter();
        BaVec3d<double> const h = e->getHalfExtent();
        std::array<BaVec3d<double>, 8> screen;
        BaVec3d<double> const centre = affine ? affined.map(c) : t.map(c);
        Bounds bounds;
        // The same box whatever the signs of its half extents; positive ones take the fast way.
        bool const boxFast = fast && h.x > 0.0 && h.y > 0.0 && h.z > 0.0 && std::isfinite(h.x + h.y + h.z);
        bool small = false;
        if (affine) {
            // The box's screen extent from the centre's image, before its corners are made.
            double const wx = std::fabs(affined.m[0][0] * h.x) + std::fabs(affined.m[0][1] * h.y) + std::fabs(affined.m[0][2] * h.z);
            double const wy = std::fabs(affined.m[1][0] * h.x) + std::fabs(affined.m[1][1] * h.y) + std::fabs(affined.m[1][2] * h.z);
            Bounds box;
            box.add(centre.x - wx, centre.y - wy);
            box.add(centre.x + wx, centre.y + wy);
            if (box.outside(size, margin))
                continue;
            if (boxFast)
                bounds = box;
            small = boxFast && wx <= SMALL_BOX / 2.0 && wy <= SMALL_BOX / 2.0;
        }
        if (boxFast) {
            // The corners only for a box of points; the sides are drawn from the steps.
            BaVec3d<double> const step[3] = {boxSides.column[0] * h.x, boxSides.column[1] * h.y,
                                             boxSides.column[2] * h.z};
            BaVec3d<double> const back[3] = {step[0] * -1.0, step[1] * -1.0, step[2] * -1.0};
            for (int i = 0; i < (prop->displayMode == CAD::DISPLAY_POINTS ? 8 : 0); ++i)
                screen[i] = centre + ((i & 1) ? step[0] : back[0]) + ((i & 2) ? step[1] : back[1])
                            + ((i & 4) ? step[2] : back[2]);
        } else {
            for (int i = 0; i < 8; ++i) {
                if (affine) {
                    // The corners are the centre's image plus the images of the half extents.
                    screen[i] = centre;
                    for (int axis = 0; axis < 3; ++axis) {
                        double const d = (i & (1 << axis)) ? h[axis] : -h[axis];
                        screen[i] += BaVec3d<double>(t(0, axis) * d, t(1, axis) * d, t(2, axis) * d);
                    }
                } else {
                    screen[i] = t.map(BaVec3d<double>(c.x + ((i & 1) ? h.x : -h.x), c.y + ((i & 2) ? h.y : -h.y),
                                                      c.z + ((i & 4) ? h.z : -h.z)));
                }
                bounds.add(screen[i].x, screen[i].y);
            }
            if (bounds.outside(size, margin))
                continue;
        }
        bool const tiny = bounds.belowPixel();
        if (prop->displayMode == CAD::DISPLAY_POINTS) {
            QRgb const color = rgbaOf(prop->color, prop->transparency);
            std::size_t const group = out.dots.size();
            if (tiny) {
                addDot(out.dots, out.dots.size(), QPointF(centre.x, centre.y), color, size, 0);
            } else {
                for (auto const& s : screen)
                    addDot(out.dots, group, QPointF(s.x, s.y), color, size, 8);
            }
            continue;
        }
        bool const wireframe = prop->displayMode == CAD::DISPLAY_WIREFRAME;
        if (tiny) {
            ProjectedScene::Face f;
            f.first = static_cast<quint32>(out.points.size());
            f.count = 0;
            f.outline = wireframe && !isSelected ? rgbaOf(prop->color) : outline;
            out.points.emplace_back(centre.x, centre.y);
            addFace(out, centre.z, f);
            continue;
        }
        QRgb const color = rgbaOf(prop->color, prop->transparency);
        bool const opaque = !wireframe && qAlpha(color) == 255;
        // A box of the fast way keeps its centre and steps, from which its sides are drawn.
        quint32 const boxPoints = static_cast<quint32>(out.points.size());
        if (boxFast) {
            out.points.emplace_back(centre.x, centre.y);
            for (int axis = 0; axis < 3; ++axis)
                out.points.emplace_back(boxSides.column[axis].x * h[axis], boxSides.column[axis].y * h[axis]);
        }
        // The corners' depths, added up as for the corners themselves: a side's depth is their
        // mean, as it is for a box drawn the slow way, so that sides on the same plane keep
        // their order.
        double cornerDepth[8];
        if (boxFast) {
            for (int i = 0; i < 8; ++i) {
                cornerDepth[i] = centre.z;
                for (int axis = 0; axis < 3; ++axis)
                    cornerDepth[i] += affined.m[2][axis] * ((i & (1 << axis)) ? h[axis] : -h[axis]);
            }
        }
        // A small box's sides, far to near (equal depths in their order).
        ProjectedScene::BoxSide together[6];
        double depths[6];
        int gathered = 0;
        for (int s = 0; s < 6; ++s) {
            int const* side = SIDES[s];
            double shade = 0.75;
            double depth;
            if (boxFast) {
                BoxSides::Side const& b = boxSides.sides[s];
                shade = b.shade;
                depth = 0.0;
                for (int k = 0; k < 4; ++k)
                    depth += cornerDepth[side[k]];
                depth = depth * 0.25;
                // A back side has the box's centre on the viewer's side of its plane.
                double const towardsCentre = -b.sign * h[b.axis] * b.across;
                if (opaque && std::fabs(b.normal.z) > 1e-9 && std::fabs(towardsCentre) > 1e-9
                    && (towardsCentre > 0) == (b.normal.z > 0))
                    continue;
            } else {
                BaVec3d<double> const a = screen[side[1]] - screen[side[0]];
                BaVec3d<double> const b = screen[side[3]] - screen[side[0]];
                BaVec3d<double> n = a.cross(b);
                if (!std::isfinite(n.length()))
                    n = shrunk(a).cross(shrunk(b));   // a huge side: its normal's square overflowed
                double const len = n.length();
                BaVec3d<double> middle;
                for (int k = 0; k < 4; ++k)
                    middle += screen[side[k]];
                middle = middle * 0.25;
                depth = middle.z;
                if (len > 0.0) {
                    n = n * (1.0 / len);
                    shade = 0.55 + 0.45 * std::fabs(n.dot(light));
                    double const towardsCentre = n.dot(centre - middle);
                    if (opaque && std::fabs(n.z) > 1e-9 && std::fabs(towardsCentre) > 1e-9
                        && (towardsCentre > 0) == (n.z > 0))
                        continue;
                }
            }
            QRgb const fill = wireframe ? 0u
                                        : qRgba(qRound(qRed(color) * shade), qRound(qGreen(color) * shade),
                                                qRound(qBlue(color) * shade), qAlpha(color));
            if (small) {
                int at = gathered++;
                for (; at > 0 && depths[at - 1] > depth; --at) {
                    depths[at] = depths[at - 1];
                    together[at] = together[at - 1];
                }
                depths[at] = depth;
                together[at] = {s, fill};
                continue;
            }
            ProjectedScene::Face f;
            f.count = 4;
            if (boxFast) {
                f.first = boxPoints;
                f.side = static_cast<quint8>(s);
                f.count = 1;
                f.sides = static_cast<quint32>(out.boxSides.size());
                out.boxSides.push_back({s, fill});
            } else {
                f.first = static_cast<quint32>(out.points.size());
                for (int k = 0; k < 4; ++k)
                    out.points.emplace_back(screen[side[k]].x, screen[side[k]].y);
            }
            f.fill = fill;
            f.outline = wireframe ? (isSelected ? outline : rgbaOf(prop->color)) : outline;
            f.outlineWidth = static_cast<float>(wireframe ? std::max(1.0, prop->lineWidth) : outlineWidth);
            addFace(out, depth, f);
        }
        if (gathered > 0) {
            ProjectedScene::Face f;
            f.first = boxPoints;
            f.count = static_cast<quint32>(gathered);
            f.side = static_cast<quint8>(together[0].side);
            f.sides = static_cast<quint32>(out.boxSides.size());
            out.boxSides.insert(out.boxSides.end(), together, together + gathered);
            f.fill = together[0].fill;
            f.outline = wireframe ? (isSelected ? outline : rgbaOf(prop->color)) : outline;
            f.outlineWidth = static_cast<float>(wireframe ? std::max(1.0, prop->lineWidth) : outlineWidth);
            addFace(out, centre.z, f);
        }
    }
    if (!out.dotGroups.empty() && out.dotGroups.back() == out.dots.size())
        out.dotGroups.pop_back();
    sortByDepth(out);
}

} // namespace App
} // namespace Kav
