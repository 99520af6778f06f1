#include "kav_script_runner.h"
#include "core/kav_translate.h"

#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_main_window.h"
#include "gtools/kav_error_messages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <ctime>

namespace Kav {
namespace App {

namespace {

void printTo(FILE* stream, QString const& text)
{
    QByteArray const bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

ScriptRunner::ScriptRunner(Printer out, Printer err) : out_(std::move(out)), err_(std::move(err))
{
    if (!out_)
        out_ = [](QString const& text) { printTo(stdout, text); };
    if (!err_)
        err_ = [](QString const& text) { printTo(stderr, text); };
}

bool ScriptRunner::readScript(QString const& path, QStringList* lines, QString* message)
{
    QFileInfo const info(path);
    if (!info.exists()) {
        *message = translate("MvpHost", "script %1: no such file").arg(path);
        return false;
    }
    if (!info.isFile()) {
        *message = translate("MvpHost", "script %1: not a file").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = translate("MvpHost", "script %1: cannot be opened: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > MAX_SCRIPT_BYTES) {
        *message = translate("MvpHost", "script %1: too large (%2 bytes, at most %3)")
                       .arg(path)
                       .arg(file.size())
                       .arg(MAX_SCRIPT_BYTES);
        return false;
    }
    // Read at most the limit even if the file grows meanwhile.
    QByteArray const bytes = file.read(MAX_SCRIPT_BYTES + 1);
    if (bytes.size() > MAX_SCRIPT_BYTES) {
        *message = translate("MvpHost", "script %1: too large (more than %2 bytes)").arg(path).arg(MAX_SCRIPT_BYTES);
        return false;
    }
    if (bytes.contains('\0')) {
        *message = translate("MvpHost", "script %1: not a text file (contains a zero byte)").arg(path);
        return false;
    }
    // Editors may start UTF-8 text with a byte-order mark; it is no part of the first line.
    QByteArray const body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QString const text = QString::fromUtf8(body);
    if (text.toUtf8() != body) {
        *message = translate("MvpHost", "script %1: not UTF-8 text").arg(path);
        return false;
    }
    // Each of CR LF, LF and a lone CR ends a line, as editors on every system write them.
    *lines = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    return true;
}

QString ScriptRunner::stripComment(QString const& line)
{
    // A "#" inside a quoted value (a colour "#ff0000") is text, not a comment.
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        QChar const c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == QLatin1Char('"'))
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('#')) {
            return line.left(i).trimmed();
        }
    }
    return line.trimmed();
}

bool ScriptRunner::run(QStringList const& lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (!runLine(lines.at(i), i + 1))
            return false;
    }
    return true;
}

bool ScriptRunner::runLine(QString const& line, int lineNumber)
{
    QString const command = stripComment(line);
    if (command.isEmpty())
        return true;
    int space = 0;
    while (space < command.size() && !command.at(space).isSpace())
        ++space;
    QString const name = command.left(space);
    QString parameters = command.mid(space).trimmed();
    if (!parameters.isEmpty()) {
        // Led by blanks as wide as what precedes it, so that the positions an error names
        // count from the start of the line the user wrote.
        int lead = 0;
        while (lead < line.size() && line.at(lead).isSpace())
            ++lead;
        int start = space;
        while (start < command.size() && command.at(start).isSpace())
            ++start;
        parameters.prepend(QString(lead + start, QLatin1Char(' ')));
    }

    GApp::MainWindow* window = GApp::MainWindow::main_win;
    if (window == nullptr) {
        fail(lineNumber, QString::fromLatin1(GApp::COMMAND_NOT_EXECUTABLE_ERROR),
             translate("MvpHost", "no main window to run \"%1\"").arg(name));
        return false;
    }
    GApp::Command* cmd = GApp::CommandContainer::getCommand(name);
    if (cmd == nullptr) {
        fail(lineNumber, QString::fromLatin1(GApp::COMMAND_NOT_EXECUTABLE_ERROR),
             translate("MvpHost", "unknown command \"%1\"").arg(name));
        return false;
    }
    QString result;
    QElapsedTimer wall;
    std::clock_t cpu = 0;
    if (timings_) {
        // What the previous command left for the event loop (a redraw) is not this one's time.
        wall.start();
        cpu = std::clock();
        QCoreApplication::processEvents();
        err_(timingLine(QStringLiteral("events"), wall.nsecsElapsed() / 1e6, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC));
    }
    wall.start();
    cpu = std::clock();
    bool const done = window->execute(cmd, parameters, &result, false);
    if (timings_)
        err_(timingLine(name, wall.nsecsElapsed() / 1e6, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC));
    if (!done) {
        fail(lineNumber, window->lastErrorId(), window->lastErrorText());
        return false;
    }
    ++commandsRun_;
    lastResult_ = result;
    out_(escapeControls(result.isEmpty() ? QStringLiteral("ok ") + name : QStringLiteral("ok ") + name + QLatin1Char(' ') + result));
    return true;
}

QString ScriptRunner::escapeControls(QString const& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar const c : text) {
        char16_t const u = c.unicode();
        // Bidirectional formatting and line separators would reorder or break the line a
        // name is printed in, as a terminal's escape sequences would.
        bool const bidi = u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x2028 && u <= 0x202E) ||
                          (u >= 0x2066 && u <= 0x2069);
        if ((u < 0x20 && u != '\n' && u != '\t') || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x") + QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else if (bidi)
            out += QStringLiteral("\\u") + QString::number(u, 16).toUpper();
        else
            out += c;
    }
    return out;
}

QString ScriptRunner::timingLine(QString const& what, double wallMs, double cpuMs)
{
    return QStringLiteral("time %1 %2 ms cpu %3 ms").arg(what).arg(wallMs, 0, 'f', 3).arg(cpuMs, 0, 'f', 3);
}

void ScriptRunner::fail(int lineNumber, QString const& errorId, QString const& log)
{
    QString text = GTools::ErrorMessageContainer::getText(errorId);
    if (text.isEmpty())
        text = errorId;
    lastError_ = escapeControls(QStringLiteral("error %1: %2: %3").arg(lineNumber).arg(errorId, text));
    err_(lastError_);
    QString const details = escapeControls(log.trimmed());
    if (!details.isEmpty())
        err_(details);
}

GTools::DialogAnswer ConsoleResponder::answer(GTools::DialogRequest const& request)
{
    if (request.kind == GTools::DialogRequest::ERROR && quietErrors_) {
        GTools::DialogAnswer answer;
        answer.result = 1;
        return answer;
    }
    printed_ << formatLines(request);
    return StderrResponder::answer(request);
}

} // namespace App
} // namespace Kav
