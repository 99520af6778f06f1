#pragma once

// Blending of premultiplied ARGB32 pixels, shared by the parts of PixelRaster.

#include <QtGlobal>

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
// Eight pixels at a time where the processor has AVX2, chosen when the program runs.
#if defined(__SSE2__) && defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define KAV_BLEND_AVX2 1
#include <immintrin.h>
#endif

namespace Kav {
namespace App {
namespace Blend {

// x * a / 255 rounded, for the four channels at once: (v + 128) * 257 / 65536 as the SIMD
// paths compute it, so that every path gives the same pixels.
inline quint32 byteMul(quint32 x, quint32 a)
{
    quint32 t = (x & 0xff00ffu) * a + 0x800080u;
    t = ((t + ((t >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a + 0x800080u;
    x = (x + ((x >> 8) & 0xff00ffu)) & 0xff00ff00u;
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

#ifdef __SSE2__
// v / 255 rounded on 16-bit lanes: (v + 128) * 257 / 65536.
inline __m128i div255Words(__m128i v)
{
    return _mm_mulhi_epu16(_mm_add_epi16(v, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

// Source over of two premultiplied pixels widened to 16-bit lanes on two pixels widened alike.
inline __m128i overWords(__m128i source, __m128i pixel)
{
    __m128i const keep = _mm_xor_si128(_mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xff), 0xff), _mm_set1_epi16(255));
    return _mm_add_epi16(source, div255Words(_mm_mullo_epi16(pixel, keep)));
}
#endif

// Source over of one colour on four pixels in a row, each with its own coverage (a byte of
// `coverages`, the first pixel's lowest).
inline void blendQuad(quint32* pixels, quint32 premultiplied, quint32 coverages)
{
    if (coverages == 0)
        return;
#ifdef __SSE2__
    __m128i const zero = _mm_setzero_si128();
    __m128i const colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(premultiplied)), zero);
    __m128i c = _mm_cvtsi32_si128(static_cast<int>(coverages));
    c = _mm_unpacklo_epi8(c, c);
    c = _mm_unpacklo_epi16(c, c);
    auto over = [&](__m128i coverage, __m128i pixel) {
        return overWords(div255Words(_mm_mullo_epi16(colour, coverage)), pixel);
    };
    __m128i const d = _mm_loadu_si128(reinterpret_cast<__m128i const*>(pixels));
    __m128i const low = over(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(d, zero));
    __m128i const high = over(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), _mm_packus_epi16(low, high));
#else
    for (int i = 0; i < 4; ++i)
        blendPixel(pixels[i], premultiplied, (coverages >> (8 * i)) & 0xffu);
#endif
}

#ifdef KAV_BLEND_AVX2
// Whether eight pixels are blended at a time: where the processor can, unless set otherwise
// (the tests draw both ways).
inline bool& wideBlending()
{
    static bool wide = __builtin_cpu_supports("avx2");
    return wide;
}

// Source over of `colour` at `coverage` on `pixel`, four pixels in 16-bit channels.
__attribute__((target("avx2"))) inline __m256i overWide(__m256i colour, __m256i coverage, __m256i pixel)
{
    __m256i const half = _mm256_set1_epi16(128);
    __m256i const scale = _mm256_set1_epi16(257);
    __m256i const source = _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_mullo_epi16(colour, coverage), half), scale);
    __m256i const keep = _mm256_xor_si256(_mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, 0xff), 0xff),
                                          _mm256_set1_epi16(255));
    return _mm256_add_epi16(source, _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_mullo_epi16(pixel, keep), half), scale));
}

// blendQuad on eight pixels, the coverages a byte each in `coverages`; `colour` is the
// premultiplied colour's channels in 16 bits, repeated (wideColour).
__attribute__((target("avx2"))) inline void blendOct(quint32* pixels, __m256i colour, quint64 coverages)
{
    if (coverages == 0)
        return;
    __m256i const zero = _mm256_setzero_si256();
    // Each coverage four times over, in the 128-bit halves as the pixels unpack into them.
    __m128i const c = _mm_cvtsi64_si128(static_cast<long long>(coverages));
    __m256i const words = _mm256_cvtepu8_epi16(_mm_unpacklo_epi8(c, c));
    __m256i const d = _mm256_loadu_si256(reinterpret_cast<__m256i const*>(pixels));
    __m256i const low = overWide(colour, _mm256_unpacklo_epi32(words, words), _mm256_unpacklo_epi8(d, zero));
    __m256i const high = overWide(colour, _mm256_unpackhi_epi32(words, words), _mm256_unpackhi_epi8(d, zero));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), _mm256_packus_epi16(low, high));
}

// blendPixels4 on eight pixels.
__attribute__((target("avx2"))) inline void blendPixels8(quint32* pixels, quint32 const* sources)
{
    __m256i const source = _mm256_loadu_si256(reinterpret_cast<__m256i const*>(sources));
    if (_mm256_testz_si256(source, source))
        return;
    __m256i const zero = _mm256_setzero_si256();
    __m256i const half = _mm256_set1_epi16(128);
    __m256i const scale = _mm256_set1_epi16(257);
    __m256i const full = _mm256_set1_epi16(255);
    __m256i const d = _mm256_loadu_si256(reinterpret_cast<__m256i const*>(pixels));
    __m256i const sl = _mm256_unpacklo_epi8(source, zero), sh = _mm256_unpackhi_epi8(source, zero);
    __m256i const kl = _mm256_xor_si256(_mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sl, 0xff), 0xff), full);
    __m256i const kh = _mm256_xor_si256(_mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sh, 0xff), 0xff), full);
    __m256i const low = _mm256_add_epi16(
        sl, _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), kl), half), scale));
    __m256i const high = _mm256_add_epi16(
        sh, _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), kh), half), scale));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), _mm256_packus_epi16(low, high));
}

__attribute__((target("avx2"))) inline __m256i wideColour(quint32 premultiplied)
{
    return _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(premultiplied)), _mm256_setzero_si256());
}
#endif

// Source over of four premultiplied pixels on four pixels.
inline void blendPixels4(quint32* pixels, quint32 const* sources)
{
#ifdef __SSE2__
    __m128i const source = _mm_loadu_si128(reinterpret_cast<__m128i const*>(sources));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(source, _mm_setzero_si128())) == 0xffff)
        return;
    __m128i const zero = _mm_setzero_si128();
    __m128i const d = _mm_loadu_si128(reinterpret_cast<__m128i const*>(pixels));
    __m128i const low = overWords(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(d, zero));
    __m128i const high = overWords(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), _mm_packus_epi16(low, high));
#else
    for (int i = 0; i < 4; ++i)
        blendPixel(pixels[i], sources[i], 255);
#endif
}

inline unsigned int coverageOf(double c)
{
    return static_cast<unsigned int>(std::min(1.0, std::fabs(c)) * 255.0 + 0.5);
}

} // namespace Blend
} // namespace App
} // namespace Kav
