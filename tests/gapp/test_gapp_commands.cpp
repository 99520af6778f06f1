#include "core/kav_errors.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_main_window.h"
#include "gtools/kav_dialog_responder.h"
#include "gtools/kav_error_messages.h"
#include "io/kav_stream.h"
#include "parse/kav_parse.h"

#include <QDialog>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

using namespace Kav;
using namespace Kav::GApp;
using Kav::GTools::DialogRequest;

namespace {

std::string s(QString const& text)
{
    return text.toStdString();
}

// Answers the dialogs a test expects; any other dialog fails the test.
class Responder {
public:
    Responder()
    {
        responder_.setOnUnexpected([](DialogRequest const& request) {
            ADD_FAILURE() << "unexpected dialog: " << s(GTools::describeRequest(request));
        });
        GTools::setDialogResponder(&responder_);
    }
    ~Responder() { GTools::setDialogResponder(nullptr); }
    void expectDialog() { responder_.pushAnswer(QDialog::Accepted); }
    std::vector<DialogRequest> const& asked() const { return responder_.asked(); }
    int pending() const { return responder_.pending(); }

private:
    GTools::ScriptedResponder responder_;
};

// A command whose behaviour each test sets.
class TestCommand : public Command {
public:
    explicit TestCommand(QString const& name, int kind = KIND_MENU_AND_SCRIPT)
        : Command(true, false, name, QStringLiteral("Test"), QString(), nullptr), kind_(kind)
    {
    }
    std::function<bool(QString*, QString*, ErrorLog*)> body;
    bool executable = true;
    int executed = 0;

    bool isExecutable() override { return executable; }
    int getCommandKind() const override { return kind_; }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        ++executed;
        return body ? body(result, errorId, log) : true;
    }
    using Command::emitDataChanged;

private:
    int kind_;
};

// Takes value="..." and leaves the rest to the base check. The parameter functions are called
// unqualified, as plug-in commands call them through their base.
class ValueCommand : public TestCommand {
public:
    using TestCommand::TestCommand;
    QString value;

    QString createParameterString() override { return createString(QStringLiteral("value"), QStringLiteral("1")); }
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override
    {
        QString rest = parameters;
        value = getString(rest, QStringLiteral("value"));
        return Command::parseParameterString(rest, interactive, errorId, log);
    }
};

class GAppCommands : public ::testing::Test {
protected:
    void SetUp() override { window = std::make_unique<MainWindow>(); }
    void TearDown() override
    {
        window.reset();
        EXPECT_EQ(responder.pending(), 0) << "an expected dialog did not come";
    }
    std::unique_ptr<MainWindow> window;
    Responder responder;
};

} // namespace

TEST_F(GAppCommands, ParseFailureReportsParameterErrorWithLog)
{
    ValueCommand cmd(QStringLiteral("test.parse"));
    QString const leftover = QStringLiteral("extra=\"b\"");
    QString parseText;
    try {
        Parse::checkEmptyParameters(leftover);
    } catch (ParamError const& e) {
        parseText = e.getText();
    }
    ASSERT_FALSE(parseText.isEmpty());

    responder.expectDialog();
    QString result;
    EXPECT_FALSE(window->execute(&cmd, QStringLiteral("value=\"a\" ") + leftover, &result, false));
    EXPECT_EQ(cmd.executed, 0);
    ASSERT_EQ(responder.asked().size(), 1u);
    DialogRequest const& request = responder.asked().front();
    EXPECT_EQ(request.kind, DialogRequest::ERROR);
    EXPECT_EQ(s(request.errorId), PARAMETER_ERROR);
    EXPECT_EQ(s(request.text), "error in the parameter string");
    QString const expected = parseText + QStringLiteral("\n\ncommand \"test.parse\" with parameters: ") + leftover
                             + QStringLiteral("\nexpected form: value=\"1\"");
    EXPECT_EQ(s(request.details), s(expected));
    EXPECT_EQ(s(window->lastErrorId()), PARAMETER_ERROR);
    EXPECT_EQ(s(window->lastErrorText()), s(expected));

    // The same string without the leftover is fine.
    EXPECT_TRUE(window->execute(&cmd, QStringLiteral("value=\"a\""), &result, false));
    EXPECT_EQ(s(cmd.value), "a");
    EXPECT_EQ(cmd.executed, 1);
}

TEST_F(GAppCommands, ExecuteFailureShowsRegisteredTextOrGenericOne)
{
    GTools::ErrorMessageContainer::registerError("Test-GApp-0001", QStringLiteral("the gadget is broken"),
                                                 QStringLiteral("the gadget is broken"));
    TestCommand cmd(QStringLiteral("test.fail"));
    cmd.body = [](QString*, QString* errorId, ErrorLog* log) {
        *errorId = QStringLiteral("Test-GApp-0001");
        *log << "gadget " << 3 << " is missing" << END_LOG;
        return false;
    };
    responder.expectDialog();
    EXPECT_FALSE(window->execute(&cmd, QString(), nullptr, true));
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(s(responder.asked()[0].errorId), "Test-GApp-0001");
    EXPECT_EQ(s(responder.asked()[0].text), "the gadget is broken");
    EXPECT_EQ(s(responder.asked()[0].details), "gadget 3 is missing");

    // A failure without id and log still tells the user which command failed.
    cmd.body = [](QString*, QString*, ErrorLog*) { return false; };
    responder.expectDialog();
    EXPECT_FALSE(window->execute(&cmd, QString(), nullptr, true));
    ASSERT_EQ(responder.asked().size(), 2u);
    EXPECT_EQ(s(responder.asked()[1].errorId), COMMAND_FAILED_ERROR);
    EXPECT_TRUE(GTools::ErrorMessageContainer::hasError(QString::fromLatin1(COMMAND_FAILED_ERROR)));
    EXPECT_NE(s(responder.asked()[1].text), COMMAND_FAILED_ERROR);
    EXPECT_TRUE(responder.asked()[1].details.contains(QStringLiteral("\"test.fail\"")));
    GTools::ErrorMessageContainer::unregisterError(QStringLiteral("Test-GApp-0001"));
}

TEST_F(GAppCommands, ExceptionsAreReportedNotPropagated)
{
    TestCommand cmd(QStringLiteral("test.throw"));
    int executedSignals = 0;
    QObject::connect(window.get(), &MainWindow::commandExecuted, [&executedSignals](QString const&) { ++executedSignals; });

    // A stream's exception says which file and where: it is shown as a file error, not as
    // an internal one.
    struct Thrower {
        std::function<void()> f;
        QString details;
        char const* id;
        char const* text;
    };
    std::vector<Thrower> const throwers = {
        {[] { throw ProgError(QStringLiteral("f"), QStringLiteral("src"), 7, QStringLiteral("bad state")); },
         QStringLiteral("bad state"), EXCEPTION_ERROR, "the command failed with an internal error"},
        {[] { throw IO::StreamException(QStringLiteral("store.rst: offset 8: truncated block")); },
         QStringLiteral("store.rst: offset 8: truncated block"), STREAM_ERROR, "a file cannot be read or written"},
        {[] { throw ParamError(QStringLiteral("key missing")); }, QStringLiteral("key missing"), EXCEPTION_ERROR,
         "the command failed with an internal error"},
        {[] { throw std::runtime_error("out of range"); }, QStringLiteral("out of range"), EXCEPTION_ERROR,
         "the command failed with an internal error"},
    };
    for (Thrower const& thrower : throwers) {
        cmd.body = [&thrower](QString*, QString*, ErrorLog*) -> bool {
            thrower.f();
            return true;
        };
        responder.expectDialog();
        bool ok = true;
        EXPECT_NO_THROW(ok = window->execute(&cmd, QString(), nullptr, false));
        EXPECT_FALSE(ok);
        ASSERT_FALSE(responder.asked().empty());
        DialogRequest const& request = responder.asked().back();
        EXPECT_EQ(s(request.errorId), thrower.id);
        EXPECT_EQ(s(request.text), thrower.text);
        EXPECT_TRUE(request.details.contains(thrower.details)) << s(request.details);
    }
    EXPECT_EQ(responder.asked().size(), throwers.size());
    EXPECT_EQ(executedSignals, 0);
}

TEST_F(GAppCommands, MacroRecordsSuccessfulOutermostRuns)
{
    ValueCommand value(QStringLiteral("test.value"));
    TestCommand plain(QStringLiteral("test.plain"));
    TestCommand outer(QStringLiteral("test.outer"));
    outer.body = [&value](QString*, QString*, ErrorLog*) {
        return MainWindow::main_win->execute(&value, QStringLiteral("value=\"inner\""), nullptr, false);
    };
    TestCommand dialog(QStringLiteral("test.dialog"), Command::KIND_INTERACTIVE);
    dialog.body = [&plain](QString*, QString*, ErrorLog*) {
        MainWindow::main_win->addCommandToMacro(&plain, QStringLiteral("done=\"1\""));
        return true;
    };
    QStringList executed;
    QObject::connect(window.get(), &MainWindow::commandExecuted, [&executed](QString const& name) { executed << name; });

    EXPECT_TRUE(window->execute(&value, QStringLiteral("value=\"x\""), nullptr, false));
    window->addCommandToMacro(&plain, QString());
    EXPECT_TRUE(window->macroLines().isEmpty());

    window->startMacro();
    EXPECT_TRUE(window->isRecordingMacro());
    EXPECT_TRUE(window->execute(&value, QStringLiteral("value=\"y\""), nullptr, false));
    EXPECT_TRUE(window->execute(&plain, QString(), nullptr, true));
    responder.expectDialog();
    EXPECT_FALSE(window->execute(&value, QStringLiteral("bogus"), nullptr, false));
    EXPECT_TRUE(window->execute(&outer, QString(), nullptr, true));
    EXPECT_TRUE(window->execute(&dialog, QString(), nullptr, true));
    QStringList const lines = window->stopMacro();
    EXPECT_FALSE(window->isRecordingMacro());

    QStringList const expected = {QStringLiteral("test.value value=\"y\""), QStringLiteral("test.plain"),
                                  QStringLiteral("test.outer"), QStringLiteral("test.plain done=\"1\"")};
    EXPECT_EQ(s(lines.join(QLatin1Char('|'))), s(expected.join(QLatin1Char('|'))));
    EXPECT_EQ(s(window->macroLines().join(QLatin1Char('|'))), s(expected.join(QLatin1Char('|'))));
    window->addCommandToMacro(&plain, QString());
    EXPECT_EQ(window->macroLines().size(), expected.size());

    // Every success is announced, nested ones too; the failure is not.
    QStringList const announced = {QStringLiteral("test.value"), QStringLiteral("test.value"), QStringLiteral("test.plain"),
                                   QStringLiteral("test.value"), QStringLiteral("test.outer"), QStringLiteral("test.dialog")};
    EXPECT_EQ(s(executed.join(QLatin1Char('|'))), s(announced.join(QLatin1Char('|'))));

    // A new recording starts empty.
    window->startMacro();
    EXPECT_TRUE(window->macroLines().isEmpty());
    window->stopMacro();
}

TEST_F(GAppCommands, NonExecutableCommandFailsWithoutRunning)
{
    TestCommand cmd(QStringLiteral("test.disabled"));
    cmd.executable = false;
    responder.expectDialog();
    EXPECT_FALSE(window->execute(&cmd, QString(), nullptr, true));
    EXPECT_EQ(cmd.executed, 0);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(s(responder.asked()[0].errorId), COMMAND_NOT_EXECUTABLE_ERROR);
    EXPECT_TRUE(responder.asked()[0].details.contains(QStringLiteral("\"test.disabled\"")));

    responder.expectDialog();
    EXPECT_FALSE(window->execute(nullptr, QString(), nullptr, true));
    EXPECT_EQ(responder.asked().size(), 2u);

    // executeMenu goes through the same runner.
    cmd.executable = true;
    EXPECT_TRUE(cmd.executeMenu());
    EXPECT_EQ(cmd.executed, 1);
}

TEST_F(GAppCommands, RegistrationIsUniqueAndEndsWithTheCommand)
{
    auto first = std::make_unique<TestCommand>(QStringLiteral("test.dup"));
    try {
        TestCommand second(QStringLiteral("test.dup"));
        ADD_FAILURE() << "a second command of the same name was accepted";
    } catch (ProgError const& e) {
        EXPECT_TRUE(e.getText().contains(QStringLiteral("\"test.dup\" is registered twice"))) << s(e.getText());
    }
    EXPECT_EQ(CommandContainer::getCommand(QStringLiteral("test.dup")), first.get());
    EXPECT_EQ(CommandContainer::getCommandNames().count(QStringLiteral("test.dup")), 1);
    EXPECT_TRUE(window->execute(first.get(), QString(), nullptr, false));
    EXPECT_EQ(first->executed, 1);

    TestCommand later(QStringLiteral("test.later"));
    QStringList const names = CommandContainer::getCommandNames();
    EXPECT_LT(names.indexOf(QStringLiteral("test.dup")), names.indexOf(QStringLiteral("test.later")));

    first.reset();
    EXPECT_EQ(CommandContainer::getCommand(QStringLiteral("test.dup")), nullptr);
    EXPECT_FALSE(CommandContainer::getCommandNames().contains(QStringLiteral("test.dup")));
    TestCommand again(QStringLiteral("test.dup"));
    EXPECT_EQ(CommandContainer::getCommand(QStringLiteral("test.dup")), &again);

    // A derived constructor that throws leaves nothing behind.
    struct Failing : TestCommand {
        Failing() : TestCommand(QStringLiteral("test.failing")) { throw std::runtime_error("no"); }
    };
    EXPECT_THROW(Failing(), std::runtime_error);
    EXPECT_EQ(CommandContainer::getCommand(QStringLiteral("test.failing")), nullptr);
}

TEST_F(GAppCommands, CommandDataChangeGoesThroughStatusManager)
{
    ASSERT_NE(MainWindow::smgr, nullptr);
    TestCommand cmd(QStringLiteral("test.data"));
    std::vector<std::pair<unsigned int, unsigned int>> seen;
    QObject::connect(MainWindow::smgr, &AppStatusManager::dataChanged,
                     [&seen](unsigned int id, unsigned int reason) { seen.emplace_back(id, reason); });
    cmd.emitDataChanged(7);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, MainWindow::smgr->getUniqueId(QStringLiteral("test.data")));
    EXPECT_EQ(seen[0].second, 7u);
}

TEST(GAppMainWindow, OneWindowOwnsTheGlobals)
{
    {
        MainWindow window;
        EXPECT_EQ(MainWindow::main_win, &window);
        ASSERT_NE(MainWindow::smgr, nullptr);
        EXPECT_THROW(MainWindow second, ProgError);
        EXPECT_EQ(MainWindow::main_win, &window);
        EXPECT_NE(MainWindow::smgr, nullptr);
    }
    EXPECT_EQ(MainWindow::main_win, nullptr);
    EXPECT_EQ(MainWindow::smgr, nullptr);

    // A manager the application made stays its own.
    AppStatusManager own;
    MainWindow::smgr = &own;
    {
        MainWindow window;
        EXPECT_EQ(MainWindow::smgr, &own);
    }
    EXPECT_EQ(MainWindow::smgr, &own);
    MainWindow::smgr = nullptr;

    // Without a window a menu run fails quietly instead of crashing.
    TestCommand cmd(QStringLiteral("test.nowindow"));
    EXPECT_FALSE(cmd.executeMenu());
    EXPECT_EQ(cmd.executed, 0);
}
