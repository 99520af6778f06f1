// Restoring a snapshot of a large generated scene: whole, by template, and the same property
// values set directly through the host API; the undo memory a restore keeps.
#include "bench_scene.h"

#include "access/mvp_element_property_access.h"
#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "gcad/kav_gcad.h"
#include "glabel/kav_label_element.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_prop_acc_template.h"
#include "propertyaccess/kav_property_access_factory.h"
#include "restore/mvp_cmd_restore_from_template.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace Kav;

namespace {

// The values a snapshot holds for one element, as plain data.
struct Values {
    CAD::Element* element = nullptr;
    CAD::ElemProp prop;
    bool visible = true;
    bool hasPullOut = false;
    BaVec3d<double> pullOut;
    bool firstKink = false;
    bool isSection = false;
    bool autoSampling = true;
    double sampling = 1.0;
    bool hasLabel = false;
    GLabel::LabelTemplate labelTemplate;
    bool labelVisible = true;
    bool labelAuto = true;
    BaVec2d<double> labelPosition;
    BaVec3d<double> originOffset;
};

std::vector<Values> captureValues(MCADCmd::Scene& scene)
{
    std::vector<Values> all;
    all.reserve(scene.elements().size());
    for (CAD::Element* e : scene.elements()) {
        Values v;
        v.element = e;
        v.prop = *e->getElemProperties();
        v.visible = e->isVisible(CAD::VISIBLE_OWN);
        if (CAD::DistPullOut* p = e->getDistPullOut()) {
            v.hasPullOut = true;
            v.pullOut = p->getPullOutPoint();
            v.firstKink = p->getFirstKink();
        }
        if (auto* s = dynamic_cast<CAD::SectionInsp2d*>(e)) {
            v.isSection = true;
            v.autoSampling = s->isAutoSampling();
            v.sampling = s->getSampling();
        }
        if (LabelElement* l = e->getLabel()) {
            v.hasLabel = true;
            v.labelTemplate.extract(l);
            v.labelVisible = l->isLabelVisible();
            v.labelAuto = l->isAutoLabelPlacement();
            v.labelPosition = scene.overlay()->getLabelPosition(e);
            v.originOffset = l->getManualOriginOffset();
        }
        all.push_back(v);
    }
    return all;
}

// The whole restore through the main window, as a script runs it: the view, the legend and
// every element, with its undo step.
void BM_RestoreWhole(benchmark::State& state)
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    QString const params = Parse::createString(QStringLiteral("snapshot"), MvpBench::RestoreScene::snapshotName());
    for (auto _ : state) {
        state.PauseTiming();
        CAD::RecordManager::_manager->clearHistory();
        state.ResumeTiming();
        s.run(s.whole(), params);
    }
    CAD::RecordManager::_manager->clearHistory();
    state.counters["elements"] = static_cast<double>(s.elementCount());
}

// Baseline: the same values put back with the host's own setters, found by name, with the
// same follow-up work (sections resampled, labels placed, elements updated); no undo step.
void BM_SetDirectBaseline(benchmark::State& state)
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    MCADCmd::Scene& scene = s.scene();
    std::vector<Values> const values = captureValues(scene);
    std::vector<QString> names;
    names.reserve(values.size());
    for (Values const& v : values)
        names.push_back(v.element->getName());
    GL::ViewCreator* view = scene.viewCreator();
    BaVec3d<double> const rotation = view->getRotation(), translation = view->getTranslation(),
                          axisScale = view->getAxisScale();
    double const scale = view->getScale();
    KString const legend = scene.legend()->getStreamData();
    StageIdentifier const stage = scene.stage();
    for (auto _ : state) {
        view->setRotation(rotation);
        view->setTranslation(translation);
        view->setAxisScale(axisScale);
        view->setScale(scale);
        view->setMainViewDirectionFromTransformation();
        scene.legend()->setStreamData(legend);
        Transformation const toWindow = scene.renderObject()->get3d2dTransformation();
        for (std::size_t i = 0; i < values.size(); ++i) {
            Values const& v = values[i];
            CAD::Element* e = scene.findElement(names[i]);
            CAD::ElemProp* prop = e->getElemProperties();
            quint8 const selected = prop->selected, highlighted = prop->highlighted;
            *prop = v.prop;
            prop->selected = selected;
            prop->highlighted = highlighted;
            if (v.isSection) {
                auto* section = static_cast<CAD::SectionInsp2d*>(e);
                section->setSampling(v.autoSampling, v.sampling);
                section->resample(stage, true);
                section->updateDistances(stage, -1, -1);
            }
            e->setElementVisible(v.visible);
            if (v.hasPullOut) {
                e->getDistPullOut()->setPullOutPoint(v.pullOut);
                e->getDistPullOut()->setFirstKink(v.firstKink);
            }
            if (v.hasLabel) {
                LabelElement* label = e->getLabel();
                v.labelTemplate.apply(label);
                label->setVisible(v.labelVisible);
                label->setAutoLabelPlacement(v.labelAuto);
                label->updateFigureElements(stage, 0, toWindow, 0.0);
                scene.overlay()->placeElement(label, stage, v.labelPosition);
                if (label->hasConnectorPoint(stage))
                    label->setManualOriginOffset(v.originOffset);
                label->getLabelFigText()->updateForStage(stage, 0, 0);
            }
            e->updateAfterChange(stage, true, v.isSection);
        }
        scene.overlay()->repositionLabels();
        benchmark::ClobberMemory();
    }
}

// Restoring by a template that enables everything: the same work as the whole restore plus
// the filtering of copies.
void BM_RestoreByTemplate(benchmark::State& state)
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    using namespace PropertyAccess;
    PropAccTemplate all(QStringLiteral("everything"));
    for (PropAccessType_t type : PropertyAccessFactory::getRegisteredTypes())
        all.set(PropAccTemplatePart(type));
    all.setNewInvisibleFlag(true);
    QString const params =
        s.byTemplate()->createTemplateParameterString(MvpBench::RestoreScene::snapshotName(), all);
    for (auto _ : state) {
        state.PauseTiming();
        CAD::RecordManager::_manager->clearHistory();
        state.ResumeTiming();
        s.run(s.byTemplate(), params);
    }
    CAD::RecordManager::_manager->clearHistory();
}

std::size_t heapInUse()
{
    struct mallinfo2 const m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// The undo step of one whole restore: what the records report (the record manager's sum of
// memSize) against how much the heap really grew while the step was kept.
void BM_UndoMemory(benchmark::State& state)
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    QString const params = Parse::createString(QStringLiteral("snapshot"), MvpBench::RestoreScene::snapshotName());
    double reported = 0.0, real = 0.0;
    for (auto _ : state) {
        CAD::RecordManager::_manager->clearHistory();
        s.run(s.whole(), params); // a first run, so that lazily made caches are there
        CAD::RecordManager::_manager->clearHistory();
        malloc_trim(0);
        std::size_t const before = heapInUse();
        s.run(s.whole(), params);
        std::size_t const after = heapInUse();
        reported = static_cast<double>(CAD::RecordManager::_manager->memoryUsed());
        real = static_cast<double>(after > before ? after - before : 0);
    }
    CAD::RecordManager::_manager->clearHistory();
    double const n = static_cast<double>(s.elementCount());
    state.counters["reported_bytes_per_element"] = reported / n;
    state.counters["real_bytes_per_element"] = real / n;
}

} // namespace

BENCHMARK(BM_RestoreWhole)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SetDirectBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RestoreByTemplate)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_UndoMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
