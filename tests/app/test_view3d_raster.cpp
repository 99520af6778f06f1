// The 3D view's drawing: small shapes drawn from their sprites look as drawn directly, eight
// or four pixels at a time, and the same in every drawing; the projection gives the faces far
// to near.

#include "kav_view3d_projection.h"
#include "kav_view3d_raster.h"
#include "kav_view3d_raster_blend.h"
#include "kav_view3d_sprites.h"

#include "gl/kav_view.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Kav::App::PixelRaster;

// The shapes of a large scene's view, each three times, a little further within its pixels each
// time, over a background of many colours: sides of a box (one transparent) together, a side
// seen edge-on, a wide outline, a section's outline and its dots in two colours (some several on
// one pixel), a pull-out.
QImage drawShapes(Kav::App::SpriteCache* sprites)
{
    QImage image(150, 120, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / image.width(), y * 2, (x + 3 * y) % 256));
    }
    PixelRaster raster(image);
    if (sprites != nullptr) {
        sprites->startDrawing();
        raster.setSprites(sprites);
    }
    for (int i = 0; i < 3; ++i) {
        double const dx = 45.3 * i, dy = 0.17 * i;
        QPointF const box[4] = {{30 + dx, 30 + dy}, {2.2, 0.4}, {-0.5, 1.9}, {0.3, -0.8}};
        int const sides[3] = {2, 4, 1};
        QRgb const fills[3] = {qRgb(200, 40, 40), qRgba(40, 200, 40, 180), qRgb(40, 40, 200)};
        raster.drawBoxSides(box, sides, fills, 3, qRgba(0x30, 0x30, 0x30, 160), 1.0, true);
        QPointF const edge[4] = {{20 + dx, 50 + dy}, {26 + dx, 52 + dy}, {26 + dx, 52 + dy}, {20 + dx, 50 + dy}};
        raster.drawFace(edge, 4, qRgba(90, 90, 20, 200), qRgb(0xd0, 0, 0), 1.0, true);
        QPointF const quad[4] = {{10 + dx, 60 + dy}, {18 + dx, 61 + dy}, {17 + dx, 68 + dy}, {11 + dx, 66 + dy}};
        raster.drawFace(quad, 4, qRgb(120, 200, 220), qRgb(0xff, 0x8c, 0), 2.5, true);
        std::vector<QPointF> ring;
        std::vector<PixelRaster::Dot> dots;
        for (int k = 0; k < 12; ++k) {
            ring.emplace_back(30 + dx + 4.0 * std::cos(k * M_PI / 6), 85 + dy + 4.0 * std::sin(k * M_PI / 6));
            dots.push_back({PixelRaster::dotPixel(ring.back().x()), PixelRaster::dotPixel(ring.back().y()),
                            k < 6 ? qRgba(0, 0, 255, 200) : qRgb(0, 255, 0), static_cast<quint32>(k % 3 + 1)});
        }
        ring.push_back(ring.front());
        raster.drawFace(ring.data(), static_cast<int>(ring.size()), 0, qRgba(90, 30, 30, 230), 1.0, true);
        raster.drawDots(dots.data(), static_cast<int>(dots.size()));
        raster.drawPullOut({10 + dx, 105 + dy}, {18 + dx, 100 + dy}, qRgb(0x20, 0x40, 0x90), 1.5, 4.0, qRgb(255, 255, 255));
    }
    return image;
}

#ifdef KAV_BLEND_AVX2
// The eight-pixel blend with its colour widened, where the processor has AVX2.
__attribute__((target("avx2"))) void blendOct(quint32* pixels, quint32 colour, quint64 coverages)
{
    Kav::App::Blend::blendOct(pixels, Kav::App::Blend::wideColour(colour), coverages);
}
#endif

} // namespace

TEST(View3dRaster, SmallShapesFromTheirSpritesLookAsDrawnDirectly)
{
    std::vector<bool> ways = {false};
#ifdef KAV_BLEND_AVX2
    bool const wide = Kav::App::Blend::wideBlending();
    ways.push_back(wide);
#endif
    for (bool const w : ways) {
#ifdef KAV_BLEND_AVX2
        Kav::App::Blend::wideBlending() = w;
#endif
        SCOPED_TRACE(w ? "eight at a time" : "four at a time");
        Kav::App::SpriteCache sprites;
        QImage const direct = drawShapes(nullptr);
        QImage const drawn = drawShapes(&sprites);
        // Sprites were drawn (kept to 1/16 pixel, they move some edges), and a drawing that finds
        // them kept draws what the first drawing did.
        EXPECT_NE(drawn, direct);
        EXPECT_EQ(drawShapes(&sprites), drawn);
        int far = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                QRgb const a = drawn.pixel(x, y), b = direct.pixel(x, y);
                far += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))}) > 16;
            }
        }
        EXPECT_EQ(far, 0);
    }
#ifdef KAV_BLEND_AVX2
    Kav::App::Blend::wideBlending() = wide;
#endif
}

// Every blending path gives the one rounded source-over: channel * coverage / 255 and
// pixel * (255 - alpha) / 255 each rounded to the nearest. A path one unit off passes any
// comparison of pictures, so each is held to the exact figures here.
TEST(View3dRaster, EveryBlendingPathRoundsExactly)
{
    namespace Blend = Kav::App::Blend;
    auto mul = [](quint32 v, quint32 a) { return (v * a + 127) / 255; }; // exact: no x*a is a half
    auto channel = [](quint32 p, int k) { return (p >> (8 * k)) & 0xffu; };
    auto over = [&](quint32 pixel, quint32 colour, quint32 coverage) {
        quint32 source = 0;
        for (int k = 0; k < 4; ++k)
            source |= mul(channel(colour, k), coverage) << (8 * k);
        quint32 out = 0;
        for (int k = 0; k < 4; ++k)
            out |= (channel(source, k) + mul(channel(pixel, k), 255 - (source >> 24))) << (8 * k);
        return out;
    };
    quint32 seed = 7;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 20000; ++round) {
        // A premultiplied colour (no channel above its alpha) on opaque and transparent pixels.
        quint32 const alpha = next() >> 24;
        quint32 colour = alpha << 24;
        for (int k = 0; k < 3; ++k)
            colour |= (alpha == 0 ? 0 : (next() >> 8) % (alpha + 1)) << (8 * k);
        quint32 pixels[8], coverage[8];
        for (int i = 0; i < 8; ++i) {
            quint32 const pa = i % 2 ? 255u : (next() >> 24);
            pixels[i] = pa << 24;
            for (int k = 0; k < 3; ++k)
                pixels[i] |= (pa == 0 ? 0 : (next() >> 8) % (pa + 1)) << (8 * k);
            coverage[i] = (next() >> 24) | (round % 7 == 0 ? 255u : 0u);
        }
        SCOPED_TRACE(testing::Message() << std::hex << "colour " << colour << " pixel " << pixels[0]);
        quint32 one = pixels[0];
        Blend::blendPixel(one, colour, coverage[0]);
        EXPECT_EQ(one, coverage[0] == 0 ? pixels[0] : over(pixels[0], colour, coverage[0]));
        quint32 pair[2] = {pixels[0], pixels[1]};
        Blend::blendPair(pair[0], pair[1], colour, coverage[0], coverage[1]);
        EXPECT_EQ(pair[0], over(pixels[0], colour, coverage[0]));
        EXPECT_EQ(pair[1], over(pixels[1], colour, coverage[1]));
        quint32 quad[4] = {pixels[0], pixels[1], pixels[2], pixels[3]};
        Blend::blendQuad(quad, colour, coverage[0] | coverage[1] << 8 | coverage[2] << 16 | coverage[3] << 24);
        quint32 span[7];
        std::copy(pixels, pixels + 7, span);
        Blend::blendSpan(span, 7, colour);
        quint32 sources[8], laid[8];
        for (int i = 0; i < 8; ++i)
            sources[i] = over(0, colour, coverage[i]);
        std::copy(pixels, pixels + 8, laid);
        Blend::blendPixels4(laid, sources);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(quad[i], over(pixels[i], colour, coverage[i])) << "blendQuad " << i;
            EXPECT_EQ(laid[i], over(pixels[i], sources[i], 255)) << "blendPixels4 " << i;
        }
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(span[i], over(pixels[i], colour, 255)) << "blendSpan " << i;
#ifdef KAV_BLEND_AVX2
        if (__builtin_cpu_supports("avx2")) {
            quint32 oct[8], eight[8];
            std::copy(pixels, pixels + 8, oct);
            std::copy(pixels, pixels + 8, eight);
            quint64 covers = 0;
            for (int i = 0; i < 8; ++i)
                covers |= quint64(coverage[i]) << (8 * i);
            blendOct(oct, colour, covers);
            Blend::blendPixels8(eight, sources);
            for (int i = 0; i < 8; ++i) {
                EXPECT_EQ(oct[i], over(pixels[i], colour, coverage[i])) << "blendOct " << i;
                EXPECT_EQ(eight[i], over(pixels[i], sources[i], 255)) << "blendPixels8 " << i;
            }
        }
#endif
        if (HasFailure())
            break;
    }
}

// Seen from the top every layer of the generated scene lies at one depth; moved far along the
// view, neighbouring depths are the same as floats though not as doubles.
TEST(View3dProjection, FacesComeFarToNearAndEqualDepthsInSceneOrder)
{
    Kav::MCADCmd::Scene scene;
    Kav::MCADCmd::generateScene(scene, 20000);
    Kav::GL::RenderObject* render = scene.renderObject();
    render->setViewportSize(400, 300);
    render->setScale(0.3);
    for (auto const& [rotation, depth] : {std::pair{0.0, 0.0}, std::pair{25.0, 0.0}, std::pair{0.0, 3e7}}) {
        SCOPED_TRACE(rotation + depth);
        render->setRotation(Kav::BaVec3d<double>(rotation, rotation / 2.0, 0.0));
        render->setTranslation(Kav::BaVec3d<double>(-500.0, -500.0, depth));
        Kav::App::ProjectedScene out;
        Kav::App::projectScene(scene, render->get3d2dTransformation(), QSize(400, 300), out);
        ASSERT_EQ(out.order.size(), out.faces.size());
        ASSERT_GT(out.faces.size(), 10000u);
        std::vector<bool> placed(out.faces.size(), false);
        for (std::size_t i = 0; i < out.order.size(); ++i) {
            quint32 const face = out.order[i];
            ASSERT_FALSE(placed[face]);
            placed[face] = true;
            if (i == 0)
                continue;
            quint32 const before = out.order[i - 1];
            ASSERT_TRUE(out.depths[before] < out.depths[face] || (out.depths[before] == out.depths[face] && before < face))
                << i;
        }
    }
}
