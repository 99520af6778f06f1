#pragma once

#include "gapp/kav_command.h"

namespace Kav {
namespace MCADVisProp {

// "report.change_restore_templates": opens the edit dialog from the menu. Takes no
// parameters and does nothing in scripts.
class EditRestoreTemplateCommand : public GApp::Command {
public:
    EditRestoreTemplateCommand();
    ~EditRestoreTemplateCommand() override;

    bool isSpecialCommand() const override;
    bool isSensitive() override;
    bool isExecutable() override;
    QString createParameterString() override;
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override;
    int getCommandKind() const override;
    bool executeMenu() override;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override;
};

} // namespace MCADVisProp
} // namespace Kav
