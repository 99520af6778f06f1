#pragma once

#include "kav_view3d_raster_clip.h"
#include "kav_view3d_sprites.h"

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
    // A disc of radius 3 centred on the pixel nearest the point, `count` times over.
    void drawDot(QPointF const& centre, QRgb color, quint32 count = 1);
    // The same, centred on the pixel (cx, cy).
    void drawDotAt(int cx, int cy, QRgb color, quint32 count);
    struct Dot {
        int x, y;   // the pixel it centres on
        QRgb color;
        quint32 count;
    };
    // Dots one after the other as drawDotAt draws them; a group drawn again elsewhere, in
    // other colours, is drawn from its sprite.
    void drawDots(Dot const* dots, int count);
    // The pixel nearest a coordinate of a dot, halves away from zero (a coordinate within
    // the int range).
    static int dotPixel(double at) { return static_cast<int>(at + (at < 0.0 ? -0.5 : 0.5)); }

    // Small shapes drawn again from the sprites kept there (null: none).
    void setSprites(SpriteCache* sprites) { sprites_ = sprites; }
    // The polygon filled, then (when `outlined`) its closed outline stroked.
    void drawFace(QPointF const* points, int count, QRgb fill, QRgb outline, double width, bool outlined);
    // The sides of a box by its corners (bit 0: +x, bit 1: +y, bit 2: +z).
    static constexpr int BOX_SIDES[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    // The corners of side `side` of the box whose centre, then images of its half extents
    // along x, y and z are box[0] to box[3].
    static void boxSideCorners(QPointF const* box, int side, QPointF* corners);
    // Sides of that box one after the other (`count`, up to six), each as drawFace draws it with
    // its fill and the box's outline: boxes of the same half extents share their sides' shapes.
    void drawBoxSides(QPointF const* box, int const* sides, QRgb const* fills, int count, QRgb outline, double width,
                      bool outlined);
    // A dashed line to a ring of `radius` filled with `fill`, as a pull-out marks a value.
    void drawPullOut(QPointF const& from, QPointF const& to, QRgb color, double width, double radius, QRgb fill);

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
    // The sprite's layers blended over the pixels from (x, y) with the given colours, the
    // layers not in `shown` (bits) left out; false when it would not lie inside the image.
    // A picture sprite's pixels over the image's from (x, y); false as drawSprite.
    bool drawPicture(SpriteCache::Sprite const& sprite, int x, int y);
    bool drawSprite(SpriteCache::Sprite const& sprite, int x, int y, quint32 const* colors, unsigned int shown);
    // Where a sprite's first point lies: its pixel, and its place within it in sixteenths.
    // False when the points do not all lie within the sprites' reach of it or `reach` pixels
    // around them would leave the image.
    bool spriteKey(QPointF const* points, int count, double reach, int* x, int* y, qint32* key);
    // The first point's part of that: false when it lies too near the image's sides.
    bool spritePlace(QPointF const& first, double reach, int* x, int* y, qint32* place) const;

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
    SpriteCache* sprites_ = nullptr;
    std::vector<qint32> key_;
    std::vector<QPointF> canonical_;
    // Dots drawn more than once on a pixel: the alpha they leave, by count (up to
    // MAX_DOT_STACK, beyond which nothing changes) and alpha, made as needed.
    static constexpr quint32 MAX_DOT_STACK = 64;
    std::vector<std::array<uchar, 64>> dotStacks_;
    std::vector<int> dotStackIndex_;
    // The shapes of the last boxes drawn: the images of their half extents, and the first part
    // of their sprite key (the corners relative to the first one) with its hash.
    struct BoxShape {
        double steps[6] = {};
        bool used = false;
        bool fits = false;
        qint32 key[15] = {};
        quint64 hash = 0;
    };
    std::array<BoxShape, 8> boxShapes_;
    std::size_t nextBoxShape_ = 0;
};

} // namespace App
} // namespace Kav
