#pragma once

#include "gapp/kav_command.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QStringList>

#include <memory>

namespace Kav {
namespace MCADVisProp {

// "report.restore_snapshot_elements": restores only the named elements from a snapshot
// (not the view, not the legend), whole or through a template, as one undo step. Its time
// follows the number of elements named, not the size of the scene.
class RestoreSnapshotElementsCommand : public GApp::Command {
public:
    RestoreSnapshotElementsCommand();
    ~RestoreSnapshotElementsCommand() override;

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
    QString snapshotName;
    QStringList elementNames;
    std::unique_ptr<PropertyAccess::PropAccTemplate> restoreTemplate;
};

} // namespace MCADVisProp
} // namespace Kav
