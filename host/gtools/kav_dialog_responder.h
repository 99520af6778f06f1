#pragma once

#include "kavhost_export.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

class QDialog;

namespace Kav {
namespace GTools {

// What a dialog is about to ask. OK, YES_NO: dialogType is a Dialog_t; FILE: the KavFileMode_t.
struct DialogRequest {
    enum Kind { OK, YES_NO, ERROR, EXEC, FILE };
    Kind kind = OK;
    int dialogType = 0;
    QString title, text, details, extra, errorId;
    // EXEC, FILE: the live dialog, already set up. Valid only while the request is answered.
    QDialog* dialog = nullptr;
};

struct DialogAnswer {
    int result = 0;      // QDialog::Accepted / Rejected; YES_NO: 1 = yes
    QStringList files;   // FILE, when accepted
};

// Answers dialogs instead of the user (tests, the headless runner).
class KAVHOST_EXPORT DialogResponder {
public:
    virtual ~DialogResponder();
    virtual DialogAnswer answer(DialogRequest const& request) = 0;
};

// Not owned; nullptr brings back the real modal dialogs.
KAVHOST_EXPORT void setDialogResponder(DialogResponder* responder);
KAVHOST_EXPORT DialogResponder* dialogResponder();

// One line naming the kind and the non-empty fields of a request, for logs and test failures.
KAVHOST_EXPORT QString describeRequest(DialogRequest const& request);

// A queue of answers, used in order, and a log of everything asked.
class KAVHOST_EXPORT ScriptedResponder : public DialogResponder {
public:
    using Handler = std::function<DialogAnswer(DialogRequest const&)>;

    ScriptedResponder();
    ~ScriptedResponder() override;

    DialogAnswer answer(DialogRequest const& request) override;

    // A handler may drive the live dialog (set fields, click buttons) before answering.
    void push(Handler handler);
    void pushAnswer(int result);
    // A FILE request accepted with these files.
    void pushFiles(QStringList const& files);
    // Types `name` into an EditNameDialog and clicks OK if that is enabled (Accepted), else
    // Rejected. Any other request counts as unexpected.
    void pushAcceptName(QString const& name);

    std::vector<DialogRequest> const& asked() const { return asked_; }
    int pending() const { return static_cast<int>(queue_.size()); }

    // Called for a request with no queued answer, or one the queued answer does not fit; that
    // request is then answered Rejected / no. Default: the request printed to stderr.
    void setOnUnexpected(std::function<void(DialogRequest const&)> callback);

private:
    void unexpected(DialogRequest const& request);

    std::deque<Handler> queue_;
    std::vector<DialogRequest> asked_;
    std::function<void(DialogRequest const&)> onUnexpected_;
};

// For the headless runner: prints messages and errors to stderr; answers Accepted / yes for
// OK and YES_NO (and ERROR), Rejected for EXEC and FILE, which need a user.
class KAVHOST_EXPORT StderrResponder : public DialogResponder {
public:
    DialogAnswer answer(DialogRequest const& request) override;
    // The lines answer() prints: "warning: <title>: <text>" or "error: <errorId>: <text>",
    // then the extra text and the details, one indented line each.
    static QStringList formatLines(DialogRequest const& request);
};

} // namespace GTools
} // namespace Kav
