#pragma once

#include "kavhost_export.h"

#include <QObject>
#include <QString>

class QWidget;

namespace Kav {
namespace GApp {

// Fills one of the host's menus that a plug-in owns (registered under a MenuData key).
// Plug-ins derive from it: the order of the virtual functions is part of the interface.
class KAVHOST_EXPORT SpecialMenuProvider : public QObject {
    Q_OBJECT
public:
    explicit SpecialMenuProvider(QObject* parent = nullptr);

    virtual bool isVisible();                    // true
    virtual QString getMenuTitle() = 0;
    virtual void fillMenu(QWidget* menu) = 0;    // menu: the QMenu to fill
};

} // namespace GApp
} // namespace Kav
