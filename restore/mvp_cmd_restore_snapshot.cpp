#include "mvp_cmd_restore_snapshot.h"

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


namespace Kav {
namespace MCADVisProp {

RestorePropertyFromSnapshotCommand::RestorePropertyFromSnapshotCommand()
    : GApp::Command(true, false, QStringLiteral("report.restore_whole_snapshot"),
                    translate("MCADVisProp_cmd", "restore whole snapshot"),
                    QStringLiteral("mcad_vis_prop_restore#three_d_view"), nullptr)
{
}

RestorePropertyFromSnapshotCommand::~RestorePropertyFromSnapshotCommand() = default;

bool RestorePropertyFromSnapshotCommand::isSpecialCommand() const
{
    return false;
}

bool RestorePropertyFromSnapshotCommand::isSensitive()
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    MCADCmd::CachedCmdInterface* cached = MCADCmd::CachedCmdInterface::getInterface();
    if (!ci || !cached)
        return false;
    int snapshots = 0;
    for (QString const& name : cached->getAllSelectedElements(true)) {
        if (isSnapshotElement(ci, name))
            ++snapshots;
    }
    return snapshots == 1;
}

bool RestorePropertyFromSnapshotCommand::isExecutable()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

QString RestorePropertyFromSnapshotCommand::createParameterString()
{
    return Parse::createString(QStringLiteral("snapshot"), QStringLiteral("SNAPSHOT-ELEMENT"));
}

bool RestorePropertyFromSnapshotCommand::parseParameterString(QString const& parameters, bool, QString* errorId,
                                                              ErrorLog* log)
{
    try {
        QString rest = parameters;
        snapshotName = Parse::getString(rest, QStringLiteral("snapshot"));
        Parse::checkEmptyParameters(rest);
        return true;
    } catch (ParamError const& e) {
        return refuseParameters(e, parameters, errorId, log);
    }
}

int RestorePropertyFromSnapshotCommand::getCommandKind() const
{
    return KIND_MENU_AND_SCRIPT;
}

bool RestorePropertyFromSnapshotCommand::executeMenu()
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (!ci || !GApp::MainWindow::main_win)
        return false;
    // With several snapshots selected (the menu entry is off then) the last one wins.
    QString name;
    for (QString const& selected : ci->getAllSelectedElements(true)) {
        if (isSnapshotElement(ci, selected))
            name = selected;
    }
    QString const parameters = Parse::createString(QStringLiteral("snapshot"), name);
    QString result;
    if (!GApp::MainWindow::main_win->execute(this, parameters, &result, false))
        return false;
    showUnappliedProperties(result);
    return true;
}

bool RestorePropertyFromSnapshotCommand::execute(QString* result, QString* errorId, ErrorLog* log)
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
    CAD::Report::AccessList const& accesses = report->getCreationPropertyAccess();
    if (report->dontUpdateSnapshot() || accesses.empty()) {
        drawing.release();
        *errorId = QString::fromLatin1(ERROR_NO_RESTORE_INFO);
        return false;
    }

    RestoreStep recording(getMenuName());

    QStringList names, types, descriptions;
    QStringList const changed = ci->applyPropertyAccessComplete(true, false, accesses, &names, &types, &descriptions);
    finishRestore(ci, report, changed, true, drawing, recording);
    emitDataChanged(0);
    return reportRestore(ci, changed, names, types, descriptions, result, errorId, log);
}

bool RestorePropertyFromSnapshotCommand::isUndoRedoPossible() const
{
    return true;
}

} // namespace MCADVisProp
} // namespace Kav
