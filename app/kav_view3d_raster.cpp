#include "kav_view3d_raster.h"
#include "kav_view3d_raster_blend.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace Kav {
namespace App {

using namespace Blend;

namespace {

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

// As QPainter's one-pixel pen: along the major axis, each pixel row (or column) gets the
// part of the line that lies in it, shared by the two pixels across whose centres the line
// passes there. A square cap lengthens the line by half a pixel along that axis.
void PixelRaster::thinLine(QPointF from, QPointF to, quint32 premultiplied, bool capped)
{
    bool const steep = std::fabs(to.y() * 0.5 - from.y() * 0.5) > std::fabs(to.x() * 0.5 - from.x() * 0.5);
    // A capped line's place depends on where its start lies in its pixel (below): taken
    // before a cut moves the start.
    double const uncut = capped ? std::min(steep ? from.y() : from.x(), steep ? to.y() : to.x()) : 0.0;
    bool const startsLate = uncut - std::floor(uncut) >= 0.5;
    if (!Clip::segment(from, to, grown(4.0)))
        return;
    double const dx = to.x() - from.x();
    double const dy = to.y() - from.y();
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
    double const shift = capped ? (startsLate ? -0.5 : 0.5) : 0.0;
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
    work_ += static_cast<quint64>(last - first + 1);
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

Clip::Rect PixelRaster::grown(double margin) const
{
    return Clip::Rect{-margin, -margin, width_ + margin, height_ + margin};
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

void PixelRaster::fillRect(QRectF const& rect, QRgb color)
{
    double const left = std::max(0.0, rect.left());
    double const right = std::min(static_cast<double>(width_), rect.right());
    double const top = std::max(0.0, rect.top());
    double const bottom = std::min(static_cast<double>(height_), rect.bottom());
    // Not a number: max and min would have put the image's own sides in its place.
    bool const nan = std::isnan(rect.left()) || std::isnan(rect.top()) || std::isnan(rect.right()) || std::isnan(rect.bottom());
    if (!(left < right && top < bottom) || qAlpha(color) == 0 || nan)
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
    work_ += static_cast<quint64>(y1 - y0 + 1) * static_cast<quint64>(x1 - x0 + 1);
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
    work_ += 4;
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
    work_ += static_cast<quint64>(mask.count);
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
