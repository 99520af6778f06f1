#include "mvp_menu_handler.h"

#include "core/kav_translate.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_main_window.h"
#include "gicon/kav_icon_cache.h"
#include "mcadcmd/kav_command_interface.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_restore_common.h"
#include "templates/mvp_restore_template_file.h"

#include <QIcon>
#include <QWidget>

namespace Kav {
namespace MCADVisProp {

namespace {

// Exactly one selected snapshot, outside select-command mode: only then may a template
// restore run from the menu.
bool oneSnapshotSelected()
{
    GApp::MainWindow* window = GApp::MainWindow::main_win;
    if (window && window->getSelectCommandMode() != GApp::Command::SELECT_COMMAND_NONE)
        return false;
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    MCADCmd::CachedCmdInterface* cached = MCADCmd::CachedCmdInterface::getInterface();
    if (!ci || !cached)
        return false;
    int count = 0;
    for (QString const& name : cached->getAllSelectedElements(true)) {
        if (isSnapshotElement(ci, name))
            ++count;
    }
    return count == 1;
}

} // namespace

MenuHandler::MenuHandler() : GApp::SpecialMenuProvider(nullptr) {}

MenuHandler::~MenuHandler() = default;

QString MenuHandler::getMenuTitle()
{
    return translate("MCADVisProp_menu", "restore visualization from snapshot");
}

void MenuHandler::fillMenu(QWidget* menu)
{
    bool const enabled = oneSnapshotSelected();
    // A damaged store hides only its own templates; its error still goes to the host.
    std::exception_ptr damaged;
    templates_ = loadIntactTemplates(&damaged);
    for (unsigned int i = 0; i < templates_.getNumberOfTemplates(); ++i) {
        auto* action = new RestoreByTemplateAction(templates_.getTemplate(i), menu);
        menu->addAction(action);
        action->setEnabled(enabled);
    }
    if (damaged)
        std::rethrow_exception(damaged);
}

RestoreByTemplateAction::RestoreByTemplateAction(PropertyAccess::PropAccTemplate const& restoreTemplate,
                                                 QObject* parent)
    : QAction(parent), template_(restoreTemplate)
{
    if (QPixmap const* pixmap = GIcon::Cache::getConfigLevelIcon(template_.configLevel()))
        setIcon(QIcon(*pixmap));
    // A menu reads a single '&' as the mark of a shortcut key; the name is shown as it is.
    setText(QString(template_.getName()).replace(QLatin1Char('&'), QStringLiteral("&&")));
    connect(this, &QAction::triggered, this, &RestoreByTemplateAction::restore);
}

RestoreByTemplateAction::~RestoreByTemplateAction() = default;

void RestoreByTemplateAction::restore()
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (!ci)
        return;
    // The live selection, not the cached one: the last snapshot in it wins.
    QString snapshot;
    for (QString const& name : ci->getAllSelectedElements(true)) {
        if (isSnapshotElement(ci, name))
            snapshot = name;
    }
    auto* command = dynamic_cast<RestoreSnapshotTemplateCommand*>(
        GApp::CommandContainer::getCommand(QStringLiteral("report.restore_by_template")));
    if (!command || !GApp::MainWindow::main_win)
        return;
    QString const parameters = command->createTemplateParameterString(snapshot, template_);
    QString result;
    if (!GApp::MainWindow::main_win->execute(command, parameters, &result, false))
        return;
    showUnappliedProperties(result);
}

} // namespace MCADVisProp
} // namespace Kav
