// One paint of the application's 3D view over a generated scene, in the window's size.
// Target: 100 ms at 100,000 elements.

#include "kav_view3d_widget.h"
#include "kav_view_framing.h"

#include "gcad/kav_gcad.h"
#include "gl/kav_view.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

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

// The whole scene in view, as View -> Frame all shows it in the window, with its labels: each
// paint draws it from scratch, as after a change of the scene.
void BM_PaintViewFramed(benchmark::State& state)
{
    ViewScene& s = viewScene(static_cast<unsigned int>(state.range(0)));
    // The view's part of the window of mvp-host.
    s.view->resize(870, 820);
    Kav::GL::RenderObject* render = s.scene.renderObject();
    render->setViewportSize(s.view->width(), s.view->height());
    QString params = Kav::App::ViewFraming::parameters(s.scene, nullptr, render->getRotation());
    QStringList const translation = Kav::Parse::getStringVector(params, QStringLiteral("translation"), 3, 3);
    render->setTranslation(Kav::BaVec3d<double>(translation[0].toDouble(), translation[1].toDouble(),
                                                translation[2].toDouble()));
    render->setScale(Kav::Parse::getDouble(params, QStringLiteral("scale")));
    s.scene.overlay()->repositionLabels();
    QImage image(s.view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        s.view->sceneChanged();
        QPainter painter(&image);
        s.view->renderScene(painter, image.size());
    }
    state.counters["labels"] = static_cast<double>(s.scene.overlay()->labelLayout().shown().size());
    if (qEnvironmentVariableIsSet("MVP_BENCH_VIEW_PNG"))
        image.save(qEnvironmentVariable("MVP_BENCH_VIEW_PNG"));
}

} // namespace

BENCHMARK(BM_PaintViewTurned)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintViewFramed)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
