#include "mvp_cmd_restore_from_template.h"

#include "cad/kav_element.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_main_window.h"
#include "library/mvp_errors.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_restore_common.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_property_access_base.h"


#include <map>
#include <memory>
#include <vector>

namespace Kav {
namespace MCADVisProp {

RestoreSnapshotTemplateCommand::RestoreSnapshotTemplateCommand()
    : GApp::Command(true, false, QStringLiteral("report.restore_by_template"),
                    translate("MCADVisProp_cmd", "restore snapshot by template"),
                    QStringLiteral("mcad_vis_prop_restore#from_template"), nullptr)
{
}

RestoreSnapshotTemplateCommand::~RestoreSnapshotTemplateCommand() = default;

bool RestoreSnapshotTemplateCommand::isSpecialCommand() const
{
    return false;
}

bool RestoreSnapshotTemplateCommand::isSensitive()
{
    return false;
}

bool RestoreSnapshotTemplateCommand::isExecutable()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

QString RestoreSnapshotTemplateCommand::createParameterString()
{
    return createTemplateParameterString(QStringLiteral("SNAPSHOT"), PropertyAccess::PropAccTemplate());
}

QString RestoreSnapshotTemplateCommand::createTemplateParameterString(QString const& snapshot,
                                                                      PropertyAccess::PropAccTemplate const& tmpl)
{
    return Parse::createString(QStringLiteral("snapshot"), snapshot) + tmpl.createParameterString(QStringLiteral("template"));
}

bool RestoreSnapshotTemplateCommand::parseParameterString(QString const& parameters, bool, QString* errorId,
                                                          ErrorLog* log)
{
    try {
        QString rest = parameters;
        snapshotName = Parse::getString(rest, QStringLiteral("snapshot"));
        restoreTemplate.parseParameterString(rest, QStringLiteral("template"));
        Parse::checkEmptyParameters(rest);
        return true;
    } catch (ParamError const& e) {
        return refuseParameters(e, parameters, errorId, log);
    }
}

int RestoreSnapshotTemplateCommand::getCommandKind() const
{
    return KIND_SCRIPT;
}

bool RestoreSnapshotTemplateCommand::executeMenu()
{
    throw ProgError(KAV_HERE, QStringLiteral("this command cannot be used in a menu"));
}

bool RestoreSnapshotTemplateCommand::execute(QString* result, QString* errorId, ErrorLog* log)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    GApp::MainWindow* win = GApp::MainWindow::main_win;
    if (!ci || !win)
        return false;

    settlePendingEvents(win);

    DrawingLock drawing;
    auto const* report = dynamic_cast<CAD::Report const*>(ci->getCADElementForElement(snapshotName).getElement());
    if (!report) {
        drawing.release();
        *errorId = QString::fromLatin1(ERROR_NOT_A_SNAPSHOT);
        if (log)
            *log << notASnapshotText(ci, snapshotName) << END_LOG;
        return false;
    }
    // Unlike the whole restore, a snapshot without accesses is no error: nothing is applied.
    if (report->dontUpdateSnapshot()) {
        drawing.release();
        *errorId = QString::fromLatin1(ERROR_NO_RESTORE_INFO);
        return false;
    }

    RestoreStep recording(getMenuName());

    // The template sets the usage flags of copies; the report's own accesses stay as recorded.
    std::vector<std::unique_ptr<PropertyAccess::PropertyAccessBase>> copies;
    MCADCmd::AccessList working;
    for (PropertyAccess::PropertyAccessBase const* access : report->getCreationPropertyAccess()) {
        copies.emplace_back(access->copy());
        working.push_back(copies.back().get());
    }
    // Parts by type, asked for once: a snapshot holds thousands of accesses of a few types.
    std::map<PropertyAccess::PropAccessType_t, PropertyAccess::PropAccTemplatePart> parts;
    for (PropertyAccess::PropertyAccessBase* copy : working) {
        PropertyAccess::PropAccessType_t const type = copy->getType();
        auto part = parts.find(type);
        if (part == parts.end())
            part = parts.emplace(type, restoreTemplate.getTemplatePart(type)).first;
        // Without a part for its type an access is restored with the flags it was stored with.
        if (part->second.getType() == type)
            part->second.apply(copy);
    }

    QStringList names, types, descriptions;
    QStringList const changed =
        ci->applyPropertyAccessComplete(restoreTemplate.newInvisible(), restoreTemplate.invalidCMMInvisible(), working,
                                        &names, &types, &descriptions);
    working.clear();
    copies.clear();

    finishRestore(ci, report, changed, true, drawing, recording);
    emitDataChanged(0);
    return reportRestore(ci, changed, names, types, descriptions, result, errorId, log);
}

bool RestoreSnapshotTemplateCommand::isUndoRedoPossible() const
{
    return true;
}

} // namespace MCADVisProp
} // namespace Kav
