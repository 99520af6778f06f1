#include "cfg/kav_cfg_settings.h"
#include "core/kav_error_log.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_gapp_errors.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_editing_fixture.h"
#include "templates/mvp_cmd_edit_templates.h"
#include "templates/mvp_edit_restore_templates_dialog.h"

#include <QFile>

using namespace Kav;
using Kav::GTools::DialogAnswer;
using Kav::GTools::DialogRequest;
using Kav::MCADVisProp::EditRestoreTemplateCommand;
using Kav::MCADVisProp::EditRestoreTemplatesDialog;

namespace {

using EditCommandTest = MvpTest::EditingTest;

} // namespace

TEST_F(EditCommandTest, ParametersAndScriptsDoNothing)
{
    EditRestoreTemplateCommand command;
    EXPECT_EQ(GApp::CommandContainer::getCommand(QStringLiteral("report.change_restore_templates")), &command);
    EXPECT_EQ(command.getCommandKind(), GApp::Command::KIND_INTERACTIVE);
    EXPECT_TRUE(command.createParameterString().isEmpty());

    QString errorId;
    ErrorLog log;
    EXPECT_TRUE(command.parseParameterString(QString(), false, &errorId, &log));
    QString result = QStringLiteral("untouched");
    EXPECT_FALSE(command.execute(&result, &errorId, &log));
    EXPECT_EQ(result, QStringLiteral("untouched"));
    EXPECT_TRUE(errorId.isEmpty());

    QString const params = QStringLiteral("file=\"x.rst\"");
    EXPECT_FALSE(command.parseParameterString(params, false, &errorId, &log));
    EXPECT_EQ(errorId, QString::fromLatin1(GApp::PARAMETER_ERROR));
    EXPECT_TRUE(log.getLog().contains(params)) << log.getLog().toStdString();

    // Without a command interface nothing opens.
    ASSERT_EQ(MCADCmd::CommandInterface::getInterface(), nullptr);
    EXPECT_FALSE(command.isSensitive());
    EXPECT_FALSE(command.isExecutable());
    EXPECT_FALSE(command.executeMenu());
}

TEST_F(EditCommandTest, MenuRunsTheDialogWhichSavesOnOk)
{
    MCADCmd::HostSession session;
    EditRestoreTemplateCommand command;
    EXPECT_TRUE(command.isSensitive());
    EXPECT_TRUE(command.isExecutable());

    responder->push([](DialogRequest const& r) {
        EXPECT_NE(qobject_cast<EditRestoreTemplatesDialog*>(r.dialog), nullptr) << GTools::describeRequest(r).toStdString();
        return DialogAnswer{QDialog::Rejected, {}};
    });
    EXPECT_TRUE(command.executeMenu()) << "cancelled is still run";
    EXPECT_FALSE(QFile::exists(levelFile(2)));

    responder->push([](DialogRequest const& r) {
        r.dialog->accept();
        return DialogAnswer{QDialog::Accepted, {}};
    });
    EXPECT_TRUE(command.executeMenu());
    EXPECT_EQ(userStore(), storeBytesOf(Kav::PropertyAccess::PropAccTemplateContainer()));

    // A save file that cannot be opened on OK, and a store that cannot be read, are not the
    // library's to report: the exception goes on to the host that ran the menu command.
    QString const blocked = root.path(QStringLiteral("blocked"));
    ASSERT_TRUE(MvpTest::writeAll(blocked, QByteArrayLiteral("a file, not a folder")));
    responder->push([blocked](DialogRequest const& r) {
        Cfg::Settings::setLevelDirectory(Cfg::LEVEL_USER, blocked + QStringLiteral("/user"));
        r.dialog->done(QDialog::Accepted);
        return DialogAnswer{QDialog::Accepted, {}};
    });
    EXPECT_THROW(command.executeMenu(), IO::StreamException);
    Cfg::Settings::setLevelDirectory(Cfg::LEVEL_USER, root.path(QStringLiteral("level2")));

    QByteArray const bytes = userStore();
    ASSERT_TRUE(MvpTest::writeAll(levelFile(2), bytes.left(bytes.size() - 1)));
    EXPECT_THROW(command.executeMenu(), IO::StreamException);
    EXPECT_EQ(responder->pending(), 0);
}
