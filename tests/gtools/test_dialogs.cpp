#include "gtools/kav_gtools.h"
#include "mvp_responder.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace Kav::GTools;

namespace {

// Installs a responder for one block without the failing callback of ResponderGuard.
struct LocalResponder {
    explicit LocalResponder(DialogResponder* r) : previous(dialogResponder()) { setDialogResponder(r); }
    ~LocalResponder() { setDialogResponder(previous); }
    DialogResponder* previous;
};

} // namespace

TEST(ScriptedResponder, UnexpectedRequestsAreReportedAndAnsweredNo)
{
    ScriptedResponder responder;
    std::vector<QString> reported;
    responder.setOnUnexpected([&reported](DialogRequest const& r) { reported.push_back(r.title); });
    LocalResponder install(&responder);

    // Nothing queued: no window, an immediate "no", and the callback names the dialog.
    EXPECT_FALSE(YesNoDialog(DIALOG_QUESTION, QStringLiteral("Overwrite?"), QStringLiteral("q"), QString()));
    OkDialog(DIALOG_INFORMATION, QStringLiteral("Done"), QStringLiteral("t"), QString(), QString());
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], QStringLiteral("Overwrite?"));
    EXPECT_EQ(reported[1], QStringLiteral("Done"));

    // A queued answer is used in order and is not reported.
    responder.pushAnswer(1);
    responder.pushAnswer(0);
    EXPECT_TRUE(YesNoDialog(DIALOG_QUESTION, QStringLiteral("a"), QString(), QString()));
    EXPECT_FALSE(YesNoDialog(DIALOG_QUESTION, QStringLiteral("b"), QString(), QString()));
    EXPECT_EQ(reported.size(), 2u);

    // An answer that does not fit the request (files for a question) is reported as well.
    responder.pushFiles({QStringLiteral("/x")});
    EXPECT_FALSE(YesNoDialog(DIALOG_QUESTION, QStringLiteral("c"), QString(), QString()));
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[2], QStringLiteral("c"));
    EXPECT_EQ(responder.pending(), 0);
    EXPECT_EQ(responder.asked().size(), 5u);
}

TEST(ScriptedResponder, GuardFailsOnUnexpectedAndUnusedAnswers)
{
    // The statements may not use locals: each builds its own guard.
    EXPECT_NONFATAL_FAILURE(
        {
            MvpTest::ResponderGuard guard;
            EXPECT_FALSE(YesNoDialog(DIALOG_WARNING, QStringLiteral("Discard"), QStringLiteral("sure?"), QString()));
        },
        "unexpected dialog: YES_NO dialog (type 1) title=\"Discard\" text=\"sure?\"");
    EXPECT_NONFATAL_FAILURE(
        {
            MvpTest::ResponderGuard guard;
            guard->pushAnswer(1);
        },
        "scripted dialog answers were not used");
    EXPECT_EQ(dialogResponder(), nullptr);
}

TEST(ScriptedResponder, GuardRestoresThePreviousResponder)
{
    EXPECT_EQ(dialogResponder(), nullptr);
    {
        MvpTest::ResponderGuard outer;
        EXPECT_EQ(dialogResponder(), &outer.responder());
        {
            MvpTest::ResponderGuard inner;
            EXPECT_EQ(dialogResponder(), &inner.responder());
        }
        EXPECT_EQ(dialogResponder(), &outer.responder());
    }
    EXPECT_EQ(dialogResponder(), nullptr);
}

TEST(Dialogs, MessageDialogsPassTheirFieldsToTheResponder)
{
    MvpTest::ResponderGuard guard;
    guard->pushAnswer(0);
    guard->pushAnswer(1);
    guard->pushAnswer(0);
    OkDialog(DIALOG_WARNING, QStringLiteral("T"), QStringLiteral("text"), QStringLiteral("det"), QStringLiteral("ext"));
    EXPECT_TRUE(YesNoDialog(DIALOG_QUESTION, QStringLiteral("Q"), QStringLiteral("sure?"), QStringLiteral("why")));
    EXPECT_FALSE(YesNoDialog(DIALOG_ERROR, QStringLiteral("Q2"), QStringLiteral("really?"), QString()));

    auto const& asked = guard->asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].kind, DialogRequest::OK);
    EXPECT_EQ(asked[0].dialogType, DIALOG_WARNING);
    EXPECT_EQ(asked[0].title, QStringLiteral("T"));
    EXPECT_EQ(asked[0].text, QStringLiteral("text"));
    EXPECT_EQ(asked[0].details, QStringLiteral("det"));
    EXPECT_EQ(asked[0].extra, QStringLiteral("ext"));
    EXPECT_EQ(asked[0].dialog, nullptr);
    EXPECT_EQ(asked[1].kind, DialogRequest::YES_NO);
    EXPECT_EQ(asked[1].dialogType, DIALOG_QUESTION);
    EXPECT_EQ(asked[1].text, QStringLiteral("sure?"));
    EXPECT_EQ(asked[1].details, QStringLiteral("why"));
    EXPECT_EQ(asked[2].dialogType, DIALOG_ERROR);
}

TEST(Dialogs, ErrorDialogShowsTheRegisteredText)
{
    ErrorMessageContainer::registerError("Test-Err-1", QStringLiteral("the file cannot be read"), QStringLiteral("wt"));
    MvpTest::ResponderGuard guard;
    guard->pushAnswer(QDialog::Accepted);
    guard->pushAnswer(QDialog::Accepted);
    ErrorDialog(QStringLiteral("Test-Err-1"), QStringLiteral("line 3: bad token"));
    ErrorDialog(QStringLiteral("Test-Err-unknown"), QStringLiteral("log"));
    ErrorMessageContainer::unregisterError(QStringLiteral("Test-Err-1"));

    auto const& asked = guard->asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, DialogRequest::ERROR);
    EXPECT_EQ(asked[0].errorId, QStringLiteral("Test-Err-1"));
    EXPECT_EQ(asked[0].text, QStringLiteral("the file cannot be read"));
    EXPECT_EQ(asked[0].details, QStringLiteral("line 3: bad token"));
    EXPECT_EQ(asked[0].title, QStringLiteral("error"));
    EXPECT_EQ(asked[1].text, QStringLiteral("Test-Err-unknown"));
    EXPECT_EQ(asked[1].details, QStringLiteral("log"));
}

TEST(Dialogs, ExecDialogLetsAHandlerDriveTheDialog)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Settings"));
    auto* edit = new QLineEdit(&dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);

    MvpTest::ResponderGuard guard;
    guard->push([&](DialogRequest const& r) {
        EXPECT_EQ(r.kind, DialogRequest::EXEC);
        EXPECT_EQ(r.dialog, &dialog);
        EXPECT_EQ(r.title, QStringLiteral("Settings"));
        edit->setText(QStringLiteral("42"));
        buttons->button(QDialogButtonBox::Ok)->click();
        DialogAnswer a;
        a.result = dialog.result();
        return a;
    });
    EXPECT_EQ(execDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(edit->text(), QStringLiteral("42"));
    EXPECT_FALSE(dialog.isVisible());

    // The answer wins and becomes the dialog's result.
    guard->pushAnswer(QDialog::Rejected);
    EXPECT_EQ(execDialog(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(EditNameDialog, RefusesEmptyAndExcludedNames)
{
    EditNameDialog dialog;
    dialog.setExcludedNames({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    QLineEdit* edit = dialog.nameEdit();
    QPushButton* ok = dialog.okButton();
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(ok, nullptr);

    EXPECT_FALSE(ok->isEnabled());   // starts empty
    for (char const* refused : {"", "   ", "Alpha", " Beta\t"}) {
        edit->setText(QString::fromLatin1(refused));
        EXPECT_FALSE(ok->isEnabled()) << refused;
        EXPECT_FALSE(dialog.isNameAcceptable()) << refused;
    }
    edit->setText(QStringLiteral("  alpha "));   // exclusion is an exact match
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.selectedName(), QStringLiteral("alpha"));

    // Excluding the current name later disables OK too.
    dialog.setExcludedNames({QStringLiteral("alpha")});
    EXPECT_FALSE(ok->isEnabled());

    // accept() itself refuses, e.g. through the Enter key.
    dialog.setResult(QDialog::Rejected);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.setSelectedName(QStringLiteral("Gamma"));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(edit->text(), QStringLiteral("Gamma"));
}

TEST(EditNameDialog, AcceptNameThroughTheResponder)
{
    EditNameDialog dialog;
    dialog.setExcludedNames({QStringLiteral("Beta")});
    MvpTest::ResponderGuard guard;
    guard->pushAcceptName(QStringLiteral("Beta"));
    guard->pushAcceptName(QStringLiteral(" Gamma "));
    EXPECT_EQ(execDialog(dialog), QDialog::Rejected);
    EXPECT_EQ(execDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedName(), QStringLiteral("Gamma"));
}

TEST(EditNameDialog, AcceptNameRefusesAnotherDialog)
{
    ScriptedResponder responder;
    int unexpected = 0;
    responder.setOnUnexpected([&unexpected](DialogRequest const&) { ++unexpected; });
    LocalResponder install(&responder);
    QDialog plain;
    responder.pushAcceptName(QStringLiteral("x"));
    EXPECT_EQ(execDialog(plain), QDialog::Rejected);
    EXPECT_EQ(unexpected, 1);
}

TEST(EditNameDialog, ShownNonModallyUnderOffscreen)
{
    EditNameDialog dialog;
    int finished = -1;
    QObject::connect(&dialog, &QDialog::finished, [&finished](int r) { finished = r; });
    dialog.show();
    ASSERT_TRUE(dialog.isVisible());
    dialog.nameEdit()->setText(QStringLiteral("Delta"));
    dialog.okButton()->click();
    EXPECT_EQ(finished, QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.selectedName(), QStringLiteral("Delta"));
}

TEST(StderrResponder, FormatsAndAnswers)
{
    DialogRequest error;
    error.kind = DialogRequest::ERROR;
    error.errorId = QStringLiteral("KavHost-X-1");
    error.title = QStringLiteral("error");
    error.text = QStringLiteral("cannot parse");
    error.details = QStringLiteral("line 1\nline 2");
    EXPECT_EQ(StderrResponder::formatLines(error),
              QStringList({QStringLiteral("error: KavHost-X-1: cannot parse"), QStringLiteral("  line 1"),
                           QStringLiteral("  line 2")}));

    DialogRequest warning;
    warning.kind = DialogRequest::YES_NO;
    warning.title = QStringLiteral("Save");
    warning.text = QStringLiteral("overwrite?");
    EXPECT_EQ(StderrResponder::formatLines(warning), QStringList({QStringLiteral("warning: Save: overwrite?")}));

    StderrResponder responder;
    EXPECT_EQ(responder.answer(warning).result, 1);
    DialogRequest exec;
    exec.kind = DialogRequest::EXEC;
    EXPECT_EQ(responder.answer(exec).result, QDialog::Rejected);
}

TEST(ErrorMessageContainer, KeepsOrderAndReplacesInPlace)
{
    ErrorMessageContainer::registerError("Test-Ord-A", QStringLiteral("a"), QStringLiteral("a wt"));
    ErrorMessageContainer::registerError("Test-Ord-B", QStringLiteral("b"), QStringLiteral("b wt"));
    ErrorMessageContainer::registerError("Test-Ord-C", QStringLiteral("c"), QStringLiteral("c wt"));
    ErrorMessageContainer::registerError("Test-Ord-B", QStringLiteral("b2"), QStringLiteral("b2 wt"));
    ErrorMessageContainer::registerError(nullptr, QStringLiteral("ignored"), QString());
    ErrorMessageContainer::registerError("", QStringLiteral("ignored"), QString());

    QStringList const ids = ErrorMessageContainer::getIds();
    int const a = static_cast<int>(ids.indexOf(QStringLiteral("Test-Ord-A")));
    ASSERT_GE(a, 0);
    ASSERT_LT(a + 2, static_cast<int>(ids.size()));
    EXPECT_EQ(ids[a + 1], QStringLiteral("Test-Ord-B"));
    EXPECT_EQ(ids[a + 2], QStringLiteral("Test-Ord-C"));
    EXPECT_EQ(ids.count(QStringLiteral("Test-Ord-B")), 1);
    EXPECT_FALSE(ids.contains(QString()));
    EXPECT_EQ(ErrorMessageContainer::getText(QStringLiteral("Test-Ord-B")), QStringLiteral("b2"));
    EXPECT_EQ(ErrorMessageContainer::getTextWt(QStringLiteral("Test-Ord-B")), QStringLiteral("b2 wt"));

    ErrorMessageContainer::unregisterError(QStringLiteral("Test-Ord-B"));
    EXPECT_FALSE(ErrorMessageContainer::hasError(QStringLiteral("Test-Ord-B")));
    EXPECT_TRUE(ErrorMessageContainer::hasError(QStringLiteral("Test-Ord-C")));
    EXPECT_TRUE(ErrorMessageContainer::getText(QStringLiteral("Test-Ord-B")).isEmpty());
    ErrorMessageContainer::unregisterError(QStringLiteral("Test-Ord-A"));
    ErrorMessageContainer::unregisterError(QStringLiteral("Test-Ord-C"));
    EXPECT_FALSE(ErrorMessageContainer::getIds().contains(QStringLiteral("Test-Ord-A")));
}
