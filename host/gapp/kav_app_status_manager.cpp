#include "gapp/kav_app_status_manager.h"

#include "gapp/kav_special_menu_provider.h"

namespace Kav {
namespace GApp {

AppStatusManager::AppStatusManager(QObject* parent) : QObject(parent) {}

unsigned int AppStatusManager::getUniqueId(QString const& name)
{
    auto it = ids_.find(name);
    if (it != ids_.end())
        return it->second;
    unsigned int const id = nextId_++;
    ids_.emplace(name, id);
    return id;
}

void AppStatusManager::emitDataChanged(unsigned int id, unsigned int reason)
{
    emit dataChanged(id, reason);
}

void AppStatusManager::setSelectionEnabled(bool enabled)
{
    if (enabled == selectionEnabled_)
        return;
    selectionEnabled_ = enabled;
    emit selectionEnabledChanged(enabled);
}

void AppStatusManager::registerSpecialMenuProvider(QString const& key, SpecialMenuProvider* provider)
{
    if (provider == nullptr)
        providers_.erase(key);
    else
        providers_[key] = provider;
}

SpecialMenuProvider* AppStatusManager::getSpecialMenuProvider(QString const& key) const
{
    auto it = providers_.find(key);
    return it != providers_.end() ? it->second.data() : nullptr;
}

QStringList AppStatusManager::getSpecialMenuProviderKeys() const
{
    QStringList keys;
    for (auto const& entry : providers_) {
        if (!entry.second.isNull())
            keys.append(entry.first);
    }
    return keys;
}

} // namespace GApp
} // namespace Kav
