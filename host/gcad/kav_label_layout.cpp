#include "gcad/kav_label_layout.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "glabel/kav_label_element.h"
#include "glegend2/kav_global_legend.h"

#include <QFontMetricsF>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace Kav {
namespace GCAD {

namespace {

// The placed boxes by cells of the window, so that a box is tested against its neighbours
// only: the work per label stays the same however many there are.
class BoxGrid {
public:
    explicit BoxGrid(QSize const& size)
        : columns_(std::max(1, static_cast<int>(std::ceil(size.width() / CELL)))),
          rows_(std::max(1, static_cast<int>(std::ceil(size.height() / CELL)))),
          cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_))
    {
    }

    // For a box of positive size (the kept ones are), as QRectF::intersects.
    bool isFree(QRectF const& box) const
    {
        int x0, x1, y0, y1;
        span(box, &x0, &x1, &y0, &y1);
        double const left = box.left(), right = box.right(), top = box.top(), bottom = box.bottom();
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                for (QRectF const& other : cells_[index(x, y)]) {
                    if (other.left() < right && left < other.right() && other.top() < bottom && top < other.bottom())
                        return false;
                }
            }
        }
        return true;
    }

    // Kept a pixel apart from what comes later, so that frames do not touch either.
    void add(QRectF const& box)
    {
        QRectF const kept = box.adjusted(-1.0, -1.0, 1.0, 1.0);
        int x0, x1, y0, y1;
        span(kept, &x0, &x1, &y0, &y1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                cells_[index(x, y)].push_back(kept);
        }
    }

private:
    static constexpr double CELL = 64.0;

    // Cells outside the window are those at its edge: a box beyond it is still tested.
    void span(QRectF const& box, int* x0, int* x1, int* y0, int* y1) const
    {
        // Clamped first, so that the conversion, which cuts towards zero, is the floor.
        auto cell = [](double at, int count) {
            return static_cast<int>(std::clamp(at / CELL, 0.0, static_cast<double>(count - 1)));
        };
        *x0 = cell(box.left(), columns_);
        *x1 = cell(box.right(), columns_);
        *y0 = cell(box.top(), rows_);
        *y1 = cell(box.bottom(), rows_);
    }
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(x);
    }

    int columns_;
    int rows_;
    std::vector<std::vector<QRectF>> cells_;
};

// QRectF::intersects for rectangles of positive width and height (labels' boxes and the
// window are), without the call.
bool overlap(QRectF const& a, QRectF const& b)
{
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

bool isFinite(QRectF const& r)
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right()) && std::isfinite(r.bottom());
}

} // namespace

LegendGeometry LegendGeometry::of(GLegend2::GlobalLegend const* legend, QFont font)
{
    LegendGeometry g;
    if (legend == nullptr || !legend->isLegendVisible())
        return g;
    font.setPointSizeF(8.0);
    g.font = font;
    QFontMetrics const metrics(font);
    g.steps = std::max(1u, legend->getSteps());
    g.stepHeight = std::clamp(200.0 / g.steps, 2.0, 24.0);
    g.maximum = QLocale().toString(legend->getMaximum(), 'g', 4);
    g.minimum = QLocale().toString(legend->getMinimum(), 'g', 4);
    BaVec2d<double> const at = legend->getPosition();
    g.cells = QPointF(at.x, at.y);
    double const textWidth = std::max(metrics.horizontalAdvance(g.maximum), metrics.horizontalAdvance(g.minimum));
    g.area = QRectF(at.x - 1.0, at.y - 1.0, g.cellWidth + 4.0 + textWidth + 2.0,
                    std::max(g.steps * g.stepHeight, static_cast<double>(metrics.height())) + metrics.descent() + 2.0);
    g.maximumAt = QPointF(at.x + g.cellWidth + 4.0, at.y + metrics.ascent());
    g.minimumAt = QPointF(at.x + g.cellWidth + 4.0, at.y + g.steps * g.stepHeight);
    return g;
}

QString LabelLayout::textOf(LabelElement const* label)
{
    QString text = label->getLabelFigText()->getText();
    if (text.isEmpty()) {
        text = Fig2::Label::fill(label->getContentTemplate(), label->getOwner()->getName(),
                                 CAD::ElementCreator::getTypeName(label->getOwner()->getElementType()), QString());
    }
    return text;
}

QPointF LabelLayout::axisOrigin(QSize const& size)
{
    return QPointF(40.0, size.height() - 40.0);
}

QRectF LabelLayout::axisArea(QSize const& size)
{
    // Axes of 25 pixels in any direction and their letters beyond the ends.
    QPointF const o = axisOrigin(size);
    return QRectF(o.x() - 30.0, o.y() - 40.0, 80.0, 70.0);
}

LabelLayout::Measured const& LabelLayout::measure(LabelElement* label, QFont const& font)
{
    // Taken over from the last layout: at the same place among the labels, as long as the
    // scene stays as it was, else found by label. What the text is made of says whether it
    // is still the same.
    std::size_t const at = measured_.size();
    Measured* before = nullptr;
    if (at < previous_.size() && previous_[at].label == label) {
        before = &previous_[at];
    } else if (!previous_.empty()) {
        if (byLabel_.empty()) {
            for (std::size_t i = 0; i < previous_.size(); ++i)
                byLabel_.emplace(previous_[i].label, i);
        }
        auto const found = byLabel_.find(label);
        if (found != byLabel_.end() && previous_[found->second].label == label)
            before = &previous_[found->second];
    }
    measured_.push_back(before != nullptr ? std::move(*before) : Measured());
    if (before != nullptr)
        before->label = nullptr;
    Measured* m = &measured_.back();
    m->label = label;
    CAD::Element const* e = label->getOwner();
    int const points = static_cast<int>(std::clamp(label->getFontSize(), 6u, 48u));
    QString const& figureText = label->getLabelFigText()->getText();
    if (m->points == points && m->figureText == figureText
        && (!figureText.isEmpty()
            || (m->contentTemplate == label->getContentTemplate() && m->owner == e && m->ownerName == e->getName()
                && m->ownerType == e->getElementType())))
        return *m;
    m->figureText = figureText;
    m->contentTemplate = label->getContentTemplate();
    m->owner = e;
    m->ownerName = e->getName();
    m->ownerType = e->getElementType();
    m->points = points;
    m->text = textOf(label);
    QFont sized = font;
    sized.setPointSizeF(points);
    QFontMetricsF const metrics(sized);
    m->width = std::ceil(metrics.horizontalAdvance(m->text)) + 10.0;
    m->height = std::ceil(metrics.height()) + 6.0;
    return *m;
}

void LabelLayout::layout(std::function<void(std::function<void(LabelElement*)> const&)> const& visit,
                         QFont const& font, QSize const& size, LegendGeometry const& legend)
{
    shown_.clear();
    hidden_ = 0;
    struct Candidate {
        std::size_t measured;   // into measured_
        BaVec2d<double> pos;
        bool automatic;
        int rank;   // 0 selected, 1 placed by hand, 2 the rest
        QRectF placed;
    };
    // What the last layout measured, to be found by label where the scene changed.
    measured_.swap(previous_);
    measured_.clear();
    byLabel_.clear();
    std::vector<Candidate> candidates;
    QRectF const window(QPointF(0.0, 0.0), QSizeF(size));
    visit([&](LabelElement* label) {
        CAD::Element* e = label != nullptr ? label->getOwner() : nullptr;
        if (e == nullptr || !label->isLabelVisible() || !e->isVisible(CAD::VISIBLE_IN_SCENE))
            return;
        BaVec2d<double> const& pos = label->getPosition();
        if (!std::isfinite(pos.x) || !std::isfinite(pos.y))
            return;
        std::size_t const at = measured_.size();
        Measured const& m = measure(label, font);
        QRectF const wanted(pos.x, pos.y, m.width, m.height);
        // Out of the window is out of the picture, with or without room.
        if (m.text.isEmpty() || !isFinite(wanted) || window.isEmpty() || !overlap(wanted, window))
            return;
        int const rank = e->getElemProperties()->selected != 0 ? 0 : (label->isAutoLabelPlacement() ? 2 : 1);
        candidates.push_back({at, pos, label->isAutoLabelPlacement(), rank, QRectF()});
    });
    previous_.clear();
    byLabel_.clear();

    BoxGrid grid(size);
    if (!legend.area.isEmpty())
        grid.add(legend.area);
    grid.add(axisArea(size));
    for (int rank = 0; rank < 3; ++rank) {
        for (Candidate& c : candidates) {
            if (c.rank != rank)
                continue;
            BaVec2d<double> const& pos = c.pos;
            Measured const& m = measured_[c.measured];
            double const w = m.width, h = m.height;
            std::array<QRectF, 8> places;
            std::size_t count = 0;
            places[count++] = QRectF(pos.x, pos.y, w, h);
            if (c.automatic) {
                // The other sides of the anchor, then the same a step further out.
                double const ax = pos.x - AUTO_OFFSET, ay = pos.y + AUTO_OFFSET;
                for (double d : {AUTO_OFFSET, 2.0 * AUTO_OFFSET}) {
                    for (QPointF const& corner : {QPointF(ax + d, ay - d), QPointF(ax - d - w, ay - d),
                                                  QPointF(ax + d, ay + d - h), QPointF(ax - d - w, ay + d - h)}) {
                        QRectF const r(corner, QSizeF(w, h));
                        if (r != places[0] && count < places.size())
                            places[count++] = r;
                    }
                }
            } else if (places[0].intersects(legend.area)) {
                // Placed by hand: only off the legend, the shortest way, one that stays in the window first.
                QRectF const& b = places[0];
                QRectF const& l = legend.area;
                constexpr double gap = 4.0;
                std::array<QRectF, 4> moves = {b.translated(l.right() + gap - b.left(), 0.0),
                                               b.translated(l.left() - gap - b.right(), 0.0),
                                               b.translated(0.0, l.bottom() + gap - b.top()),
                                               b.translated(0.0, l.top() - gap - b.bottom())};
                auto cost = [&b, &window](QRectF const& r) {
                    QPointF const d = r.topLeft() - b.topLeft();
                    return (window.contains(r) ? 0.0 : 1e300) + std::fabs(d.x()) + std::fabs(d.y());
                };
                std::stable_sort(moves.begin(), moves.end(),
                                 [&cost](QRectF const& a, QRectF const& b2) { return cost(a) < cost(b2); });
                for (QRectF const& r : moves)
                    places[count++] = r;
            }
            for (std::size_t i = 0; i < count; ++i) {
                QRectF const& r = places[i];
                // One placed by hand stays where it was put, even partly out of the window.
                bool const inWindow = c.automatic ? window.contains(r) : overlap(r, window);
                if (isFinite(r) && inWindow && grid.isFree(r)) {
                    c.placed = r;
                    grid.add(r);
                    break;
                }
            }
            if (c.placed.isNull())
                ++hidden_;
        }
    }
    for (Candidate const& c : candidates) {
        Measured const& m = measured_[c.measured];
        if (!c.placed.isNull())
            shown_.push_back({const_cast<LabelElement*>(m.label), c.placed, m.text, m.points});
    }
}

} // namespace GCAD
} // namespace Kav
