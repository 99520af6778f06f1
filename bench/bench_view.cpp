// One paint of the application's 3D view over a generated scene, in the window's size.
// Target: 100 ms at 100,000 elements.

#include "kav_view3d_widget.h"

#include "mcadcmd/scene/kav_scene.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct ViewScene {
    Kav::MCADCmd::Scene scene;
    std::unique_ptr<Kav::App::View3dWidget> view;
};

ViewScene& viewScene(unsigned int n)
{
    static std::unique_ptr<ViewScene> made;
    static unsigned int madeFor = 0;
    if (!made || madeFor != n) {
        made.reset();
        made = std::make_unique<ViewScene>();
        Kav::MCADCmd::generateScene(made->scene, n);
        made->view = std::make_unique<Kav::App::View3dWidget>(&made->scene);
        made->view->resize(1000, 700);
        madeFor = n;
    }
    return *made;
}

// A paint after the view turned: nothing projected can be reused.
void BM_PaintViewTurned(benchmark::State& state)
{
    ViewScene& s = viewScene(static_cast<unsigned int>(state.range(0)));
    QImage image(s.view->size(), QImage::Format_ARGB32_Premultiplied);
    double angle = 0.0;
    for (auto _ : state) {
        angle += 1.0;
        s.scene.renderObject()->setRotation(Kav::BaVec3d<double>(-30.0, 0.0, 35.0 + angle));
        QPainter painter(&image);
        s.view->renderScene(painter, image.size());
    }
    if (qEnvironmentVariableIsSet("MVP_BENCH_VIEW_PNG"))
        image.save(qEnvironmentVariable("MVP_BENCH_VIEW_PNG"));
}

} // namespace

BENCHMARK(BM_PaintViewTurned)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
