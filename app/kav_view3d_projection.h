#pragma once

#include "core/kav_transformation.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <utility>
#include <vector>

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The scene's solids as the 3D view paints them for one transformation and window size:
// faces from far to near, then the dots, then the pull-outs. The view keeps it until the view
// or the scene changes. Left out: what lies outside the window, and the back sides of opaque
// shaded boxes, which their front sides cover; an element smaller than a pixel is one pixel.
struct ProjectedScene {
    struct Face {
        double depth = 0.0;
        quint32 first = 0;   // into points
        quint32 count = 0;   // 0: one pixel at points[first], in the outline colour
        QRgb fill = 0;   // unpremultiplied, as QColor::rgba()
        QRgb outline = 0;
        double outlineWidth = 1.0;
    };
    struct Dot {
        QPointF at;
        QRgb color;
    };
    struct PullOut {
        QPointF from;
        QPointF to;
    };

    std::vector<QPointF> points;
    std::vector<Face> faces;
    std::vector<Dot> dots;
    std::vector<PullOut> pullOuts;
    // Room for the next projection.
    std::vector<Face> unsorted;
    std::vector<std::pair<double, quint32>> order;
};

// Which parts of the window opaque boxes cover, on a grid of 4-pixel cells: a cell counts
// once a box holds it whole, a part of the window once every cell it touches counts.
class Coverage {
public:
    explicit Coverage(QSize const& size);
    void add(QRectF const& box);
    bool covers(QRectF const& area) const;
    // Every pixel less than a cell (4 pixels) from the pixel, after the last add().
    bool coversAround(int x, int y);
    static constexpr int CELL_SIZE = 4;

private:
    bool covered(int x, int y) const;
    void makeInner();
    int columns_;
    int rows_;
    std::vector<unsigned char> cells_;
    // Cells covered with their eight neighbours.
    std::vector<unsigned char> inner_;
};

// Fills `out` anew.
void projectScene(MCADCmd::Scene& scene, Transformation const& t, QSize const& size, ProjectedScene& out);

// The colour with the transparency as alpha, unpremultiplied.
QRgb rgbaOf(quint32 rgb, double transparency = 0.0);
QColor rgbColor(quint32 rgb, double transparency = 0.0);

} // namespace App
} // namespace Kav
