#pragma once

// Blending of premultiplied ARGB32 pixels, shared by the parts of PixelRaster.

#include <QtGlobal>

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Kav {
namespace App {
namespace Blend {

// x * a / 255 for the four channels at once.
inline quint32 byteMul(quint32 x, quint32 a)
{
    quint32 t = (x & 0xff00ffu) * a;
    t = ((t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = (x + ((x >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return x | t;
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
inline void blendSpan(quint32* pixels, int count, quint32 color)
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

inline unsigned int coverageOf(double c)
{
    return static_cast<unsigned int>(std::min(1.0, std::fabs(c)) * 255.0 + 0.5);
}

} // namespace Blend
} // namespace App
} // namespace Kav
