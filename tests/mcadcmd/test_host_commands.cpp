#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_gapp_errors.h"
#include "mcadcmd/kav_command_interface.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <gtest/gtest.h>


using namespace Kav;

namespace {

struct Outcome {
    bool ok = false;
    QString result;
    QString errorId;
    QString log;
};

Outcome run(char const* name, QString const& parameters = QString())
{
    Outcome r;
    GApp::Command* cmd = GApp::CommandContainer::getCommand(QString::fromLatin1(name));
    if (cmd == nullptr) {
        r.log = QStringLiteral("no command");
        return r;
    }
    ErrorLog log;
    r.ok = cmd->isExecutable() && cmd->parseParameterString(parameters, false, &r.errorId, &log) &&
           cmd->execute(&r.result, &r.errorId, &log);
    r.log = log.getLog();
    return r;
}

class HostCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        MCADCmd::registerHostCommands();
        CAD::RecordManager::_manager->clearHistory();
        Outcome const r = run("host.sample_scene");
        ASSERT_TRUE(r.ok) << r.log.toStdString();
    }
    void TearDown() override { CAD::RecordManager::_manager->clearHistory(); }

    MCADCmd::HostSession session;
};

TEST_F(HostCommands, ParameterErrorsNameTheEntryAndPrintTheWholeForm)
{
    struct Case {
        char const* command;
        char const* parameters;
        char const* error;
        char const* form;
    };
    std::vector<Case> const cases = {
        {"element.set", R"(name="Bracket" color="#ff0000" color="#00ff00")",
         R"(parameter "color" is given twice, at positions 15 and 31)",
         R"(expected form: name="ELEMENT" [visible="0|1"] [color="#rrggbb"] [transparency="0..1"])"},
        {"element.set", R"(name="Bracket" colour="#ff0000")", R"(unknown parameter "colour" at position 15)",
         R"([label_template="TEXT"])"},
        {"view.set", R"(scale="2" scale="3")", R"(parameter "scale" is given twice, at positions 0 and 10)",
         R"(expected form: [rotation=["X", "Y", "Z"]] [translation=["X", "Y", "Z"]])"},
        {"view.set", R"(scale="2" rotation=["1", "2")", R"(parameter "rotation": unterminated list starting at position 19)",
         R"(expected form: [rotation=["X", "Y", "Z"]])"},
        {"legend.set", R"(steps="7" x="1")", R"(unknown parameter "x" at position 10)",
         R"(expected form: [range=["MIN", "MAX"]] [steps="N"] [visible="0|1"])"},
        {"host.sample_scene", R"(elements="5" file="a" file="b")", R"(parameter "file" is given twice, at positions 13 and 22)",
         R"(expected form: [elements="COUNT"] [file="FILE"])"},
        {"host.dump_state", R"(files="x")", R"(unknown parameter "files" at position 0)", R"(expected form: [file="FILE"])"},
        {"edit.undo", R"(x="1")", R"(unknown parameter "x")", R"(expected form: (no parameters))"},
        {"select", R"(names=[] names=[])", R"(is given twice)", R"(expected form: names=["ELEMENT", ...])"},
        // Names a user could not see or type again.
        {"report.create_snapshot", R"(name="   ")", R"(parameter "name": a name must hold more than white space)",
         R"(expected form: [name="NAME"])"},
        {"element.add", "name=\"A\x1b[2JB\"", R"(no control characters)", R"(expected form: name="ELEMENT")"},
        {"report.rename_snapshot", R"(snapshot="S" name=" ")", R"(a name must hold more than white space)",
         R"(expected form: snapshot="SNAPSHOT" name="NAME")"},
    };
    CAD::RecordManager& history = *CAD::RecordManager::_manager;
    for (Case const& c : cases) {
        // A refused command changes nothing, also what it read before the error, and leaves no step.
        QString const before = MCADCmd::dumpState(session.scene());
        int const steps = history.undoCount();
        Outcome const r = run(c.command, QString::fromUtf8(c.parameters));
        EXPECT_EQ(MCADCmd::dumpState(session.scene()), before) << c.command;
        EXPECT_EQ(history.undoCount(), steps) << c.command;
        EXPECT_FALSE(r.ok) << c.command;
        EXPECT_EQ(r.errorId, QStringLiteral("KavHost-Param-0001")) << c.command;
        EXPECT_TRUE(r.log.contains(QString::fromUtf8(c.error))) << qPrintable(r.log);
        EXPECT_TRUE(r.log.contains(QString::fromUtf8(c.form))) << qPrintable(r.log);
    }
    Outcome const nul = run("report.create_snapshot", QStringLiteral("name=\"Be") + QChar(0) + QStringLiteral("fore\""));
    EXPECT_FALSE(nul.ok);
    EXPECT_TRUE(nul.log.contains(QStringLiteral("no control characters"))) << qPrintable(nul.log);
    EXPECT_TRUE(session.scene().reports().empty());
}

TEST_F(HostCommands, SnapshotNamesTakeTheFirstFreeNumber)
{
    Outcome r = run("report.create_snapshot");
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("name")), QStringLiteral("Snapshot 1"));
    // The first free number, also after one was taken by name and one was freed.
    ASSERT_TRUE(run("report.create_snapshot", QStringLiteral(R"(name="Snapshot 2")")).ok);
    r = run("report.create_snapshot");
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("name")), QStringLiteral("Snapshot 3"));
    ASSERT_TRUE(run("element.remove", QStringLiteral(R"(name="Snapshot 1")")).ok);
    r = run("report.create_snapshot");
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("name")), QStringLiteral("Snapshot 1"));
}

TEST_F(HostCommands, RenamedSnapshotKeepsItsPlaceAndWhatItHoldsAndUndoRenamesItBack)
{
    session.printInterface().setPictureSource([] { return QByteArray("picture"); });
    ASSERT_TRUE(run("report.create_snapshot", QStringLiteral(R"(name="A")")).ok);
    ASSERT_TRUE(run("report.create_snapshot", QStringLiteral(R"(name="B")")).ok);
    session.printInterface().setPictureSource(nullptr);
    MCADCmd::Scene& scene = session.scene();
    CAD::Report::AccessList const held = scene.reports().front()->getCreationPropertyAccess();
    auto names = [&scene] {
        QStringList n;
        for (CAD::Report const* r : scene.reports())
            n << r->getName();
        return n;
    };
    for (char const* refused : {R"(snapshot="A" name="B")", R"(snapshot="A" name="Bracket")", R"(snapshot="Bracket" name="C")"})
        EXPECT_FALSE(run("report.rename_snapshot", QString::fromLatin1(refused)).ok) << refused;
    int const steps = CAD::RecordManager::_manager->undoCount();
    ASSERT_TRUE(run("report.rename_snapshot", QStringLiteral(R"(snapshot="A" name="First")")).ok);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("First"), QStringLiteral("B")}));
    EXPECT_EQ(scene.reports().front()->getCreationPropertyAccess(), held);
    EXPECT_EQ(scene.reports().front()->getPicture(), QByteArray("picture"));
    EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), steps + 1);
    ASSERT_TRUE(run("edit.undo").ok);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    ASSERT_TRUE(run("edit.redo").ok);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("First"), QStringLiteral("B")}));
}

// Without a scene (no session) the commands on one refuse to run, also when a plug-in runs
// them as a script without asking first.
TEST(HostCommandsWithoutScene, RefuseToRun)
{
    MCADCmd::registerHostCommands();
    ASSERT_EQ(MCADCmd::CommandInterface::getInterface(), nullptr);
    char const* const cases[][2] = {{"element.remove", R"(name="Bracket")"}, {"element.set", R"(name="Bracket" visible="0")"},
                                    {"view.set", R"(scale="2")"}, {"legend.set", R"(steps="7")"}, {"report.create_snapshot", ""}};
    for (auto const& c : cases) {
        GApp::Command* cmd = GApp::CommandContainer::getCommand(QString::fromLatin1(c[0]));
        ASSERT_NE(cmd, nullptr) << c[0];
        QString errorId;
        ErrorLog log;
        EXPECT_FALSE(cmd->isExecutable()) << c[0];
        EXPECT_FALSE(cmd->executeScript(QString::fromLatin1(c[1]), nullptr, &errorId, &log)) << c[0];
    }
}

} // namespace
