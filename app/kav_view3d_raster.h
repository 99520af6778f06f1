#pragma once

#include "kav_view3d_raster_clip.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QRgb>

#include <array>
#include <functional>
#include <vector>

namespace Kav {
namespace App {

// Antialiased shapes drawn straight into the pixels of a premultiplied ARGB32 image, blended
// over what is there. QPainter costs about a microsecond for any shape; the shapes of a large
// scene are a few pixels each, so that setup would be most of the picture's time. Colours are
// unpremultiplied (QColor::rgba()). What lies outside the image is cut off in floating point
// first, so a shape costs what of it is seen, and one with a coordinate that is not finite
// is left out.
class PixelRaster {
public:
    // The image must stay ARGB32_Premultiplied and unshared while the raster draws into it.
    explicit PixelRaster(QImage& image);

    static bool canDrawInto(QImage const& image);

    // The inside of the polygon (overlapping parts count once), edges antialiased by area.
    void fillPolygon(QPointF const* points, int count, QRgb color);
    // The polygon's outline, as QPainter strokes it: a width up to 1 is a one-pixel line,
    // a wider one the band of that width around each edge.
    void strokePolygon(QPointF const* points, int count, bool closed, QRgb color, double width);
    void strokeLine(QPointF const& from, QPointF const& to, QRgb color, double width);
    // One-pixel lines leave out the stretches that will be covered: covered(x, y) says that
    // every pixel less than `reach` pixels from (x, y) will be. An empty function: none.
    void setCovered(std::function<bool(int, int)> covered, int reach);
    // A dash pattern of dash 4 and gap 2 line widths, as Qt::DashLine.
    void strokeDashedLine(QPointF const& from, QPointF const& to, QRgb color, double width);
    void fillEllipse(QPointF const& centre, double radius, QRgb color);
    void strokeEllipse(QPointF const& centre, double radius, QRgb color, double width);
    void fillRect(QRectF const& rect, QRgb color);
    // A square of one pixel centred on the point.
    void fillPixel(QPointF const& centre, QRgb color);
    // A disc of radius 3 centred on the pixel nearest the point.
    void drawDot(QPointF const& centre, QRgb color);

    // The work done so far: pixels, cells and rows visited, dashes laid. Bounded by the
    // picture's size and the number of shapes, whatever their coordinates.
    quint64 work() const { return work_; }

private:
    bool open(double left, double top, double right, double bottom);
    void addEdge(double ax, double ay, double bx, double by);
    void addBand(QPointF const& from, QPointF const& to, double halfWidth, bool capFrom, bool capTo);
    void addBevel(QPointF const& before, QPointF const& corner, QPointF const& after, double halfWidth);
    void accumulate(double x0, double y0, double x1, double y1);
    void close(QRgb color);
    void thinLine(QPointF from, QPointF to, quint32 premultiplied, bool capped);
    // The image grown by `margin` on each side.
    Clip::Rect grown(double margin) const;
    void blend(int x, int y, quint32 premultiplied, unsigned int coverage);

    uchar* bits_;
    qsizetype stride_;
    int width_;
    int height_;
    // The shape being drawn: signed area per cell of its clipped bounding box, and which
    // cells of each row were touched.
    int left_ = 0, top_ = 0, columns_ = 0, rows_ = 0;
    std::vector<float> cells_;
    std::vector<int> rowFirst_;
    std::vector<int> rowLast_;
    // Points round the unit circle by number of sides, the first again at the end.
    std::vector<QPointF> const& circle(int sides);
    std::array<std::vector<QPointF>, 97> circles_;
    std::function<bool(int, int)> covered_;
    int coveredReach_ = 0;
    quint64 work_ = 0;
    // A polygon cut to the image, and room for cutting it.
    std::vector<QPointF> clipped_, clipScratch_;
};

} // namespace App
} // namespace Kav
