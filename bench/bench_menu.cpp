#include "bench_store.h"

#include "gicon/kav_icon_cache.h"
#include "menu/mvp_menu_handler.h"

#include <QIcon>
#include <QMenu>
#include <benchmark/benchmark.h>

using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplateContainer;

namespace {

// A store of n plain user templates.
PropAccTemplateContainer plainTemplates(int n)
{
    PropAccTemplateContainer c;
    for (int i = 0; i < n; ++i)
        c.add(PropAccTemplate(QStringLiteral("template %1").arg(i)));
    return c;
}

// Filling the restore-template menu as the host does before showing it: the store is read
// anew and one entry made per template. Target: 1,000 templates in under 16 ms.
void BM_FillMenu(benchmark::State& state)
{
    MvpBench::TemplateStore const store(plainTemplates(static_cast<int>(state.range(0))));
    Kav::MCADVisProp::MenuHandler handler;
    QMenu menu;
    for (auto _ : state) {
        menu.clear();
        handler.fillMenu(&menu);
        benchmark::DoNotOptimize(menu.actions().size());
    }
}

// Baseline: the same number of entries with text and level icon, made directly from
// templates already in memory.
void BM_FillMenuBaseline(benchmark::State& state)
{
    PropAccTemplateContainer c;
    for (int i = 0; i < state.range(0); ++i)
        c.add(PropAccTemplate(QStringLiteral("template %1").arg(i)));
    QMenu menu;
    for (auto _ : state) {
        menu.clear();
        for (unsigned int i = 0; i < c.getNumberOfTemplates(); ++i) {
            PropAccTemplate const t = c.getTemplate(i);
            auto* action = new QAction(&menu);
            action->setIcon(QIcon(*Kav::GIcon::Cache::getConfigLevelIcon(t.configLevel())));
            action->setText(t.getName());
            menu.addAction(action);
        }
        benchmark::DoNotOptimize(menu.actions().size());
    }
}

} // namespace

BENCHMARK(BM_FillMenu)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillMenuBaseline)->Arg(1000)->Unit(benchmark::kMillisecond);
