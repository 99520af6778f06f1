// Macro scripts, read from a file and run line by line through the main window the way the
// headless runner runs them, on a small generated scene with a snapshot. Commands that name
// files or build large scenes only have their parameters read: a fuzzer must not write
// where an input says, nor spend its time building ten million elements.
#include "mvp_fuzz_common.h"

#include "core/kav_error_log.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "kav_script_runner.h"

#include <QSet>

namespace {

bool parseOnly(QString const& name)
{
    static QSet<QString> const names{
        QStringLiteral("host.sample_scene"),           QStringLiteral("host.load_project"),
        QStringLiteral("host.save_project"),           QStringLiteral("host.dump_state"),
        QStringLiteral("report.import_restore_templates"),
    };
    return names.contains(name);
}

// Lines run per input: enough for any sequence worth finding, few enough to stay fast.
constexpr int maxLines = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size)
{
    MvpFuzz::setUp();
    QString const path = MvpFuzz::writeScratch(QStringLiteral("input.kavscript"), MvpFuzz::bytes(data, size));
    QStringList lines;
    QString message;
    if (!Kav::App::ScriptRunner::readScript(path, &lines, &message)) {
        if (message.isEmpty())
            MvpFuzz::violated("a script was refused without a reason");
        return 0;
    }
    MvpFuzz::resetScene(8);
    Kav::App::ScriptRunner runner([](QString const&) {}, [](QString const&) {});
    int run = 0;
    for (int i = 0; i < lines.size() && run < maxLines; ++i) {
        QString const command = Kav::App::ScriptRunner::stripComment(lines.at(i));
        if (command.isEmpty())
            continue;
        ++run;
        // Split where the runner splits: at the first white space.
        int space = 0;
        while (space < command.size() && !command.at(space).isSpace())
            ++space;
        QString const name = command.left(space);
        if (parseOnly(name)) {
            Kav::GApp::Command* cmd = Kav::GApp::CommandContainer::getCommand(name);
            QString errorId;
            Kav::ErrorLog log(false);
            cmd->parseParameterString(command.mid(name.size()).trimmed(), false, &errorId, &log);
            continue;
        }
        if (!runner.runLine(lines.at(i), i + 1))
            break;
    }
    return 0;
}

// The application comes up before the first input, outside the per-input time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MvpFuzz::setUp();
    return 0;
}
