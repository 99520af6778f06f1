#pragma once

#include "gapp/kav_command.h"

namespace Kav {
namespace MCADVisProp {

// "report.import_restore_templates": reads an exchange file and appends its templates to
// the store, renaming those whose names are taken. Runs from scripts and macros only.
class ImportResTemCommand : public GApp::Command {
public:
    ImportResTemCommand();
    ~ImportResTemCommand() override;

    bool isSpecialCommand() const override;
    bool isSensitive() override;
    bool isExecutable() override;
    QString createParameterString() override;
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override;
    int getCommandKind() const override;
    bool executeMenu() override;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override;

    // The parameter string that imports `path`; the edit dialog records it in macros.
    QString createFileParameterString(QString const& path);

private:
    QString file;
};

} // namespace MCADVisProp
} // namespace Kav
