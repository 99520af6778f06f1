#include "bench_store.h"

#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"

namespace MvpBench {

TemplateStore::TemplateStore(Kav::PropertyAccess::PropAccTemplateContainer const& templates)
{
    Kav::KavInit::setApplicationName("mvpbench");
    Kav::Cfg::Settings::setLevelDirectory(Kav::Cfg::LEVEL_USER, dir_.path());
    store_ = std::make_unique<Kav::MCADVisProp::RestoreSnapshotTemplateFile>();
    Kav::MCADVisProp::saveTemplates(templates);
}

TemplateStore::~TemplateStore()
{
    store_.reset();
    Kav::Cfg::Settings::reset();
}

} // namespace MvpBench
