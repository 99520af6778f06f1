#include "test_accesses.h"

#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_gapp_errors.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_small_fs.h"
#include "mvp_temp_dir.h"
#include "parse/kav_parse.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
    QString dump() { return MCADCmd::dumpState(session.scene()); }
    CAD::Element* element(char const* name) { return session.scene().findElement(QString::fromLatin1(name)); }

    MvpTest::TestCreators creators;
    MCADCmd::HostSession session;
    MvpTest::TempDir dir;
};

TEST_F(HostCommands, ChangesAreUndoneAndRedoneExactly)
{
    QString const start = dump();
    Outcome r = run("element.set", QStringLiteral(R"(name="Width" color="#ff8000" transparency="0.25" display_mode="points" )"
                                              R"(pullout=["1", "2", "3"] label_visible="0" label_auto="0" )"
                                              R"(label_template="%value%" label_offset=["10", "-5"])"));
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    CAD::Element* width = element("Width");
    EXPECT_EQ(width->getElemProperties()->color, 0xff8000u);
    EXPECT_EQ(width->getElemProperties()->displayMode, unsigned(CAD::DISPLAY_POINTS));
    EXPECT_EQ(width->getDistPullOut()->getPullOutPoint(), BaVec3d<double>(1, 2, 3));
    LabelElement* label = width->getLabel();
    EXPECT_FALSE(label->isLabelVisible());
    EXPECT_EQ(label->getPosition(), label->getAnchor2d() + BaVec2d<double>(10, -5));
    QString const afterElement = dump();

    r = run("view.set", QStringLiteral(R"(rotation=["10", "20", "30"] scale="2.5")"));
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    EXPECT_EQ(session.scene().renderObject()->getScale(), 2.5);
    r = run("legend.set", QStringLiteral(R"(range=["-2", "3"] steps="5" visible="0" position=["1", "2"])"));
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    r = run("element.set", QStringLiteral(R"(name="Section Y" sampling="0.5")"));
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    auto* section = dynamic_cast<CAD::SectionInsp2d*>(element("Section Y"));
    std::size_t const fine = section->getSamplePoints().size();
    EXPECT_GT(fine, CAD::SectionInsp2d::AUTO_SAMPLE_COUNT);
    QString const end = dump();

    for (int i = 0; i < 3; ++i) {
        r = run("edit.undo");
        ASSERT_TRUE(r.ok) << r.log.toStdString();
    }
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("step")), QStringLiteral("change view"));
    EXPECT_EQ(dump(), afterElement);
    r = run("edit.undo");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(dump(), start);
    r = run("edit.undo");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.errorId.isEmpty());
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(run("edit.redo").ok);
    EXPECT_EQ(dump(), end);
    EXPECT_EQ(section->getSamplePoints().size(), fine);
}

TEST_F(HostCommands, BadValuesChangeNothingAndLeaveNoStep)
{
    QString const start = dump();
    struct Case {
        char const* command;
        char const* parameters;
    } const cases[] = {
        {"element.set", R"(name="Width" color="#ff80")"},
        {"element.set", R"(name="Width" color="#ff8000" transparency="1.5")"},
        {"element.set", R"(name="Width" display_mode="glass")"},
        {"element.set", R"(name="Width" sampling="2")"},  // no section
        {"element.set", R"(name="Section X" sampling="0")"},
        {"element.set", R"(name="Section X" sampling="1e-9")"},  // endless samples
        {"element.set", R"(name="Width" pullout=["1", "2"])"},
        {"element.set", R"(name="Width" visible="yes")"},
        {"element.set", R"(name="Width" unknown="1")"},
        {"view.set", R"(scale="0")"},
        {"view.set", R"(rotation=["1", "x", "3"])"},
        {"legend.set", R"(range=["3", "-2"])"},
        {"legend.set", R"(steps="1")"},
        {"legend.set", R"(steps="1e20")"},
        {"legend.set", R"(map="plaid")"},
        {"element.set", R"(name="Width" label_font="1e12")"},
        {"select", R"(names=["Width", "Nobody"])"},
        {"element.add", R"(name="Width")"},
        {"element.add", R"(name="New" type="teapot")"},
        {"element.remove", R"(name="Nobody")"},
        {"host.load_project", R"(file="/no/such/file")"},
    };
    for (Case const& c : cases) {
        Outcome const r = run(c.command, QString::fromLatin1(c.parameters));
        EXPECT_FALSE(r.ok) << c.command << " " << c.parameters;
        EXPECT_FALSE(r.errorId.isEmpty()) << c.command << " " << c.parameters;
        EXPECT_FALSE(r.log.isEmpty()) << c.command << " " << c.parameters;
        EXPECT_EQ(dump(), start) << c.command << " " << c.parameters;
    }
    EXPECT_FALSE(CAD::RecordManager::_manager->canUndo());
    Outcome const r = run("element.set", QStringLiteral(R"(name="Width" color="bad")"));
    EXPECT_EQ(r.errorId, QString::fromLatin1(GApp::PARAMETER_ERROR));
}

TEST_F(HostCommands, SnapshotSelectionStructureAndFiles)
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
    r = run("report.create_snapshot", QStringLiteral(R"(name="Before")"));
    ASSERT_TRUE(r.ok);
    CAD::Report* report = dynamic_cast<CAD::Report*>(element("Before"));
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->getCreationPropertyAccess().size(), session.scene().elements().size() + 2);
    EXPECT_TRUE(session.commandInterface().isDocumentationElement(QStringLiteral("Before")));
    EXPECT_FALSE(run("report.create_snapshot", QStringLiteral(R"(name="Before")")).ok);

    r = run("select", QStringLiteral(R"(names=["Width", "Before", "P1"])"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(session.commandInterface().getAllSelectedElements(true),
              (QStringList{QStringLiteral("Width"), QStringLiteral("Before"), QStringLiteral("P1")}));
    EXPECT_EQ(element("Width")->getElemProperties()->selected, 1);
    EXPECT_EQ(element("P2")->getElemProperties()->selected, 0);
    ASSERT_TRUE(run("select", QStringLiteral("names=[]")).ok);
    EXPECT_TRUE(session.commandInterface().getAllSelectedElements(true).isEmpty());

    ASSERT_TRUE(run("element.add", QStringLiteral(R"(name="Extra" type="circle" parent="Bracket")")).ok);
    QString parent;
    EXPECT_TRUE(session.commandInterface().getParentElement(QStringLiteral("Extra"), &parent));
    EXPECT_EQ(parent, QStringLiteral("Bracket"));
    ASSERT_TRUE(run("element.remove", QStringLiteral(R"(name="Bracket")")).ok);
    EXPECT_EQ(element("Extra"), nullptr) << "children go with their parent";
    EXPECT_EQ(element("Datum A"), nullptr);

    QString const project = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(run("host.save_project", Parse::createFile(QStringLiteral("file"), project)).ok);
    QString const saved = dump();
    ASSERT_TRUE(run("host.sample_scene", QStringLiteral(R"(elements="50")")).ok);
    EXPECT_EQ(session.scene().elements().size(), 50u);
    EXPECT_TRUE(session.scene().reports().empty());
    r = run("host.load_project", Parse::createFile(QStringLiteral("file"), project));
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    EXPECT_EQ(dump(), saved);

    QString const file = dir.path(QStringLiteral("state.txt"));
    ASSERT_TRUE(run("host.dump_state", Parse::createFile(QStringLiteral("file"), file)).ok);
    EXPECT_EQ(QString::fromUtf8(MvpTest::readAll(file)), saved);
    r = run("host.dump_state");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.result, saved);
}

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
    };
    for (Case const& c : cases) {
        Outcome const r = run(c.command, QString::fromUtf8(c.parameters));
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

TEST_F(HostCommands, FilesAreNeverReplacedBySpecialFilesOrLostOnAFullDisk)
{
    QString const fifo = dir.path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (char const* command : {"host.save_project", "host.dump_state"}) {
        Outcome const r = run(command, Parse::createFile(QStringLiteral("file"), fifo));
        EXPECT_FALSE(r.ok) << command;
        EXPECT_EQ(r.errorId, QStringLiteral("KavHost-Project-0002")) << command;
        EXPECT_TRUE(r.log.contains(fifo + QStringLiteral(": cannot save: it is a FIFO, not a regular file")))
            << qPrintable(r.log);
    }
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    MvpTest::SmallFileSystem fs(256);
    MVP_REQUIRE_MOUNTED(fs);
    QString const state = fs.path(QStringLiteral("state.txt"));
    ASSERT_TRUE(run("host.dump_state", Parse::createFile(QStringLiteral("file"), state)).ok);
    QByteArray const before = MvpTest::readAll(state);
    ASSERT_TRUE(run("host.sample_scene", QStringLiteral(R"(elements="5000")")).ok);
    for (char const* command : {"host.save_project", "host.dump_state"}) {
        Outcome const r = run(command, Parse::createFile(QStringLiteral("file"), state));
        EXPECT_FALSE(r.ok) << command;
        EXPECT_TRUE(r.log.contains(state + QStringLiteral(": cannot write: No space left on device"))) << qPrintable(r.log);
        EXPECT_EQ(MvpTest::readAll(state), before) << command;
    }
}

TEST_F(HostCommands, AddingAndRemovingElementsIsUndoneInPlace)
{
    auto order = [this] {
        QStringList names;
        for (CAD::Element* e : session.scene().elements())
            names << e->getName();
        return names;
    };
    QString const start = dump();
    QStringList const startOrder = order();
    // A changed element inside the removed part comes back as it was when removed.
    ASSERT_TRUE(run("element.set", QStringLiteral(R"(name="Hole 3" color="#010203" label_auto="0")")).ok);
    QString const changed = dump();
    ASSERT_TRUE(run("element.add", QStringLiteral(R"(name="Extra" type="circle" parent="Bracket")")).ok);
    QString const added = dump();
    ASSERT_TRUE(run("element.remove", QStringLiteral(R"(name="Bracket")")).ok);
    EXPECT_EQ(element("Hole 3"), nullptr);
    QString const removed = dump();

    Outcome r = run("edit.undo");
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("step")), QStringLiteral("remove element"));
    EXPECT_EQ(dump(), added);
    QStringList withExtra = startOrder;
    withExtra << QStringLiteral("Extra");
    EXPECT_EQ(order(), withExtra);
    QString parent;
    EXPECT_TRUE(session.commandInterface().getParentElement(QStringLiteral("Hole 3"), &parent));
    EXPECT_EQ(parent, QStringLiteral("Bracket"));
    ASSERT_TRUE(run("edit.undo").ok);
    EXPECT_EQ(dump(), changed);
    ASSERT_TRUE(run("edit.undo").ok);
    EXPECT_EQ(dump(), start);
    EXPECT_EQ(order(), startOrder);

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(run("edit.redo").ok);
    EXPECT_EQ(dump(), removed);
    ASSERT_TRUE(run("edit.undo").ok);
    EXPECT_EQ(dump(), added);
}

TEST_F(HostCommands, MakingAndRemovingSnapshotsAreUndoneInPlace)
{
    auto reportNames = [this] {
        QStringList names;
        for (CAD::Report* r : session.scene().reports())
            names << r->getName();
        return names;
    };
    ASSERT_TRUE(run("report.create_snapshot", QStringLiteral(R"(name="First")")).ok);
    ASSERT_TRUE(run("element.set", QStringLiteral(R"(name="Hole 3" color="#010203")")).ok);
    ASSERT_TRUE(run("report.create_snapshot", QStringLiteral(R"(name="Second")")).ok);
    ASSERT_TRUE(run("report.create_snapshot", QStringLiteral(R"(name="Third")")).ok);
    auto* second = dynamic_cast<CAD::Report*>(element("Second"));
    ASSERT_NE(second, nullptr);
    std::size_t const accesses = second->getCreationPropertyAccess().size();
    QString const withAll = dump();

    // The middle one, selected, goes; undo puts the same report back between the others.
    ASSERT_TRUE(run("select", QStringLiteral(R"(names=["Second", "P1"])")).ok);
    Outcome r = run("element.remove", QStringLiteral(R"(name="Second")"));
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    EXPECT_EQ(reportNames(), (QStringList{QStringLiteral("First"), QStringLiteral("Third")}));
    EXPECT_EQ(session.scene().selection(), QStringList{QStringLiteral("P1")});
    r = run("edit.undo");
    ASSERT_TRUE(r.ok) << r.log.toStdString();
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("step")), QStringLiteral("remove element"));
    EXPECT_EQ(reportNames(), (QStringList{QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")}));
    ASSERT_EQ(element("Second"), second);
    EXPECT_EQ(second->getCreationPropertyAccess().size(), accesses);
    ASSERT_TRUE(run("select", QStringLiteral("names=[]")).ok);
    EXPECT_EQ(dump(), withAll);

    // Making one is a step of its own: undone it is gone, redone it is back.
    r = run("edit.undo");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Parse::getString(r.result, QStringLiteral("step")), QStringLiteral("create snapshot"));
    EXPECT_EQ(reportNames(), (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
    ASSERT_TRUE(run("edit.redo").ok);
    EXPECT_EQ(reportNames(), (QStringList{QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")}));
    ASSERT_TRUE(run("edit.redo").ok);
    EXPECT_EQ(reportNames(), (QStringList{QStringLiteral("First"), QStringLiteral("Third")}));

    // A report kept by a step never replaces what took its name in the meantime.
    ASSERT_TRUE(run("edit.undo").ok);
    ASSERT_TRUE(run("edit.undo").ok);
    ASSERT_TRUE(run("edit.undo").ok);
    ASSERT_EQ(element("Second"), nullptr);
    ASSERT_TRUE(session.scene().addElement(
        std::make_unique<CAD::Element>(QStringLiteral("Second"), CAD::ElementCreator::POINT)));
    ASSERT_TRUE(run("edit.redo").ok);
    EXPECT_EQ(dynamic_cast<CAD::Report*>(element("Second")), nullptr);
    EXPECT_EQ(reportNames(), QStringList{QStringLiteral("First")});
}

TEST(HostCommandsWithoutInterface, AreNotExecutable)
{
    MCADCmd::registerHostCommands();
    ASSERT_EQ(MCADCmd::CommandInterface::getInterface(), nullptr);
    for (char const* name : {"host.sample_scene", "select", "element.set", "host.dump_state"}) {
        GApp::Command* cmd = GApp::CommandContainer::getCommand(QString::fromLatin1(name));
        ASSERT_NE(cmd, nullptr) << name;
        EXPECT_FALSE(cmd->isExecutable()) << name;
        QString result, errorId;
        EXPECT_FALSE(cmd->execute(&result, &errorId, nullptr)) << name;
    }
}

} // namespace
