#pragma once

#include "kavhost_export.h"

#include <QObject>

namespace Kav {
namespace CAD {

// Emits historyChanged() whenever the undo/redo history changes (a step added, undone,
// redone or dropped, the history cleared): the application refreshes its Edit menu.
// recordingStarted() comes when an outermost step opens.
class KAVHOST_EXPORT RecordNotifier : public QObject {
    Q_OBJECT
public:
    explicit RecordNotifier(QObject* parent = nullptr);

signals:
    void historyChanged();
    void recordingStarted();
};

} // namespace CAD
} // namespace Kav
