#pragma once

#include "gapp/kav_command.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QStringList>

#include <memory>

namespace Kav {
namespace MCADVisProp {

// "report.update_snapshots": each listed snapshot (["*"]: every one) takes the scene's
// present state - all of it, as if made again under its own name and place, or only what a
// template enables, for the objects it holds - as one undo step.
class UpdateSnapshotsCommand : public GApp::Command {
public:
    UpdateSnapshotsCommand();
    ~UpdateSnapshotsCommand() override;

    bool isSensitive() override;
    bool isExecutable() override;
    QString createParameterString() override;
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override;
    int getCommandKind() const override;
    // Throws Kav::ProgError: there is no menu form of this command.
    bool executeMenu() override;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override;
    bool isUndoRedoPossible() const override;

private:
    QStringList snapshotNames;  // empty: all
    std::unique_ptr<PropertyAccess::PropAccTemplate> updateTemplate;
};

} // namespace MCADVisProp
} // namespace Kav
