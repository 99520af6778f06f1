// The application's window on the offscreen platform, driven the way a person drives it:
// clicks in the explorer, a drag in the 3D view, and the Report menu opened with the mouse.

#include "kav_app_commands.h"
#include "kav_differences_model.h"
#include "kav_differences_window.h"
#include "kav_explorer_model.h"
#include "kav_explorer_widget.h"
#include "kav_host_app.h"
#include "kav_host_window.h"
#include "kav_legend_panel.h"
#include "kav_property_panel.h"
#include "kav_snapshot_panel.h"
#include "kav_view3d_projection.h"
#include "kav_view3d_raster.h"
#include "kav_view3d_widget.h"
#include "kav_view_framing.h"

#include "mvp_gui.h"
#include "mvp_responder.h"
#include "mvp_temp_dir.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "cad/kav_record_manager.h"
#include "core/kav_progress.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_menu_data.h"
#include "gapp/kav_special_menu_provider.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_command_interface.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QAbstractButton>
#include <QAction>
#include <QBuffer>
#include <QApplication>
#include <QColorDialog>
#include <QDoubleSpinBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Kav::BaVec3d;

bool waitFor(std::function<bool()> const& condition, int ms = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(10);
    }
    return true;
}

void clickItem(Kav::App::ExplorerWidget* explorer, QString const& name, Qt::KeyboardModifiers modifiers = {})
{
    QModelIndex const index = explorer->indexOf(name);
    ASSERT_TRUE(index.isValid()) << name.toStdString();
    explorer->scrollTo(index);
    QTest::mouseClick(explorer->viewport(), Qt::LeftButton, modifiers, explorer->visualRect(index).center());
}

// QTest::mouseMove only moves the cursor with Qt 5; a drag needs the event itself.
void dragTo(QWidget* widget, QPoint const& pos, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QAction* entryNamed(QMenu* menu, QString const& text)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// Opens Report from the menu bar (and `sub` in it) and clicks the entry `text` with the mouse.
void chooseReportEntry(Kav::App::HostWindow* win, QString const& text, QMenu* sub = nullptr)
{
    QMenuBar* bar = win->menuBar();
    QMenu* report = win->reportMenu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(report->menuAction()).center());
    ASSERT_TRUE(waitFor([report] { return report->isVisible(); }));
    QMenu* menu = report;
    if (sub != nullptr) {
        QTest::mouseClick(report, Qt::LeftButton, {}, report->actionGeometry(sub->menuAction()).center());
        ASSERT_TRUE(waitFor([sub] { return sub->isVisible(); }));
        menu = sub;
    }
    QAction* entry = entryNamed(menu, text);
    ASSERT_TRUE(entry != nullptr && entry->isEnabled()) << text.toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    ASSERT_TRUE(waitFor([report, menu] { return !report->isVisible() && !menu->isVisible(); }));
}

bool run(char const* name, QString const& parameters = QString())
{
    return Kav::App::runCommand(QString::fromLatin1(name), parameters);
}

bool run(char const* name, char const* parameters)
{
    return run(name, QString::fromUtf8(parameters));
}

// The whole scene as the view paints it.
QImage picture(Kav::App::View3dWidget* view)
{
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    view->renderScene(painter, view->size());
    return image;
}

// Answers the next colour dialog with `color`.
void answerColor(MvpTest::ResponderGuard& responder, QColor const& color)
{
    responder->push([color](Kav::GTools::DialogRequest const& request) {
        Kav::GTools::DialogAnswer answer;
        answer.result = QDialog::Rejected;
        if (auto* dialog = qobject_cast<QColorDialog*>(request.dialog)) {
            dialog->setCurrentColor(color);
            answer.result = QDialog::Accepted;
        }
        return answer;
    });
}

// The plug-in is initialised once per process, so the tests share one application.
class AppWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        configDir_ = std::make_unique<QTemporaryDir>();
        Kav::App::AppOptions options;
        options.configRoot = configDir_->path();
        app_ = std::make_unique<Kav::App::HostApplication>(options);
        app_->start();
        app_->window()->show();
        QApplication::processEvents();
    }
    static void TearDownTestSuite()
    {
        app_.reset();
        configDir_.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(app_->plugin().isLoaded()) << app_->messages().join(QLatin1Char('\n')).toStdString();
        ASSERT_TRUE(run("host.sample_scene"));
    }

    QAction* action(char const* name) const { return win->findChild<QAction*>(QString::fromLatin1(name)); }

    // Imports an exchange file with the one template `name`: the view's four properties, nothing else.
    bool importTemplate(QByteArray const& name) const
    {
        MvpTest::TempDir dir;
        QString const file = dir.path(QStringLiteral("t.rst"));
        bool const done = MvpTest::writeAll(file, "{\"format\": \"kav-restore-templates\", \"version\": 1, \"templates\": [{"
            "\"name\": \"" + name + "\", \"new_invisible\": false, \"invalid_invisible\": false, \"parts\": ["
            "{\"type\": 0, \"usage\": {\"0\": true, \"1\": true, \"2\": true, \"3\": true}},"
            "{\"type\": 1, \"usage\": {\"4\": false}},"
            "{\"type\": 3, \"usage\": {\"5\": false, \"6\": false, \"7\": false, \"8\": false, \"9\": false, \"35\": false}}]}]}")
            && run("report.import_restore_templates", Kav::Parse::createFile(QStringLiteral("file"), file));
        EXPECT_TRUE(done) << win->lastErrorText().toStdString();
        return done;
    }

    static inline std::unique_ptr<QTemporaryDir> configDir_;
    static inline std::unique_ptr<Kav::App::HostApplication> app_;
    MvpTest::ResponderGuard responder;
    Kav::App::HostWindow* const win = app_->window();
    Kav::App::View3dWidget* const view = win->view();
    Kav::MCADCmd::Scene& scene = app_->session().scene();
};

// The rows a model announces as changed, inserted or removed while `work` runs, and its resets.
std::pair<long long, int> rowsAnnounced(QAbstractItemModel* model, std::function<void()> const& work)
{
    long long rows = 0;
    int resets = 0;
    auto span = [&rows](QModelIndex const&, int first, int last) { rows += last - first + 1; };
    QList<QMetaObject::Connection> const links = {
        QObject::connect(model, &QAbstractItemModel::dataChanged,
                         [&rows](QModelIndex const& a, QModelIndex const& b) { rows += b.row() - a.row() + 1; }),
        QObject::connect(model, &QAbstractItemModel::rowsInserted, span),
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, span),
        QObject::connect(model, &QAbstractItemModel::modelReset, [&resets] { ++resets; })};
    work();
    for (QMetaObject::Connection const& link : links)
        QObject::disconnect(link);
    return {rows, resets};
}

// Takes the restore's change notice and refuses it, as a host that cannot save would.
class RefusingInterface : public Kav::MCADCmd::CommandInterface {
public:
    explicit RefusingInterface(Kav::MCADCmd::Scene* scene) : CommandInterface(scene), previous_(getInterface()) { setInterface(this); }
    ~RefusingInterface() override { setInterface(previous_); }
    bool elementPropertiesChanged(QStringList const&, Kav::ErrorLog* log) override
    {
        *log << QStringLiteral("refused") << Kav::END_LOG;
        return false;
    }

private:
    CommandInterface* previous_;
};

} // namespace

TEST_F(AppWindow, TemplateMenuEntryRestoresTheSelectedSnapshotsView)
{
    ASSERT_TRUE(app_->plugin().hasInitDefaults()) << app_->messages().join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(importTemplate("View only"));
    action("actionCreateSnapshot")->trigger();
    ASSERT_EQ(scene.reports().size(), 1u);
    QString const snapshot = scene.reports().front()->getName();
    BaVec3d<double> const rotation = scene.viewCreator()->getRotation();

    // A drag in the view turns it, as one undo step. Painted coarsely meanwhile (here however
    // fast the whole paint is), and whole once the button is released.
    view->setCoarsePaintAbove(0.0);
    view->repaint();
    QPoint const from = view->rect().center();
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    dragTo(view, from + QPoint(60, 30), Qt::LeftButton);
    view->repaint();
    EXPECT_TRUE(view->lastPaintWasCoarse());
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + QPoint(60, 30));
    view->repaint();
    EXPECT_FALSE(view->lastPaintWasCoarse());
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_RGB32), picture(view).convertToFormat(QImage::Format_RGB32));
    view->setCoarsePaintAbove(30.0);
    ASSERT_NE(scene.viewCreator()->getRotation(), rotation);
    EXPECT_EQ(scene.renderObject()->getRotation(), scene.viewCreator()->getRotation());
    int const stepsAfterDrag = Kav::CAD::RecordManager::_manager->undoCount();

    // A new colour through the property panel's colour dialog.
    clickItem(win->explorer(), QStringLiteral("Bracket"));
    ASSERT_EQ(scene.selection(), QStringList{QStringLiteral("Bracket")});
    EXPECT_EQ(win->propertyPanel()->elementName(), QStringLiteral("Bracket"));
    answerColor(responder, QColor(0x12, 0x34, 0x56));
    win->propertyPanel()->chooseColor();
    ASSERT_EQ(scene.findElement(QStringLiteral("Bracket"))->getElemProperties()->color, 0x123456u);

    // With the snapshot selected in the explorer: Report -> the template menu -> "View only".
    clickItem(win->explorer(), snapshot);
    ASSERT_EQ(scene.selection(), QStringList{snapshot});
    EXPECT_EQ(win->restoreTemplateMenu()->menuAction()->text(), QStringLiteral("restore visualization from snapshot"));
    chooseReportEntry(win, QStringLiteral("View only"), win->restoreTemplateMenu());

    // The view is the snapshot's again; the element keeps the colour the template left out.
    EXPECT_EQ(scene.viewCreator()->getRotation(), rotation);
    EXPECT_EQ(scene.findElement(QStringLiteral("Bracket"))->getElemProperties()->color, 0x123456u);
    EXPECT_EQ(Kav::CAD::RecordManager::_manager->undoCount(), stepsAfterDrag + 2);

    // Undo from the Edit menu names the step and brings the turned view back.
    QAction* undo = action("actionUndo");
    win->refreshAll();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("Undo restore snapshot by template"));
    undo->trigger();
    EXPECT_NE(scene.viewCreator()->getRotation(), rotation);

    // Refreshing brings the explorer to the scene also after a change nobody was told of.
    scene.blockSignals(true);
    ASSERT_TRUE(run("element.add", "name=\"Untold\" type=\"point\""));
    scene.blockSignals(false);
    ASSERT_FALSE(win->explorer()->indexOf(QStringLiteral("Untold")).isValid());
    win->refreshAll();
    EXPECT_TRUE(win->explorer()->indexOf(QStringLiteral("Untold")).isValid());
}

TEST_F(AppWindow, RecordedMacroReplaysToTheSameState)
{
    MvpTest::TempDir dir;
    action("actionRecordMacro")->trigger();
    ASSERT_TRUE(win->isRecordingMacro());
    clickItem(win->explorer(), QStringLiteral("Bracket"));
    answerColor(responder, QColor(0x22, 0x88, 0x44));
    win->propertyPanel()->chooseColor();
    QModelIndex const datum = win->explorer()->indexOf(QStringLiteral("Datum A"));
    ASSERT_TRUE(win->explorer()->model()->setData(datum, Qt::Unchecked, Qt::CheckStateRole));
    QPoint const from = view->rect().center();
    QTest::mousePress(view, Qt::RightButton, {}, from);
    dragTo(view, from + QPoint(-40, 25), Qt::RightButton);
    QTest::mouseRelease(view, Qt::RightButton, {}, from + QPoint(-40, 25));
    action("actionViewIsometric")->trigger();
    action("actionCreateSnapshot")->trigger();
    action("actionStopMacro")->trigger();
    ASSERT_FALSE(win->isRecordingMacro());
    ASSERT_EQ(win->lastMacro().size(), 6) << win->lastMacro().join(QLatin1Char('\n')).toStdString();
    QString const recorded = Kav::MCADCmd::dumpState(scene);

    QString const path = dir.path(QStringLiteral("recorded.kavmacro"));
    QStringList filters;
    responder->push([&](Kav::GTools::DialogRequest const& request) {
        if (auto* dialog = qobject_cast<QFileDialog*>(request.dialog))
            filters = dialog->nameFilters();
        return Kav::GTools::DialogAnswer{QDialog::Accepted, QStringList{path}};
    });
    win->saveMacro();
    // The dialog shows the files the application writes and ships.
    ASSERT_FALSE(filters.isEmpty());
    QString const patterns = filters.first().section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
    EXPECT_TRUE(QDir::match(patterns.split(QLatin1Char(' ')), QStringLiteral("restore_snapshot.kavmacro")))
        << filters.join(QLatin1Char(';')).toStdString();
    QByteArray const text = MvpTest::readAll(path);
    EXPECT_TRUE(text.startsWith("# mvp-host macro\n"));
    EXPECT_TRUE(text.contains("select names=[\"Bracket\"]\nelement.set name=\"Bracket\" color=\"#228844\""))
        << text.toStdString();
    EXPECT_TRUE(text.contains("view.set translation=")) << text.toStdString();

    // From the sample scene again, the macro makes the same scene.
    ASSERT_TRUE(run("host.sample_scene"));
    ASSERT_NE(Kav::MCADCmd::dumpState(scene), recorded);
    ASSERT_TRUE(win->runMacroFile(path));
    EXPECT_EQ(Kav::MCADCmd::dumpState(scene).toStdString(), recorded.toStdString());
}

TEST_F(AppWindow, EditTemplatesEntryRenamesInTheDialogAndTheMenuFollows)
{
    ASSERT_TRUE(importTemplate("Before rename"));
    // In the dialog: pick the template, "rename" from the list's context menu, then OK.
    bool renamed = false;
    responder->push([&renamed](Kav::GTools::DialogRequest const& request) {
        QDialog* dialog = request.dialog;
        auto* list = dialog != nullptr ? dialog->findChild<QTreeWidget*>(QStringLiteral("_list_w")) : nullptr;
        auto* ok = dialog != nullptr ? dialog->findChild<QAbstractButton*>(QStringLiteral("_ok_w")) : nullptr;
        if (list == nullptr || ok == nullptr) {
            ADD_FAILURE() << "not the edit dialog: " << Kav::GTools::describeRequest(request).toStdString();
            return Kav::GTools::DialogAnswer{QDialog::Rejected, {}};
        }
        dialog->show();
        if (QTreeWidgetItem* const item = MvpTest::row(list, QStringLiteral("Before rename"))) {
            MvpTest::clickRow(list, item);
            renamed = MvpTest::useContextMenu(list->viewport(), list->visualItemRect(item).center(), QStringLiteral("rename")).clicked;
        }
        QTest::mouseClick(ok, Qt::LeftButton);
        return Kav::GTools::DialogAnswer{dialog->result(), {}};
    });
    responder->pushAcceptName(QStringLiteral("After rename"));
    chooseReportEntry(win, action("actionEditTemplates")->text());
    EXPECT_TRUE(renamed);

    QMenu* templates = win->restoreTemplateMenu();
    emit templates->aboutToShow();
    EXPECT_NE(entryNamed(templates, QStringLiteral("After rename")), nullptr);
    EXPECT_EQ(entryNamed(templates, QStringLiteral("Before rename")), nullptr);

    // A plug-in whose menu says it is hidden hides the entry.
    struct Hidden : Kav::GApp::SpecialMenuProvider {
        bool isVisible() override { return false; }
        QString getMenuTitle() override { return QStringLiteral("hidden"); }
        void fillMenu(QWidget*) override {}
    } hidden;
    QString const key = QString::fromLatin1(Kav::GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES);
    Kav::GApp::SpecialMenuProvider* const plugin = Kav::GApp::MainWindow::smgr->getSpecialMenuProvider(key);
    for (Kav::GApp::SpecialMenuProvider* provider : {static_cast<Kav::GApp::SpecialMenuProvider*>(&hidden), plugin}) {
        Kav::GApp::MainWindow::smgr->registerSpecialMenuProvider(key, provider);
        emit win->reportMenu()->aboutToShow();
        EXPECT_EQ(templates->menuAction()->isVisible(), provider == plugin);
    }
}

TEST_F(AppWindow, ViewPictureFollowsTheSceneAndUndoBringsItBackExactly)
{
    QImage const before = picture(view);
    QImage tiny(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter nowhere(&tiny);
    view->renderScene(nowhere, QSize());   // draws nothing, and returns
    // Each sample of a section is a dot of its legend colour around the sample's projected
    // point; a few may lie under a label or another dot.
    auto const* section = dynamic_cast<Kav::CAD::SectionInsp2d const*>(scene.findElement(QStringLiteral("Section X")));
    ASSERT_NE(section, nullptr);
    ASSERT_EQ(section->getDistances().size(), section->getSamplePoints().size());
    Kav::Transformation const t = scene.renderObject()->get3d2dTransformation();
    std::size_t shown = 0;
    for (std::size_t i = 0; i < section->getSamplePoints().size(); ++i) {
        BaVec3d<double> const at = t.map(section->getSamplePoints()[i]);
        QRgb const color = scene.legend()->colorFor(section->getDistances()[i]) | 0xff000000u;
        shown += before.pixel(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))) == color;
    }
    EXPECT_GE(shown, section->getSamplePoints().size() * 9 / 10);

    // A paint costs what is seen, not how far things are, up to the edges of what the commands
    // take (the far cases first: without the cut their paints only grow, the others never end). Far or near, a pull-out that leaves the
    // view the same way shows the same.
    quint64 const normal = view->lastDrawWork();
    // A view full of faces, as some of these are, costs a few times the view's pixels.
    quint64 const bound = normal + 8 * static_cast<quint64>(view->width()) * static_cast<quint64>(view->height());
    ASSERT_GT(normal, 0u);
    BaVec3d<double> const width = scene.findElement(QStringLiteral("Width"))->getCenter();
    auto pullOut = [&width](double away) {
        QString const x = QString::number(width.x + away, 'g', 17), y = QString::number(width.y + away, 'g', 17);
        return QStringLiteral("name=\"Width\" pullout=[\"%1\", \"%2\", \"%3\"]").arg(x, y, QString::number(width.z + away, 'g', 17));
    };
    std::pair<char const*, QString> const extremes[] = {
        {"element.set", pullOut(1e4)},
        {"element.set", pullOut(1e8)},
        {"element.set", QStringLiteral("name=\"Width\" pullout=[\"1e9\", \"-1e9\", \"1e9\"]")},
        {"element.set", QStringLiteral("name=\"Width\" label_auto=\"0\" label_offset=[\"-1e9\", \"1e9\"] label_origin=[\"1e9\", \"1e-320\", \"-0\"]")},
        {"element.set", QStringLiteral("name=\"Bracket\" extent=[\"1e9\", \"1e9\", \"-1e9\"]")},
        {"view.set", QStringLiteral("scale=\"1e6\" axis_scale=[\"1e6\", \"-1e6\", \"4.9e-324\"]")},
        {"view.set", QStringLiteral("scale=\"1e6\" translation=[\"1e9\", \"-1e9\", \"4.9e-324\"]")},
        {"legend.set", QStringLiteral("position=[\"1e9\", \"-1e9\"]")}};
    QImage nearPullOut;
    for (auto const& extreme : extremes) {
        ASSERT_TRUE(run(extreme.first, extreme.second)) << extreme.second.toStdString();
        QImage const drawn = picture(view);
        ASSERT_LE(view->lastDrawWork(), bound) << extreme.second.toStdString();
        EXPECT_GT(view->lastDrawWork(), 0u);
        if (nearPullOut.isNull())
            nearPullOut = drawn;
        EXPECT_TRUE(extreme.second != pullOut(1e8) || drawn == nearPullOut);
        ASSERT_TRUE(run("host.sample_scene"));
    }
    // It is drawn: most pixels along its way differ from the scene without it.
    BaVec3d<double> const from = t.map(width), toward = t.map(width + BaVec3d<double>(1.0, 1.0, 1.0));
    QPointF const step = QPointF(toward.x - from.x, toward.y - from.y) / std::hypot(toward.x - from.x, toward.y - from.y);
    int changed = 0;
    for (int along = 20; along < 220; ++along) {
        QPoint const at = (QPointF(from.x, from.y) + step * along).toPoint();
        changed += view->rect().contains(at) && nearPullOut.pixel(at) != before.pixel(at);
    }
    EXPECT_GT(changed, 120);
    // Loading a project draws the view once.
    MvpTest::TempDir dir;
    QString const project = Kav::Parse::createFile(QStringLiteral("file"), dir.path(QStringLiteral("p.kvp")));
    ASSERT_TRUE(run("host.save_project", project));
    QApplication::processEvents();
    unsigned int const draws = view->drawCount();
    ASSERT_TRUE(run("host.load_project", project));
    ASSERT_TRUE(waitFor([&] { return view->drawCount() > draws; }));
    QTest::qWait(100);
    EXPECT_EQ(view->drawCount(), draws + 1);
    // What changes while drawing is locked is drawn once it is unlocked.
    win->lockDrawing();
    ASSERT_TRUE(run("element.set", "name=\"Bracket\" color=\"#405060\""));
    QTest::qWait(50);
    unsigned int const locked = view->drawCount();
    win->unlockDrawing();
    EXPECT_TRUE(waitFor([&] { return view->drawCount() > locked; }));
    ASSERT_TRUE(run("edit.undo"));

    ASSERT_TRUE(run("element.set", "name=\"Bracket\" visible=\"0\""));
    EXPECT_NE(picture(view), before);
    ASSERT_TRUE(run("edit.undo"));
    EXPECT_EQ(picture(view), before);
    ASSERT_TRUE(run("legend.set", "visible=\"0\""));
    EXPECT_NE(picture(view), before);
    // The projected scene is kept while nothing changes, and made again when the view turns.
    unsigned int const projected = view->projectionCount();
    picture(view);
    EXPECT_EQ(view->projectionCount(), projected);
    ASSERT_TRUE(run("view.set", "rotation=[\"10\", \"0\", \"0\"]"));
    picture(view);
    EXPECT_EQ(view->projectionCount(), projected + 1);
}

// Every number the setting commands take, at the edges of what a double holds: refused with
// the parameter named and nothing changed, or kept exactly through save and load and painted
// at about the cost of the scene as it was.
TEST_F(AppWindow, ExtremeNumbersAreRefusedOrSurviveSaveAndLoad)
{
    struct Param {
        char const* command;
        char const* key;
        int count;  // 0: one value, else a list of that many
    };
    Param const params[] = {{"view.set", "rotation", 3}, {"view.set", "translation", 3}, {"view.set", "axis_scale", 3},
                            {"view.set", "scale", 0}, {"legend.set", "range", 2}, {"legend.set", "steps", 0},
                            {"legend.set", "position", 2}, {"element.set", "transparency", 0},
                            {"element.set", "point_size", 0}, {"element.set", "line_width", 0},
                            {"element.set", "pullout", 3}, {"element.set", "label_offset", 2},
                            {"element.set", "label_position", 2}, {"element.set", "label_origin", 3},
                            {"element.set", "label_font", 0}, {"element.set", "center", 3},
                            {"element.set", "extent", 3}, {"element.set", "radius", 0}, {"element.set", "sampling", 0}};
    QString const values[] = {QStringLiteral("1e308"), QStringLiteral("-1e308"), QStringLiteral("1e300"),
                              QStringLiteral("4.9406564584124654e-324"), QStringLiteral("-0")};
    responder->setOnUnexpected([](Kav::GTools::DialogRequest const&) {});  // the refusals' error dialogs
    MvpTest::TempDir dir;
    QString const file = Kav::Parse::createFile(QStringLiteral("file"), dir.path(QStringLiteral("p.kvp")));
    int refused = 0, kept = 0;
    picture(view);
    quint64 const bound = 2 * view->lastDrawWork();
    for (Param const& p : params) {
        QString const key = QString::fromLatin1(p.key);
        // Sections have a radius and a sampling; the others are set on the pulled-out distance.
        QString const target = key == QLatin1String("radius") || key == QLatin1String("sampling") ? QStringLiteral("name=\"Section Y\" ")
                               : QLatin1String(p.command) == QLatin1String("element.set") ? QStringLiteral("name=\"Width\" ")
                                                                                          : QString();
        for (QString const& v : values) {
            SCOPED_TRACE((key + QLatin1Char('=') + v).toStdString());
            QStringList list;
            for (int i = 0; i < p.count; ++i)
                list << v;
            if (key == QLatin1String("range"))
                list.first() = QStringLiteral("-1");
            QString const given = target + (p.count == 0 ? Kav::Parse::createString(key, v) : Kav::Parse::createStringVector(key, list));
            QString const before = Kav::MCADCmd::dumpState(scene);
            if (!run(p.command, given)) {
                ++refused;
                EXPECT_TRUE(win->lastErrorText().startsWith(key + QLatin1Char(':'))) << win->lastErrorText().toStdString();
                EXPECT_EQ(Kav::MCADCmd::dumpState(scene), before);
                continue;
            }
            ++kept;
            QString const set = Kav::MCADCmd::dumpState(scene);
            EXPECT_FALSE(set.contains(QStringLiteral("nan")) || set.contains(QStringLiteral("inf"))) << set.toStdString();
            ASSERT_TRUE(run("host.save_project", file)) << win->lastErrorText().toStdString();
            ASSERT_TRUE(run("host.sample_scene"));
            ASSERT_TRUE(run("host.load_project", file)) << win->lastErrorText().toStdString();
            EXPECT_EQ(Kav::MCADCmd::dumpState(scene), set);
            picture(view);
            EXPECT_LE(view->lastDrawWork(), bound);
            ASSERT_TRUE(run("host.sample_scene"));
        }
    }
    // Both ways are taken: -0 and the smallest denormal are coordinates like any other.
    EXPECT_GT(refused, 40);
    EXPECT_GT(kept, 15);
}

TEST_F(AppWindow, CorruptTemplateStoreLeavesTheMenuUsable)
{
    QString const store = configDir_->filePath(QStringLiteral("user/mvp-host_rstmpls.rst"));
    QByteArray const kept = MvpTest::readAll(store);
    // An intact shared level beside the damaged user level.
    QFile::remove(store);
    ASSERT_TRUE(importTemplate("Shared view"));
    QString const shared = configDir_->filePath(QStringLiteral("shared/mvp-host_rstmpls.rst"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(shared).absolutePath()));
    ASSERT_TRUE(MvpTest::writeAll(shared, MvpTest::readAll(store)));
    ASSERT_TRUE(MvpTest::writeAll(store, QByteArray("KAVB\x03\x00\x00\x00RES\xff\xff\xff\xff", 16)));

    // Whatever the store's reader decides, a dialog may only name the file; nothing blocks.
    Kav::GTools::ScriptedResponder any;
    std::vector<Kav::GTools::DialogRequest> asked;
    any.setOnUnexpected([&asked](Kav::GTools::DialogRequest const& r) { asked.push_back(r); });
    Kav::GTools::setDialogResponder(&any);
    QMenu* templates = win->restoreTemplateMenu();
    emit templates->aboutToShow();
    // The edit command lets the store's exception go; the window reports it to the user.
    std::size_t const fromFill = asked.size();
    chooseReportEntry(win, action("actionEditTemplates")->text());
    Kav::GTools::setDialogResponder(&responder.responder());
    ASSERT_EQ(asked.size(), fromFill + 1);
    EXPECT_EQ(asked.back().kind, Kav::GTools::DialogRequest::ERROR);
    for (auto const& r : asked) {
        EXPECT_TRUE(r.details.contains(QStringLiteral("mvp-host_rstmpls.rst")) || r.text.contains(QStringLiteral("mvp-host_rstmpls.rst")))
            << Kav::GTools::describeRequest(r).toStdString();
        // The stream's own text, not "internal error".
        EXPECT_NE(r.errorId, QStringLiteral("KavHost-Exception-0001")) << Kav::GTools::describeRequest(r).toStdString();
    }
    EXPECT_NE(entryNamed(templates, QStringLiteral("Shared view")), nullptr) << "the damaged level hid the others";
    EXPECT_TRUE(run("report.create_snapshot"));
    QFile::remove(shared);

    EXPECT_TRUE(kept.isEmpty() ? QFile::remove(store) : MvpTest::writeAll(store, kept));
}

TEST_F(AppWindow, LargeSceneExplorerTouchesOnlyTheRowsOfWhatACommandChanged)
{
    Kav::App::ExplorerWidget* explorer = win->explorer();
    // Each step changes one element; the rows it announces must not grow with the scene.
    char const* const steps[][2] = {{"element.set", "name=\"E000500\" visible=\"0\" color=\"#102030\""},
                                    {"element.add", "name=\"Extra\" type=\"point\" parent=\"E000010\""},
                                    {"edit.undo", ""},
                                    {"element.remove", "name=\"E000600\""},
                                    {"edit.undo", ""},
                                    {"report.create_snapshot", "name=\"One\""}};
    std::vector<long long> counts[2];
    int const sizes[2] = {1000, 20000};
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(run("host.sample_scene", QStringLiteral("elements=\"%1\"").arg(sizes[k])));
        ASSERT_EQ(explorer->model()->rowCount(), sizes[k] + 1);  // and the folder
        for (auto const& step : steps) {
            auto const [rows, resets] = rowsAnnounced(explorer->model(), [&] { EXPECT_TRUE(run(step[0], step[1])) << step[0]; });
            EXPECT_EQ(resets, 0) << step[0];
            EXPECT_LE(rows, 1) << step[0] << " " << step[1];
            counts[k].push_back(rows);
        }
    }
    EXPECT_EQ(counts[0], counts[1]);
    // Generating fed the progress dialog, which closed at the end.
    ASSERT_NE(win->progressDialog(), nullptr);
    EXPECT_FALSE(win->progressDialog()->isVisible());

    // The 20,000-element window: the folder is open on its snapshot, a new child's parent opens.
    EXPECT_TRUE(explorer->isExpanded(explorer->indexOf(QStringLiteral("One")).parent()));
    ASSERT_TRUE(run("element.add", "name=\"Child\" parent=\"E019999\""));
    EXPECT_TRUE(explorer->isExpanded(explorer->indexOf(QStringLiteral("Child")).parent()));
    // A check box far down hides its element; undo from the Edit menu shows it again, box and all.
    QModelIndex const box = explorer->indexOf(QStringLiteral("E012345"));
    EXPECT_EQ(explorer->indexOf(QStringLiteral("E000011")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);   // generated hidden
    ASSERT_EQ(box.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    int const undoSteps = Kav::CAD::RecordManager::_manager->undoCount();
    EXPECT_TRUE(explorer->model()->setData(box, Qt::Checked, Qt::CheckStateRole));   // as it is: no step
    EXPECT_EQ(Kav::CAD::RecordManager::_manager->undoCount(), undoSteps);
    ASSERT_TRUE(explorer->model()->setData(box, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(scene.findElement(QStringLiteral("E012345"))->isVisible(Kav::CAD::VISIBLE_OWN));
    action("actionUndo")->trigger();
    EXPECT_TRUE(scene.findElement(QStringLiteral("E012345"))->isVisible(Kav::CAD::VISIBLE_OWN));
    EXPECT_EQ(explorer->indexOf(QStringLiteral("E012345")).data(Qt::CheckStateRole).toInt(), Qt::Checked);

    // Generating tells how far it has come along the way, not only at its ends.
    std::vector<long long> reported;
    Kav::Progress::setHandler([&reported](QString const&, long long done, long long) { reported.push_back(done); });
    ASSERT_TRUE(run("host.sample_scene", "elements=\"1000\""));
    Kav::Progress::setHandler(nullptr);
    EXPECT_GT(reported.size(), 10u);
}

TEST_F(AppWindow, LegendPanelShowsARestoredLegendAlsoWhenTheRestoreFailsPartWay)
{
    auto* minimum = win->legendPanel()->findChild<QDoubleSpinBox*>(QStringLiteral("legendMinimum"));
    auto* maximum = win->legendPanel()->findChild<QDoubleSpinBox*>(QStringLiteral("legendMaximum"));
    auto* steps = win->legendPanel()->findChild<QSpinBox*>(QStringLiteral("legendSteps"));
    ASSERT_TRUE(minimum != nullptr && maximum != nullptr && steps != nullptr);
    ASSERT_TRUE(run("legend.set", "range=[\"-2\", \"3\"] steps=\"7\""));
    ASSERT_TRUE(run("report.create_snapshot", "name=\"Legend\""));
    for (bool const refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused notice" : "restore");
        ASSERT_TRUE(run("legend.set", "range=[\"-1\", \"1\"] steps=\"4\""));
        ASSERT_EQ(steps->value(), 4);
        std::unique_ptr<RefusingInterface> refusing;
        if (refused) {
            refusing = std::make_unique<RefusingInterface>(&scene);
            responder->push([](Kav::GTools::DialogRequest const& request) {
                EXPECT_EQ(request.errorId, QStringLiteral("MCADVisProp-0003"));
                return Kav::GTools::DialogAnswer{QDialog::Accepted, {}};
            });
        }
        EXPECT_EQ(run("report.restore_whole_snapshot", "snapshot=\"Legend\""), !refused);
        EXPECT_EQ(minimum->value(), -2.0);
        EXPECT_EQ(steps->value(), 7);
    }
    // As many steps as a legend may have, and no fewer than it must.
    ASSERT_TRUE(run("legend.set", "steps=\"200\""));
    EXPECT_EQ(steps->value(), 200);
    steps->setValue(1);
    EXPECT_EQ(scene.legend()->getSteps(), 2u);
    // Tiny and huge ranges are shown as they are, in the panel's locale.
    minimum->setLocale(QLocale(QLocale::German));
    for (auto const& r : {std::make_pair("0.0001", "0.0002"), std::make_pair("-123456789", "987654321")}) {
        QStringList const range{QString::fromLatin1(r.first), QString::fromLatin1(r.second)};
        ASSERT_TRUE(run("legend.set", Kav::Parse::createStringVector(QStringLiteral("range"), range)));
        EXPECT_EQ(minimum->text(), QString::fromLatin1(r.first).replace(QLatin1Char('.'), QLatin1Char(',')));
        EXPECT_EQ(maximum->text(), QString::fromLatin1(r.second));
        EXPECT_EQ(maximum->value(), std::stod(r.second));
    }
}

// Many labels compete for a framed 3,000-element scene with the legend in their midst: no drawn
// box over another, the legend or the axes, none placed automatically cut by the window's edge,
// the rest left out of the picture only, selected ones first.
TEST_F(AppWindow, LabelsNeverOverlapAndSelectedOnesAreShownFirst)
{
    ASSERT_TRUE(run("host.sample_scene", "elements=\"3000\""));
    EXPECT_TRUE(Kav::App::ViewFraming::sceneInView(scene));   // framed on its own
    ASSERT_TRUE(run("legend.set", "position=[\"300\", \"200\"] steps=\"12\""));
    QString const state = Kav::MCADCmd::dumpState(scene);
    QImage const first = picture(view);
    Kav::GCAD::LabelLayout const& layout = scene.overlay()->labelLayout();
    QRectF const legend = Kav::GCAD::LegendGeometry::of(scene.legend(), view->font()).area;
    auto shown = [&layout](Kav::LabelElement const* label) {
        return std::any_of(layout.shown().begin(), layout.shown().end(), [label](auto const& l) { return l.label == label; });
    };
    ASSERT_TRUE(layout.hiddenCount() > 100u && layout.shown().size() > 30u) << layout.hiddenCount();
    QRectF const axes = Kav::GCAD::LabelLayout::axisArea(view->size());
    QRectF const window(QPointF(0, 0), QSizeF(view->size()));
    for (std::size_t i = 0; i < layout.shown().size(); ++i) {
        QRectF const& box = layout.shown()[i].box;
        EXPECT_FALSE(box.intersects(legend) || box.intersects(axes)) << i;
        EXPECT_TRUE(window.contains(box) || !layout.shown()[i].label->isAutoLabelPlacement()) << i;
        for (std::size_t j = i + 1; j < layout.shown().size(); ++j)
            ASSERT_FALSE(box.intersects(layout.shown()[j].box)) << i << " " << j;
    }
    EXPECT_EQ(picture(view), first);
    EXPECT_EQ(Kav::MCADCmd::dumpState(scene), state);
    view->repaint();
    EXPECT_TRUE(win->findChild<QLabel*>(QStringLiteral("hiddenLabels"))->text().startsWith(QString::number(layout.hiddenCount())));
    // A label left out where it would sit in the window is drawn once its element is selected.
    auto const left = std::find_if(scene.elements().begin(), scene.elements().end(), [&](Kav::CAD::Element* e) {
        Kav::LabelElement const* l = e->getLabel();
        return l != nullptr && e->isVisible(Kav::CAD::VISIBLE_IN_SCENE) && !shown(l)
               && window.contains(QPointF(l->getPosition().x, l->getPosition().y));
    });
    ASSERT_NE(left, scene.elements().end());
    ASSERT_TRUE(run("select", Kav::Parse::createStringVector(QStringLiteral("names"), {(*left)->getName()})));
    picture(view);
    EXPECT_TRUE(shown((*left)->getLabel()));
}

TEST_F(AppWindow, ExplorerFilterFindsAmongAHundredThousandAndSelects)
{
    ASSERT_TRUE(run("host.sample_scene", "elements=\"100000\""));
    ASSERT_TRUE(run("element.add", "name=\"Child\" type=\"point\" parent=\"E000010\""));
    Kav::App::ExplorerWidget* explorer = win->explorer();
    QAbstractItemModel* model = explorer->model();
    int const circles = static_cast<int>(std::count_if(scene.elements().begin(), scene.elements().end(), [](auto* e) {
        return e->getElementType() == Kav::CAD::ElementCreator::CIRCLE;
    }));
    // Name or type, any case; a parent stays for its matching child.
    std::pair<char const*, int> const cases[] = {{"e05000", 10}, {"CIRCLE", circles}, {"chi", 1}, {"", 100001}, {"E050000", 1}};
    for (auto const& [typed, rows] : cases) {
        win->explorerFilter()->setText(QString::fromLatin1(typed));
        EXPECT_EQ(model->rowCount(), rows) << typed;
    }
    win->explorerFilter()->setText(QStringLiteral("child"));
    QModelIndex const parent = model->index(0, 0);
    EXPECT_TRUE(explorer->isExpanded(parent) && model->data(parent).toString() == QStringLiteral("E000010"));
    EXPECT_EQ(model->data(model->index(0, 0, parent)).toString(), QStringLiteral("Child"));
    win->explorerFilter()->setText(QStringLiteral("E050000"));
    // A change to an element the filter hides announces no row.
    EXPECT_EQ(rowsAnnounced(model, [] { EXPECT_TRUE(run("element.set", "name=\"E000001\" color=\"#102030\"")); }).first, 0);
    clickItem(explorer, QStringLiteral("E050000"));
    EXPECT_EQ(scene.selection(), QStringList{QStringLiteral("E050000")});
    win->explorerFilter()->clear();
    EXPECT_TRUE(explorer->selectionModel()->isRowSelected(explorer->indexOf(QStringLiteral("E050000")).row(), {}));
}

// Each entry of the View menu is one view.set step that undo takes back exactly; the
// directions show the scene's axes where they belong.
TEST_F(AppWindow, ViewMenuFramesAndTurnsInUndoableSteps)
{
    ASSERT_TRUE(run("view.set", "translation=[\"5000\", \"0\", \"0\"] scale=\"0.3\""));
    ASSERT_FALSE(Kav::App::ViewFraming::sceneInView(scene));
    ASSERT_TRUE(run("select", "names=[\"Bracket\"]"));
    auto screen = [this](BaVec3d<double> const& v) {
        Kav::Transformation const t = scene.renderObject()->get3d2dTransformation();
        BaVec3d<double> const d = t.map(v) - t.map(BaVec3d<double>());
        return QPointF(d.x, d.y) / std::hypot(d.x, d.y);
    };
    BaVec3d<double> const X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1);
    struct Case {
        char const* action;
        BaVec3d<double> right, up;   // scene axes shown along the window's right and up
    };
    Case const cases[] = {{"actionFrameAll", {}, {}}, {"actionFrameSelection", {}, {}}, {"actionViewFront", X, Z},
                          {"actionViewTop", X, Y}, {"actionViewRight", Y, Z}, {"actionViewIsometric", {}, Z}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.action);
        QString const before = Kav::MCADCmd::dumpState(scene);
        int const steps = Kav::CAD::RecordManager::_manager->undoCount();
        action(c.action)->trigger();
        EXPECT_EQ(Kav::CAD::RecordManager::_manager->undoCount(), steps + 1);
        EXPECT_TRUE(c.right == BaVec3d<double>() || std::hypot(screen(c.right).x() - 1.0, screen(c.right).y()) < 1e-9);
        EXPECT_TRUE(c.up == BaVec3d<double>() || std::hypot(screen(c.up).x(), screen(c.up).y() + 1.0) < 1e-9);
        if (QLatin1String(c.action) == QLatin1String("actionFrameSelection")) {
            Kav::CAD::Element const* bracket = scene.findElement(QStringLiteral("Bracket"));
            BaVec3d<double> const at = scene.renderObject()->get3d2dTransformation().map(bracket->getCenter());
            EXPECT_NEAR(at.x, scene.renderObject()->getViewportWidth() / 2.0, 1e-6);
            EXPECT_NEAR(at.y, scene.renderObject()->getViewportHeight() / 2.0, 1e-6);
        } else {
            EXPECT_TRUE(Kav::App::ViewFraming::sceneInView(scene));
        }
        if (QLatin1String(c.action) == QLatin1String("actionViewIsometric")) {
            // x to the lower right, y to the upper right, at the same slope.
            EXPECT_GT(screen(X).x(), 0.1);
            EXPECT_GT(screen(X).y(), 0.1);
            EXPECT_NEAR(screen(Y).y(), -screen(X).y(), 1e-9);
        }
        ASSERT_TRUE(run("edit.undo"));
        EXPECT_EQ(Kav::MCADCmd::dumpState(scene), before);
    }
    // The wheel zooms; the turns of one gesture are one step.
    double const scale = scene.viewCreator()->getScale();
    int const steps = Kav::CAD::RecordManager::_manager->undoCount();
    for (int turn = 0; turn < 2; ++turn) {
        QWheelEvent wheel(QPointF(view->rect().center()), QPointF(view->mapToGlobal(view->rect().center())), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    }
    view->flushZoom();
    EXPECT_EQ(Kav::CAD::RecordManager::_manager->undoCount(), steps + 1);
    EXPECT_DOUBLE_EQ(scene.viewCreator()->getScale(), scale * 1.15 * 1.15);
    ASSERT_TRUE(run("edit.undo"));
    EXPECT_EQ(scene.viewCreator()->getScale(), scale);
}

TEST_F(AppWindow, StandardShortcutsTriggerTheirActions)
{
    // Shown, the window gives the docks their widths and the view the rest (Qt 5 lays the
    // panel out a little wider).
    EXPECT_NEAR(win->propertyPanel()->parentWidget()->width(), 300, 40);
    ASSERT_TRUE(run("view.set", "scale=\"2\""));
    std::pair<char const*, QKeySequence> const keys[] = {
        {"actionOpenProject", QKeySequence::Open}, {"actionSaveProject", QKeySequence::Save},
        {"actionUndo", QKeySequence::Undo},        {"actionRedo", QKeySequence::Redo},
        {"actionFrameAll", QKeySequence(QStringLiteral("Home"))}, {"actionQuit", QKeySequence(QStringLiteral("Ctrl+Q"))}};
    for (auto const& [name, key] : keys) {
        QApplication::setActiveWindow(win), view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win));
        QSignalSpy triggered(action(name), &QAction::triggered);
        if (QByteArray(name).endsWith("Project"))   // its file dialog, cancelled
            responder->push([](Kav::GTools::DialogRequest const&) { return Kav::GTools::DialogAnswer{QDialog::Rejected, {}}; });
        QTest::keySequence(view, key);
        EXPECT_EQ(triggered.count(), 1) << name;
    }
    EXPECT_FALSE(win->isVisible());   // quit closed it
    // The File menu sets the sample scene apart from the project's entries and from quitting.
    auto const* file = qobject_cast<QMenu const*>(action("actionSampleScene")->parent());
    ASSERT_NE(file, nullptr);
    int const sample = static_cast<int>(file->actions().indexOf(action("actionSampleScene")));
    ASSERT_TRUE(sample > 0 && sample + 1 < file->actions().size());
    EXPECT_TRUE(file->actions()[sample - 1]->isSeparator() && file->actions()[sample + 1]->isSeparator());
    win->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));
}

// A large scene, drawn from kept projections, sprites and label measures, shows every change in
// the next picture: after each, the view draws what a new view draws of the same scene.
TEST_F(AppWindow, EveryChangeShowsInTheNextPictureOfALargeScene)
{
    ASSERT_TRUE(run("host.sample_scene", "elements=\"3000\""));
    QImage const first = picture(view);
    auto fresh = [this] {
        Kav::App::View3dWidget other(&scene);
        other.resize(view->size());
        return picture(&other);
    };
    EXPECT_EQ(first, fresh());
    ASSERT_FALSE(scene.overlay()->labelLayout().shown().empty());
    QString const labelled = scene.overlay()->labelLayout().shown().front().label->getOwner()->getName();
    std::pair<char const*, QString> const changes[] = {
        {"element.set", QStringLiteral("name=\"E000009\" color=\"#00ff00\" transparency=\"0\"")},   // a box
        {"element.set", QStringLiteral("name=\"E000007\" transparency=\"0.6\"")},   // a section's dots
        {"legend.set", QStringLiteral("map=\"grey\"")},   // every section's dots
        {"element.set", QStringLiteral("name=\"%1\" label_template=\"%name% and more\"").arg(labelled)},
        {"view.set", QStringLiteral("rotation=[\"-60\", \"0\", \"20\"]")}};
    for (auto const& [command, parameters] : changes) {
        SCOPED_TRACE(parameters.toStdString());
        QImage const before = picture(view);
        ASSERT_TRUE(run(command, parameters));
        QImage const after = picture(view);
        EXPECT_NE(after, before);
        EXPECT_EQ(after, fresh());
    }
    for (std::size_t i = 0; i < std::size(changes); ++i)
        ASSERT_TRUE(run("edit.undo"));
    EXPECT_EQ(picture(view), first);
}

// The view's picture of small fixed scenes against stored ones, so that a fault in projection,
// cutting, blending or label placement shows. After an intended change of the picture, run
// MVP_PICTURES_OUT=DIR test_app --gtest_filter='*StoredPictures*', look at DIR/*.png and copy
// them to tests/data/pictures/qt5 or qt6.
TEST_F(AppWindow, ViewPaintsTheStoredPictures)
{
    QSize const size(240, 180);
    std::pair<char const*, std::function<void()>> const scenes[] = {
        {"sample-isometric", [this] { action("actionViewIsometric")->trigger(); }},
        {"sample-top-legend-on-labels", [this] {
             action("actionViewTop")->trigger();
             EXPECT_TRUE(run("legend.set", "position=[\"100\", \"40\"] steps=\"5\""));
             EXPECT_TRUE(run("select", "names=[\"Bracket\"]"));
         }}};
    for (auto const& [name, make] : scenes) {
        SCOPED_TRACE(name);
        scene.renderObject()->setViewportSize(size.width(), size.height());
        make();
        // Framed for it; the window's view may have laid itself out meanwhile.
        scene.renderObject()->setViewportSize(size.width(), size.height());
        scene.overlay()->repositionLabels();
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        { QPainter painter(&drawn); view->renderScene(painter, size); }
        QString const file = QStringLiteral("%1.png").arg(QLatin1String(name));
        if (!qEnvironmentVariableIsEmpty("MVP_PICTURES_OUT"))
            drawn.save(QDir(qEnvironmentVariable("MVP_PICTURES_OUT")).filePath(file));
        // Qt 5 and 6 lay glyphs out a little differently, and that moves which labels fit.
        QImage const stored = QImage(QStringLiteral(MVP_TEST_DATA_DIR "/pictures/qt%1/%2").arg(QT_VERSION_MAJOR).arg(file)).convertToFormat(drawn.format());
        ASSERT_EQ(stored.size(), size);
        // Glyphs may be smoothed a little differently; a face, an edge or a blend is many pixels.
        int differ = 0;
        for (int i = 0; i < size.width() * size.height(); ++i) {
            QRgb const a = drawn.pixel(i % size.width(), i / size.width()), b = stored.pixel(i % size.width(), i / size.width());
            differ += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))}) > 24;
        }
        EXPECT_LE(differ, 40);
    }
    scene.renderObject()->setViewportSize(view->width(), view->height());
}

TEST_F(AppWindow, SnapshotPanelShowsPicturesRestoresOnDoubleClickAndFollowsRenamesAndProjects)
{
    Kav::App::SnapshotPanel* panel = win->snapshotPanel();
    MvpTest::TempDir dir;
    quint32 const original = scene.findElement(QStringLiteral("Bracket"))->getElemProperties()->color;
    action("actionCreateSnapshot")->trigger();
    ASSERT_TRUE(run("element.set", "name=\"Bracket\" color=\"#102030\""));
    action("actionCreateSnapshot")->trigger();
    ASSERT_EQ(panel->count(), 2);
    EXPECT_TRUE(panel->showsPicture(QStringLiteral("Snapshot 1")) && panel->showsPicture(QStringLiteral("Snapshot 2")));
    // Their pictures differ as the scenes did: the second shows the bracket dark blue.
    EXPECT_NE(scene.reports()[0]->getPicture(), scene.reports()[1]->getPicture());

    ASSERT_NE(original, 0x102030u);
    QListWidgetItem* first = panel->itemOf(QStringLiteral("Snapshot 1"));
    ASSERT_NE(first, nullptr);
    panel->scrollToItem(first);
    // A double-click is a press, a release and the double-click itself, as a mouse sends them.
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->visualItemRect(first).center());
    QTest::mouseDClick(panel->viewport(), Qt::LeftButton, {}, panel->visualItemRect(first).center());
    EXPECT_EQ(scene.findElement(QStringLiteral("Bracket"))->getElemProperties()->color, original);

    ASSERT_TRUE(panel->renameSnapshot(QStringLiteral("Snapshot 1"), QStringLiteral("Before")));
    EXPECT_EQ(panel->item(0)->text(), QStringLiteral("Before"));
    EXPECT_TRUE(panel->showsPicture(QStringLiteral("Before")));
    ASSERT_TRUE(run("edit.undo"));
    EXPECT_EQ(panel->item(0)->text(), QStringLiteral("Snapshot 1"));

    // Removing asks first; the answer no leaves it.
    panel->item(1)->setSelected(true);
    responder->push([](Kav::GTools::DialogRequest const&) { Kav::GTools::DialogAnswer a; a.result = 0; return a; });
    EXPECT_FALSE(panel->removeSelected());
    EXPECT_EQ(panel->count(), 2);

    // The pictures are kept in the project; a project made before them shows placeholders.
    QString const project = dir.path(QStringLiteral("p.kvp"));
    ASSERT_TRUE(run("host.save_project", Kav::Parse::createFile(QStringLiteral("file"), project)));
    QByteArray const picture = scene.reports()[1]->getPicture();
    ASSERT_TRUE(run("host.sample_scene"));
    EXPECT_EQ(panel->count(), 0);
    ASSERT_TRUE(run("host.load_project", Kav::Parse::createFile(QStringLiteral("file"), project)));
    ASSERT_EQ(panel->count(), 2);
    EXPECT_EQ(scene.reports()[1]->getPicture(), picture);
    EXPECT_TRUE(panel->showsPicture(QStringLiteral("Snapshot 2")));
    ASSERT_TRUE(run("host.load_project", "file=\"" MVP_TEST_DATA_DIR "/project/sample_v1_snapshots.kvp\""));
    ASSERT_EQ(panel->count(), 3);
    for (int i = 0; i < panel->count(); ++i)
        EXPECT_FALSE(panel->showsPicture(panel->item(i)->text())) << i;
    // One taken from the middle: the others stay in order, the chosen one stays chosen.
    QString const middle = panel->item(1)->text(), last = panel->item(2)->text();
    panel->item(2)->setSelected(true);
    ASSERT_TRUE(run("element.remove", Kav::Parse::createString(QStringLiteral("name"), middle)));
    ASSERT_EQ(panel->count(), 2);
    EXPECT_EQ(panel->item(0)->text(), scene.reports()[0]->getName());
    EXPECT_EQ(panel->item(1)->text(), last);
    EXPECT_EQ(panel->selectedSnapshots(), QStringList{last});

    // A window that cannot be captured is named, and no file is written.
    QWidget empty;
    empty.resize(0, 0);
    QString message;
    EXPECT_FALSE(app_->saveScreenshot(&empty, dir.path(QStringLiteral("none.png")), &message));
    EXPECT_TRUE(message.contains(QStringLiteral("none.png")) && !QFile::exists(dir.path(QStringLiteral("none.png"))));

    // A panel lower than two pictures keeps them one below the other; a picture wider than
    // the panel's is kept no larger than shown.
    QImage wide(800, 40, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QBuffer png;
    ASSERT_TRUE(png.open(QIODevice::WriteOnly) && wide.save(&png, "PNG"));
    scene.reports()[0]->setPicture(png.data());
    Kav::App::SnapshotPanel low(&scene);
    low.resize(260, 100);
    low.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&low));
    low.doItemsLayout();
    QRect const top = low.visualItemRect(low.item(0)), next = low.visualItemRect(low.item(1));
    EXPECT_TRUE(top.left() == next.left() && next.top() > top.bottom()) << top.top() << " " << next.left();
    QList<QSize> const kept = low.item(0)->icon().availableSizes();
    ASSERT_FALSE(kept.isEmpty());
    for (QSize const& size : kept)
        EXPECT_TRUE(size.width() <= low.iconSize().width() && size.height() <= low.iconSize().height()) << size.width();
}

TEST_F(AppWindow, DifferencesWindowRestoresTheChosenRowsAndTwoSnapshotsUpdateInOneStep)
{
    // The table's reader refuses what the compare command never writes.
    std::vector<Kav::App::DifferenceRow> rows;
    QString error;
    for (QByteArray const& bad : {QByteArray("object\tproperty\tsnapshot\n"), QByteArray("object\tproperty\tsnapshot\tcurrent\nA\tcolor\t#000000\n"),
                                  QByteArray("object\tproperty\tsnapshot\tcurrent\nA\tcolor\t#000000\t\\q\n"),
                                  QByteArray("object\tproperty\tsnapshot\tcurrent\nA\tcolor\t\xff\t1\n")})
        EXPECT_FALSE(Kav::App::DifferencesModel::parse(bad, &rows, &error)) << bad.toStdString();
    ASSERT_TRUE(Kav::App::DifferencesModel::parse("object\tproperty\tsnapshot\tcurrent\nA\\tB\tlabel_template\tx\\ny\t\\\\\n", &rows, &error));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].object + rows[0].snapshot + rows[0].current, QStringLiteral("A\tBx\ny\\"));
    if (!Kav::App::hasCommand(QStringLiteral("report.compare_snapshot")))
        GTEST_SKIP() << "the plug-in has no snapshot comparison";

    ASSERT_TRUE(importTemplate("View only"));
    action("actionCreateSnapshot")->trigger();
    action("actionCreateSnapshot")->trigger();
    ASSERT_TRUE(run("element.set", "name=\"Bracket\" color=\"#102030\""));
    ASSERT_TRUE(run("element.set", "name=\"Hole 1\" color=\"#405060\""));
    ASSERT_TRUE(run("view.set", "scale=\"2\""));
    ASSERT_TRUE(win->showDifferences(QStringLiteral("Snapshot 1")));
    Kav::App::DifferencesWindow* differences = win->differencesWindow();
    Kav::App::DifferencesModel* model = differences->model();
    EXPECT_TRUE(differences->isVisible() && !differences->isModal());
    QStringList objects;
    for (int r = 0; r < model->rowCount(); ++r)
        objects << model->rowAt(r).object;
    EXPECT_TRUE(objects.contains(QStringLiteral("Bracket")) && objects.contains(QStringLiteral("Hole 1")) && objects.contains(QStringLiteral("view")));
    QTest::keyClicks(differences->filterField(), QStringLiteral("bracket"));
    ASSERT_GT(model->rowCount(), 0);
    differences->table()->selectAll();
    EXPECT_EQ(differences->selectedElements(), QStringList{QStringLiteral("Bracket")});
    int const steps = Kav::CAD::RecordManager::_manager->undoCount();
    ASSERT_TRUE(differences->restoreSelected());
    EXPECT_EQ(Kav::CAD::RecordManager::_manager->undoCount(), steps + 1);
    EXPECT_NE(scene.findElement(QStringLiteral("Bracket"))->getElemProperties()->color, 0x102030u);
    EXPECT_EQ(scene.findElement(QStringLiteral("Hole 1"))->getElemProperties()->color, 0x405060u);
    differences->filterField()->clear();
    for (int r = 0; r < model->rowCount(); ++r)
        EXPECT_NE(model->rowAt(r).object, QStringLiteral("Bracket"));
    // Closed, the window is kept for the next comparison.
    QPointer<Kav::App::DifferencesWindow> const kept(differences);
    differences->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(kept.isNull());

    // Both selected, updated by the template through the context menu: one step, and
    // restoring either whole now gives the scaled view.
    Kav::App::SnapshotPanel* panel = win->snapshotPanel();
    // Chosen last first, the selection still comes in the panel's order.
    QStringList inOrder;
    for (Kav::CAD::Report const* r : scene.reports())
        inOrder << r->getName();
    ASSERT_GE(inOrder.size(), 2);
    panel->clearSelection();
    panel->item(panel->count() - 1)->setSelected(true);
    panel->item(0)->setSelected(true);
    EXPECT_EQ(panel->selectedSnapshots(), (QStringList{inOrder.first(), inOrder.last()}));
    panel->selectAll();
    EXPECT_EQ(panel->selectedSnapshots(), inOrder);
    std::unique_ptr<QMenu> menu(panel->contextMenuFor(nullptr));
    QMenu* update = menu->findChild<QMenu*>(QStringLiteral("menuSnapshotUpdate"));
    ASSERT_NE(update, nullptr);
    QAction* viewOnly = entryNamed(update, QStringLiteral("View only"));
    ASSERT_NE(viewOnly, nullptr);
    int const before = Kav::CAD::RecordManager::_manager->undoCount();
    viewOnly->trigger();
    EXPECT_EQ(Kav::CAD::RecordManager::_manager->undoCount(), before + 1);
    ASSERT_TRUE(run("view.set", "scale=\"1\""));
    ASSERT_TRUE(panel->restoreWhole(QStringLiteral("Snapshot 2")));
    EXPECT_EQ(scene.viewCreator()->getScale(), 2.0);
    // A whole update takes a new picture; undo gives the old one back.
    QByteArray const picture = scene.reports()[0]->getPicture();
    ASSERT_TRUE(panel->updateSelected(QString()));
    EXPECT_NE(scene.reports()[0]->getPicture(), picture);
    ASSERT_TRUE(run("edit.undo"));
    EXPECT_EQ(scene.reports()[0]->getPicture(), picture);
}

// The raster writes straight into the image's rows: a shape across an edge must leave the
// next row alone, and the connectors' dots know which cells the label boxes cover.
TEST(ViewRaster, ShapesAcrossTheEdgesStayInTheirRowsAndCoverageCountsWholeCells)
{
    QRgb const red = qRgb(0xff, 0, 0);
    struct Shape {
        char const* name;
        std::function<void(Kav::App::PixelRaster&)> draw;
        QPoint inside;   // a pixel the shape paints
    };
    Shape const shapes[] = {
        {"line to the right", [red](Kav::App::PixelRaster& r) { r.strokeLine({10.0, 5.5}, {60.0, 5.5}, red, 1.0); }, {30, 5}},
        {"sloped line to the right", [red](Kav::App::PixelRaster& r) { r.strokeLine({10.0, 4.5}, {60.0, 5.5}, red, 1.0); }, {12, 4}},
        {"dot on the right edge", [red](Kav::App::PixelRaster& r) { r.drawDot({39.0, 5.0}, red); }, {39, 5}}};
    for (Shape const& s : shapes) {
        SCOPED_TRACE(s.name);
        QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        Kav::App::PixelRaster raster(image);
        s.draw(raster);
        EXPECT_GT(qAlpha(image.pixel(s.inside)), 200);
        for (int y : {s.inside.y() + 1, s.inside.y() + 2}) {
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << x << ", " << y;
        }
    }

    Kav::App::Coverage coverage(QSize(40, 40));
    coverage.add(QRectF(0.0, 0.0, 20.0, 20.0));
    EXPECT_TRUE(coverage.covers(QRectF(4.0, 4.0, 10.0, 10.0)));
    EXPECT_TRUE(coverage.covers(QRectF(-8.0, 25.0, 6.0, 6.0)));   // nothing is seen left of the window
    EXPECT_FALSE(coverage.covers(QRectF(15.0, 15.0, 10.0, 10.0)));
}
