#pragma once

#include "gtools/kav_dialog_responder.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace Kav {
namespace App {

// Runs macro scripts through the main window: one command per line, "name parameters";
// "#" outside quotes starts a comment, blank lines are skipped. Every command prints
// "ok <command> <result>"; the first failure prints "error <line>: <error id>: <text>" and
// the log, and ends the run.
class ScriptRunner {
public:
    using Printer = std::function<void(QString const&)>;

    // Larger files are refused, not read.
    static constexpr qint64 MAX_SCRIPT_BYTES = 16 * 1024 * 1024;

    // out gets the ok lines, err the error lines; both default to stdout / stderr.
    explicit ScriptRunner(Printer out = Printer(), Printer err = Printer());

    // The script's lines. False, with a message naming the file, when it cannot be read,
    // is too large or is not UTF-8 text.
    static bool readScript(QString const& path, QStringList* lines, QString* message);
    // "time <what> <wall> ms cpu <cpu> ms", the line --timings prints.
    static QString timingLine(QString const& what, double wallMs, double cpuMs);
    // The command line without its comment, trimmed; empty for a blank or comment line.
    static QString stripComment(QString const& line);
    // `text` with control characters other than new line and tab written as \xHH, so that
    // names and file bytes echoed in messages cannot drive the terminal.
    static QString escapeControls(QString const& text);

    // Runs all lines; false at the first failure. Needs MainWindow::main_win.
    bool run(QStringList const& lines);
    // Runs one line (a blank or comment line succeeds and does nothing).
    bool runLine(QString const& line, int lineNumber);

    QString lastResult() const { return lastResult_; }
    // "error <line>: <id>: <text>" of the last failure, empty when none.
    QString lastError() const { return lastError_; }
    int commandsRun() const { return commandsRun_; }
    // Each command also prints "time <command> <wall> ms cpu <process cpu> ms" to err, after
    // "time events ..." for the pending events it first lets run.
    void setTimings(bool on) { timings_ = on; }

private:
    void fail(int lineNumber, QString const& errorId, QString const& log);

    Printer out_;
    Printer err_;
    QString lastResult_;
    QString lastError_;
    int commandsRun_ = 0;
    bool timings_ = false;
};

// The headless runner's dialog responder: answers every dialog without a window and prints
// what was asked to stderr. Error dialogs of a script command are left to the runner,
// which prints them in its own format.
class ConsoleResponder : public GTools::StderrResponder {
public:
    GTools::DialogAnswer answer(GTools::DialogRequest const& request) override;
    void setQuietErrors(bool quiet) { quietErrors_ = quiet; }
    QStringList const& printed() const { return printed_; }

private:
    bool quietErrors_ = false;
    QStringList printed_;
};

} // namespace App
} // namespace Kav
