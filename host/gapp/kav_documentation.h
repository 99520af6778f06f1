#pragma once

#include "kavhost_export.h"

#include <QString>

class QWidget;

namespace Kav {
namespace GApp {

// Help ids of widgets, for context help. An entry drops when its widget is destroyed.
class KAVHOST_EXPORT Documentation {
public:
    // Registering again replaces the id; an empty id removes the entry.
    static void registerId(QWidget const* widget, QString const& helpId);
    // Empty when the widget has none. Only a lookup: the pointer need not be alive.
    static QString getId(QWidget const* widget);
};

} // namespace GApp
} // namespace Kav
