#include "mvp_cmd_edit_templates.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_gapp_errors.h"
#include "gtools/kav_dialogs.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_edit_restore_templates_dialog.h"
#include "parse/kav_parse.h"

namespace Kav {
namespace MCADVisProp {

EditRestoreTemplateCommand::EditRestoreTemplateCommand()
    : GApp::Command(true, false, QStringLiteral("report.change_restore_templates"),
                    translate("MCADVisProp_cmd", "edit restore templates"),
                    QStringLiteral("mcad_vis_prop_restore#edit_template"), nullptr)
{
}

EditRestoreTemplateCommand::~EditRestoreTemplateCommand() = default;

bool EditRestoreTemplateCommand::isSpecialCommand() const
{
    return false;
}

bool EditRestoreTemplateCommand::isSensitive()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

bool EditRestoreTemplateCommand::isExecutable()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

QString EditRestoreTemplateCommand::createParameterString()
{
    return QString();
}

bool EditRestoreTemplateCommand::parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log)
{
    try {
        Parse::checkEmptyParameters(parameters);
        return true;
    } catch (ParamError const& e) {
        return refuseParameters(e, parameters, errorId, log);
    }
}

int EditRestoreTemplateCommand::getCommandKind() const
{
    return KIND_INTERACTIVE;
}

bool EditRestoreTemplateCommand::executeMenu()
{
    if (MCADCmd::CommandInterface::getInterface() == nullptr)
        return false;
    // A user store that cannot be read throws from here to the host, which reports it; the
    // other levels' are left out with a warning.
    EditRestoreTemplatesDialog dialog;
    GTools::execDialog(dialog);
    return true;
}

bool EditRestoreTemplateCommand::execute(QString*, QString*, ErrorLog*)
{
    return false;
}

} // namespace MCADVisProp
} // namespace Kav
