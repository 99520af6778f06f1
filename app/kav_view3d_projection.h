#pragma once

#include "kav_view3d_raster.h"

#include "core/kav_transformation.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <utility>
#include <vector>

namespace Kav {
class LabelElement;
namespace MCADCmd {
class Scene;
}
namespace App {

// The scene's solids as the 3D view paints them for one transformation and window size:
// faces from far to near (in `order`), then the dots, then the pull-outs. The view keeps it until the view
// or the scene changes. Left out: what lies outside the window, and the back sides of opaque
// shaded boxes, which their front sides cover; an element smaller than a pixel is one pixel. The
// sides of a box a few pixels across take its centre's place among the faces, together.
struct ProjectedScene {
    static constexpr quint8 NO_SIDE = 0xff;
    struct Face {
        quint32 first = 0;   // into points
        quint32 count = 0;   // 0: one pixel at points[first], in the outline colour
        QRgb fill = 0;   // unpremultiplied, as QColor::rgba()
        QRgb outline = 0;
        float outlineWidth = 1.0f;
        // NO_SIDE: points[first] on are the polygon's own. Else sides of a box, whose centre and
        // half extents' images are points[first] to points[first + 3]: `count` of them, from
        // boxSides[sides] on, far to near; `side` is the first of them.
        quint8 side = NO_SIDE;
        quint32 sides = 0;
    };
    struct BoxSide {
        int side;   // PixelRaster::BOX_SIDES
        QRgb fill;
    };
    // Dots of one colour on the same pixel are one dot that counts them.
    using Dot = PixelRaster::Dot;
    struct PullOut {
        QPointF from;
        QPointF to;
    };

    std::vector<QPointF> points;
    std::vector<Face> faces;   // in scene order
    std::vector<BoxSide> boxSides;
    std::vector<double> depths;   // of the faces, the larger the nearer
    std::vector<quint32> order;   // into faces, far to near
    std::vector<Dot> dots;
    std::vector<quint32> dotGroups;   // where the dots of each element begin
    std::vector<PullOut> pullOuts;
    // The labels of the shown elements, in the scene's order.
    std::vector<LabelElement*> labels;
    // Room for sorting the next projection.
    std::vector<quint64> keys, keyScratch;
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
