#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"
#include "gicon/kav_icon_cache.h"
#include "menu/mvp_menu_handler.h"
#include "templates/mvp_restore_template_file.h"

#include <QIcon>
#include <QMenu>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplateContainer;

namespace {

// A store of n user templates in a temporary user level.
class MenuStore {
public:
    explicit MenuStore(int n)
    {
        Kav::KavInit::setApplicationName("mvpbench");
        Kav::Cfg::Settings::setLevelDirectory(Kav::Cfg::LEVEL_USER, dir_.path());
        store_ = std::make_unique<Kav::MCADVisProp::RestoreSnapshotTemplateFile>();
        PropAccTemplateContainer c;
        for (int i = 0; i < n; ++i)
            c.add(PropAccTemplate(QStringLiteral("template %1").arg(i)));
        Kav::MCADVisProp::saveTemplates(c);
    }
    ~MenuStore()
    {
        store_.reset();
        Kav::Cfg::Settings::reset();
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<Kav::MCADVisProp::RestoreSnapshotTemplateFile> store_;
};

// Filling the restore-template menu as the host does before showing it: the store is read
// anew and one entry made per template. Target: 1,000 templates in under 16 ms.
void BM_FillMenu(benchmark::State& state)
{
    MenuStore store(static_cast<int>(state.range(0)));
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
