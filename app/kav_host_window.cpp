#include "kav_host_window.h"

#include "kav_app_commands.h"
#include "kav_differences_window.h"
#include "kav_explorer_widget.h"
#include "kav_legend_panel.h"
#include "kav_property_panel.h"
#include "kav_script_runner.h"
#include "kav_snapshot_panel.h"
#include "kav_view3d_widget.h"
#include "kav_view_framing.h"

#include "cad/kav_record_manager.h"
#include "core/kav_errors.h"
#include "core/kav_progress.h"
#include "core/kav_translate.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_menu_data.h"
#include "gapp/kav_special_menu_provider.h"
#include "gapp/kav_view_widget_container.h"
#include "gfile/kav_file_dialog.h"
#include "glegend2/kav_global_legend.h"
#include "gtools/kav_dialogs.h"
#include "io/kav_save_file.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QAction>
#include <QBuffer>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressDialog>
#include <QStatusBar>

#include <algorithm>
#include <exception>
#include <functional>

namespace Kav {
namespace App {

namespace {

QAction* newAction(QMenu* menu, QString const& objectName, QString const& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(objectName);
    return action;
}

} // namespace

HostWindow::HostWindow(MCADCmd::Scene* scene, QWidget* parent) : GApp::MainWindow(parent), scene_(scene)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(Kav::translate("MvpHost", "mvp-host - snapshot visualization"));

    view_ = new View3dWidget(scene_, this);
    setCentralWidget(view_);

    auto* explorerDock = new QDockWidget(Kav::translate("MvpHost", "Explorer"), this);
    explorerDock->setObjectName(QStringLiteral("explorerDock"));
    // The filter field above the tree: what is typed narrows it down at once.
    auto* explorerPane = new QWidget(explorerDock);
    auto* explorerLayout = new QVBoxLayout(explorerPane);
    explorerLayout->setContentsMargins(0, 0, 0, 0);
    explorerLayout->setSpacing(2);
    filter_ = new QLineEdit(explorerPane);
    filter_->setObjectName(QStringLiteral("explorerFilter"));
    filter_->setPlaceholderText(Kav::translate("MvpHost", "Find by name or type"));
    filter_->setClearButtonEnabled(true);
    explorer_ = new ExplorerWidget(scene_, explorerPane);
    connect(filter_, &QLineEdit::textChanged, explorer_, &ExplorerWidget::setFilter);
    explorerLayout->addWidget(filter_);
    explorerLayout->addWidget(explorer_);
    explorerDock->setWidget(explorerPane);
    addDockWidget(Qt::LeftDockWidgetArea, explorerDock);

    auto* propertyDock = new QDockWidget(Kav::translate("MvpHost", "Properties"), this);
    propertyDock->setObjectName(QStringLiteral("propertyDock"));
    properties_ = new PropertyPanel(scene_, propertyDock);
    propertyDock->setWidget(properties_);
    addDockWidget(Qt::RightDockWidgetArea, propertyDock);

    auto* legendDock = new QDockWidget(Kav::translate("MvpHost", "Legend"), this);
    legendDock->setObjectName(QStringLiteral("legendDock"));
    legend_ = new LegendPanel(scene_, legendDock);
    legendDock->setWidget(legend_);
    addDockWidget(Qt::RightDockWidgetArea, legendDock);

    auto* snapshotDock = new QDockWidget(Kav::translate("MvpHost", "Snapshots"), this);
    snapshotDock->setObjectName(QStringLiteral("snapshotDock"));
    snapshots_ = new SnapshotPanel(scene_, snapshotDock);
    snapshotDock->setWidget(snapshots_);
    addDockWidget(Qt::LeftDockWidgetArea, snapshotDock);
    connect(snapshots_, &SnapshotPanel::compareRequested, this, &HostWindow::showDifferences);

    for (QDockWidget* dock : {explorerDock, propertyDock, legendDock, snapshotDock})
        dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    buildMenus();
    statusBar()->showMessage(Kav::translate("MvpHost", "Ready"));
    hiddenLabels_ = new QLabel(this);
    hiddenLabels_->setObjectName(QStringLiteral("hiddenLabels"));
    statusBar()->addPermanentWidget(hiddenLabels_);
    connect(view_, &View3dWidget::hiddenLabelsChanged, this, [this](int count) {
        hiddenLabels_->setText(count > 0 ? Kav::translate("MvpHost", "%1 labels not shown (no room)").arg(count) : QString());
    });
    connect(this, &GApp::MainWindow::commandExecuted, this, &HostWindow::frameAfterLoading);

    // One command, however many elements it changes, is one batch of changes.
    connect(this, &GApp::MainWindow::executionStarted, scene_, &MCADCmd::Scene::beginBatch);
    connect(this, &GApp::MainWindow::executionFinished, scene_, &MCADCmd::Scene::endBatch);
    connect(scene_, &MCADCmd::Scene::changes, this, &HostWindow::applyChanges);
    connect(this, &GApp::MainWindow::commandExecuted, this, &HostWindow::updateEditActions);
    connect(this, &GApp::MainWindow::drawingUnlocked, view_, QOverload<>::of(&QWidget::update));
    connect(CAD::RecordManager::_manager->notifier(), &CAD::RecordNotifier::historyChanged, this,
            &HostWindow::updateEditActions);
    // The plug-in tells of a legend it changed (a restore) this way, not through the scene.
    if (GApp::MainWindow::smgr != nullptr) {
        unsigned int const legendId = GApp::MainWindow::smgr->getUniqueId(QString::fromLatin1(GLegend2::APP_NAME));
        connect(GApp::MainWindow::smgr, &GApp::AppStatusManager::dataChanged, this,
                [this, legendId](unsigned int id, unsigned int) {
                    if (id == legendId)
                        scene_->legendChanged();
                });
    }
    Progress::setHandler([this](QString const& what, long long done, long long total) { showProgress(what, done, total); });
    GApp::ViewWidgetContainer::setFrontViewCallback([this](QString const& name) {
        if (name == MCADCmd::HostSession::mainViewName()) {
            view_->raise();
            view_->update();
        }
    });
    // The sample's legend sits at x = 680 of an 800-pixel view: room for that beside the docks.
    resize(1400, 860);
    refreshAll();
}

HostWindow::~HostWindow()
{
    Progress::setHandler(nullptr);
    GApp::ViewWidgetContainer::setFrontViewCallback(nullptr);
}

void HostWindow::buildMenus()
{
    // File
    fileMenu_ = menuBar()->addMenu(Kav::translate("MvpHost", "&File"));
    fileMenu_->setObjectName(QStringLiteral("menuFile"));
    QAction* open = newAction(fileMenu_, QStringLiteral("actionOpenProject"), Kav::translate("MvpHost", "&Open project..."));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, &HostWindow::openProject);
    QAction* save = newAction(fileMenu_, QStringLiteral("actionSaveProject"), Kav::translate("MvpHost", "&Save project..."));
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &HostWindow::saveProject);
    fileMenu_->addSeparator();
    QAction* sample = newAction(fileMenu_, QStringLiteral("actionSampleScene"), Kav::translate("MvpHost", "Load sample scene"));
    connect(sample, &QAction::triggered, this, [] { runCommand(QStringLiteral("host.sample_scene"), QString()); });
    fileMenu_->addSeparator();
    QAction* quit = newAction(fileMenu_, QStringLiteral("actionQuit"), Kav::translate("MvpHost", "&Quit"));
    // Not every platform names a quit key: Ctrl+Q where it does not.
    QList<QKeySequence> const quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    quit->setShortcuts(quitKeys.isEmpty() ? QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Q"))} : quitKeys);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    // Edit
    editMenu_ = menuBar()->addMenu(Kav::translate("MvpHost", "&Edit"));
    editMenu_->setObjectName(QStringLiteral("menuEdit"));
    undo_ = newAction(editMenu_, QStringLiteral("actionUndo"), Kav::translate("MvpHost", "Undo"));
    undo_->setShortcut(QKeySequence::Undo);
    connect(undo_, &QAction::triggered, this, [] { runCommand(QStringLiteral("edit.undo"), QString()); });
    redo_ = newAction(editMenu_, QStringLiteral("actionRedo"), Kav::translate("MvpHost", "Redo"));
    redo_->setShortcut(QKeySequence::Redo);
    connect(redo_, &QAction::triggered, this, [] { runCommand(QStringLiteral("edit.redo"), QString()); });
    connect(editMenu_, &QMenu::aboutToShow, this, &HostWindow::updateEditActions);

    // View
    viewMenu_ = menuBar()->addMenu(Kav::translate("MvpHost", "&View"));
    viewMenu_->setObjectName(QStringLiteral("menuView"));
    QAction* frameAllAction = newAction(viewMenu_, QStringLiteral("actionFrameAll"), Kav::translate("MvpHost", "&Frame all"));
    frameAllAction->setShortcut(QKeySequence(QStringLiteral("Home")));
    connect(frameAllAction, &QAction::triggered, this, &HostWindow::frameAll);
    QAction* frameSelected = newAction(viewMenu_, QStringLiteral("actionFrameSelection"), Kav::translate("MvpHost", "Frame &selection"));
    frameSelected->setShortcut(QKeySequence(QStringLiteral("Shift+Home")));
    connect(frameSelected, &QAction::triggered, this, &HostWindow::frameSelection);
    viewMenu_->addSeparator();
    struct Direction {
        char const* name;
        char const* text;
        ViewDirection direction;
        char const* key;
    };
    Direction const directions[] = {{"actionViewFront", QT_TRANSLATE_NOOP("MvpHost", "Fr&ont"), ViewDirection::Front, "Ctrl+1"},
                                    {"actionViewTop", QT_TRANSLATE_NOOP("MvpHost", "&Top"), ViewDirection::Top, "Ctrl+7"},
                                    {"actionViewRight", QT_TRANSLATE_NOOP("MvpHost", "&Right"), ViewDirection::Right, "Ctrl+3"},
                                    {"actionViewIsometric", QT_TRANSLATE_NOOP("MvpHost", "&Isometric"), ViewDirection::Isometric, "Ctrl+0"}};
    for (Direction const& d : directions) {
        QAction* a = newAction(viewMenu_, QString::fromLatin1(d.name), Kav::translate("MvpHost", d.text));
        a->setShortcut(QKeySequence(QString::fromLatin1(d.key)));
        connect(a, &QAction::triggered, this, [this, d] { lookFrom(static_cast<int>(d.direction)); });
    }

    // Report
    reportMenu_ = menuBar()->addMenu(Kav::translate("MvpHost", "&Report"));
    reportMenu_->setObjectName(QStringLiteral("menuReport"));
    QAction* snapshot = newAction(reportMenu_, QStringLiteral("actionCreateSnapshot"), Kav::translate("MvpHost", "Create snapshot"));
    connect(snapshot, &QAction::triggered, this, [this] {
        runCommand(QStringLiteral("report.create_snapshot"),
                   Parse::createString(QStringLiteral("name"), scene_->nextReportName()));
    });
    restoreWhole_ = newAction(reportMenu_, QStringLiteral("actionRestoreWhole"), Kav::translate("MvpHost", "Restore whole snapshot"));
    connect(restoreWhole_, &QAction::triggered, this, [] { runMenuCommand(QStringLiteral("report.restore_whole_snapshot")); });
    templateMenu_ = reportMenu_->addMenu(Kav::translate("MvpHost", "restore visualization from snapshot"));
    templateMenu_->setObjectName(QStringLiteral("menuRestoreTemplates"));
    templateMenu_->menuAction()->setObjectName(QStringLiteral("actionRestoreTemplates"));
    connect(templateMenu_, &QMenu::aboutToShow, this, &HostWindow::fillTemplateMenu);
    reportMenu_->addSeparator();
    editTemplates_ = newAction(reportMenu_, QStringLiteral("actionEditTemplates"), Kav::translate("MvpHost", "Edit restore templates..."));
    connect(editTemplates_, &QAction::triggered, this, [] { runMenuCommand(QStringLiteral("report.change_restore_templates")); });
    importTemplates_ = newAction(reportMenu_, QStringLiteral("actionImportTemplates"), Kav::translate("MvpHost", "Import restore templates..."));
    connect(importTemplates_, &QAction::triggered, this, &HostWindow::importTemplates);
    connect(reportMenu_, &QMenu::aboutToShow, this, &HostWindow::updateReportActions);

    // Macro
    macroMenu_ = menuBar()->addMenu(Kav::translate("MvpHost", "&Macro"));
    macroMenu_->setObjectName(QStringLiteral("menuMacro"));
    recordMacro_ = newAction(macroMenu_, QStringLiteral("actionRecordMacro"), Kav::translate("MvpHost", "Record"));
    connect(recordMacro_, &QAction::triggered, this, [this] {
        startMacro();
        showStatus(Kav::translate("MvpHost", "Recording a macro"));
        updateEditActions();
    });
    stopMacro_ = newAction(macroMenu_, QStringLiteral("actionStopMacro"), Kav::translate("MvpHost", "Stop recording"));
    connect(stopMacro_, &QAction::triggered, this, [this] {
        lastMacro_ = stopMacro();
        showStatus(Kav::translate("MvpHost", "Macro recorded: %1 commands").arg(lastMacro_.size()));
        updateEditActions();
    });
    saveMacro_ = newAction(macroMenu_, QStringLiteral("actionSaveMacro"), Kav::translate("MvpHost", "Save macro..."));
    connect(saveMacro_, &QAction::triggered, this, &HostWindow::saveMacro);
    QAction* run = newAction(macroMenu_, QStringLiteral("actionRunMacro"), Kav::translate("MvpHost", "Run macro..."));
    connect(run, &QAction::triggered, this, &HostWindow::runMacro);
    connect(macroMenu_, &QMenu::aboutToShow, this, &HostWindow::updateEditActions);
}

QStringList HostWindow::menuTexts()
{
    QStringList lines;
    std::function<void(QMenu*, QString const&)> list = [&](QMenu* menu, QString const& indent) {
        // Filled the way they are before they show.
        emit menu->aboutToShow();
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            lines << indent + action->text();
            if (action->menu() != nullptr)
                list(action->menu(), indent + QStringLiteral("    "));
        }
    };
    for (QMenu* menu : {fileMenu_, editMenu_, viewMenu_, reportMenu_, macroMenu_}) {
        lines << menu->title();
        list(menu, QStringLiteral("    "));
    }
    return lines;
}

void HostWindow::refreshAll()
{
    explorer_->resync();
    properties_->refresh();
    legend_->refresh();
    view_->update();
    updateEditActions();
}

void HostWindow::applyChanges(MCADCmd::SceneChanges const& changes)
{
    explorer_->apply(changes);
    if (changes.reset || changes.selection || changes.touches(properties_->elementName()))
        properties_->refresh();
    if (changes.reset || changes.legend)
        legend_->refresh();
    view_->update();
}

bool HostWindow::showDifferences(QString const& snapshot)
{
    if (differences_ == nullptr)
        differences_ = new DifferencesWindow(this);
    return differences_->showSnapshot(snapshot);
}

QByteArray HostWindow::snapshotPicture() const
{
    if (!takesPictures_ || view_->size().isEmpty())
        return QByteArray();
    QImage image(view_->size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        view_->renderScene(painter, view_->size());
    }
    QImage const small = image.scaled(SnapshotPanel::PICTURE_WIDTH, SnapshotPanel::PICTURE_HEIGHT, Qt::KeepAspectRatio,
                                      Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !small.save(&buffer, "PNG"))
        return QByteArray();
    return png;
}

void HostWindow::showProgress(QString const& what, long long done, long long total)
{
    if (!showsProgress_)
        return;
    if (progress_ == nullptr) {
        progress_ = new QProgressDialog(this);
        progress_->setObjectName(QStringLiteral("progressDialog"));
        progress_->setCancelButton(nullptr);
        // Modal so that nothing else starts while it runs; shown only for long work.
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(500);
        progress_->setRange(0, 1000);
        progress_->reset();
    }
    int const value = static_cast<int>(total > 0 ? done * 1000 / total : 1000);
    if (done == 0) {
        progress_->reset();
        progress_->setLabelText(what);
        // The dialog lets events through while the scene is half made: the view keeps its
        // last picture instead of drawing that.
        view_->setUpdatesEnabled(false);
    }
    // At the maximum it resets, that is closes.
    progress_->setValue(std::min(value, 1000));
    if (done >= total)
        view_->setUpdatesEnabled(true);
}

void HostWindow::updateEditActions()
{
    CAD::RecordManager const* records = CAD::RecordManager::_manager;
    undo_->setEnabled(records->canUndo());
    redo_->setEnabled(records->canRedo());
    undo_->setText(records->canUndo() ? Kav::translate("MvpHost", "Undo %1").arg(records->undoName())
                                      : Kav::translate("MvpHost", "Undo"));
    redo_->setText(records->canRedo() ? Kav::translate("MvpHost", "Redo %1").arg(records->redoName())
                                      : Kav::translate("MvpHost", "Redo"));
    recordMacro_->setEnabled(!isRecordingMacro());
    stopMacro_->setEnabled(isRecordingMacro());
    saveMacro_->setEnabled(!isRecordingMacro() && !lastMacro_.isEmpty());
}

void HostWindow::updateReportActions()
{
    GApp::Command* whole = GApp::CommandContainer::getCommand(QStringLiteral("report.restore_whole_snapshot"));
    restoreWhole_->setEnabled(whole != nullptr && whole->isSensitive());
    GApp::Command* edit = GApp::CommandContainer::getCommand(QStringLiteral("report.change_restore_templates"));
    editTemplates_->setEnabled(edit != nullptr && edit->isSensitive());
    importTemplates_->setEnabled(hasCommand(QStringLiteral("report.import_restore_templates")));
    GApp::SpecialMenuProvider* provider = restoreTemplateProvider();
    QAction* sub = templateMenu_->menuAction();
    if (provider != nullptr) {
        sub->setText(provider->getMenuTitle());
        sub->setVisible(provider->isVisible());
        sub->setEnabled(true);
    } else {
        sub->setEnabled(false);
    }
}

void HostWindow::fillTemplateMenu()
{
    // The provider only appends; the entries of the last opening go first.
    templateMenu_->clear();
    GApp::SpecialMenuProvider* provider = restoreTemplateProvider();
    bool unreadable = false;
    if (provider != nullptr) {
        try {
            provider->fillMenu(templateMenu_);
        } catch (IO::StreamException const& e) {
            // Which store, where and what: the user can mend or remove that one file.
            unreadable = true;
            GTools::ErrorDialog(QString::fromLatin1(GApp::STREAM_ERROR), e.getText());
        } catch (ProgError const& e) {
            GTools::ErrorDialog(QString::fromLatin1(APP_MENU_ERROR), e.getMessage());
        } catch (std::exception const& e) {
            GTools::ErrorDialog(QString::fromLatin1(APP_MENU_ERROR), QString::fromUtf8(e.what()));
        }
    }
    if (templateMenu_->actions().isEmpty()) {
        QAction* none = templateMenu_->addAction(unreadable ? Kav::translate("MvpHost", "(restore templates cannot be read)")
                                                            : Kav::translate("MvpHost", "(no restore templates)"));
        none->setObjectName(QStringLiteral("actionNoTemplates"));
        none->setEnabled(false);
    }
}

bool HostWindow::frame(QStringList const* names, BaVec3d<double> const& rotation)
{
    view_->flushZoom();
    QString const parameters = ViewFraming::parameters(*scene_, names, rotation);
    if (parameters.isEmpty()) {
        showStatus(names != nullptr ? Kav::translate("MvpHost", "Nothing selected to frame")
                                    : Kav::translate("MvpHost", "Nothing shown to frame"));
        return false;
    }
    return runCommand(QStringLiteral("view.set"), parameters);
}

bool HostWindow::frameAll()
{
    return frame(nullptr, scene_->viewCreator()->getRotation());
}

bool HostWindow::frameSelection()
{
    QStringList const selected = scene_->selection();
    return frame(&selected, scene_->viewCreator()->getRotation());
}

bool HostWindow::lookFrom(int direction)
{
    return frame(nullptr, ViewFraming::rotationOf(static_cast<ViewDirection>(direction)));
}

void HostWindow::frameAfterLoading(QString const& command)
{
    // A new scene is shown whole; a project keeps its own view when that shows any of it.
    bool const generated = command == QLatin1String("host.sample_scene");
    if (!generated && command != QLatin1String("host.load_project"))
        return;
    if (generated ? !ViewFraming::sceneInView(*scene_) : !ViewFraming::anyInView(*scene_))
        frameAll();
}

void HostWindow::showStatus(QString const& text)
{
    statusBar()->showMessage(text);
}

void HostWindow::openProject()
{
    GFile::FileDialog dialog(GFile::WORKING_MODE_PROJECT, FILE_MODE_EXISTING, this);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Open project"));
    dialog.setFilters({Kav::translate("MvpHost", "Projects (*.kvp)"), Kav::translate("MvpHost", "All files (*)")});
    if (!dialog.execFileDialog() || dialog.selectedFiles().isEmpty())
        return;
    QString const path = dialog.selectedFiles().first();
    if (runCommand(QStringLiteral("host.load_project"), Parse::createFile(QStringLiteral("file"), path)))
        showStatus(Kav::translate("MvpHost", "Opened %1").arg(path));
}

void HostWindow::saveProject()
{
    GFile::FileDialog dialog(GFile::WORKING_MODE_PROJECT, FILE_MODE_SAVE, this);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Save project"));
    dialog.setFilters({Kav::translate("MvpHost", "Projects (*.kvp)")});
    dialog.setEnding(QStringLiteral("kvp"));
    if (!dialog.execFileDialog() || dialog.selectedFiles().isEmpty())
        return;
    QString const path = dialog.selectedFiles().first();
    if (runCommand(QStringLiteral("host.save_project"), Parse::createFile(QStringLiteral("file"), path)))
        showStatus(Kav::translate("MvpHost", "Saved %1").arg(path));
}

void HostWindow::importTemplates()
{
    GFile::FileDialog dialog(GFile::WORKING_MODE_DEFAULT, FILE_MODE_EXISTING, this);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Import restore templates"));
    dialog.setFilters({Kav::translate("MvpHost", "Restore templates (*.rst)"), Kav::translate("MvpHost", "All files (*)")});
    if (!dialog.execFileDialog() || dialog.selectedFiles().isEmpty())
        return;
    QString const path = dialog.selectedFiles().first();
    if (runCommand(QStringLiteral("report.import_restore_templates"), Parse::createFile(QStringLiteral("file"), path)))
        showStatus(Kav::translate("MvpHost", "Imported restore templates from %1").arg(path));
}

void HostWindow::saveMacro()
{
    if (lastMacro_.isEmpty())
        return;
    GFile::FileDialog dialog(GFile::WORKING_MODE_DEFAULT, FILE_MODE_SAVE, this);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Save macro"));
    dialog.setFilters({Kav::translate("MvpHost", "Macro scripts (*.kavmacro *.macro)")});
    dialog.setEnding(QStringLiteral("kavmacro"));
    if (!dialog.execFileDialog() || dialog.selectedFiles().isEmpty())
        return;
    QString const path = dialog.selectedFiles().first();
    QByteArray text = QByteArrayLiteral("# mvp-host macro\n");
    text += lastMacro_.join(QLatin1Char('\n')).toUtf8() + '\n';
    QString error;
    if (!IO::SaveFile::save(path, text, &error)) {
        GTools::OkDialog(GTools::DIALOG_ERROR, Kav::translate("MvpHost", "Save macro"),
                         Kav::translate("MvpHost", "The macro could not be written to %1.").arg(path), error, QString());
        return;
    }
    showStatus(Kav::translate("MvpHost", "Saved macro %1").arg(path));
}

void HostWindow::runMacro()
{
    GFile::FileDialog dialog(GFile::WORKING_MODE_DEFAULT, FILE_MODE_EXISTING, this);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Run macro"));
    dialog.setFilters({Kav::translate("MvpHost", "Macro scripts (*.kavmacro *.macro)"), Kav::translate("MvpHost", "All files (*)")});
    if (!dialog.execFileDialog() || dialog.selectedFiles().isEmpty())
        return;
    runMacroFile(dialog.selectedFiles().first());
}

bool HostWindow::runMacroFile(QString const& path)
{
    QStringList lines;
    QString message;
    if (!ScriptRunner::readScript(path, &lines, &message)) {
        GTools::OkDialog(GTools::DIALOG_ERROR, Kav::translate("MvpHost", "Run macro"), message, QString(), QString());
        return false;
    }
    QStringList output;
    ScriptRunner runner([&output](QString const& line) { output << line; },
                        [&output](QString const& line) { output << line; });
    if (!runner.run(lines)) {
        // The command's own error was shown when it failed; this says where the macro stopped.
        GTools::OkDialog(GTools::DIALOG_WARNING, Kav::translate("MvpHost", "Run macro"),
                         Kav::translate("MvpHost", "The macro %1 stopped.").arg(path), output.join(QLatin1Char('\n')),
                         QString());
        return false;
    }
    showStatus(Kav::translate("MvpHost", "Macro %1: %2 commands run").arg(path).arg(runner.commandsRun()));
    return true;
}

void HostWindow::showEvent(QShowEvent* event)
{
    GApp::MainWindow::showEvent(event);
    if (docksSized_)
        return;
    docksSized_ = true;
    // Only a shown window lays out its docks; the view gets the rest.
    resizeDocks({findChild<QDockWidget*>(QStringLiteral("explorerDock")), findChild<QDockWidget*>(QStringLiteral("propertyDock"))},
                {230, 290}, Qt::Horizontal);
    resizeDocks({findChild<QDockWidget*>(QStringLiteral("explorerDock")), findChild<QDockWidget*>(QStringLiteral("snapshotDock"))},
                {height() / 2, height() / 2}, Qt::Vertical);
}

void HostWindow::closeEvent(QCloseEvent* event)
{
    view_->flushZoom();
    event->accept();
}

} // namespace App
} // namespace Kav
