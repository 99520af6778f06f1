#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_cmd_restore_snapshot.h"
#include "mvp_temp_dir.h"
#include "restore_probe.h"

#include "cad/kav_record_notifier.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_gapp_errors.h"
#include "gcad/kav_gcad.h"
#include "glegend2/kav_global_legend.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QDialog>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>

using namespace Kav;
using Kav::MCADVisProp::RestorePropertyFromSnapshotCommand;
using Kav::MCADVisProp::RestoreSnapshotTemplateCommand;
using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplatePart;
using RestoreTest::ProbeAccess;

namespace {

std::string s(QString const& text) { return text.toStdString(); }
QStringList readList(QString result, char const* key)
{
    return Parse::getStringVector(result, QString::fromLatin1(key), 0, 4294967295u);
}

// A command with the base's error string in reach of the tests.
template <class C>
struct Exposed : C {
    using C::createErrorString;
};

// The session's command interface with knobs: extra unapplied properties, a refusing
// elementPropertiesChanged, a throwing apply, and a record of what apply was given.
class ScriptedInterface : public MCADCmd::CommandInterface {
public:
    explicit ScriptedInterface(MCADCmd::Scene* scene) : CommandInterface(scene), previous_(getInterface())
    {
        setInterface(this);
    }
    ~ScriptedInterface() override { setInterface(previous_); }

    QStringList applyPropertyAccessComplete(bool newInvisible, bool invalidInvisible,
                                            MCADCmd::AccessList const& accesses, QStringList* names,
                                            QStringList* types, QStringList* descriptions) override
    {
        if (onApply)
            onApply();
        seenNewInvisible = newInvisible;
        seenInvalidInvisible = invalidInvisible;
        seen = accesses;
        seenFlags.clear();
        for (auto* a : accesses)
            seenFlags.push_back(a->getUsageFlags());
        QStringList const changed = CommandInterface::applyPropertyAccessComplete(
            newInvisible, invalidInvisible, accesses, names, types, descriptions);
        if (throwOnApply) {
            throwOnApply = false;  // once, after applying: the scene is half restored
            throw std::runtime_error("apply failed");
        }
        for (int i = 1; i <= unapplied; ++i) {
            names->append(QStringLiteral("P%1").arg(i));
            types->append(QStringLiteral("probe element"));
            descriptions->append(i % 2 ? QStringLiteral("d%1").arg(i) : QString());
        }
        return changed;
    }
    bool elementPropertiesChanged(QStringList const& names, ErrorLog* log) override
    {
        changedReported = names;
        if (!acceptChanges) {
            *log << "refused" << END_LOG;
            return false;
        }
        return CommandInterface::elementPropertiesChanged(names, log);
    }

    int unapplied = 0;
    bool acceptChanges = true;
    bool throwOnApply = false;
    std::function<void()> onApply;
    bool seenNewInvisible = false;
    bool seenInvalidInvisible = false;
    MCADCmd::AccessList seen;
    std::vector<PropertyAccess::UsageFlags> seenFlags;
    QStringList changedReported;

private:
    CommandInterface* previous_;
};

class RestoreCommands : public RestoreTest::ProbeScene {
protected:
    void SetUp() override
    {
        ProbeScene::SetUp();
        QObject::connect(GApp::MainWindow::smgr, &GApp::AppStatusManager::dataChanged,
                         [this](unsigned int id, unsigned int reason) { notices.emplace_back(id, reason); });
    }

    // One restore of `snap` from its parameters on, whole or by `t`; the result starts "untouched".
    bool run(bool wholeRestore, char const* snap, PropAccTemplate const& t = PropAccTemplate(QStringLiteral("t")))
    {
        result = QStringLiteral("untouched");
        errorId.clear();
        log.clear();
        QString const name = QString::fromLatin1(snap);
        QString const params = wholeRestore ? Parse::createString(QStringLiteral("snapshot"), name)
                                            : byTemplate.createTemplateParameterString(name, t);
        return command(wholeRestore).parseParameterString(params, false, &errorId, &log) &&
               command(wholeRestore).execute(&result, &errorId, &log);
    }
    GApp::Command& command(bool wholeRestore) { return wholeRestore ? static_cast<GApp::Command&>(whole) : byTemplate; }
    // What every failed run leaves: no lock, no open undo step, no new one.
    void expectNothingLeft()
    {
        EXPECT_EQ(window.drawingLockCount(), 0);
        EXPECT_FALSE(window.isGUILocked());
        EXPECT_FALSE(CAD::RecordManager::_manager->isRecording());
        EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), 0);
    }
    void expectFailure(bool ok, char const* expectedId)
    {
        EXPECT_FALSE(ok);
        EXPECT_EQ(s(errorId), expectedId);
        EXPECT_EQ(s(result), "untouched");
        expectNothingLeft();
    }
    unsigned int legendId() { return GApp::MainWindow::smgr->getUniqueId(QString::fromLatin1(GLegend2::APP_NAME)); }

    Exposed<RestorePropertyFromSnapshotCommand> whole;
    Exposed<RestoreSnapshotTemplateCommand> byTemplate;
    std::vector<std::pair<unsigned int, unsigned int>> notices;
    QString result, errorId;
    ErrorLog log;
    QStringList const abc{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
};

TEST_F(RestoreCommands, WholeRestoreBringsBackTheSnapshotAsOneUndoStep)
{
    QString const atSnapshot = state();
    CAD::Report* report = snapshot(QStringLiteral("Snap"));
    disturb();
    QString const changed = state();
    unsigned int const repositions = session.scene().overlay()->getRepositionCount();

    ASSERT_TRUE(run(true, "Snap")) << s(errorId) << s(log.getLog());
    EXPECT_EQ(state(), atSnapshot);
    EXPECT_TRUE(errorId.isEmpty());
    EXPECT_EQ(s(result), "not_found_names=[]not_found_types=[]not_found_descriptions=[]");
    EXPECT_EQ(session.scene().modifiedElements(), abc);
    EXPECT_EQ(frontViews, std::vector<QString>{MCADCmd::HostSession::mainViewName()});
    EXPECT_EQ(session.scene().overlay()->getRepositionCount(), repositions + 1);
    EXPECT_NE(std::find(notices.begin(), notices.end(), std::make_pair(legendId(), GLegend2::REASON_LUT)), notices.end());
    EXPECT_EQ(report->getCreationPropertyAccess().size(), 3u);

    ASSERT_EQ(CAD::RecordManager::_manager->undoCount(), 1);
    EXPECT_EQ(CAD::RecordManager::_manager->undoName(), whole.getMenuName());
    ASSERT_TRUE(CAD::RecordManager::_manager->undo());
    EXPECT_EQ(state(), changed);
}

TEST_F(RestoreCommands, FailuresUnlockAndLeaveNoUndoStep)
{
    snapshot(QStringLiteral("Empty"))->setCreationPropertyAccess({});
    snapshot(QStringLiteral("Old"))->setDontUpdateSnapshot(true);
    disturb();
    QString const disturbed = state();
    struct Case {
        char const* snapshot;
        char const* errorId;
        bool byTemplateToo;  // the template restore accepts an empty snapshot
    };
    for (Case const& c : {Case{"Nowhere", "MCADVisProp-0007", true}, Case{"A", "MCADVisProp-0007", true},
                          Case{"Old", "MCADVisProp-0008", true}, Case{"Empty", "MCADVisProp-0008", false}}) {
        SCOPED_TRACE(c.snapshot);
        expectFailure(run(true, c.snapshot), c.errorId);
        if (c.byTemplateToo)
            expectFailure(run(false, c.snapshot), c.errorId);
        EXPECT_EQ(state(), disturbed);
    }
    EXPECT_TRUE(frontViews.empty());
}

TEST_F(RestoreCommands, NoCommandInterfaceTouchesNothing)
{
    snapshot(QStringLiteral("Snap"));
    session.scene().setSelection({QStringLiteral("Snap")});
    ASSERT_TRUE(whole.isSensitive());
    MCADCmd::CommandInterface::setInterface(nullptr);
    EXPECT_FALSE(whole.isExecutable());
    EXPECT_FALSE(byTemplate.isExecutable());
    EXPECT_FALSE(whole.isSensitive());
    EXPECT_FALSE(whole.executeMenu());
    for (bool wholeRestore : {true, false})
        expectFailure(run(wholeRestore, "Snap"), "");
    MCADCmd::CommandInterface::setInterface(&session.commandInterface());
}

TEST_F(RestoreCommands, RefusedChangeNoticeFailsButKeepsTheRestoreAndItsStep)
{
    QString const atSnapshot = state();
    snapshot(QStringLiteral("Snap"));
    ScriptedInterface ci(&session.scene());
    ci.acceptChanges = false;
    for (bool wholeRestore : {true, false}) {
        SCOPED_TRACE(wholeRestore ? "whole" : "by template");
        disturb();
        EXPECT_FALSE(run(wholeRestore, "Snap"));
        EXPECT_EQ(s(errorId), "MCADVisProp-0003");
        EXPECT_EQ(s(result), "untouched");
        EXPECT_EQ(s(log.getLog()), "refused");
        EXPECT_EQ(state(), atSnapshot);
        EXPECT_EQ(CAD::RecordManager::_manager->undoCount(), wholeRestore ? 1 : 2);
        EXPECT_EQ(ci.changedReported, abc);
    }
}

TEST_F(RestoreCommands, NothingChangedMeansNoChangeNotice)
{
    snapshot(QStringLiteral("Snap"));
    ScriptedInterface ci(&session.scene());
    ci.acceptChanges = false;  // would fail the run if it were asked
    for (QString const& name : abc)
        session.scene().removeElement(name);
    ASSERT_TRUE(run(false, "Snap")) << s(errorId);
    EXPECT_TRUE(ci.changedReported.isEmpty());
    // The accesses whose elements are gone are listed, one entry per enabled property.
    EXPECT_EQ(readList(result, "not_found_names").size(), 6);
    QStringList const types = readList(result, "not_found_types");
    EXPECT_EQ(types.size(), 6);
    EXPECT_EQ(types.count(QStringLiteral("probe element")), 6);
}

TEST_F(RestoreCommands, AnExceptionFromTheApplyLeavesTheSceneNoLockAndNoUndoStep)
{
    snapshot(QStringLiteral("Snap"));
    disturb();
    QString const disturbed = state();
    // A redo waiting in the history stays there through the failures.
    ASSERT_TRUE(run(true, "Snap"));
    ASSERT_TRUE(CAD::RecordManager::_manager->undo());
    ASSERT_EQ(state(), disturbed);

    ScriptedInterface ci(&session.scene());
    int const live = ProbeAccess::live;
    for (bool wholeRestore : {true, false}) {
        SCOPED_TRACE(wholeRestore ? "whole" : "by template");
        ci.throwOnApply = true;
        EXPECT_THROW(run(wholeRestore, "Snap"), std::runtime_error);
        EXPECT_EQ(s(state()), s(disturbed)) << "what the failed restore applied is taken back";
        expectNothingLeft();
        EXPECT_EQ(CAD::RecordManager::_manager->redoCount(), 1);
        EXPECT_EQ(ProbeAccess::live, live) << "the copies and the undo record's capture are freed";
    }
}

TEST_F(RestoreCommands, ParameterErrorsNameTheProblemAndTheExpectedForm)
{
    // Each refusal names its parameter error and ends with the command's whole form.
    QString const snap = Parse::createString(QStringLiteral("snapshot"), QStringLiteral("Snap"));
    QString const tmpl = PropAccTemplate(QStringLiteral("t")).createParameterString(QStringLiteral("template"));
    QString const extra = Parse::createString(QStringLiteral("colour"), QStringLiteral("red"));
    struct Case {
        bool byTemplate;
        QString params;
    };
    for (Case const& c : {Case{false, snap + extra}, Case{false, QString()}, Case{false, QStringLiteral("snapshot=\"Snap")},
                          Case{true, snap + tmpl + extra}, Case{true, snap}, Case{true, snap + QStringLiteral("template={}")},
                          Case{true, tmpl}}) {
        SCOPED_TRACE(s(c.params));
        log.clear();
        EXPECT_FALSE(command(!c.byTemplate).parseParameterString(c.params, false, &errorId, &log));
        EXPECT_EQ(s(errorId), GApp::PARAMETER_ERROR);
        QString const form = c.byTemplate ? byTemplate.createErrorString(c.params) : whole.createErrorString(c.params);
        ASSERT_EQ(log.getEntries().size(), 1);
        EXPECT_TRUE(log.getEntries()[0].endsWith(QStringLiteral("\n\n") + form)) << s(log.getLog());
        EXPECT_GT(log.getEntries()[0].size(), form.size() + 2) << "the error itself is named";
    }

    // A template travels whole.
    PropAccTemplate t(QStringLiteral("Views \"only\""));
    PropAccTemplatePart part(PropertyAccess::PROP_ACC_CAD_ELEMENT);
    part.setUsage(PropertyAccess::PROP_ELEMENT_VISUALIZATION, false);
    t.set(part);
    t.setNewInvisibleFlag(true);
    QString const params = byTemplate.createTemplateParameterString(QStringLiteral("Snap 2"), t);
    EXPECT_TRUE(params.startsWith(Parse::createString(QStringLiteral("snapshot"), QStringLiteral("Snap 2"))));
    log.clear();
    ASSERT_TRUE(byTemplate.parseParameterString(params, false, &errorId, &log));
    EXPECT_EQ(s(byTemplate.getSnapshotName()), "Snap 2");
    EXPECT_TRUE(byTemplate.getRestoreTemplate().sameContent(t));
    EXPECT_TRUE(log.isEmpty());

    // No menu form: the error names the statement that raises it, as the source has it now.
    QStringList const lines =
        QString::fromUtf8(MvpTest::readAll(QStringLiteral(MVP_TEST_DATA_DIR "/../../restore/mvp_cmd_restore_from_template.cpp")))
            .split(QLatin1Char('\n'));
    auto const menu = std::find_if(lines.begin(), lines.end(),
                                   [](QString const& l) { return l.contains(QLatin1String("Command::executeMenu()")); });
    auto const raise = std::find_if(menu, lines.end(), [](QString const& l) { return l.contains(QLatin1String("throw")); });
    ASSERT_NE(raise, lines.end());
    try {
        byTemplate.executeMenu();
        ADD_FAILURE() << "executeMenu returned";
    } catch (ProgError const& e) {
        EXPECT_EQ(e.getLine(), raise - lines.begin() + 1);
        EXPECT_EQ(s(e.getMessage()), "Kav::MCADVisProp::RestoreSnapshotTemplateCommand::executeMenu (mvp_cmd_restore_from_template:"
                                         + std::to_string(e.getLine()) + "): this command cannot be used in a menu");
    }
}

TEST_F(RestoreCommands, TemplateHandsCopiesAndItsTwoFlagsToTheApply)
{
    CAD::Report* report = snapshot(QStringLiteral("Snap"));
    ScriptedInterface ci(&session.scene());
    disturb();
    PropAccTemplate t(QStringLiteral("t"));
    t.setInvalidCMMInvisibleFlag(true);
    PropAccTemplatePart part(PropertyAccess::PROP_ACC_CAD_ELEMENT);
    part.setUsage(PropertyAccess::PROP_ELEMENT_VISIBILITY, false);
    t.set(part);
    ASSERT_TRUE(run(false, "Snap", t));
    EXPECT_EQ(session.scene().modifiedElements(), abc);
    EXPECT_FALSE(ci.seenNewInvisible);
    EXPECT_TRUE(ci.seenInvalidInvisible);
    ASSERT_EQ(ci.seen.size(), 3u);
    for (std::size_t i = 0; i < ci.seen.size(); ++i) {
        EXPECT_NE(ci.seen[i], report->getCreationPropertyAccess()[i]);
        EXPECT_EQ(ci.seenFlags[i], part.getUsages());
    }
    ASSERT_TRUE(run(true, "Snap"));
    EXPECT_TRUE(ci.seenNewInvisible);
    EXPECT_FALSE(ci.seenInvalidInvisible);
    EXPECT_EQ(ci.seen, report->getCreationPropertyAccess()) << "the whole restore applies the snapshot's own accesses";
}

// Every step of a run as the host sees it, with what holds at that moment: the drawing
// lock, an open undo step, labels re-placed.
TEST_F(RestoreCommands, BothRestoresRunTheirStepsInOrder)
{
    snapshot(QStringLiteral("Snap"));
    ScriptedInterface ci(&session.scene());
    std::vector<std::string> steps;
    unsigned int repositions = 0;
    auto note = [&](char const* step) {
        steps.push_back(step + std::string(window.drawingLockCount() > 0 ? " locked" : "") +
                        (CAD::RecordManager::_manager->isRecording() ? " recording" : "") +
                        (session.scene().overlay()->getRepositionCount() > repositions ? " labels" : ""));
    };
    QObject observer;
    CAD::RecordNotifier* history = CAD::RecordManager::_manager->notifier();
    QObject::connect(history, &CAD::RecordNotifier::recordingStarted, &observer, [&] { note("record"); });
    QObject::connect(history, &CAD::RecordNotifier::historyChanged, &observer, [&] { note("closed"); });
    QObject::connect(&window, &GApp::MainWindow::drawingUnlocked, &observer, [&] { note("unlock"); });
    unsigned int commandId = 0;
    QObject::connect(GApp::MainWindow::smgr, &GApp::AppStatusManager::dataChanged, &observer,
                     [&](unsigned int id, unsigned int reason) {
                         if (id == legendId())
                             note("legend");
                         if (id == commandId && reason == 0)
                             note("notice");
                     });
    GApp::ViewWidgetContainer::setFrontViewCallback([&](QString const&) { note("front"); });
    ci.onApply = [&] { note("apply"); };

    std::vector<std::string> const expected = {"record locked recording", "apply locked recording", "unlock recording",
                                               "front recording", "legend recording labels", "closed labels",
                                               "notice labels"};
    for (bool const wholeRestore : {true, false}) {
        SCOPED_TRACE(wholeRestore ? "whole" : "by template");
        steps.clear();
        commandId = GApp::MainWindow::smgr->getUniqueId(wholeRestore ? whole.getCommandName()
                                                                     : byTemplate.getCommandName());
        repositions = session.scene().overlay()->getRepositionCount();
        ASSERT_TRUE(run(wholeRestore, "Snap"));
        EXPECT_EQ(steps, expected);
    }
}

TEST_F(RestoreCommands, MenuRunRestoresTheLastSelectedSnapshot)
{
    QString const first = state();
    snapshot(QStringLiteral("S1"));
    disturb();
    QString const second = state();
    snapshot(QStringLiteral("S2"));
    element("A")->setElementVisible(false);

    session.scene().setSelection({QStringLiteral("S2"), QStringLiteral("A"), QStringLiteral("S1")});
    EXPECT_TRUE(whole.executeMenu());
    EXPECT_EQ(state(), first);
    session.scene().setSelection({QStringLiteral("S2")});
    EXPECT_TRUE(whole.executeMenu());
    EXPECT_EQ(state(), second);

    // Without a snapshot the run fails with the host's report of 0007, and no warning follows.
    session.scene().setSelection({QStringLiteral("A")});
    responder->pushAnswer(QDialog::Accepted);
    EXPECT_FALSE(whole.executeMenu());
    ASSERT_EQ(responder->asked().size(), 1u);
    EXPECT_EQ(responder->asked()[0].kind, GTools::DialogRequest::ERROR);
    EXPECT_EQ(s(responder->asked()[0].errorId), "MCADVisProp-0007");
}

TEST_F(RestoreCommands, MenuRunListsUnappliedPropertiesUpToForty)
{
    snapshot(QStringLiteral("Snap"));
    session.scene().setSelection({QStringLiteral("Snap")});
    ScriptedInterface ci(&session.scene());
    EXPECT_TRUE(whole.executeMenu());
    EXPECT_TRUE(responder->asked().empty()) << "nothing unapplied, no warning";

    QStringList all;
    for (int i = 1; i <= 41; ++i)
        all << (i % 2 ? QStringLiteral("P%1 (d%1)").arg(i) : QStringLiteral("P%1").arg(i));
    QString const comma = QStringLiteral(",\n");
    struct Case {
        int unapplied;
        char const* text;
        QString details;
    };
    std::size_t warnings = 0;
    for (Case const& c : {Case{40, "there are 40 properties, who could not be applied:", all.mid(0, 40).join(comma)},
                          Case{41, "there are 41 properties, who could not be applied:",
                               all.mid(0, 35).join(comma) + QStringLiteral(",\nand 6 further properties")}}) {
        SCOPED_TRACE(c.unapplied);
        ci.unapplied = c.unapplied;
        responder->pushAnswer(QDialog::Accepted);
        EXPECT_TRUE(whole.executeMenu());
        ASSERT_EQ(responder->asked().size(), ++warnings);
        GTools::DialogRequest const shown = responder->asked().back();
        EXPECT_EQ(shown.kind, GTools::DialogRequest::OK);
        EXPECT_EQ(shown.dialogType, 1);
        EXPECT_EQ(s(shown.title), "warning");
        EXPECT_EQ(s(shown.text), c.text);
        EXPECT_EQ(shown.details, c.details);
        EXPECT_TRUE(shown.extra.isEmpty());
    }
}

} // namespace
