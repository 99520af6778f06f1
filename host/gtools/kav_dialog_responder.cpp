#include "gtools/kav_dialog_responder.h"

#include "core/kav_translate.h"
#include "gtools/kav_edit_name_dialog.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <atomic>
#include <cstdio>

namespace Kav {
namespace GTools {
namespace {

std::atomic<DialogResponder*> installedResponder{nullptr};

char const* kindName(DialogRequest::Kind kind)
{
    switch (kind) {
    case DialogRequest::OK:
        return "OK";
    case DialogRequest::YES_NO:
        return "YES_NO";
    case DialogRequest::ERROR:
        return "ERROR";
    case DialogRequest::EXEC:
        return "EXEC";
    case DialogRequest::FILE:
        return "FILE";
    }
    return "?";
}

void printToStderr(QString const& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

DialogAnswer rejected()
{
    return DialogAnswer();
}

} // namespace

DialogResponder::~DialogResponder() = default;

void setDialogResponder(DialogResponder* responder)
{
    installedResponder.store(responder);
}

DialogResponder* dialogResponder()
{
    return installedResponder.load();
}

QString describeRequest(DialogRequest const& request)
{
    QString line = QString::fromLatin1(kindName(request.kind));
    line += QStringLiteral(" dialog (type %1)").arg(request.dialogType);
    auto add = [&line](char const* name, QString const& value) {
        if (!value.isEmpty())
            line += QStringLiteral(" %1=\"%2\"").arg(QString::fromLatin1(name), value);
    };
    add("errorId", request.errorId);
    add("title", request.title);
    add("text", request.text);
    add("details", request.details);
    add("extra", request.extra);
    if (request.dialog != nullptr)
        add("class", QString::fromLatin1(request.dialog->metaObject()->className()));
    return line;
}

ScriptedResponder::ScriptedResponder()
    : onUnexpected_([](DialogRequest const& request) {
          printToStderr(QStringLiteral("unexpected dialog: ") + describeRequest(request));
      })
{
}

ScriptedResponder::~ScriptedResponder() = default;

DialogAnswer ScriptedResponder::answer(DialogRequest const& request)
{
    asked_.push_back(request);
    if (queue_.empty()) {
        unexpected(request);
        return rejected();
    }
    Handler handler = std::move(queue_.front());
    queue_.pop_front();
    return handler(request);
}

void ScriptedResponder::push(Handler handler)
{
    queue_.push_back(std::move(handler));
}

void ScriptedResponder::pushAnswer(int result)
{
    push([result](DialogRequest const&) {
        DialogAnswer answer;
        answer.result = result;
        return answer;
    });
}

void ScriptedResponder::pushFiles(QStringList const& files)
{
    push([this, files](DialogRequest const& request) {
        if (request.kind != DialogRequest::FILE) {
            unexpected(request);
            return rejected();
        }
        DialogAnswer answer;
        answer.result = QDialog::Accepted;
        answer.files = files;
        return answer;
    });
}

void ScriptedResponder::pushAcceptName(QString const& name)
{
    push([this, name](DialogRequest const& request) {
        auto* dialog = qobject_cast<EditNameDialog*>(request.dialog);
        if (dialog == nullptr) {
            unexpected(request);
            return rejected();
        }
        dialog->nameEdit()->setText(name);
        DialogAnswer answer;
        if (dialog->okButton()->isEnabled()) {
            // Through the button, so the dialog's own checks and signals run as for a user.
            dialog->setResult(QDialog::Rejected);
            dialog->okButton()->click();
            answer.result = dialog->result();
        }
        return answer;
    });
}

void ScriptedResponder::setOnUnexpected(std::function<void(DialogRequest const&)> callback)
{
    onUnexpected_ = std::move(callback);
}

void ScriptedResponder::unexpected(DialogRequest const& request)
{
    if (onUnexpected_)
        onUnexpected_(request);
}

QStringList StderrResponder::formatLines(DialogRequest const& request)
{
    QStringList lines;
    switch (request.kind) {
    case DialogRequest::ERROR:
        lines.append(QStringLiteral("error: %1: %2").arg(request.errorId, request.text));
        break;
    case DialogRequest::OK:
    case DialogRequest::YES_NO:
        lines.append(QStringLiteral("warning: %1: %2").arg(request.title, request.text));
        break;
    case DialogRequest::EXEC:
    case DialogRequest::FILE:
        lines.append(QStringLiteral("warning: %1: %2")
                         .arg(request.title, translate("KavHost", "needs a user; cancelled")));
        break;
    }
    for (QString const* block : {&request.extra, &request.details}) {
        if (block->isEmpty())
            continue;
        for (QString const& line : block->split(QLatin1Char('\n')))
            lines.append(QStringLiteral("  ") + line);
    }
    return lines;
}

DialogAnswer StderrResponder::answer(DialogRequest const& request)
{
    for (QString const& line : formatLines(request))
        printToStderr(line);
    DialogAnswer answer;
    bool const needsUser = request.kind == DialogRequest::EXEC || request.kind == DialogRequest::FILE;
    answer.result = needsUser ? QDialog::Rejected : QDialog::Accepted;
    return answer;
}

} // namespace GTools
} // namespace Kav
