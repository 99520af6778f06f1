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
