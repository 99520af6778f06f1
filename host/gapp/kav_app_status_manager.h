#pragma once

#include "kavhost_export.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <map>

namespace Kav {
namespace GApp {

class SpecialMenuProvider;

// Application-wide state that views and commands watch: data-change notices by id, the
// selection switch, and the providers of plug-in menus.
class KAVHOST_EXPORT AppStatusManager : public QObject {
    Q_OBJECT
public:
    explicit AppStatusManager(QObject* parent = nullptr);

    // Same name -> same id for the life of the manager; ids start at 1 (0 is never handed out).
    unsigned int getUniqueId(QString const& name);
    void emitDataChanged(unsigned int id, unsigned int reason);

    // Enabled at start; selectionEnabledChanged only on a real change.
    void setSelectionEnabled(bool enabled);
    bool isSelectionEnabled() const { return selectionEnabled_; }

    // Not owned. A provider deleted by its owner disappears; a second one under a key replaces
    // the first; nullptr removes the key.
    void registerSpecialMenuProvider(QString const& key, SpecialMenuProvider* provider);
    SpecialMenuProvider* getSpecialMenuProvider(QString const& key) const;
    // Keys of the providers still alive, sorted.
    QStringList getSpecialMenuProviderKeys() const;

signals:
    void dataChanged(unsigned int id, unsigned int reason);
    void selectionEnabledChanged(bool enabled);

private:
    std::map<QString, unsigned int> ids_;
    unsigned int nextId_ = 1;
    bool selectionEnabled_ = true;
    std::map<QString, QPointer<SpecialMenuProvider>> providers_;
};

} // namespace GApp
} // namespace Kav
