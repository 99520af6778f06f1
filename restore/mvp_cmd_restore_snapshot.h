#pragma once

#include "gapp/kav_command.h"

namespace Kav {
namespace MCADVisProp {

// "report.restore_whole_snapshot": applies every property access a snapshot recorded, as
// one undo step, and lists what could not be applied. From the menu it restores the one
// selected snapshot and shows that list in a warning.
class RestorePropertyFromSnapshotCommand : public GApp::Command {
public:
    RestorePropertyFromSnapshotCommand();
    ~RestorePropertyFromSnapshotCommand() override;

    bool isSpecialCommand() const override;
    bool isSensitive() override;
    bool isExecutable() override;
    QString createParameterString() override;
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override;
    int getCommandKind() const override;
    bool executeMenu() override;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override;
    bool isUndoRedoPossible() const override;

    QString const& getSnapshotName() const { return snapshotName; }

private:
    QString snapshotName;
};

} // namespace MCADVisProp
} // namespace Kav
