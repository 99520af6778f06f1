#include "gapp/kav_documentation.h"

#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <map>

namespace Kav {
namespace GApp {
namespace {

struct Entry {
    QString helpId;
    QMetaObject::Connection onDestroyed;
};

std::map<QWidget const*, Entry>& entries()
{
    static std::map<QWidget const*, Entry> e;
    return e;
}

} // namespace

void Documentation::registerId(QWidget const* widget, QString const& helpId)
{
    if (widget == nullptr)
        return;
    auto& all = entries();
    auto it = all.find(widget);
    if (helpId.isEmpty()) {
        if (it != all.end()) {
            QObject::disconnect(it->second.onDestroyed);
            all.erase(it);
        }
        return;
    }
    if (it != all.end()) {
        it->second.helpId = helpId;
        return;
    }
    // destroyed() only reads the pointer as a key; the object is half gone by then.
    QMetaObject::Connection const c =
        QObject::connect(widget, &QObject::destroyed, [widget]() { entries().erase(widget); });
    all.emplace(widget, Entry{helpId, c});
}

QString Documentation::getId(QWidget const* widget)
{
    auto const& all = entries();
    auto it = all.find(widget);
    return it != all.end() ? it->second.helpId : QString();
}

} // namespace GApp
} // namespace Kav
