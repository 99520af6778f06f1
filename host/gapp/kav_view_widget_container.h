#pragma once

#include "kavhost_export.h"

#include <QString>

#include <functional>
#include <map>

namespace Kav {
namespace GApp {

// Makes one kind of view of the host; known to ViewWidgetContainer by its name.
class KAVHOST_EXPORT ViewWidgetCreator {
public:
    explicit ViewWidgetCreator(QString const& viewName);
    // Leaves the container if it is registered there.
    virtual ~ViewWidgetCreator();
    ViewWidgetCreator(ViewWidgetCreator const&) = delete;
    ViewWidgetCreator& operator=(ViewWidgetCreator const&) = delete;

    QString const& getViewName() const { return viewName_; }

private:
    QString viewName_;
};

// The host's views by name, in name order. Creators are not owned.
class KAVHOST_EXPORT ViewWidgetContainer {
public:
    using Map = std::map<QString, ViewWidgetCreator*>;

    // Throws ProgError for nullptr or a name taken by another creator.
    static void registerView(ViewWidgetCreator* creator);
    static void unregisterView(QString const& name);

    static Map::const_iterator getWidgetBegin();
    static Map::const_iterator getWidgetEnd();

    // Brings a registered view to the front through the callback (the application switches
    // its view; `activate` is for it to give the view the focus as well - the callback is
    // told the name only). An unknown name is warned about and ignored.
    static void ensureViewVisible(QString const& name, bool activate);
    // The last view brought to the front; empty at first.
    static QString frontView();
    static void setFrontViewCallback(std::function<void(QString const&)> callback);
};

} // namespace GApp
} // namespace Kav
