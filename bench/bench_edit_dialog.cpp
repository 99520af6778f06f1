#include "access/mvp_property_access.h"
#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"
#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_factory.h"
#include "templates/mvp_edit_restore_templates_dialog.h"
#include "templates/mvp_restore_template_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplateContainer;

namespace {

// A user store of n templates in a temporary level tree, the template store and the
// library's four creators, for the life of one benchmark.
class StoreOf {
public:
    explicit StoreOf(int n)
    {
        using namespace Kav::PropertyAccess;
        Kav::KavInit::setApplicationName("mvpbench");
        Kav::Cfg::Settings::setLevelDirectory(Kav::Cfg::LEVEL_USER, dir_.path());
        store_ = std::make_unique<Kav::MCADVisProp::RestoreSnapshotTemplateFile>();
        PropAccTemplateContainer templates;
        for (int i = 0; i < n; ++i) {
            PropAccTemplate t(QStringLiteral("restore template %1").arg(i));
            PropAccTemplatePart part(PROP_ACC_3D_VIEW);
            part.setUsage(PROP_ROTATION, i % 2 == 0);
            t.set(part);
            templates.add(t);
        }
        Kav::IO::OutStream out(store_->getSaveFileName(), Kav::KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
        templates.saveStream(&out);
        out.close();
    }
    ~StoreOf()
    {
        store_.reset();
        Kav::Cfg::Settings::reset();
    }

private:
    QTemporaryDir dir_;
    Kav::MCADVisProp::CADElementPropertyAccessCreator element_;
    Kav::MCADVisProp::CADContainerPropertyAccessCreator container_;
    Kav::MCADVisProp::GLViewPropertyAccessCreator view_;
    Kav::MCADVisProp::LegendPropertyAccessCreator legend_;
    std::unique_ptr<Kav::MCADVisProp::RestoreSnapshotTemplateFile> store_;
};

// Opening the edit dialog on n stored templates: load, build both panes, show the first.
// Target: 1,000 templates in under 100 ms.
void BM_OpenEditDialog(benchmark::State& state)
{
    StoreOf const store(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Kav::MCADVisProp::EditRestoreTemplatesDialog dialog;
        dialog.show();
        benchmark::DoNotOptimize(dialog._list_w->topLevelItemCount());
    }
}

// Baseline: loading the same store and listing the names in a plain shown tree widget.
void BM_OpenPlainListBaseline(benchmark::State& state)
{
    StoreOf const store(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PropAccTemplateContainer const templates = Kav::MCADVisProp::loadAllTemplates();
        QTreeWidget list;
        for (unsigned int i = 0; i < templates.getNumberOfTemplates(); ++i)
            new QTreeWidgetItem(&list, QStringList(templates.getTemplate(i).getName()));
        list.show();
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
}

} // namespace

BENCHMARK(BM_OpenEditDialog)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPlainListBaseline)->Arg(1000)->Unit(benchmark::kMillisecond);
