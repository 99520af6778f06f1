#pragma once

#include "gapp/kav_command.h"
#include "propertyaccess/kav_prop_acc_template.h"

namespace Kav {
namespace MCADVisProp {

// "report.restore_by_template": restores a snapshot like the whole restore, but only the
// properties a restore template enables, and hides new and invalid elements as the template
// asks. The filtering works on copies, so the snapshot's own record stays complete.
// Runs with a parameter string only (scripts, the restore-template menu), never from a menu.
class RestoreSnapshotTemplateCommand : public GApp::Command {
public:
    RestoreSnapshotTemplateCommand();
    ~RestoreSnapshotTemplateCommand() override;

    bool isSpecialCommand() const override;
    bool isSensitive() override;
    bool isExecutable() override;
    QString createParameterString() override;
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override;
    int getCommandKind() const override;
    // Throws Kav::ProgError: there is no menu form of this command.
    bool executeMenu() override;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override;
    bool isUndoRedoPossible() const override;

    // The parameter string that restores `snapshot` with `tmpl`.
    virtual QString createTemplateParameterString(QString const& snapshot, PropertyAccess::PropAccTemplate const& tmpl);

    QString const& getSnapshotName() const { return snapshotName; }
    PropertyAccess::PropAccTemplate const& getRestoreTemplate() const { return restoreTemplate; }

private:
    QString snapshotName;
    PropertyAccess::PropAccTemplate restoreTemplate;
};

} // namespace MCADVisProp
} // namespace Kav
