#pragma once
#include "kavhost_export.h"
#include "core/kav_vec.h"

#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <vector>

namespace Kav {
class LabelElement;
namespace GLegend2 {
class GlobalLegend;
}
namespace GCAD {

// Where the colour legend is drawn over the 3D view, and what labels keep off.
struct KAVHOST_EXPORT LegendGeometry {
    QRectF area;             // cells and numbers, with a pixel around; empty when not shown
    QPointF cells;           // top left of the first cell
    double cellWidth = 22.0;
    double stepHeight = 0.0;
    unsigned int steps = 0;
    QString maximum;         // in the user's locale, highest on top
    QString minimum;
    QPointF maximumAt;       // text baselines
    QPointF minimumAt;
    QFont font;

    // The legend as it is drawn with `font` (its size is set here); null or hidden gives none.
    static LegendGeometry of(GLegend2::GlobalLegend const* legend, QFont font);
};

// One label as the picture shows it.
struct KAVHOST_EXPORT PlacedLabel {
    LabelElement* label = nullptr;
    QRectF box;      // the box with its frame, window pixels
    QString text;
    int points = 10;
};

// Which labels the picture shows and where: no box over another, the legend or the axis triad,
// and an automatically placed one wholly in the window. Where
// there is no room a label is left out, in a fixed order: selected elements first, then
// labels placed by hand, then the rest, each in scene order. The labels' positions in the
// scene stay as they are; an automatically placed label may be drawn on another side of its
// anchor, one placed by hand only moves off the legend. The same scene, view, window and font
// always give the same layout; the work grows with the number of labels.
class KAVHOST_EXPORT LabelLayout {
public:
    // Pixels between an automatically placed label and its anchor, as repositionLabels puts it.
    static constexpr double AUTO_OFFSET = 24.0;

    // Lays out the labels `visit` gives (in scene order), the hidden ones and those of hidden
    // elements passed over, over a `size` window with `font` as the labels' base font.
    void layout(std::function<void(std::function<void(LabelElement*)> const&)> const& visit, QFont const& font,
                QSize const& size, LegendGeometry const& legend);

    std::vector<PlacedLabel> const& shown() const { return shown_; }
    // Labels in the window left out for want of room.
    std::size_t hiddenCount() const { return hidden_; }
    // The label's text and box size as drawn with its font size.
    static QString textOf(LabelElement const* label);
    // The lower left corner of a `size` window that the axis triad takes: labels keep off it.
    static QRectF axisArea(QSize const& size);
    // Where the triad's axes start, in the middle of axisArea.
    static QPointF axisOrigin(QSize const& size);

private:
    struct Measured {
        LabelElement const* label = nullptr;
        QString figureText;
        QString contentTemplate;
        void const* owner = nullptr;
        QString ownerName;
        unsigned int ownerType = 0;
        int points = 0;
        QString text;
        double width = 0.0;
        double height = 0.0;
    };
    // The label's measures, added to measured_.
    Measured const& measure(LabelElement* label, QFont const& font);

    std::vector<PlacedLabel> shown_;
    std::size_t hidden_ = 0;
    // By place among the labels laid out, which most labels keep; those of the layout before
    // while this one is made, and where each label lies among them (made when one has moved).
    std::vector<Measured> measured_;
    std::vector<Measured> previous_;
    std::unordered_map<LabelElement const*, std::size_t> byLabel_;
};

} // namespace GCAD
} // namespace Kav
