#pragma once

#include "kavhost_export.h"

#include <QString>
#include <QStringList>

namespace Kav {
namespace GTools {

// Error ids and the texts shown for them. Modules register their ids at start-up (also from
// static initialisers: the registry is created on first use).
class KAVHOST_EXPORT ErrorMessageContainer {
public:
    // Re-registering an id replaces its texts and keeps its place. A null or empty id is ignored.
    static void registerError(char const* id, QString const& text, QString const& textWt);
    static bool hasError(QString const& id);
    // Empty for an unknown id.
    static QString getText(QString const& id);
    static QString getTextWt(QString const& id);
    // In registration order.
    static QStringList getIds();
    static void unregisterError(QString const& id);
};

} // namespace GTools
} // namespace Kav
