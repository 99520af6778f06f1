#include "mvp_cmd_restore_elements.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_main_window.h"
#include "gcad/kav_gcad.h"
#include "library/mvp_errors.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_restore_common.h"
#include "mvp_snapshot_lookup.h"
#include "parse/kav_parse.h"

#include <QCoreApplication>
#include <QSet>

#include <map>
#include <memory>
#include <vector>

namespace Kav {
namespace MCADVisProp {

RestoreSnapshotElementsCommand::RestoreSnapshotElementsCommand()
    : GApp::Command(true, false, QStringLiteral("report.restore_snapshot_elements"),
                    translate("MCADVisProp_cmd", "restore snapshot elements"),
                    QStringLiteral("mcad_vis_prop_restore#elements"), nullptr)
{
}

RestoreSnapshotElementsCommand::~RestoreSnapshotElementsCommand() = default;

bool RestoreSnapshotElementsCommand::isSensitive()
{
    return false;
}

bool RestoreSnapshotElementsCommand::isExecutable()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

QString RestoreSnapshotElementsCommand::createParameterString()
{
    return Parse::createString(QStringLiteral("snapshot"), QStringLiteral("SNAPSHOT"))
           + Parse::createStringVector(QStringLiteral("elements"), QStringList{QStringLiteral("ELEMENT")});
}

bool RestoreSnapshotElementsCommand::parseParameterString(QString const& parameters, bool, QString* errorId,
                                                          ErrorLog* log)
{
    try {
        QString rest = parameters;
        QString const snapshot = Parse::getString(rest, QStringLiteral("snapshot"));
        QStringList const elements = Parse::getStringVector(rest, QStringLiteral("elements"), 0, 0xFFFFFFFFu);
        std::unique_ptr<PropertyAccess::PropAccTemplate> tmpl = takeTemplate(rest);
        Parse::checkEmptyParameters(rest);
        if (elements.isEmpty())
            throw ParamError(translate("MCADVisProp_cmd", "elements: the list names no element to restore"));
        snapshotName = snapshot;
        elementNames = elements;
        elementNames.removeDuplicates();
        restoreTemplate = std::move(tmpl);
        return true;
    } catch (ParamError const& e) {
        *errorId = QString::fromLatin1(GApp::PARAMETER_ERROR);
        *log << e.getText() << "\n\n" << createErrorString(parameters) << END_LOG;
        return false;
    }
}

int RestoreSnapshotElementsCommand::getCommandKind() const
{
    return KIND_SCRIPT;
}

bool RestoreSnapshotElementsCommand::executeMenu()
{
    throw ProgError(QStringLiteral("Kav::MCADVisProp::RestoreSnapshotElementsCommand::executeMenu"),
                    QStringLiteral("mvp_cmd_restore_elements"), __LINE__,
                    QStringLiteral("this command cannot be used in a menu"));
}

bool RestoreSnapshotElementsCommand::execute(QString* result, QString* errorId, ErrorLog* log)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    GApp::MainWindow* win = GApp::MainWindow::main_win;
    if (!ci || !win)
        return false;

    // Let pending events (a redraw, the selection) run before the scene changes.
    win->lockGUI(nullptr);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    win->unlockGUI(nullptr);

    DrawingLock drawing;
    CAD::Report const* report = findRestorableSnapshot(ci, snapshotName, !restoreTemplate, errorId, log);
    if (report == nullptr) {
        drawing.release();
        return false;
    }
    CAD::Report::AccessList const& accesses = report->getCreationPropertyAccess();
    AccessFinder finder(accesses);
    QStringList names, types, descriptions;
    std::vector<std::unique_ptr<PropertyAccess::PropertyAccessBase>> copies;
    // Element accesses whose element is there are applied here; the rest go through the
    // host, which names what it cannot apply but goes through the whole scene to do so.
    MCADCmd::AccessList direct, others;
    QStringList present;
    std::map<PropertyAccess::PropAccessType_t, PropertyAccess::PropAccTemplatePart> parts;
    for (QString const& name : elementNames) {
        CAD::Element* e = sceneElement(ci, name);
        long const at = finder.find(name, e != nullptr ? finder.expectedForScene(e->getSceneIndex()) : -1);
        if (at < 0) {
            names << name;
            types << (e != nullptr ? CAD::ElementCreator::getTypeDescription(e->getElementType()) : QString());
            descriptions << translate("MCADVisProp_cmd", "the snapshot does not hold this element");
            continue;
        }
        PropertyAccess::PropertyAccessBase* access = accesses[static_cast<std::size_t>(at)];
        if (restoreTemplate) {
            // The template sets the flags of a copy; the snapshot's own access stays as recorded.
            copies.emplace_back(access->copy());
            access = copies.back().get();
            auto part = parts.find(access->getType());
            if (part == parts.end())
                part = parts.emplace(access->getType(), restoreTemplate->getTemplatePart(access->getType())).first;
            part->second.apply(access);
        }
        if (e != nullptr)
            present << name;
        (e != nullptr && access->getType() == PropertyAccess::PROP_ACC_CAD_ELEMENT ? direct : others).push_back(access);
    }

    RestoreStep recording(getMenuName(), &present);
    QStringList changed;
    for (PropertyAccess::PropertyAccessBase const* access : direct) {
        access->apply(access->getExplorerName());
        changed << access->getExplorerName();
    }
    // An element the scene no longer has is named with each of its properties, as the
    // restore commands name it.
    if (!others.empty())
        changed += ci->applyPropertyAccessComplete(false, false, others, &names, &types, &descriptions);
    if (restoreTemplate && restoreTemplate->invalidCMMInvisible()) {
        for (QString const& name : present) {
            CAD::Element* e = sceneElement(ci, name);
            if (!e->isValid() && e->isVisible(CAD::VISIBLE_OWN)) {
                e->setElementVisible(false);
                if (!changed.contains(name))
                    changed << name;
            }
        }
    }
    // Only their labels can have moved.
    GCAD::RenderCallback* render = ci->getRenderCallback();
    if (render != nullptr && render->getOverlay2d() != nullptr) {
        for (QString const& name : present)
            render->getOverlay2d()->repositionLabel(sceneElement(ci, name)->getLabel());
    }
    for (QString const& name : changed)
        ci->setModified(name, true);
    drawing.release();

    bringSnapshotViewToFront(report);
    recording.stop();
    emitDataChanged(0);

    if (!changed.isEmpty() && !ci->elementPropertiesChanged(changed, log)) {
        *errorId = QString::fromLatin1(ERROR_SAVE_PROJECT);
        return false;
    }
    *result = createRestoreResult(names, types, descriptions);
    return true;
}

bool RestoreSnapshotElementsCommand::isUndoRedoPossible() const
{
    return true;
}

} // namespace MCADVisProp
} // namespace Kav
