#include "bench_store.h"

#include "templates/mvp_edit_restore_templates_dialog.h"

#include <QTreeWidget>
#include <benchmark/benchmark.h>

using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplateContainer;

namespace {

// n templates, each with a view part whose rotation flag alternates.
PropAccTemplateContainer viewTemplates(int n)
{
    using namespace Kav::PropertyAccess;
    PropAccTemplateContainer templates;
    for (int i = 0; i < n; ++i) {
        PropAccTemplate t(QStringLiteral("restore template %1").arg(i));
        PropAccTemplatePart part(PROP_ACC_3D_VIEW);
        part.setUsage(PROP_ROTATION, i % 2 == 0);
        t.set(part);
        templates.add(t);
    }
    return templates;
}

// Opening the edit dialog on n stored templates: load, build both panes, show the first.
// Target: 1,000 templates in under 100 ms.
void BM_OpenEditDialog(benchmark::State& state)
{
    MvpBench::TemplateStore const store(viewTemplates(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        Kav::MCADVisProp::EditRestoreTemplatesDialog dialog;
        dialog.show();
        benchmark::DoNotOptimize(dialog._list_w->topLevelItemCount());
    }
}

// Baseline: loading the same store and listing the names in a plain shown tree widget.
void BM_OpenPlainListBaseline(benchmark::State& state)
{
    MvpBench::TemplateStore const store(viewTemplates(static_cast<int>(state.range(0))));
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
