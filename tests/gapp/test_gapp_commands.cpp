#include "core/kav_errors.h"
#include "gapp/kav_command.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_main_window.h"
#include "mvp_responder.h"
#include "io/kav_stream.h"

#include <QDialog>
#include <gtest/gtest.h>

#include <functional>
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

// A command whose body each test sets.
class TestCommand : public Command {
public:
    explicit TestCommand(QString const& name) : Command(true, false, name, QStringLiteral("Test"), QString(), nullptr) {}
    std::function<bool(QString*, QString*, ErrorLog*)> body;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override { return body(result, errorId, log); }
};

} // namespace

TEST(GAppCommands, ExceptionsAreReportedNotPropagated)
{
    MainWindow window;
    MvpTest::ResponderGuard responder;
    TestCommand cmd(QStringLiteral("test.throw"));
    int executedSignals = 0;
    QObject::connect(&window, &MainWindow::commandExecuted, [&executedSignals](QString const&) { ++executedSignals; });

    // A stream's exception says which file and where: it is shown as a file error, not as
    // an internal one.
    struct Thrower {
        std::function<void()> f;
        QString details;
        bool stream;
    };
    std::vector<Thrower> const throwers = {
        {[] { throw ProgError(QStringLiteral("f"), QStringLiteral("src"), 7, QStringLiteral("bad state")); },
         QStringLiteral("bad state"), false},
        {[] { throw IO::StreamException(QStringLiteral("store.rst: offset 8: truncated block")); },
         QStringLiteral("store.rst: offset 8: truncated block"), true},
        {[] { throw ParamError(QStringLiteral("key missing")); }, QStringLiteral("key missing"), false},
        {[] { throw std::runtime_error("out of range"); }, QStringLiteral("out of range"), false},
    };
    for (Thrower const& thrower : throwers) {
        cmd.body = [&thrower](QString*, QString*, ErrorLog*) -> bool {
            thrower.f();
            return true;
        };
        responder->pushAnswer(QDialog::Accepted);
        bool ok = true;
        EXPECT_NO_THROW(ok = window.execute(&cmd, QString(), nullptr, false));
        EXPECT_FALSE(ok);
        ASSERT_FALSE(responder->asked().empty());
        DialogRequest const& request = responder->asked().back();
        EXPECT_EQ(s(request.errorId), thrower.stream ? STREAM_ERROR : EXCEPTION_ERROR);
        EXPECT_EQ(s(request.text), thrower.stream ? "a file cannot be read or written" : "the command failed with an internal error");
        EXPECT_TRUE(request.details.contains(thrower.details)) << s(request.details);
    }
    EXPECT_EQ(responder->asked().size(), throwers.size());
    EXPECT_EQ(executedSignals, 0);

    // Run from a script: the body runs for parameters the command takes, and only then.
    int runs = 0;
    cmd.body = [&runs](QString*, QString*, ErrorLog*) { return ++runs > 0; };
    QString errorId;
    EXPECT_TRUE(cmd.executeScript(QString(), nullptr, &errorId, nullptr));
    EXPECT_FALSE(cmd.executeScript(QStringLiteral("x=\"1\""), nullptr, &errorId, nullptr));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(s(errorId), PARAMETER_ERROR);
}
