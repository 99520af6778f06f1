// The snapshot tools run as a script runs them: compare with the scene or another snapshot,
// restore chosen elements and update snapshots, on a generated scene with the plug-in's
// own accesses. What a comparison lists must be what the restore then changes.
#include "access/mvp_property_access.h"
#include "restore/mvp_cmd_compare_snapshot.h"
#include "restore/mvp_cmd_restore_elements.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_cmd_restore_snapshot.h"
#include "restore/mvp_cmd_update_snapshots.h"

#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_main_window.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"
#include "mvp_responder.h"
#include "mvp_temp_dir.h"
#include "parse/kav_parse.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Kav;

namespace {

// Everything off but the view's rotation; a manual label's place goes back all the same.
char const* const ROTATION_ONLY = " template={name=\"R\" part={type=\"0\" usage=[\"0=1\", \"1=0\", \"2=0\", \"3=0\"]} "
                                  "part={type=\"1\" usage=[\"4=0\"]} part={type=\"3\" usage=[\"5=0\", \"6=0\", "
                                  "\"7=0\", \"8=0\", \"9=0\", \"35=0\"]}}";
char const* const LEGEND_ONLY = " template={name=\"L\" part={type=\"0\" usage=[\"0=0\", \"1=0\", \"2=0\", \"3=0\"]} "
                                "part={type=\"1\" usage=[\"4=1\"]} part={type=\"3\" usage=[\"5=0\", \"6=0\", "
                                "\"7=0\", \"8=0\", \"9=0\", \"35=0\"]}}";

class SnapshotTools : public ::testing::Test {
protected:
    static void SetUpTestSuite() { MCADCmd::registerHostCommands(); }
    void SetUp() override { CAD::RecordManager::_manager->clearHistory(); }
    void TearDown() override { CAD::RecordManager::_manager->clearHistory(); }

    // One script line through the window (a macro being recorded takes it); its result.
    QString ok(QString const& line)
    {
        QString result;
        GApp::Command* c = GApp::CommandContainer::getCommand(line.section(QLatin1Char(' '), 0, 0));
        EXPECT_TRUE(c != nullptr && window.execute(c, line.section(QLatin1Char(' '), 1), &result, false))
            << line.toStdString() << ": " << window.lastErrorText().toStdString();
        return result;
    }
    // One line run by the command itself: the error id, empty for none; `log` keeps the details.
    QString error(QString const& line)
    {
        QString result;
        QString id;
        log.clear();
        GApp::Command* c = GApp::CommandContainer::getCommand(line.section(QLatin1Char(' '), 0, 0));
        if (c->parseParameterString(line.section(QLatin1Char(' '), 1), false, &id, &log) && !c->execute(&result, &id, &log)) {
            EXPECT_FALSE(id.isEmpty()) << line.toStdString();
        }
        return id;
    }
    // The differences a comparison counts, and the table it writes.
    int differences(QString const& parameters)
    {
        QString result = ok(QStringLiteral("report.compare_snapshot ") + parameters);
        return static_cast<int>(Parse::getUInt(result, QStringLiteral("differences")));
    }
    QString table(QString const& parameters)
    {
        QString const file = dir.path(QStringLiteral("d.tsv"));
        differences(parameters + QStringLiteral(" file=\"") + file + QLatin1Char('"'));
        return QString::fromUtf8(MvpTest::readAll(file));
    }
    QString dump() { return MCADCmd::dumpState(session.scene()); }

    // Snapshot "S" of a generated scene with known values, then a change of each kind.
    void changedScene()
    {
        for (char const* line :
             {"host.sample_scene elements=\"12\"", "element.set name=\"E000003\" color=\"#112233\"",
              "view.set rotation=[\"1\", \"2\", \"3\"]", "legend.set range=[\"-1\", \"1\"] steps=\"10\"",
              "report.create_snapshot name=\"S\"", "element.set name=\"E000003\" color=\"#102030\" visible=\"0\"",
              "element.set name=\"E000005\" pullout=[\"1\", \"2\", \"3\"] label_template=\"a\\tb\"",
              "element.set name=\"E000010\" label_position=[\"7\", \"8\"]", "view.set rotation=[\"10\", \"20\", \"30\"]",
              "legend.set range=[\"-2\", \"3\"] steps=\"7\"", "element.remove name=\"E000012\"",
              "element.add name=\"New\" type=\"part\""})
            ok(QString::fromLatin1(line));
    }

    GApp::MainWindow window;
    MCADCmd::HostSession session;
    MCADVisProp::CADElementPropertyAccessCreator elementCreator;
    MCADVisProp::CADContainerPropertyAccessCreator containerCreator;
    MCADVisProp::GLViewPropertyAccessCreator viewCreator;
    MCADVisProp::LegendPropertyAccessCreator legendCreator;
    MCADVisProp::RestorePropertyFromSnapshotCommand whole;
    MCADVisProp::RestoreSnapshotTemplateCommand byTemplate;
    MCADVisProp::CompareSnapshotCommand compare;
    MCADVisProp::RestoreSnapshotElementsCommand elements;
    MCADVisProp::UpdateSnapshotsCommand update;
    MvpTest::ResponderGuard responder;
    MvpTest::TempDir dir;
    ErrorLog log;
};

TEST_F(SnapshotTools, ComparisonListsWhatTheRestoreChangesAndAfterItOnlyWhatItCouldNot)
{
    changedScene();
    // In the snapshot's order, each value as the command that sets it takes it; a tab escaped.
    QString const expected = QStringLiteral(
        "object\tproperty\tsnapshot\tcurrent\n"
        "view\trotation\t[\"1\", \"2\", \"3\"]\t[\"10\", \"20\", \"30\"]\n"
        "legend\trange\t[\"-1\", \"1\"]\t[\"-2\", \"3\"]\n"
        "legend\tsteps\t10\t7\n"
        "E000003\tcolor\t#112233\t#102030\n"
        "E000003\tvisible\t1\t0\n"
        "E000005\tpullout\t[\"40\", \"-5\", \"0\"]\t[\"1\", \"2\", \"3\"]\n"
        "E000005\tlabel_template\t%name%: %value%\ta\\tb\n"
        "E000010\tlabel_position\t[\"90\", \"0\"]\t[\"7\", \"8\"]\n"
        "E000012\t(removed)\t\t\n"
        "New\tvisible\t0\t1\n");
    EXPECT_EQ(table(QStringLiteral("snapshot=\"S\"")).toStdString(), expected.toStdString());
    // A manual label goes back whatever the template; nothing is listed of what it leaves.
    EXPECT_EQ(table(QStringLiteral("snapshot=\"S\"") + QLatin1String(ROTATION_ONLY)).toStdString(),
              "object\tproperty\tsnapshot\tcurrent\n"
              "view\trotation\t[\"1\", \"2\", \"3\"]\t[\"10\", \"20\", \"30\"]\n"
              "E000010\tlabel_position\t[\"90\", \"0\"]\t[\"7\", \"8\"]\n");
    // Another snapshot stands for the scene in its state; the scene is not touched.
    ok(QStringLiteral("report.create_snapshot name=\"T\""));
    QString const before = dump();
    EXPECT_EQ(table(QStringLiteral("snapshot=\"S\" other=\"T\"")).toStdString(), expected.toStdString());
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"S\" other=\"S\"")), 0);
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"T\"")), 0);
    EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), 12);

    // After each restore, only what it named as not restored.
    for (QString const& tmpl : {QString(), QString::fromLatin1(ROTATION_ONLY)}) {
        QString r = ok(QStringLiteral("report.restore_")
                       + QLatin1String(tmpl.isEmpty() ? "whole_snapshot" : "by_template") + QStringLiteral(" snapshot=\"S\"")
                       + tmpl);
        QSet<QString> notRestored;
        for (QString const& name : Parse::getStringVector(r, QStringLiteral("not_found_names"), 0, 1000))
            notRestored.insert(name);
        QString const left = table(QStringLiteral("snapshot=\"S\"") + tmpl);
        QSet<QString> listed;
        for (QString const& line : left.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
            EXPECT_TRUE(line.endsWith(QStringLiteral("\t(removed)\t\t"))) << line.toStdString();
            listed.insert(line.section(QLatin1Char('\t'), 0, 0));
        }
        EXPECT_EQ(listed, notRestored) << left.toStdString();
    }
    ASSERT_TRUE(CAD::RecordManager::_manager->undo() && CAD::RecordManager::_manager->undo());
    EXPECT_EQ(dump().toStdString(), before.toStdString());
}

TEST_F(SnapshotTools, ChosenElementsAloneGoBackAsOneStep)
{
    changedScene();
    // The scene's places no longer match the snapshot's: the elements are found by name.
    ok(QStringLiteral("element.remove name=\"E000001\""));
    QString const before = dump();
    QString r = ok(QStringLiteral("report.restore_snapshot_elements snapshot=\"S\" elements=[\"E000003\", \"Nope\", "
                                  "\"E000012\", \"E000010\", \"E000003\"]"));
    QStringList const notFound = Parse::getStringVector(r, QStringLiteral("not_found_names"), 0, 100);
    // Not held by the snapshot, and held but gone from the scene (once per property).
    EXPECT_EQ(notFound.count(QStringLiteral("Nope")), 1);
    EXPECT_EQ(notFound.count(QStringLiteral("E000012")), 6);
    EXPECT_EQ(notFound.size(), 7);
    QString const left = table(QStringLiteral("snapshot=\"S\""));
    EXPECT_EQ(left.count(QLatin1Char('\n')), 9) << left.toStdString();
    EXPECT_FALSE(left.contains(QStringLiteral("E000003")) || left.contains(QStringLiteral("E000010"))) << left.toStdString();
    EXPECT_TRUE(left.contains(QStringLiteral("E000005\tpullout")) && left.contains(QStringLiteral("view\trotation")));
    QString const after = dump();
    ASSERT_EQ(CAD::RecordManager::_manager->undoName(), elements.getMenuName());
    ASSERT_TRUE(CAD::RecordManager::_manager->undo());
    EXPECT_EQ(dump().toStdString(), before.toStdString());
    ASSERT_TRUE(CAD::RecordManager::_manager->redo());
    EXPECT_EQ(dump().toStdString(), after.toStdString());

    // Through a template: only what it enables (and the manual label's place).
    ASSERT_TRUE(CAD::RecordManager::_manager->undo());
    ok(QStringLiteral("report.restore_snapshot_elements snapshot=\"S\" elements=[\"E000003\", \"E000010\", \"E000005\"]")
       + QLatin1String(ROTATION_ONLY));
    QString const partly = table(QStringLiteral("snapshot=\"S\""));
    EXPECT_TRUE(partly.contains(QStringLiteral("E000003\tcolor")) && !partly.contains(QStringLiteral("E000010")))
        << partly.toStdString();
    // The automatically placed label is beside its anchor in the present view, as placing
    // every label again puts it.
    QString const placed = dump();
    ok(QStringLiteral("view.set rotation=[\"10\", \"20\", \"30\"]"));
    EXPECT_EQ(dump().toStdString(), placed.toStdString());
}

TEST_F(SnapshotTools, UpdatedSnapshotsTakeTheSceneAndUndoGivesThemBack)
{
    changedScene();
    ok(QStringLiteral("report.create_snapshot name=\"T\""));
    ok(QStringLiteral("element.set name=\"E000004\" color=\"#abcdef\""));
    int const s = differences(QStringLiteral("snapshot=\"S\"")), t = differences(QStringLiteral("snapshot=\"T\""));
    ASSERT_EQ(t, 1);
    QString const before = dump();

    // A template takes only what it enables, here the legend: its lines go, the rest stays.
    EXPECT_EQ(ok(QStringLiteral("report.update_snapshots snapshots=[\"*\"]") + QLatin1String(LEGEND_ONLY)),
              QStringLiteral("updated=\"2\""));
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"S\"")), s - 2);
    // The manual label's place, which a restore puts back whatever the template.
    EXPECT_EQ(table(QStringLiteral("snapshot=\"S\"") + QLatin1String(LEGEND_ONLY)).count(QLatin1Char('\n')), 2);
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"T\"")), t);
    QString const legendUpdated = dump();
    int const steps = CAD::RecordManager::_manager->undoCount();
    ok(QStringLiteral("report.update_snapshots snapshots=[\"*\"]") + QLatin1String(LEGEND_ONLY));
    EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), steps) << "nothing taken, no step";

    // Whole: as if made again, the removed element and the new one included.
    ok(QStringLiteral("report.update_snapshots snapshots=[\"S\", \"T\"]"));
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"S\"")), 0);
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"T\"")), 0);
    QString const updated = dump();
    EXPECT_NE(updated, legendUpdated);

    for (QString const* expected : {&legendUpdated, &before}) {
        ASSERT_TRUE(CAD::RecordManager::_manager->undo());
        EXPECT_EQ(dump().toStdString(), expected->toStdString());
    }
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"S\"")), s);
    EXPECT_EQ(differences(QStringLiteral("snapshot=\"T\"")), t);
    ASSERT_TRUE(CAD::RecordManager::_manager->redo() && CAD::RecordManager::_manager->redo());
    EXPECT_EQ(dump().toStdString(), updated.toStdString());
}

TEST_F(SnapshotTools, RefusedCommandsChangeNothing)
{
    changedScene();
    ok(QStringLiteral("report.create_snapshot name=\"Old\""));
    dynamic_cast<CAD::Report*>(session.scene().findElement(QStringLiteral("Old")))->setDontUpdateSnapshot(true);
    QString const before = dump();
    int const steps = CAD::RecordManager::_manager->undoCount();
    struct Case {
        char const* line;
        char const* errorId;
        char const* logHas;
    };
    Case const cases[] = {
        {"report.compare_snapshot snapshot=\"Nope\"", "MCADVisProp-0007", "no snapshot has the name \"Nope\""},
        {"report.compare_snapshot snapshot=\"E000003\"", "MCADVisProp-0007", "\"E000003\" is not a snapshot"},
        {"report.compare_snapshot snapshot=\"Old\"", "MCADVisProp-0008", "Old"},
        {"report.compare_snapshot snapshot=\"S\" other=\"Nope\"", "KavHost-Param-0001", "other: no snapshot has the name"},
        {"report.compare_snapshot snapshot=\"S\" other=\"Old\"", "MCADVisProp-0008", "Old"},
        {"report.compare_snapshot snapshot=\"S\" colour=\"1\"", "KavHost-Param-0001", "colour"},
        {"report.compare_snapshot snapshot=\"S\" file=\"/nonexistent/d.tsv\"", "MCADVisProp-0001", "/nonexistent/d.tsv"},
        {"report.restore_snapshot_elements snapshot=\"S\" elements=[]", "KavHost-Param-0001", "names no element"},
        {"report.restore_snapshot_elements snapshot=\"S\"", "KavHost-Param-0001", "elements"},
        {"report.restore_snapshot_elements snapshot=\"Nope\" elements=[\"E000003\"]", "MCADVisProp-0007", "Nope"},
        {"report.restore_snapshot_elements snapshot=\"S\" elements=[\"E000003\"] template={}", "KavHost-Param-0001", ""},
        {"report.update_snapshots snapshots=[\"S\", \"S\"]", "KavHost-Param-0001", "\"S\" is named twice"},
        {"report.update_snapshots snapshots=[]", "KavHost-Param-0001", "names no snapshot"},
        // Every name is checked before the first snapshot changes.
        {"report.update_snapshots snapshots=[\"S\", \"Nope\"]", "MCADVisProp-0007", "Nope"},
        {"report.update_snapshots snapshots=[\"S\", \"Old\"]", "MCADVisProp-0008", "Old"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(error(QString::fromLatin1(c.line)).toStdString(), c.errorId);
        EXPECT_TRUE(log.getLog().contains(QString::fromLatin1(c.logHas))) << log.getLog().toStdString();
        EXPECT_EQ(dump(), before);
        EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), steps);
    }
    // "*" passes over a snapshot without restore information.
    EXPECT_EQ(ok(QStringLiteral("report.update_snapshots snapshots=[\"*\"]")), QStringLiteral("updated=\"1\""));
}

TEST_F(SnapshotTools, RecordedMacroReplaysToTheSameState)
{
    window.startMacro();
    changedScene();
    for (char const* line :
         {"report.compare_snapshot snapshot=\"S\"", "report.create_snapshot name=\"T\"",
          "report.restore_snapshot_elements snapshot=\"S\" elements=[\"E000005\"]",
          "report.update_snapshots snapshots=[\"T\"] template={name=\"V\" part={type=\"3\" usage=[\"5=1\", \"35=0\"]}}",
          "report.compare_snapshot snapshot=\"T\" other=\"S\""})
        ok(QString::fromLatin1(line));
    QStringList const macro = window.stopMacro();
    ASSERT_EQ(macro.size(), 17);
    QString const recorded = dump();
    for (QString const& line : macro)
        ok(line);
    EXPECT_EQ(dump().toStdString(), recorded.toStdString());
}

} // namespace
