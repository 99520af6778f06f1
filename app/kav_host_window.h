#pragma once

#include "core/kav_vec.h"
#include "gapp/kav_main_window.h"

#include <QStringList>

class QAction;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressDialog;

namespace Kav {
namespace MCADCmd {
class Scene;
struct SceneChanges;
} // namespace MCADCmd
namespace App {

class DifferencesWindow;
class ExplorerWidget;
class LegendPanel;
class PropertyPanel;
class SnapshotPanel;
class View3dWidget;

// The application's window over one scene: explorer, 3D view, property and legend panels,
// and the File, Edit, View, Report and Macro menus. Every change it makes runs a command.
class HostWindow : public GApp::MainWindow {
    Q_OBJECT
public:
    explicit HostWindow(MCADCmd::Scene* scene, QWidget* parent = nullptr);
    ~HostWindow() override;

    View3dWidget* view() const { return view_; }
    ExplorerWidget* explorer() const { return explorer_; }
    PropertyPanel* propertyPanel() const { return properties_; }
    LegendPanel* legendPanel() const { return legend_; }
    SnapshotPanel* snapshotPanel() const { return snapshots_; }
    // The Differences window, once a comparison has opened it; else null.
    DifferencesWindow* differencesWindow() const { return differences_; }
    // Opens the Differences window on `snapshot` compared with the scene.
    bool showDifferences(QString const& snapshot);

    // A small PNG picture of the 3D view as it is, for a new snapshot; empty while pictures
    // are off (a headless run that nobody sees).
    QByteArray snapshotPicture() const;
    void setTakesPictures(bool takes) { takesPictures_ = takes; }
    QMenu* reportMenu() const { return reportMenu_; }
    QMenu* restoreTemplateMenu() const { return templateMenu_; }
    QLineEdit* explorerFilter() const { return filter_; }

    // The menu bar's menus and their entries (sub-menus indented), as about to be shown.
    QStringList menuTexts();

    // Brings every widget up to the scene.
    void refreshAll();
    // Brings the widgets up to one batch of scene changes: only what it touched.
    void applyChanges(MCADCmd::SceneChanges const& changes);

    // Whether long work (a scene generated, a project loaded or saved) shows a progress
    // dialog; on by default, off for the headless runner.
    void setShowsProgress(bool shows) { showsProgress_ = shows; }
    QProgressDialog* progressDialog() const { return progress_; }

    // The lines of the last recorded macro.
    QStringList const& lastMacro() const { return lastMacro_; }

    // Menu actions, also used by the tests.
    void openProject();
    void saveProject();
    void importTemplates();
    void saveMacro();
    void runMacro();
    // Runs a macro file through the script runner; false (with a message naming the file
    // and line) when it cannot be read or a command fails.
    bool runMacroFile(QString const& path);
    // View: frames the shown elements (the selected ones), keeping the direction; turns to a
    // standard direction and frames. Each is one view.set; false when it failed or there is
    // nothing to frame.
    bool frameAll();
    bool frameSelection();
    bool lookFrom(int direction);   // a ViewDirection

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void updateEditActions();
    void updateReportActions();
    void fillTemplateMenu();
    void showStatus(QString const& text);
    void frameAfterLoading(QString const& command);
    bool frame(QStringList const* names, BaVec3d<double> const& rotation);
    void showProgress(QString const& what, long long done, long long total);

    MCADCmd::Scene* scene_;
    View3dWidget* view_;
    ExplorerWidget* explorer_;
    PropertyPanel* properties_;
    LegendPanel* legend_;
    SnapshotPanel* snapshots_;
    DifferencesWindow* differences_ = nullptr;
    bool takesPictures_ = true;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* reportMenu_ = nullptr;
    QMenu* templateMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* macroMenu_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* hiddenLabels_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* restoreWhole_ = nullptr;
    QAction* editTemplates_ = nullptr;
    QAction* importTemplates_ = nullptr;
    QAction* recordMacro_ = nullptr;
    QAction* stopMacro_ = nullptr;
    QAction* saveMacro_ = nullptr;
    QStringList lastMacro_;
    bool docksSized_ = false;
    bool showsProgress_ = true;
    QProgressDialog* progress_ = nullptr;
};

} // namespace App
} // namespace Kav
