#include "mcadcmd/kav_host_session.h"

#include "gapp/kav_view_widget_container.h"
#include "glegend2/kav_global_legend.h"

namespace Kav {
namespace MCADCmd {

QString HostSession::mainViewName()
{
    return QStringLiteral("3D View");
}

HostSession::HostSession() : ci_(&scene_), cached_(&scene_), printer_(mainViewName())
{
    CommandInterface::setInterface(&ci_);
    CachedCmdInterface::setInterface(&cached_);
    GLegend2::GlobalLegend::setInstance(scene_.legend());
    bool taken = false;
    for (auto it = GApp::ViewWidgetContainer::getWidgetBegin(); it != GApp::ViewWidgetContainer::getWidgetEnd(); ++it)
        taken = taken || it->first == mainViewName();
    if (!taken) {
        view_ = std::make_unique<GApp::ViewWidgetCreator>(mainViewName());
        GApp::ViewWidgetContainer::registerView(view_.get());
    }
}

HostSession::~HostSession()
{
    if (CommandInterface::getInterface() == &ci_)
        CommandInterface::setInterface(nullptr);
    if (CachedCmdInterface::getInterface() == &cached_)
        CachedCmdInterface::setInterface(nullptr);
    if (GLegend2::GlobalLegend::getInstance() == scene_.legend())
        GLegend2::GlobalLegend::setInstance(nullptr);
}

} // namespace MCADCmd
} // namespace Kav
