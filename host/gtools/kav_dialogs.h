#pragma once

#include "kavhost_export.h"

#include <QString>

class QDialog;

namespace Kav {
namespace GTools {

enum Dialog_t { DIALOG_QUESTION = 0, DIALOG_WARNING = 1, DIALOG_INFORMATION = 2, DIALOG_ERROR = 3 };

// Real modal Qt dialogs. Each first asks the installed responder (kav_dialog_responder.h), if
// any, and then shows nothing. Without a responder and without a QApplication (console
// programs) the texts go to stderr and the answer is OK / yes / Rejected.

// `details` becomes the expandable detailed text, `extra` the informative text; both only
// when non-empty.
KAVHOST_EXPORT void OkDialog(Dialog_t kind, QString const& title, QString const& text,
                             QString const& details, QString const& extra);
// True for yes.
KAVHOST_EXPORT bool YesNoDialog(Dialog_t kind, QString const& title, QString const& question,
                                QString const& details);
// Shows the registered text of errorId (the id itself when unknown), `text` as details.
KAVHOST_EXPORT void ErrorDialog(QString const& errorId, QString const& text);
// Runs any dialog modally: QDialog::Accepted / Rejected. With a responder the dialog is not
// shown; the responder may drive it and its answer becomes the dialog's result.
KAVHOST_EXPORT int execDialog(QDialog& dialog);

} // namespace GTools
} // namespace Kav
