#include "kav_view3d_raster.h"

#include <QPainter>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace Kav {
namespace App {

namespace {

// x * a / 255 for the four channels at once.
inline quint32 byteMul(quint32 x, quint32 a)
{
    quint32 t = (x & 0xff00ffu) * a;
    t = ((t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = (x + ((x >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return x | t;
}

// The pixels a disc of radius 3 covers in an 8 x 8 square, centred on its middle corner.
struct DotMask {
    int count = 0;
    std::array<int, 64> x{}, y{};
    std::array<unsigned int, 64> coverage{};
    // By row, and where each row's covered pixels begin (the disc is symmetric, they end as far
    // from the right).
    std::array<std::array<unsigned int, 8>, 8> rows{};
    std::array<int, 8> firstColumn{};
};

DotMask const& dotMask()
{
    static DotMask const mask = [] {
        QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(4.0, 4.0), 3.0, 3.0);
        p.end();
        DotMask m;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                unsigned int const alpha = static_cast<unsigned int>(qAlpha(image.pixel(x, y)));
                if (alpha == 0)
                    continue;
                std::size_t const i = static_cast<std::size_t>(m.count++);
                m.x[i] = x;
                m.y[i] = y;
                m.coverage[i] = alpha;
            }
        }
        for (int y = 0; y < 8; ++y) {
            int first = 4;
            for (int x = 0; x < 8; ++x) {
                unsigned int const alpha = static_cast<unsigned int>(qAlpha(image.pixel(x, y)));
                m.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = alpha;
                if (alpha != 0 || qAlpha(image.pixel(7 - x, y)) != 0)
                    first = std::min(first, x);
            }
            m.firstColumn[static_cast<std::size_t>(y)] = first;
        }
        return m;
    }();
    return mask;
}

// Source over with the colour's share of the pixel.
inline void blendPixel(quint32& pixel, quint32 premultiplied, unsigned int coverage)
{
    if (coverage == 0)
        return;
    quint32 const s = coverage >= 255 ? premultiplied : byteMul(premultiplied, coverage);
    quint32 const alpha = s >> 24;
    pixel = alpha == 255 ? s : s + byteMul(pixel, 255 - alpha);
}

// Source over of one colour on `count` pixels in a row.
void blendSpan(quint32* pixels, int count, quint32 color)
{
    quint32 const alpha = color >> 24;
    if (alpha == 255) {
        std::fill_n(pixels, std::max(0, count), color);
        return;
    }
    if (alpha == 0 && color == 0)
        return;
    int x = 0;
#ifdef __SSE2__
    // Four pixels at a time, each channel in 16 bits: pixel * (255 - alpha) / 255 + colour.
    __m128i const zero = _mm_setzero_si128();
    __m128i const keep = _mm_set1_epi16(static_cast<short>(255 - alpha));
    __m128i const half = _mm_set1_epi16(128);
    __m128i const source = _mm_set1_epi32(static_cast<int>(color));
    auto scale = [&](__m128i v) {
        v = _mm_add_epi16(_mm_mullo_epi16(v, keep), half);
        return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
    };
    for (; x + 4 <= count; x += 4) {
        __m128i const d = _mm_loadu_si128(reinterpret_cast<__m128i const*>(pixels + x));
        __m128i const low = scale(_mm_unpacklo_epi8(d, zero));
        __m128i const high = scale(_mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + x), _mm_add_epi8(_mm_packus_epi16(low, high), source));
    }
#endif
    for (; x < count; ++x)
        pixels[x] = color + byteMul(pixels[x], 255 - alpha);
}

// blendPixel on two pixels at once.
inline void blendPair(quint32& first, quint32& second, quint32 premultiplied, unsigned int firstCoverage,
                      unsigned int secondCoverage)
{
#ifdef __SSE2__
    __m128i const zero = _mm_setzero_si128();
    __m128i const half = _mm_set1_epi16(128);
    auto div255 = [&](__m128i v) {
        v = _mm_add_epi16(v, half);
        return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
    };
    __m128i const pixels = _mm_unpacklo_epi8(
        _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(first)), _mm_cvtsi32_si128(static_cast<int>(second))),
        zero);
    __m128i const colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(premultiplied)), zero);
    short const a = static_cast<short>(std::min(255u, firstCoverage));
    short const b = static_cast<short>(std::min(255u, secondCoverage));
    __m128i const source = div255(_mm_mullo_epi16(colour, _mm_set_epi16(b, b, b, b, a, a, a, a)));
    __m128i const alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xff), 0xff);
    __m128i const kept = div255(_mm_mullo_epi16(pixels, _mm_sub_epi16(_mm_set1_epi16(255), alpha)));
    __m128i const result = _mm_packus_epi16(_mm_add_epi16(kept, source), zero);
    first = static_cast<quint32>(_mm_cvtsi128_si32(result));
    second = static_cast<quint32>(_mm_cvtsi128_si32(_mm_srli_si128(result, 4)));
#else
    blendPixel(first, premultiplied, firstCoverage);
    blendPixel(second, premultiplied, secondCoverage);
#endif
}

unsigned int coverageOf(double c)
{
    return static_cast<unsigned int>(std::min(1.0, std::fabs(c)) * 255.0 + 0.5);
}

constexpr int MAX_SIDES = 96;

int sidesFor(double radius)
{
    return std::clamp(static_cast<int>(std::ceil(radius * 4.0)), 12, MAX_SIDES);
}

} // namespace

bool PixelRaster::canDrawInto(QImage const& image)
{
    return image.format() == QImage::Format_ARGB32_Premultiplied && !image.isNull();
}

PixelRaster::PixelRaster(QImage& image)
    // No detach: a painter may be drawing into the same pixels meanwhile.
    : bits_(const_cast<uchar*>(static_cast<QImage const&>(image).constBits())),
      stride_(image.bytesPerLine()),
      width_(image.width()),
      height_(image.height())
{
}

void PixelRaster::blend(int x, int y, quint32 premultiplied, unsigned int coverage)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    blendPixel(reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(y) * stride_)[x], premultiplied, coverage);
}

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
    int const first = static_cast<int>(y0);
    int const last = std::min(rows_, static_cast<int>(std::ceil(y1)));
    for (int y = first; y < last; ++y) {
        float* row = cells_.data() + static_cast<std::size_t>(y) * stride;
        double const dy = std::min(y + 1.0, y1) - std::max(static_cast<double>(y), y0);
        double const xnext = x + dxdy * dy;
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
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (int i = 0; i < count; ++i) {
        left = std::min(left, points[i].x());
        right = std::max(right, points[i].x());
        top = std::min(top, points[i].y());
        bottom = std::max(bottom, points[i].y());
    }
    if (!open(left, top, right, bottom))
        return;
    for (int i = 0; i < count; ++i) {
        QPointF const& a = points[i];
        QPointF const& b = points[(i + 1) % count];
        addEdge(a.x(), a.y(), b.x(), b.y());
    }
    close(color);
}

// As QPainter's one-pixel pen: along the major axis, each pixel row (or column) gets the
// part of the line that lies in it, shared by the two pixels across whose centres the line
// passes there. A square cap lengthens the line by half a pixel along that axis.
void PixelRaster::thinLine(QPointF const& from, QPointF const& to, quint32 premultiplied, bool capped)
{
    double const dx = to.x() - from.x();
    double const dy = to.y() - from.y();
    bool const steep = std::fabs(dy) > std::fabs(dx);
    double const a0 = steep ? from.y() : from.x();
    double const a1 = steep ? to.y() : to.x();
    double const b0 = steep ? from.x() : from.y();
    double const slope = steep ? dx / dy : dy / dx;
    double const extent = steep ? height_ : width_;
    double const across = steep ? width_ : height_;
    if (a0 == a1 || !std::isfinite(a0 + a1 + b0 + slope))
        return;
    double const cap = capped ? 0.5 : 0.0;
    // With a cap QPainter takes the line's place half a pixel along from each pixel's centre,
    // forwards or back as the start lies in its pixel; the same here, so both look alike.
    double const start = std::min(a0, a1);
    double const shift = capped ? (start - std::floor(start) >= 0.5 ? -0.5 : 0.5) : 0.0;
    double const low = start - cap;
    double const high = std::max(a0, a1) + cap;
    double const b1 = steep ? to.x() : to.y();
    // Most lines lie inside the image: their pixels need no test.
    bool const inside = low >= 0.0 && high < extent && std::min(b0, b1) >= 2.0 && std::max(b0, b1) < across - 3.0;
    double kLow = inside ? low : std::clamp(low, 0.0, extent);
    double kHigh = inside ? high : std::clamp(high, 0.0, extent - 1.0);
    if (!inside && slope != 0.0) {
        // Only where the line is across the image.
        double const t1 = (-1.5 - b0) / slope + a0 - 0.5 - shift;
        double const t2 = (across + 1.5 - b0) / slope + a0 - 0.5 - shift;
        kLow = std::max(kLow, std::floor(std::min(t1, t2)));
        kHigh = std::min(kHigh, std::ceil(std::max(t1, t2)));
    }
    if (kLow > kHigh)
        return;
    int const first = static_cast<int>(std::floor(kLow));
    int const last = static_cast<int>(std::floor(kHigh));
    if (slope == 0.0 && !covered_ && last - first > 2) {
        // Along a row or column: the middle runs at one coverage.
        double const b = b0 - 0.5;
        int const bi = static_cast<int>(std::floor(std::clamp(b, -2.0, across + 1.0)));
        unsigned int const far = static_cast<unsigned int>((b - std::floor(b)) * 255.0 + 0.5);
        auto endPart = [&](int k) {
            return static_cast<unsigned int>(
                std::clamp(std::min(k + 1.0, high) - std::max(static_cast<double>(k), low), 0.0, 1.0) * 256.0);
        };
        for (int side = 0; side < 2; ++side) {
            int const row = bi + side;
            unsigned int const coverage = side == 0 ? 255 - far : far;
            if (row < 0 || row >= static_cast<int>(across) || coverage == 0)
                continue;
            for (int k : {first, last})
                steep ? blend(row, k, premultiplied, (coverage * endPart(k)) >> 8)
                      : blend(k, row, premultiplied, (coverage * endPart(k)) >> 8);
            quint32 const color = coverage >= 255 ? premultiplied : byteMul(premultiplied, coverage);
            if (!steep) {
                blendSpan(reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(row) * stride_) + first + 1,
                          last - first - 1, color);
            } else {
                for (int k = first + 1; k < last; ++k)
                    blendPixel(reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(k) * stride_)[row], color, 255);
            }
        }
        return;
    }
    // Stretches short enough that their pixels lie within the covered reach of the first.
    int const stretch = covered_ ? std::max(1, coveredReach_ - 1) : INT_MAX;
    int stretchEnd = first;
    // The place across in 16.16 fixed point, a step per pixel along.
    double const b = std::clamp(b0 + (first + 0.5 + shift - a0) * slope - 0.5, -1e9, 1e9);
    qint64 across16 = static_cast<qint64>(std::floor(b * 65536.0));
    qint64 const step16 = static_cast<qint64>(std::llround(slope * 65536.0));
    int const acrossLimit = static_cast<int>(across) - 1;
    for (int k = first; k <= last; ++k, across16 += step16) {
        if (k == stretchEnd && covered_) {
            stretchEnd = k + stretch;
            int const bi = static_cast<int>(across16 >> 16) + ((across16 >> 15) & 1);
            if (steep ? covered_(bi, k) : covered_(k, bi)) {
                int const skip = std::min(stretchEnd, last + 1) - k - 1;
                k += skip;
                across16 += step16 * skip;
                continue;
            }
        }
        unsigned int part = 256;
        if (k == first || k == last)
            part = static_cast<unsigned int>(
                std::clamp(std::min(k + 1.0, high) - std::max(static_cast<double>(k), low), 0.0, 1.0) * 256.0);
        int const bi = static_cast<int>(across16 >> 16);
        unsigned int const far = static_cast<unsigned int>((across16 >> 8) & 0xff);
        unsigned int const farCoverage = (far * part) >> 8;
        unsigned int const nearCoverage = ((255 - far) * part) >> 8;
        if (inside || (bi >= 0 && bi < acrossLimit)) {
            if (steep) {
                auto* line = reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(k) * stride_) + bi;
                blendPair(line[0], line[1], premultiplied, nearCoverage, farCoverage);
            } else {
                auto* pixel = reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(bi) * stride_) + k;
                blendPair(*pixel, *reinterpret_cast<quint32*>(reinterpret_cast<uchar*>(pixel) + stride_),
                          premultiplied, nearCoverage, farCoverage);
            }
        } else if (steep) {
            blend(bi, k, premultiplied, nearCoverage);
            blend(bi + 1, k, premultiplied, farCoverage);
        } else {
            blend(k, bi, premultiplied, nearCoverage);
            blend(k, bi + 1, premultiplied, farCoverage);
        }
    }
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
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (int i = 0; i < count; ++i) {
        left = std::min(left, points[i].x());
        right = std::max(right, points[i].x());
        top = std::min(top, points[i].y());
        bottom = std::max(bottom, points[i].y());
    }
    double const half = width / 2.0;
    if (!open(left - width, top - width, right + width, bottom + width))
        return;
    // As QPainter's default pen: square caps at the ends, bevels at the corners.
    for (int i = 0; i < segments; ++i)
        addBand(points[i], points[(i + 1) % count], half, !closed && i == 0, !closed && i + 1 == segments);
    for (int i = closed ? 0 : 1; i < (closed ? count : count - 1); ++i)
        addBevel(points[(i + count - 1) % count], points[i], points[(i + 1) % count], half);
    close(color);
}

void PixelRaster::setCovered(std::function<bool(int, int)> covered, int reach)
{
    covered_ = std::move(covered);
    coveredReach_ = reach;
}

void PixelRaster::strokeLine(QPointF const& from, QPointF const& to, QRgb color, double width)
{
    QPointF const points[2] = {from, to};
    strokePolygon(points, 2, false, color, width);
}

void PixelRaster::strokeDashedLine(QPointF const& from, QPointF const& to, QRgb color, double width)
{
    QPointF const d = to - from;
    double const length = std::hypot(d.x(), d.y());
    double const w = std::max(1.0, width);
    if (!(length > 0.0) || qAlpha(color) == 0)
        return;
    if (!open(std::min(from.x(), to.x()) - w, std::min(from.y(), to.y()) - w, std::max(from.x(), to.x()) + w,
              std::max(from.y(), to.y()) + w))
        return;
    QPointF const unit = d / length;
    for (double start = 0.0; start < length; start += 6.0 * w)
        addBand(from + unit * start, from + unit * std::min(length, start + 4.0 * w), w / 2.0, true, true);
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

void PixelRaster::fillRect(QRectF const& rect, QRgb color)
{
    double const left = std::max(0.0, rect.left());
    double const right = std::min(static_cast<double>(width_), rect.right());
    double const top = std::max(0.0, rect.top());
    double const bottom = std::min(static_cast<double>(height_), rect.bottom());
    if (!(left < right && top < bottom) || qAlpha(color) == 0)
        return;
    quint32 const premultiplied = qPremultiply(color);
    int const x0 = static_cast<int>(std::floor(left));
    int const x1 = static_cast<int>(std::ceil(right)) - 1;
    int const y0 = static_cast<int>(std::floor(top));
    int const y1 = static_cast<int>(std::ceil(bottom)) - 1;
    // The covered part of the first and last column and row.
    auto part = [](int i, double low, double high) {
        return std::clamp(std::min(i + 1.0, high) - std::max(static_cast<double>(i), low), 0.0, 1.0);
    };
    double const firstColumn = part(x0, left, right);
    double const lastColumn = part(x1, left, right);
    for (int y = y0; y <= y1; ++y) {
        double const rowPart = part(y, top, bottom);
        auto* line = reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(y) * stride_);
        blendPixel(line[x0], premultiplied, coverageOf(firstColumn * rowPart));
        if (x1 == x0)
            continue;
        unsigned int const inner = coverageOf(rowPart);
        blendSpan(line + x0 + 1, x1 - x0 - 1, inner >= 255 ? premultiplied : byteMul(premultiplied, inner));
        blendPixel(line[x1], premultiplied, coverageOf(lastColumn * rowPart));
    }
}

void PixelRaster::fillPixel(QPointF const& centre, QRgb color)
{
    double const left = centre.x() - 0.5;
    double const top = centre.y() - 0.5;
    if (!(left > -1.0 && top > -1.0 && left < width_ && top < height_))
        return;
    double const lf = std::floor(left);
    double const tf = std::floor(top);
    int const x = static_cast<int>(lf);
    int const y = static_cast<int>(tf);
    double const fx = left - lf;
    double const fy = top - tf;
    quint32 const premultiplied = qPremultiply(color);
    blend(x, y, premultiplied, coverageOf((1.0 - fx) * (1.0 - fy)));
    blend(x + 1, y, premultiplied, coverageOf(fx * (1.0 - fy)));
    blend(x, y + 1, premultiplied, coverageOf((1.0 - fx) * fy));
    blend(x + 1, y + 1, premultiplied, coverageOf(fx * fy));
}

void PixelRaster::drawDot(QPointF const& centre, QRgb color)
{
    double const cx = std::round(centre.x());
    double const cy = std::round(centre.y());
    if (!(cx > -8.0 && cy > -8.0 && cx < width_ + 8.0 && cy < height_ + 8.0))
        return;
    int const left = static_cast<int>(cx) - 4;
    int const top = static_cast<int>(cy) - 4;
    quint32 const premultiplied = qPremultiply(color);
    DotMask const& mask = dotMask();
    if (left >= 0 && top >= 0 && left + 8 <= width_ && top + 8 <= height_) {
        uchar* const origin = bits_ + static_cast<qsizetype>(top) * stride_;
        for (int y = 0; y < 8; ++y) {
            auto* line = reinterpret_cast<quint32*>(origin + static_cast<qsizetype>(y) * stride_) + left;
            unsigned int const* row = mask.rows[static_cast<std::size_t>(y)].data();
            for (int x = mask.firstColumn[static_cast<std::size_t>(y)]; x < 8 - mask.firstColumn[static_cast<std::size_t>(y)]; x += 2)
                blendPair(line[x], line[x + 1], premultiplied, row[x], row[x + 1]);
        }
        return;
    }
    for (int i = 0; i < mask.count; ++i)
        blend(left + mask.x[i], top + mask.y[i], premultiplied, mask.coverage[i]);
}

} // namespace App
} // namespace Kav
