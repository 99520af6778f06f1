#include "gapp/kav_command_container.h"

#include "gapp/kav_command.h"

#include <QHash>

namespace Kav {
namespace GApp {
namespace {

struct Registry {
    QHash<QString, Command*> byName;
    QStringList order;
};

// Created on first use, i.e. before the first command, so it outlives static commands.
Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

Command* CommandContainer::getCommand(QString const& name)
{
    return registry().byName.value(name, nullptr);
}

QStringList CommandContainer::getCommandNames()
{
    return registry().order;
}

bool CommandContainer::registerCommand(Command* command)
{
    Registry& r = registry();
    QString const& name = command->getCommandName();
    if (r.byName.contains(name))
        return false;
    r.byName.insert(name, command);
    r.order.append(name);
    return true;
}

void CommandContainer::unregisterCommand(Command* command)
{
    Registry& r = registry();
    QString const& name = command->getCommandName();
    auto it = r.byName.find(name);
    if (it == r.byName.end() || it.value() != command)
        return;
    r.byName.erase(it);
    r.order.removeOne(name);
}

} // namespace GApp
} // namespace Kav
