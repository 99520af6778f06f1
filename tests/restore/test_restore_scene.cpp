// The restore commands on the host's sample scene with the library's real accesses, driven
// through the main window the way a script drives them; the state is compared as the
// host's canonical dump.
#include "access/mvp_container_property_access.h"
#include "access/mvp_element_property_access.h"
#include "access/mvp_glview_property_access.h"
#include "access/mvp_legend_property_access.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_cmd_restore_snapshot.h"

#include "cad/kav_record_manager.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_main_window.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/kav_scene.h"
#include "mvp_responder.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QDialog>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <string>

using namespace Kav;
using namespace Kav::MCADVisProp;
using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplatePart;

namespace {

std::string s(QString const& text)
{
    return text.toStdString();
}

// The dump's lines by object ("view", "legend", "element name=...").
QMap<QString, QString> byObject(QString const& dump)
{
    QMap<QString, QString> lines;
    for (QString const& line : dump.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        int const end = line.startsWith(QStringLiteral("element ")) ? line.indexOf(QStringLiteral(" type=")) : line.indexOf(QLatin1Char(' '));
        lines.insert(line.left(end), line);
    }
    return lines;
}

QRegularExpression const visibleField(QStringLiteral(" visible=([01])"));

QString visibleOf(QString const& line)
{
    return visibleField.match(line).captured(1);
}

QRegularExpression const labelPositionField(QStringLiteral(" label_position=\\([^)]*\\)"));

// A label goes back to its recorded place whatever the flags, so its position is left out.
QString withoutVisibleAndLabelPlace(QString line)
{
    return line.replace(visibleField, QStringLiteral(" visible=?")).remove(labelPositionField);
}

class SampleSceneRestore : public ::testing::Test {
protected:
    static void SetUpTestSuite() { MCADCmd::registerHostCommands(); }

    void SetUp() override
    {
        run("host.sample_scene", QString());
        ASSERT_GT(session.scene().elements().size(), 10u);
    }
    void TearDown() override { CAD::RecordManager::_manager->clearHistory(); }

    QString run(char const* name, QString const& params)
    {
        return run(GApp::CommandContainer::getCommand(QString::fromLatin1(name)), params);
    }
    QString run(GApp::Command* command, QString const& params)
    {
        EXPECT_NE(command, nullptr);
        QString result;
        if (!command)
            return result;
        EXPECT_TRUE(window.execute(command, params, &result, false))
            << s(command->getCommandName()) << ": " << s(window.lastErrorId()) << " " << s(window.lastErrorText());
        return result;
    }
    QString snapshotParams(char const* name) { return Parse::createString(QStringLiteral("snapshot"), QString::fromLatin1(name)); }
    QString dump() { return MCADCmd::dumpState(session.scene()); }

    // The view, the legend, colours, visibility, labels, a pull-out and a section's sampling.
    void changeEverything()
    {
        run("view.set", QStringLiteral("rotation=[\"10\", \"20\", \"30\"] translation=[\"1\", \"2\", \"3\"] scale=\"2.5\""));
        run("legend.set", QStringLiteral("range=[\"-2\", \"3\"] steps=\"5\" visible=\"0\""));
        run("element.set", QStringLiteral("name=\"Hole 1\" color=\"#ff0000\" visible=\"0\" transparency=\"0.75\""));
        run("element.set", QStringLiteral("name=\"P4\" visible=\"1\" display_mode=\"wireframe\""));
        run("element.set", QStringLiteral("name=\"Bore\" label_visible=\"0\" label_template=\"changed\""));
        run("element.set", QStringLiteral("name=\"Hole 3\" label_auto=\"0\" label_offset=[\"30\", \"-12\"]"));
        run("element.set", QStringLiteral("name=\"Width\" pullout=[\"0\", \"-80\", \"10\"]"));
        run("element.set", QStringLiteral("name=\"Section Y\" sampling=\"0.5\""));
        run("element.set", QStringLiteral("name=\"Section X\" sampling=\"3\""));
    }

    GApp::MainWindow window;
    MCADCmd::HostSession session;
    CADElementPropertyAccessCreator elementCreator;
    CADContainerPropertyAccessCreator containerCreator;
    GLViewPropertyAccessCreator viewCreator;
    LegendPropertyAccessCreator legendCreator;
    RestorePropertyFromSnapshotCommand whole;
    RestoreSnapshotTemplateCommand byTemplate;
    MvpTest::ResponderGuard responder;
};

TEST_F(SampleSceneRestore, WholeRestoreAndItsUndoRedoAreExact)
{
    run("report.create_snapshot", Parse::createString(QStringLiteral("name"), QStringLiteral("Snap")));
    QString const atSnapshot = dump();
    changeEverything();
    QString const changed = dump();
    ASSERT_NE(changed, atSnapshot);

    QString const result = run(&whole, snapshotParams("Snap"));
    EXPECT_EQ(s(dump()), s(atSnapshot));
    QString rest = result;
    EXPECT_TRUE(Parse::getStringVector(rest, QStringLiteral("not_found_names"), 0, 4294967295u).isEmpty()) << s(result);

    for (int round = 0; round < 4; ++round) {
        run("edit.undo", QString());
        EXPECT_EQ(s(dump()), s(changed)) << "undo, round " << round;
        run("edit.redo", QString());
        EXPECT_EQ(s(dump()), s(atSnapshot)) << "redo, round " << round;
    }
}

TEST_F(SampleSceneRestore, ByTemplateRestoresOnlyWhatTheTemplateEnables)
{
    run("report.create_snapshot", Parse::createString(QStringLiteral("name"), QStringLiteral("Snap")));
    QMap<QString, QString> const atSnapshot = byObject(dump());
    QString const snapshotDump = dump();
    changeEverything();
    QString const changedDump = dump();
    QMap<QString, QString> const changed = byObject(changedDump);

    // Elements: visibility only. The view: nothing. The legend has no part: all of it.
    PropAccTemplate t(QStringLiteral("visibility"));
    PropAccTemplatePart elements(PropertyAccess::PROP_ACC_CAD_ELEMENT);
    for (auto const& flag : elements.getUsages())
        elements.setUsage(flag.first, flag.first == PropertyAccess::PROP_ELEMENT_VISIBILITY);
    t.set(elements);
    PropAccTemplatePart view(PropertyAccess::PROP_ACC_3D_VIEW);
    for (auto const& flag : view.getUsages())
        view.setUsage(flag.first, false);
    t.set(view);
    run(&byTemplate, byTemplate.createTemplateParameterString(QStringLiteral("Snap"), t));

    QMap<QString, QString> const after = byObject(dump());
    EXPECT_EQ(s(after.value(QStringLiteral("view"))), s(changed.value(QStringLiteral("view"))));
    EXPECT_EQ(s(after.value(QStringLiteral("legend"))), s(atSnapshot.value(QStringLiteral("legend"))));
    int elementLines = 0;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!it.key().startsWith(QStringLiteral("element ")))
            continue;
        ++elementLines;
        EXPECT_EQ(visibleOf(it.value()), visibleOf(atSnapshot.value(it.key()))) << s(it.key());
        EXPECT_EQ(s(withoutVisibleAndLabelPlace(it.value())), s(withoutVisibleAndLabelPlace(changed.value(it.key()))));
    }
    EXPECT_EQ(elementLines, static_cast<int>(session.scene().elements().size()));
    EXPECT_EQ(visibleOf(after.value(QStringLiteral("element name=\"Hole 1\""))), QStringLiteral("1"));

    // The snapshot keeps every flag: the whole restore afterwards restores everything,
    // and one undo goes back to the filtered state.
    QString const filtered = dump();
    run(&whole, snapshotParams("Snap"));
    EXPECT_EQ(s(dump()), s(snapshotDump));
    run("edit.undo", QString());
    EXPECT_EQ(s(dump()), s(filtered));
    run("edit.undo", QString());
    EXPECT_EQ(s(dump()), s(changedDump));
}

TEST_F(SampleSceneRestore, TemplateFlagsHideNewAndInvalidElements)
{
    run("report.create_snapshot", Parse::createString(QStringLiteral("name"), QStringLiteral("Snap")));
    run("element.add", QStringLiteral("name=\"New Point\" type=\"point\""));
    // P2 is an invalid measurement in the sample; show it to see it hidden again.
    run("element.set", QStringLiteral("name=\"P2\" visible=\"1\""));
    auto visible = [this](char const* name) {
        return session.scene().findElement(QString::fromLatin1(name))->isVisible(CAD::VISIBLE_OWN);
    };

    PropAccTemplate plain(QStringLiteral("plain"));
    run(&byTemplate, byTemplate.createTemplateParameterString(QStringLiteral("Snap"), plain));
    EXPECT_TRUE(visible("New Point"));

    PropAccTemplate hideNew(QStringLiteral("new"));
    hideNew.setNewInvisibleFlag(true);
    run(&byTemplate, byTemplate.createTemplateParameterString(QStringLiteral("Snap"), hideNew));
    EXPECT_FALSE(visible("New Point"));

    run("element.set", QStringLiteral("name=\"New Point\" visible=\"1\""));
    run("element.set", QStringLiteral("name=\"P2\" visible=\"1\""));
    PropAccTemplate hideInvalid(QStringLiteral("invalid"));
    hideInvalid.setInvalidCMMInvisibleFlag(true);
    run(&byTemplate, byTemplate.createTemplateParameterString(QStringLiteral("Snap"), hideInvalid));
    EXPECT_TRUE(visible("New Point"));
    EXPECT_FALSE(visible("P2"));

    // The whole restore hides what the snapshot does not know.
    run("element.set", QStringLiteral("name=\"New Point\" visible=\"1\""));
    run(&whole, snapshotParams("Snap"));
    EXPECT_FALSE(visible("New Point"));
}

TEST_F(SampleSceneRestore, SnapshotWithoutAccessesFailsWholeButNotByTemplate)
{
    session.scene().addReport(std::make_unique<CAD::Report>(QStringLiteral("Bare")));
    QString const before = dump();

    responder->pushAnswer(QDialog::Accepted);  // the host reports the failure
    QString result;
    EXPECT_FALSE(window.execute(&whole, snapshotParams("Bare"), &result, false));
    EXPECT_EQ(s(window.lastErrorId()), "MCADVisProp-0008");
    EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), 0);

    result = run(&byTemplate, byTemplate.createTemplateParameterString(QStringLiteral("Bare"), PropAccTemplate(QStringLiteral("t"))));
    EXPECT_EQ(result, Parse::createStringVector(QStringLiteral("not_found_names"), {}) +
                          Parse::createStringVector(QStringLiteral("not_found_types"), {}) +
                          Parse::createStringVector(QStringLiteral("not_found_descriptions"), {}));
    EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), 1);
    EXPECT_EQ(s(dump()), s(before));
}

} // namespace
