#include "kav_view3d_projection.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QRectF>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>

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

// Transformation::map without the division, inline: sections map many points.
inline BaVec3d<double> mapAffine(Transformation const& t, BaVec3d<double> const& p)
{
    return BaVec3d<double>(t(0, 0) * p.x + t(0, 1) * p.y + t(0, 2) * p.z + t(0, 3),
                           t(1, 0) * p.x + t(1, 1) * p.y + t(1, 2) * p.z + t(1, 3),
                           t(2, 0) * p.x + t(2, 1) * p.y + t(2, 2) * p.z + t(2, 3));
}

// How many elements ahead the pass over the scene asks for.
constexpr std::size_t PREFETCH_AHEAD = 8;

// Dots are drawn with this radius.
constexpr double DOT_RADIUS = 3.0;

} // namespace

QRgb rgbaOf(quint32 rgb, double transparency)
{
    int const alpha = static_cast<int>(std::lround(std::clamp(1.0 - transparency, 0.0, 1.0) * 255.0));
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

void projectScene(MCADCmd::Scene& scene, Transformation const& t, QSize const& size, ProjectedScene& out)
{
    // Emptied, not freed: the next projection needs about as much room, and fresh memory
    // costs more than reused.
    out.points.clear();
    out.faces.clear();
    out.dots.clear();
    out.pullOuts.clear();
    out.unsorted.clear();
    QSet<QString> const selected(scene.selection().begin(), scene.selection().end());
    BaVec3d<double> const light = BaVec3d<double>(0.3, -0.5, 0.8) * (1.0 / std::sqrt(0.98));
    GLegend2::GlobalLegend const* legend = scene.legend();
    std::vector<ProjectedScene::Face>& faces = out.unsorted;
    bool const affine = t(3, 0) == 0.0 && t(3, 1) == 0.0 && t(3, 2) == 0.0 && t(3, 3) == 1.0;

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
            Bounds bounds;
            for (auto const& sample : samples) {
                BaVec3d<double> const m = affine ? mapAffine(t, sample) : t.map(sample);
                out.points.emplace_back(m.x, m.y);
                bounds.add(m.x, m.y);
            }
            if (bounds.outside(size, margin)) {
                out.points.resize(first);
                continue;
            }
            for (std::size_t i = 0; i < samples.size(); ++i) {
                quint32 const rgb = i < distances.size() ? legend->colorFor(distances[i]) : prop->color;
                out.dots.push_back({out.points[first + i], rgbaOf(rgb, prop->transparency)});
            }
            out.points.push_back(out.points[first]);
            ProjectedScene::Face f;
            f.depth = t.map(e->getCenter()).z;
            f.first = static_cast<quint32>(first);
            f.count = static_cast<quint32>(out.points.size() - first);
            f.fill = 0;
            f.outline = isSelected ? outline : rgbaOf(prop->color, prop->transparency);
            f.outlineWidth = std::max(1.0, prop->lineWidth);
            faces.push_back(f);
            continue;
        }

        BaVec3d<double> const c = e->getCenter();
        BaVec3d<double> const h = e->getHalfExtent();
        std::array<BaVec3d<double>, 8> screen;
        BaVec3d<double> const centre = t.map(c);
        if (affine) {
            // The box's screen extent from the centre's image, before its corners are made.
            double const wx = std::fabs(t(0, 0) * h.x) + std::fabs(t(0, 1) * h.y) + std::fabs(t(0, 2) * h.z);
            double const wy = std::fabs(t(1, 0) * h.x) + std::fabs(t(1, 1) * h.y) + std::fabs(t(1, 2) * h.z);
            Bounds box;
            box.add(centre.x - wx, centre.y - wy);
            box.add(centre.x + wx, centre.y + wy);
            if (box.outside(size, margin))
                continue;
        }
        Bounds bounds;
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
        bool const tiny = bounds.belowPixel();
        if (prop->displayMode == CAD::DISPLAY_POINTS) {
            QRgb const color = rgbaOf(prop->color, prop->transparency);
            if (tiny) {
                out.dots.push_back({QPointF(centre.x, centre.y), color});
            } else {
                for (auto const& s : screen)
                    out.dots.push_back({QPointF(s.x, s.y), color});
            }
            continue;
        }
        bool const wireframe = prop->displayMode == CAD::DISPLAY_WIREFRAME;
        if (tiny) {
            ProjectedScene::Face f;
            f.depth = centre.z;
            f.first = static_cast<quint32>(out.points.size());
            f.count = 0;
            f.outline = wireframe && !isSelected ? rgbaOf(prop->color) : outline;
            out.points.emplace_back(centre.x, centre.y);
            faces.push_back(f);
            continue;
        }
        QRgb const color = rgbaOf(prop->color, prop->transparency);
        bool const opaque = !wireframe && qAlpha(color) == 255;
        // The six sides of the box, as corner indices.
        static constexpr int sides[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
        for (auto const& side : sides) {
            BaVec3d<double> const a = screen[side[1]] - screen[side[0]];
            BaVec3d<double> const b = screen[side[3]] - screen[side[0]];
            BaVec3d<double> n = a.cross(b);
            if (!std::isfinite(n.length()))
                n = shrunk(a).cross(shrunk(b));   // a huge side: its normal's square overflowed
            double const len = n.length();
            double shade = 0.75;
            BaVec3d<double> middle;
            for (int k = 0; k < 4; ++k)
                middle += screen[side[k]];
            middle = middle * 0.25;
            if (len > 0.0) {
                n = n * (1.0 / len);
                shade = 0.55 + 0.45 * std::fabs(n.dot(light));
                // A back side has the box's centre on the viewer's side of its plane.
                double const towardsCentre = n.dot(centre - middle);
                if (opaque && std::fabs(n.z) > 1e-9 && std::fabs(towardsCentre) > 1e-9 && (towardsCentre > 0) == (n.z > 0))
                    continue;
            }
            ProjectedScene::Face f;
            f.depth = middle.z;
            f.first = static_cast<quint32>(out.points.size());
            f.count = 4;
            for (int k = 0; k < 4; ++k)
                out.points.emplace_back(screen[side[k]].x, screen[side[k]].y);
            if (wireframe) {
                f.fill = 0;
                f.outline = isSelected ? outline : rgbaOf(prop->color);
                f.outlineWidth = std::max(1.0, prop->lineWidth);
            } else {
                f.fill = qRgba(qRound(qRed(color) * shade), qRound(qGreen(color) * shade), qRound(qBlue(color) * shade),
                               qAlpha(color));
                f.outline = outline;
                f.outlineWidth = outlineWidth;
            }
            faces.push_back(f);
        }
    }

    // Far sides first; equal depths keep the scene order.
    std::vector<std::pair<double, quint32>>& order = out.order;
    order.resize(faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i)
        order[i] = {faces[i].depth, static_cast<quint32>(i)};
    std::sort(order.begin(), order.end());
    for (auto const& o : order)
        out.faces.push_back(faces[o.second]);
}

} // namespace App
} // namespace Kav
