#include "gtools/kav_dialogs.h"

#include "core/kav_translate.h"
#include "gtools/kav_dialog_responder.h"
#include "gtools/kav_error_messages.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace Kav {
namespace GTools {
namespace {

// Fills `answer` when no window is to be shown: a responder is installed, or there is no
// QApplication to show one (a widget without it aborts the process).
bool answerWithoutWindow(DialogRequest const& request, DialogAnswer* answer)
{
    if (DialogResponder* responder = dialogResponder()) {
        *answer = responder->answer(request);
        return true;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        StderrResponder console;
        *answer = console.answer(request);
        return true;
    }
    return false;
}

QMessageBox::Icon iconFor(int kind)
{
    switch (kind) {
    case DIALOG_QUESTION:
        return QMessageBox::Question;
    case DIALOG_WARNING:
        return QMessageBox::Warning;
    case DIALOG_INFORMATION:
        return QMessageBox::Information;
    case DIALOG_ERROR:
        return QMessageBox::Critical;
    default:
        return QMessageBox::NoIcon;
    }
}

int runMessageBox(DialogRequest const& request, QMessageBox::StandardButtons buttons,
                  QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(iconFor(request.dialogType), request.title, request.text, buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    if (!request.extra.isEmpty())
        box.setInformativeText(request.extra);
    if (!request.details.isEmpty())
        box.setDetailedText(request.details);
    return box.exec();
}

} // namespace

void OkDialog(Dialog_t kind, QString const& title, QString const& text, QString const& details,
              QString const& extra)
{
    DialogRequest request;
    request.kind = DialogRequest::OK;
    request.dialogType = kind;
    request.title = title;
    request.text = text;
    request.details = details;
    request.extra = extra;
    DialogAnswer answer;
    if (!answerWithoutWindow(request, &answer))
        runMessageBox(request, QMessageBox::Ok, QMessageBox::Ok);
}

bool YesNoDialog(Dialog_t kind, QString const& title, QString const& question, QString const& details)
{
    DialogRequest request;
    request.kind = DialogRequest::YES_NO;
    request.dialogType = kind;
    request.title = title;
    request.text = question;
    request.details = details;
    DialogAnswer answer;
    if (answerWithoutWindow(request, &answer))
        return answer.result == 1;
    return runMessageBox(request, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void ErrorDialog(QString const& errorId, QString const& text)
{
    DialogRequest request;
    request.kind = DialogRequest::ERROR;
    request.dialogType = DIALOG_ERROR;
    request.errorId = errorId;
    request.title = translate("KavHost", "error");
    QString const registered = ErrorMessageContainer::getText(errorId);
    request.text = registered.isEmpty() ? errorId : registered;
    request.details = text;
    DialogAnswer answer;
    if (!answerWithoutWindow(request, &answer))
        runMessageBox(request, QMessageBox::Ok, QMessageBox::Ok);
}

int execDialog(QDialog& dialog)
{
    DialogRequest request;
    request.kind = DialogRequest::EXEC;
    request.title = dialog.windowTitle();
    request.dialog = &dialog;
    DialogAnswer answer;
    if (answerWithoutWindow(request, &answer)) {
        dialog.setResult(answer.result);
        return answer.result;
    }
    return dialog.exec();
}

} // namespace GTools
} // namespace Kav
