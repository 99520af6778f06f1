#include "mvp_restore_common.h"

#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "core/kav_translate.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_view_widget_container.h"
#include "gcad/kav_gcad.h"
#include "glegend2/kav_global_legend.h"
#include "gtools/kav_dialogs.h"
#include "mcadcmd/kav_command_interface.h"
#include "mprinter/kav_print_interface.h"
#include "mvp_restore_record.h"
#include "parse/kav_parse.h"

namespace Kav {
namespace MCADVisProp {
namespace {

// Up to this many lines the warning lists everything; above, only the first shownWhenCut.
int const maxFullList = 40;
int const shownWhenCut = 35;

unsigned int const anyCount = 4294967295u;

} // namespace

MPrinter::PrintInterface* documentationInterface()
{
    for (MPrinter::PrintInterface* pi : MPrinter::PrintInterfaceContainer::getAllInterfaces()) {
        if (pi && pi->isActive() && pi->hasDocumentation() && pi->isAvailable())
            return pi;
    }
    return nullptr;
}

bool isSnapshotElement(MCADCmd::CommandInterface const* ci, QString const& name)
{
    if (!ci->isDocumentationElement(name))
        return false;
    CAD::Element const* element = ci->getCADElementForElement(name).getElement();
    return element && element->getElementType() == CAD::ElementCreator::REPORT;
}

QString notASnapshotText(MCADCmd::CommandInterface const* ci, QString const& name)
{
    if (name.isEmpty())
        return translate("MCADVisProp_cmd", "no snapshot was named (the name is empty)");
    if (ci->getCADElementForElement(name).getElement() == nullptr)
        return translate("MCADVisProp_cmd", "no snapshot has the name \"%1\"").arg(name);
    return translate("MCADVisProp_cmd", "\"%1\" is not a snapshot").arg(name);
}

void bringSnapshotViewToFront(CAD::Report const* report)
{
    QString view;
    bool found = false;
    for (MPrinter::PrintInterface* pi : MPrinter::PrintInterfaceContainer::getSensitiveInterfaces()) {
        if (pi && pi->isActive()) {
            view = pi->getViewName();
            found = true;
            break;
        }
    }
    for (auto it = GApp::ViewWidgetContainer::getWidgetBegin(); it != GApp::ViewWidgetContainer::getWidgetEnd(); ++it) {
        if (it->first == report->getViewName()) {
            view = report->getViewName();
            found = true;
            break;
        }
    }
    if (found)
        GApp::ViewWidgetContainer::ensureViewVisible(view, false);
}

void refreshLabelsAndLegend(MCADCmd::CommandInterface const* ci)
{
    GCAD::RenderCallback* render = ci->getRenderCallback();
    if (render && render->getOverlay2d())
        render->getOverlay2d()->repositionLabels();
    GApp::AppStatusManager* smgr = GApp::MainWindow::smgr;
    if (smgr)
        smgr->emitDataChanged(smgr->getUniqueId(QString::fromLatin1(GLegend2::APP_NAME)), GLegend2::REASON_LUT);
}

QString createRestoreResult(QStringList const& names, QStringList const& types, QStringList const& descriptions)
{
    return Parse::createStringVector(QStringLiteral("not_found_names"), names)
        + Parse::createStringVector(QStringLiteral("not_found_types"), types)
        + Parse::createStringVector(QStringLiteral("not_found_descriptions"), descriptions);
}

QStringList unappliedPropertyLines(QStringList const& names, QStringList const& descriptions)
{
    QStringList lines;
    for (int i = 0; i < names.size(); ++i) {
        QString const description = i < descriptions.size() ? descriptions[i] : QString();
        if (description.isEmpty())
            lines << names[i];
        else
            lines << names[i] + QStringLiteral(" (") + description + QLatin1Char(')');
    }
    return lines;
}

void showUnappliedProperties(QString const& result)
{
    QString rest = result;
    QStringList const names = Parse::getStringVector(rest, QStringLiteral("not_found_names"), 0, anyCount);
    QStringList const descriptions = Parse::getStringVector(rest, QStringLiteral("not_found_descriptions"), 0, anyCount);
    QStringList const lines = unappliedPropertyLines(names, descriptions);
    if (lines.isEmpty())
        return;
    int const count = lines.size();
    int const shown = count > maxFullList ? shownWhenCut : count;
    QString details = lines.mid(0, shown).join(QStringLiteral(",\n"));
    if (shown < count)
        details += QStringLiteral(",\n") + translate("MCADVisProp_cmd", "and %1 further properties").arg(count - shown);
    GTools::OkDialog(GTools::DIALOG_WARNING, translate("MCADVisProp_cmd", "warning"),
                     translate("MCADVisProp_cmd", "there are %1 properties, who could not be applied:").arg(count),
                     details, QString());
}

DrawingLock::DrawingLock()
{
    GApp::MainWindow::main_win->lockDrawing();
}

DrawingLock::~DrawingLock()
{
    release();
}

void DrawingLock::release()
{
    if (held_) {
        held_ = false;
        GApp::MainWindow::main_win->unlockDrawing();
    }
}

RestoreStep::RestoreStep(QString const& stepName, QStringList const* only)
{
    CAD::RecordManager::_manager->startRecording(stepName, RECORD_MODE_PROPERTIES);
    if (CAD::RecordManager::_manager->isRecording())
        record_ = new RestorePropsElementRecord(only);
}

RestoreStep::~RestoreStep()
{
    if (!open_)
        return;
    // Only an exception ends a restore before stop(): undo what was applied, drop the record.
    if (record_ != nullptr) {
        try {
            record_->undoRedo(true);
        } catch (...) {
            // The exception on its way to the host is the one to report; the scene keeps
            // what the failed restore applied.
        }
        delete record_;  // leaves the open step, which is then empty and dropped
    }
    stop();
}

void RestoreStep::stop()
{
    // stopRecording throws only when no step is open, which cannot be while open_ is set.
    if (open_) {
        open_ = false;
        CAD::RecordManager::_manager->stopRecording();
    }
}

} // namespace MCADVisProp
} // namespace Kav
