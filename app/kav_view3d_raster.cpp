#include "kav_view3d_raster.h"
#include "kav_view3d_raster_blend.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>

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
    std::array<uchar, 64> bytes{};   // the coverage, row by row
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
                m.bytes[static_cast<std::size_t>(y * 8 + x)] = static_cast<uchar>(alpha);
                if (alpha != 0 || qAlpha(image.pixel(7 - x, y)) != 0)
                    first = std::min(first, x);
            }
            m.firstColumn[static_cast<std::size_t>(y)] = first;
        }
        return m;
    }();
    return mask;
}

#ifdef KAV_BLEND_AVX2
// The rows of a dot, eight pixels each.
__attribute__((target("avx2"))) void dotRowsWide(uchar* origin, qsizetype stride, int left, uchar const* coverage,
                                                 quint32 premultiplied)
{
    __m256i const colour = wideColour(premultiplied);
    for (int y = 0; y < 8; ++y, coverage += 8) {
        quint64 row;
        std::memcpy(&row, coverage, sizeof row);
        blendOct(reinterpret_cast<quint32*>(origin + static_cast<qsizetype>(y) * stride) + left, colour, row);
    }
}

// A sprite's rows eight pixels at a time (the last four alone), each pixel taken once through
// the layers in `shown` (bits) that the row has pixels of.
__attribute__((target("avx2"))) void spriteWide(uchar* origin, qsizetype stride, SpriteCache::Sprite const& sprite,
                                                uchar const* coverage, quint16 const* rows, quint32 const* colors,
                                                unsigned int shown)
{
    __m256i wide[SpriteCache::MAX_LAYERS];
    for (unsigned int bits = shown; bits != 0; bits &= bits - 1)
        wide[__builtin_ctz(bits)] = wideColour(colors[__builtin_ctz(bits)]);
    __m256i const zero = _mm256_setzero_si256();
    int const octs = sprite.width & ~7;
    for (int row = 0; row < sprite.height; ++row, coverage += sprite.width * sprite.layers) {
        unsigned int const active = shown & rows[row];
        if (active == 0)
            continue;
        int layers[SpriteCache::MAX_LAYERS];
        int count = 0;
        for (unsigned int bits = active; bits != 0; bits &= bits - 1)
            layers[count++] = __builtin_ctz(bits);
        auto* line = reinterpret_cast<quint32*>(origin + static_cast<qsizetype>(row) * stride);
        for (int column = 0; column < octs; column += 8) {
            quint64 cover[SpriteCache::MAX_LAYERS];
            quint64 any = 0;
            for (int i = 0; i < count; ++i) {
                std::memcpy(&cover[i], coverage + layers[i] * sprite.width + column, sizeof(quint64));
                any |= cover[i];
            }
            if (any == 0)
                continue;
            __m256i const d = _mm256_loadu_si256(reinterpret_cast<__m256i const*>(line + column));
            __m256i low = _mm256_unpacklo_epi8(d, zero), high = _mm256_unpackhi_epi8(d, zero);
            for (int i = 0; i < count; ++i) {
                if (cover[i] == 0)
                    continue;
                __m128i const c = _mm_cvtsi64_si128(static_cast<long long>(cover[i]));
                __m256i const words = _mm256_cvtepu8_epi16(_mm_unpacklo_epi8(c, c));
                low = overWide(wide[layers[i]], _mm256_unpacklo_epi32(words, words), low);
                high = overWide(wide[layers[i]], _mm256_unpackhi_epi32(words, words), high);
            }
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + column), _mm256_packus_epi16(low, high));
        }
        if (octs < sprite.width) {
            // The last four the same way in the low halves, loaded and stored once for all
            // layers: the halves do not mix, what the high ones hold is not kept.
            __m128i const quad = _mm_loadu_si128(reinterpret_cast<__m128i const*>(line + octs));
            __m256i const d = _mm256_castsi128_si256(quad);
            __m256i low = _mm256_unpacklo_epi8(d, zero), high = _mm256_unpackhi_epi8(d, zero);
            bool any = false;
            for (int i = 0; i < count; ++i) {
                quint32 cover;
                std::memcpy(&cover, coverage + layers[i] * sprite.width + octs, sizeof cover);
                if (cover == 0)
                    continue;
                any = true;
                __m128i const c = _mm_cvtsi32_si128(static_cast<int>(cover));
                __m256i const words = _mm256_cvtepu8_epi16(_mm_unpacklo_epi8(c, c));
                low = overWide(wide[layers[i]], _mm256_unpacklo_epi32(words, words), low);
                high = overWide(wide[layers[i]], _mm256_unpackhi_epi32(words, words), high);
            }
            if (any)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(line + octs), _mm256_castsi256_si128(_mm256_packus_epi16(low, high)));
        }
    }
}

// A picture sprite's rows eight pixels at a time, the last four alone.
__attribute__((target("avx2"))) void pictureWide(uchar* origin, qsizetype stride, SpriteCache::Sprite const& sprite,
                                                 quint32 const* pixels, quint16 const* rows)
{
    int const octs = sprite.width & ~7;
    for (int row = 0; row < sprite.height; ++row, pixels += sprite.width) {
        if (rows[row] == 0)
            continue;
        auto* line = reinterpret_cast<quint32*>(origin + static_cast<qsizetype>(row) * stride);
        for (int column = 0; column < octs; column += 8)
            blendPixels8(line + column, pixels + column);
        if (octs < sprite.width)
            blendPixels4(line + octs, pixels + octs);
    }
}
#endif

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

void PixelRaster::drawDot(QPointF const& centre, QRgb color, quint32 count)
{
    if (!(centre.x() > -9.0 && centre.y() > -9.0 && centre.x() < width_ + 9.0 && centre.y() < height_ + 9.0) || count == 0)
        return;
    drawDotAt(dotPixel(centre.x()), dotPixel(centre.y()), color, count);
}

void PixelRaster::drawDotAt(int cx, int cy, QRgb color, quint32 count)
{
    if (!(cx > -8 && cy > -8 && cx < width_ + 8 && cy < height_ + 8) || count == 0)
        return;
    int const left = cx - 4;
    int const top = cy - 4;
    quint32 premultiplied = qPremultiply(color);
    DotMask const& mask = dotMask();
    work_ += static_cast<quint64>(mask.count);
    uchar const* coverage = mask.bytes.data();
    if (count > 1) {
        // The same colour over itself: the alpha the pixels take after `count` blends, which
        // one blend of the opaque colour then lays down. Made once per count and alpha.
        quint32 const stacked = std::min<quint32>(count, MAX_DOT_STACK);
        std::size_t const key = static_cast<std::size_t>(stacked - 2) * 256 + static_cast<std::size_t>(qAlpha(color));
        if (dotStackIndex_.empty())
            dotStackIndex_.assign(static_cast<std::size_t>(MAX_DOT_STACK - 1) * 256, -1);
        if (dotStackIndex_[key] < 0) {
            std::array<uchar, 64> made{};
            quint32 const white = qPremultiply(qRgba(255, 255, 255, qAlpha(color)));
            for (std::size_t i = 0; i < 64; ++i) {
                quint32 pixel = 0;
                for (quint32 k = 0; k < stacked; ++k)
                    blendPixel(pixel, white, mask.bytes[i]);
                made[i] = static_cast<uchar>(qAlpha(pixel));
            }
            dotStackIndex_[key] = static_cast<int>(dotStacks_.size());
            dotStacks_.push_back(made);
        }
        coverage = dotStacks_[static_cast<std::size_t>(dotStackIndex_[key])].data();
        premultiplied = color | 0xff000000u;
    }
    if (left >= 0 && top >= 0 && left + 8 <= width_ && top + 8 <= height_) {
        uchar* const origin = bits_ + static_cast<qsizetype>(top) * stride_;
#ifdef KAV_BLEND_AVX2
        if (wideBlending()) {
            dotRowsWide(origin, stride_, left, coverage, premultiplied);
            return;
        }
#endif
        for (int y = 0; y < 8; ++y, coverage += 8) {
            auto* line = reinterpret_cast<quint32*>(origin + static_cast<qsizetype>(y) * stride_) + left;
            quint32 quads[2];
            std::memcpy(quads, coverage, sizeof quads);
            blendQuad(line, premultiplied, quads[0]);
            blendQuad(line + 4, premultiplied, quads[1]);
        }
        return;
    }
    for (int i = 0; i < mask.count; ++i)
        blend(left + mask.x[i], top + mask.y[i], premultiplied, coverage[mask.y[i] * 8 + mask.x[i]]);
}

bool PixelRaster::spritePlace(QPointF const& first, double reach, int* x, int* y, qint32* place) const
{
    double const x0 = first.x(), y0 = first.y();
    double const margin = SpriteCache::REACH + reach + 1.0;
    // Written so that a coordinate that is not a number fails.
    if (!(x0 >= margin && y0 >= margin && x0 <= width_ - margin - 1.0 && y0 <= height_ - margin - 1.0))
        return false;
    // Both are positive here: a conversion to int is the floor, and adding a half rounds.
    int const ix = static_cast<int>(x0), iy = static_cast<int>(y0);
    int const px = static_cast<int>((x0 - ix) * SpriteCache::PHASES + 0.5);
    int const py = static_cast<int>((y0 - iy) * SpriteCache::PHASES + 0.5);
    *x = ix + px / SpriteCache::PHASES;
    *y = iy + py / SpriteCache::PHASES;
    place[0] = px % SpriteCache::PHASES;
    place[1] = py % SpriteCache::PHASES;
    return true;
}

bool PixelRaster::spriteKey(QPointF const* points, int count, double reach, int* x, int* y, qint32* key)
{
    if (!spritePlace(points[0], reach, x, y, key))
        return false;
    double const x0 = points[0].x(), y0 = points[0].y();
    constexpr double limit = SpriteCache::REACH * SpriteCache::UNITS;
    for (int k = 1; k < count; ++k) {
        double const dx = (points[k].x() - x0) * SpriteCache::UNITS, dy = (points[k].y() - y0) * SpriteCache::UNITS;
        if (!(std::fabs(dx) <= limit && std::fabs(dy) <= limit))
            return false;
        key[2 * k] = static_cast<qint32>(dx + (dx < 0.0 ? -0.5 : 0.5));
        key[2 * k + 1] = static_cast<qint32>(dy + (dy < 0.0 ? -0.5 : 0.5));
    }
    return true;
}

namespace {
// Opaque colours are their own premultiplied colours.
quint32 premultiply(QRgb color)
{
    return qAlpha(color) == 255 ? color : qPremultiply(color);
}

// How far the points of a sprite key lie from the first one's pixel, both ways, in pixels.
std::pair<double, double> spriteExtent(qint32 const* place, int count)
{
    qint32 low = 0, high = 0;
    for (int k = 1; k < count; ++k) {
        low = std::min({low, place[2 * k], place[2 * k + 1]});
        high = std::max({high, place[2 * k], place[2 * k + 1]});
    }
    return {static_cast<double>(low) / SpriteCache::UNITS, 1.0 + static_cast<double>(high) / SpriteCache::UNITS};
}

// The points a sprite key stands for, around the scratch origin.
void canonicalPoints(qint32 const* place, int count, std::vector<QPointF>& out)
{
    out.resize(static_cast<std::size_t>(count));
    QPointF const first(SpriteCache::ORIGIN + static_cast<double>(place[0]) / SpriteCache::PHASES,
                        SpriteCache::ORIGIN + static_cast<double>(place[1]) / SpriteCache::PHASES);
    out[0] = first;
    for (int k = 1; k < count; ++k)
        out[static_cast<std::size_t>(k)] = first + QPointF(static_cast<double>(place[2 * k]) / SpriteCache::UNITS,
                                                           static_cast<double>(place[2 * k + 1]) / SpriteCache::UNITS);
}

constexpr int FACE_HEAD = 4;
constexpr int PULL_HEAD = 5;
constexpr double MAX_SPRITE_WIDTH = 4.0;
constexpr int MAX_SPRITE_POINTS = 64;
} // namespace

void PixelRaster::drawFace(QPointF const* points, int count, QRgb fill, QRgb outline, double width, bool outlined)
{
    if (sprites_ != nullptr && count >= 2 && count <= MAX_SPRITE_POINTS && width > 0.0 && width <= MAX_SPRITE_WIDTH) {
        key_.resize(static_cast<std::size_t>(FACE_HEAD + 2 * count));
        key_[0] = 1;
        key_[1] = count;
        // The outline's alpha, and whether there is a fill at all.
        key_[2] = qAlpha(outline) | (qAlpha(fill) != 0 ? 0x100 : 0);
        key_[3] = static_cast<qint32>(width * SpriteCache::UNITS + 0.5);
        double const reach = width / 2.0 + 2.0;
        int x = 0, y = 0;
        if (spriteKey(points, count, reach, &x, &y, key_.data() + FACE_HEAD)) {
            auto make = [this, count](PixelRaster& r, int layer) {
                canonicalPoints(key_.data() + FACE_HEAD, count, canonical_);
                if (layer == 0 && (key_[2] & 0x100) != 0)
                    r.fillPolygon(canonical_.data(), count, qRgba(255, 255, 255, 255));
                else if (layer == 1)
                    r.strokePolygon(canonical_.data(), count, true, qRgba(255, 255, 255, key_[2] & 0xff),
                                    static_cast<double>(key_[3]) / SpriteCache::UNITS);
            };
            auto const extent = spriteExtent(key_.data() + FACE_HEAD, count);
            SpriteCache::Sprite const* sprite = sprites_->find(key_.data(), static_cast<int>(key_.size()),
                                                               SpriteCache::hashOf(key_.data(), static_cast<int>(key_.size())), 2,
                                                               nullptr, extent.first - reach, extent.second + reach, make);
            // The fill by its coverage, the outline by the alpha its strokes left.
            quint32 const colors[2] = {premultiply(fill), outline | 0xff000000u};
            unsigned int const shown = (qAlpha(fill) != 0 ? 1u : 0u) | (outlined && qAlpha(outline) != 0 ? 2u : 0u);
            if (sprite != nullptr && drawSprite(*sprite, x, y, colors, shown))
                return;
        }
    }
    fillPolygon(points, count, fill);
    if (outlined)
        strokePolygon(points, count, true, outline, width);
}

namespace {
// A corner of a box: the centre, then x, y and z added, as the projection adds them up.
QPointF boxCorner(QPointF const* box, int corner)
{
    double const sx = (corner & 1) ? 1.0 : -1.0, sy = (corner & 2) ? 1.0 : -1.0, sz = (corner & 4) ? 1.0 : -1.0;
    return QPointF(((box[0].x() + sx * box[1].x()) + sy * box[2].x()) + sz * box[3].x(),
                   ((box[0].y() + sx * box[1].y()) + sy * box[2].y()) + sz * box[3].y());
}

} // namespace

void PixelRaster::drawDots(Dot const* dots, int count)
{
    // A group in sprites of up to MAX_LAYERS runs of one colour each (a run's dots together
    // are one layer of alpha) and MAX_GROUP dots: the sprite is the same for every group
    // of the same places, counts and alphas, whatever their colours.
    constexpr int MAX_GROUP = 64;
    constexpr int REACH = SpriteCache::REACH;
    int done = 0;
    while (done < count) {
        Dot const* group = dots + done;
        int n = 0, runs = 0;
        qint32 key[2 + MAX_GROUP];
        quint32 colors[SpriteCache::MAX_LAYERS];
        int low = 0, high = 0;
        bool fits = sprites_ != nullptr;
        for (; fits && n < MAX_GROUP && done + n < count; ++n) {
            Dot const& d = group[n];
            bool const newRun = n == 0 || d.color != group[n - 1].color;
            if (newRun && runs == SpriteCache::MAX_LAYERS)
                break;
            int const dx = d.x - group[0].x, dy = d.y - group[0].y;
            if (std::abs(dx) > REACH || std::abs(dy) > REACH) {
                fits = n > 1;   // what went before still makes a group
                break;
            }
            if (newRun)
                colors[runs++] = d.color | 0xff000000u;
            low = std::min({low, dx, dy});
            high = std::max({high, dx, dy});
            key[2 + n] = (dx + 64) | ((dy + 64) << 7) | (static_cast<qint32>(std::min<quint32>(d.count, 63)) << 14)
                         | ((newRun ? 1 : 0) << 20) | (qAlpha(d.color) << 21);
        }
        if (!fits || n < 2) {
            for (int i = 0; i < std::max(n, 1); ++i)
                drawDotAt(group[i].x, group[i].y, group[i].color, group[i].count);
            done += std::max(n, 1);
            continue;
        }
        // Dots of more than one colour first as a picture, when the same dots in the same
        // colours came before (one colour is one layer, drawn as fast).
        qint32 picture[2 + 2 * MAX_GROUP];
        picture[0] = 7;
        picture[1] = n;
        for (int i = 0; i < (runs > 1 ? n : 0); ++i) {
            picture[2 + 2 * i] = key[2 + i] & 0x1fffff;
            picture[3 + 2 * i] = static_cast<qint32>(group[i].color);
        }
        auto paint = [&picture, n](PixelRaster& r) {
            for (int i = 0; i < n; ++i) {
                qint32 const v = picture[2 + 2 * i];
                r.drawDotAt(SpriteCache::ORIGIN + (v & 127) - 64, SpriteCache::ORIGIN + ((v >> 7) & 127) - 64,
                            static_cast<QRgb>(picture[3 + 2 * i]), static_cast<quint32>((v >> 14) & 63));
            }
        };
        SpriteCache::Sprite const* drawn =
            runs > 1 ? sprites_->findPicture(picture, 2 + 2 * n, SpriteCache::hashOf(picture, 2 + 2 * n), low - 5.0,
                                             high + 5.0, paint)
                     : nullptr;
        if (drawn != nullptr) {
            if (drawPicture(*drawn, group[0].x, group[0].y)) {
                done += n;
                continue;
            }
        }
        key[0] = 5;
        key[1] = n;
        auto make = [&key, n](PixelRaster& r, int layer) {
            // Layer `layer` is the run of that number: its dots in white at its alpha.
            int run = -1;
            for (int i = 0; i < n; ++i) {
                qint32 const v = key[2 + i];
                run += (v >> 20) & 1;
                if (run == layer)
                    r.drawDotAt(SpriteCache::ORIGIN + (v & 127) - 64, SpriteCache::ORIGIN + ((v >> 7) & 127) - 64,
                                qRgba(255, 255, 255, (v >> 21) & 255), static_cast<quint32>((v >> 14) & 63));
            }
        };
        SpriteCache::Sprite const* sprite =
            sprites_->find(key, 2 + n, SpriteCache::hashOf(key, 2 + n), runs, nullptr, low - 5.0, high + 5.0, make);
        if (sprite == nullptr || !drawSprite(*sprite, group[0].x, group[0].y, colors, (1u << runs) - 1)) {
            for (int i = 0; i < n; ++i)
                drawDotAt(group[i].x, group[i].y, group[i].color, group[i].count);
        }
        done += n;
    }
}

void PixelRaster::boxSideCorners(QPointF const* box, int side, QPointF* corners)
{
    for (int k = 0; k < 4; ++k)
        corners[k] = boxCorner(box, BOX_SIDES[side][k]);
}

void PixelRaster::drawBoxSides(QPointF const* box, int const* sides, QRgb const* fills, int count, QRgb outline,
                               double width, bool outlined)
{
    auto drawEach = [&] {
        for (int i = 0; i < count; ++i) {
            QPointF corners[4];
            boxSideCorners(box, sides[i], corners);
            drawFace(corners, 4, fills[i], outline, width, outlined);
        }
    };
    if (sprites_ == nullptr || !(width > 0.0 && width <= MAX_SPRITE_WIDTH) || count < 1 || count > 6) {
        drawEach();
        return;
    }
    // The corners relative to the first, from the half extents alone: the same for every box of
    // their size, so worked out once for the boxes drawn one after another.
    double const steps[6] = {box[1].x(), box[1].y(), box[2].x(), box[2].y(), box[3].x(), box[3].y()};
    BoxShape* shape = nullptr;
    for (BoxShape& s : boxShapes_) {
        if (s.used && std::memcmp(s.steps, steps, sizeof steps) == 0) {
            shape = &s;
            break;
        }
    }
    if (shape == nullptr) {
        shape = &boxShapes_[nextBoxShape_];
        nextBoxShape_ = (nextBoxShape_ + 1) % boxShapes_.size();
        std::memcpy(shape->steps, steps, sizeof steps);
        shape->used = true;
        shape->fits = true;
        shape->key[0] = 4;
        constexpr double limit = SpriteCache::REACH * SpriteCache::UNITS;
        for (int corner = 1; corner < 8; ++corner) {
            // From corner 0, two half extents along each axis whose bit the corner has.
            double dx = 0.0, dy = 0.0;
            for (int axis = 0; axis < 3; ++axis) {
                if ((corner >> axis) & 1) {
                    dx += 2.0 * steps[2 * axis] * SpriteCache::UNITS;
                    dy += 2.0 * steps[2 * axis + 1] * SpriteCache::UNITS;
                }
            }
            shape->fits = shape->fits && std::fabs(dx) <= limit && std::fabs(dy) <= limit;
            if (!shape->fits)
                break;
            shape->key[2 * corner - 1] = static_cast<qint32>(dx + (dx < 0.0 ? -0.5 : 0.5));
            shape->key[2 * corner] = static_cast<qint32>(dy + (dy < 0.0 ? -0.5 : 0.5));
        }
        shape->hash = SpriteCache::hashOf(shape->key, 15);
    }
    double const reach = width / 2.0 + 2.0;
    int x = 0, y = 0;
    // The shape's part, then the sides in their order, the outline's alpha and width, the place.
    qint32 key[20];
    if (!shape->fits || !spritePlace(boxCorner(box, 0), reach, &x, &y, key + 18)) {
        drawEach();
        return;
    }
    std::memcpy(key, shape->key, sizeof shape->key);
    // The sides in their order, and whether they are filled (a wireframe's are not).
    key[15] = count | (qAlpha(fills[0]) != 0 ? 1 << 24 : 0);
    for (int i = 0; i < count; ++i)
        key[15] |= (sides[i] & 7) << (3 * i + 3);
    key[16] = qAlpha(outline);
    key[17] = static_cast<qint32>(width * SpriteCache::UNITS + 0.5);
    quint64 const hash = SpriteCache::hashOf(key + 15, 5, shape->hash);
    auto make = [this, &key](PixelRaster& r, int layer) {
        // The corners around the scratch origin: corner 0's place, then the others from it.
        qint32 place[16] = {key[18], key[19]};
        std::memcpy(place + 2, key + 1, 14 * sizeof(qint32));
        canonicalPoints(place, 8, canonical_);
        QPointF corners[4];
        int const side = (key[15] >> (3 * (layer / 2) + 3)) & 7;
        for (int k = 0; k < 4; ++k)
            corners[k] = canonical_[static_cast<std::size_t>(BOX_SIDES[side][k])];
        if (layer % 2 == 0) {
            if ((key[15] & (1 << 24)) != 0)
                r.fillPolygon(corners, 4, qRgba(255, 255, 255, 255));
        } else {
            r.strokePolygon(corners, 4, true, qRgba(255, 255, 255, key[16]), static_cast<double>(key[17]) / SpriteCache::UNITS);
        }
    };
    qint32 low = 0, high = 0;
    for (int i = 1; i < 15; ++i) {
        low = std::min(low, key[i]);
        high = std::max(high, key[i]);
    }
    // The outlines are all of one colour: those of sides that leave no fill between them are one.
    quint8 classes[12];
    for (int i = 0; i < count; ++i) {
        classes[2 * i] = static_cast<quint8>(2 + i);
        classes[2 * i + 1] = 1;
    }
    SpriteCache::Sprite const* sprite =
        sprites_->find(key, 20, hash, 2 * count, classes, static_cast<double>(low) / SpriteCache::UNITS - reach,
                       1.0 + static_cast<double>(high) / SpriteCache::UNITS + reach, make);
    // Each side's fill by its coverage, its outline by the alpha its strokes left.
    quint32 colors[12];
    unsigned int shown = 0;
    for (int i = 0; i < count; ++i) {
        colors[2 * i] = premultiply(fills[i]);
        colors[2 * i + 1] = outline | 0xff000000u;
        shown |= (qAlpha(fills[i]) != 0 ? 1u : 0u) << (2 * i);
        shown |= (outlined && qAlpha(outline) != 0 ? 2u : 0u) << (2 * i);
    }
    if (sprite == nullptr || !drawSprite(*sprite, x, y, colors, shown))
        drawEach();
}

void PixelRaster::drawPullOut(QPointF const& from, QPointF const& to, QRgb color, double width, double radius, QRgb fill)
{
    if (sprites_ != nullptr && width > 0.0 && width <= MAX_SPRITE_WIDTH && radius > 0.0 && radius <= 2.0 * MAX_SPRITE_WIDTH) {
        // A picture: its colours are part of its key.
        key_.resize(PULL_HEAD + 4);
        key_[0] = 2;
        key_[1] = static_cast<qint32>(color);
        key_[2] = static_cast<qint32>(width * SpriteCache::UNITS + 0.5);
        key_[3] = static_cast<qint32>(radius * SpriteCache::UNITS + 0.5);
        key_[4] = static_cast<qint32>(fill);
        double const reach = radius + width + 2.0;
        QPointF const ends[2] = {from, to};
        int x = 0, y = 0;
        if (spriteKey(ends, 2, reach, &x, &y, key_.data() + PULL_HEAD)) {
            auto make = [this](PixelRaster& r) {
                canonicalPoints(key_.data() + PULL_HEAD, 2, canonical_);
                double const w = static_cast<double>(key_[2]) / SpriteCache::UNITS;
                double const radius = static_cast<double>(key_[3]) / SpriteCache::UNITS;
                r.strokeDashedLine(canonical_[0], canonical_[1], static_cast<QRgb>(key_[1]), w);
                r.fillEllipse(canonical_[1], radius, static_cast<QRgb>(key_[4]));
                r.strokeEllipse(canonical_[1], radius, static_cast<QRgb>(key_[1]), w);
            };
            auto const extent = spriteExtent(key_.data() + PULL_HEAD, 2);
            SpriteCache::Sprite const* sprite = sprites_->findPicture(
                key_.data(), static_cast<int>(key_.size()), SpriteCache::hashOf(key_.data(), static_cast<int>(key_.size())),
                extent.first - reach, extent.second + reach, make);
            if (sprite != nullptr && drawPicture(*sprite, x, y))
                return;
        }
    }
    strokeDashedLine(from, to, color, width);
    fillEllipse(to, radius, fill);
    strokeEllipse(to, radius, color, width);
}

bool PixelRaster::drawPicture(SpriteCache::Sprite const& sprite, int x, int y)
{
    int const left = x + sprite.left, top = y + sprite.top;
    if (left < 0 || top < 0 || left + sprite.width > width_ || top + sprite.height > height_)
        return false;
    auto const* pixels = reinterpret_cast<quint32 const*>(sprites_->coverage(sprite));
    work_ += static_cast<quint64>(sprite.width) * static_cast<quint64>(sprite.height);
    uchar* const origin = bits_ + static_cast<qsizetype>(top) * stride_ + static_cast<qsizetype>(left) * 4;
#ifdef KAV_BLEND_AVX2
    if (wideBlending()) {
        pictureWide(origin, stride_, sprite, pixels, sprites_->rowMasks(sprite));
        return true;
    }
#endif
    for (int row = 0; row < sprite.height; ++row, pixels += sprite.width) {
        auto* line = reinterpret_cast<quint32*>(origin + static_cast<qsizetype>(row) * stride_);
        for (int column = 0; column < sprite.width; column += 4)
            blendPixels4(line + column, pixels + column);
    }
    return true;
}

bool PixelRaster::drawSprite(SpriteCache::Sprite const& sprite, int x, int y, quint32 const* colors, unsigned int shown)
{
    int const left = x + sprite.left, top = y + sprite.top;
    if (left < 0 || top < 0 || left + sprite.width > width_ || top + sprite.height > height_)
        return false;
    uchar const* coverage = sprites_->coverage(sprite);
    work_ += static_cast<quint64>(sprite.width) * static_cast<quint64>(sprite.height);
    // The colours and what is shown by the layers kept, as the layers they were made from say.
    quint32 kept[SpriteCache::MAX_LAYERS];
    unsigned int keptShown = 0;
    for (int layer = 0; layer < sprite.layers; ++layer) {
        kept[layer] = colors[sprite.source[layer]];
        keptShown |= ((shown >> sprite.source[layer]) & 1u) << layer;
    }
    colors = kept;
    shown = keptShown;
    // Each row holds the layers one after the other; a layer over the whole row, then the
    // next, keeps each pixel's order.
#ifdef KAV_BLEND_AVX2
    if (wideBlending()) {
        spriteWide(bits_ + static_cast<qsizetype>(top) * stride_ + static_cast<qsizetype>(left) * 4, stride_, sprite,
                   coverage, sprites_->rowMasks(sprite), colors, shown);
        return true;
    }
#endif
    quint16 const* rows = sprites_->rowMasks(sprite);
    for (int row = 0; row < sprite.height; ++row) {
        auto* line = reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(top + row) * stride_) + left;
        for (int layer = 0; layer < sprite.layers; ++layer, coverage += sprite.width) {
            if (((shown & rows[row]) >> layer & 1u) == 0)
                continue;
            for (int column = 0; column < sprite.width; column += 4) {
                quint32 quad;
                std::memcpy(&quad, coverage + column, sizeof quad);
                blendQuad(line + column, colors[layer], quad);
            }
        }
    }
    return true;
}

} // namespace App
} // namespace Kav
