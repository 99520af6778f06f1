#pragma once

#include "kavhost_export.h"

#include <QString>
#include <QStringList>

namespace Kav {
namespace GApp {

class Command;

// Every live command by name. Commands join and leave it themselves (constructor, destructor).
class KAVHOST_EXPORT CommandContainer {
public:
    // nullptr for an unknown name.
    static Command* getCommand(QString const& name);
    // In registration order.
    static QStringList getCommandNames();

private:
    friend class Command;
    // False when the name is taken.
    static bool registerCommand(Command* command);
    // Only removes the entry when it is this very command.
    static void unregisterCommand(Command* command);
};

} // namespace GApp
} // namespace Kav
