#include "gapp/kav_view_widget_container.h"

#include "core/kav_errors.h"

#include <QtGlobal>

#include <utility>

namespace Kav {
namespace GApp {
namespace {

struct Registry {
    ViewWidgetContainer::Map views;
    QString front;
    std::function<void(QString const&)> callback;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

ViewWidgetCreator::ViewWidgetCreator(QString const& viewName) : viewName_(viewName) {}

ViewWidgetCreator::~ViewWidgetCreator()
{
    auto& views = registry().views;
    auto it = views.find(viewName_);
    if (it != views.end() && it->second == this)
        views.erase(it);
}

void ViewWidgetContainer::registerView(ViewWidgetCreator* creator)
{
    if (creator == nullptr)
        throw ProgError(KAV_HERE, QStringLiteral("no creator given"));
    auto& views = registry().views;
    auto it = views.find(creator->getViewName());
    if (it != views.end()) {
        if (it->second == creator)
            return;
        throw ProgError(KAV_HERE, QStringLiteral("view \"%1\" is registered twice").arg(creator->getViewName()));
    }
    views.emplace(creator->getViewName(), creator);
}

void ViewWidgetContainer::unregisterView(QString const& name)
{
    registry().views.erase(name);
}

ViewWidgetContainer::Map::const_iterator ViewWidgetContainer::getWidgetBegin()
{
    return registry().views.cbegin();
}

ViewWidgetContainer::Map::const_iterator ViewWidgetContainer::getWidgetEnd()
{
    return registry().views.cend();
}

void ViewWidgetContainer::ensureViewVisible(QString const& name, bool)
{
    Registry& r = registry();
    if (r.views.find(name) == r.views.end()) {
        qWarning("ViewWidgetContainer: there is no view \"%s\"", qUtf8Printable(name));
        return;
    }
    r.front = name;
    if (r.callback) {
        // A copy: the callback may replace itself.
        auto const callback = r.callback;
        callback(name);
    }
}

QString ViewWidgetContainer::frontView()
{
    return registry().front;
}

void ViewWidgetContainer::setFrontViewCallback(std::function<void(QString const&)> callback)
{
    registry().callback = std::move(callback);
}

} // namespace GApp
} // namespace Kav
