#include "gapp/kav_main_window.h"

#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_app_status_manager.h"
#include "gtools/kav_dialogs.h"
#include "gtools/kav_error_messages.h"
#include "io/kav_stream.h"

#include <QToolBar>

#include <exception>

namespace Kav {
namespace GApp {

MainWindow* MainWindow::main_win = nullptr;
AppStatusManager* MainWindow::smgr = nullptr;

namespace {

// Keeps the nesting depth right however execute() leaves.
struct DepthGuard {
    DepthGuard(MainWindow* window, int& depth) : window_(window), depth_(depth)
    {
        if (depth_++ == 0)
            emit window_->executionStarted();
    }
    ~DepthGuard()
    {
        if (--depth_ == 0)
            emit window_->executionFinished();
    }
    DepthGuard(DepthGuard const&) = delete;
    DepthGuard& operator=(DepthGuard const&) = delete;
    MainWindow* window_;
    int& depth_;
};

QString quoted(QString const& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    if (main_win != nullptr)
        throw ProgError(QStringLiteral("Kav::GApp::MainWindow::MainWindow"), QStringLiteral("kav_main_window"),
                        __LINE__, QStringLiteral("a second main window was created"));
    // Again, now that the application's translators are installed.
    registerErrors();
    if (smgr == nullptr) {
        smgr = new AppStatusManager(this);
        ownsSmgr_ = true;
    }
    main_win = this;
}

MainWindow::~MainWindow()
{
    if (main_win == this)
        main_win = nullptr;
    if (ownsSmgr_ && smgr != nullptr) {
        AppStatusManager* own = smgr;
        smgr = nullptr;
        delete own;
    }
}

bool MainWindow::execute(Command* cmd, QString const& parameters, QString* result, bool interactive)
{
    if (cmd == nullptr) {
        reportError(QString::fromLatin1(COMMAND_NOT_EXECUTABLE_ERROR), translate("Kav::GApp", "no command given"));
        return false;
    }
    if (probe_) {
        probe_(cmd, parameters);
        return false;
    }
    // Copied now: the command may be gone when its execution has ended.
    QString const name = cmd->getCommandName();
    int const kind = cmd->getCommandKind();
    QString localResult;
    if (result == nullptr)
        result = &localResult;

    QString errorId;
    ErrorLog log;
    bool ok = false;
    bool recordable = false;
    {
        DepthGuard depth(this, executeDepth_);
        try {
            if (!cmd->isExecutable()) {
                errorId = QString::fromLatin1(COMMAND_NOT_EXECUTABLE_ERROR);
                log << translate("Kav::GApp", "command %1 cannot be executed").arg(quoted(name)) << END_LOG;
                if (!cmd->notExecutableReason().isEmpty())
                    log << cmd->notExecutableReason() << END_LOG;
            } else {
                ok = cmd->parseParameterString(parameters, interactive, &errorId, &log)
                     && cmd->execute(result, &errorId, &log);
                recordable = ok && executeDepth_ == 1 && cmd->getCommandKind() != Command::KIND_INTERACTIVE;
            }
        } catch (ProgError const& e) {
            errorId = QString::fromLatin1(EXCEPTION_ERROR);
            log << e.getMessage() << END_LOG;
            ok = false;
        } catch (IO::StreamException const& e) {
            // Its text names the file, the offset and what is wrong there.
            errorId = QString::fromLatin1(STREAM_ERROR);
            log << e.getText() << END_LOG;
            ok = false;
        } catch (ParamError const& e) {
            errorId = QString::fromLatin1(EXCEPTION_ERROR);
            log << e.getText() << END_LOG;
            ok = false;
        } catch (std::exception const& e) {
            errorId = QString::fromLatin1(EXCEPTION_ERROR);
            log << QString::fromUtf8(e.what()) << END_LOG;
            ok = false;
        } catch (...) {
            errorId = QString::fromLatin1(EXCEPTION_ERROR);
            log << translate("Kav::GApp", "command %1 threw an unknown exception").arg(quoted(name)) << END_LOG;
            ok = false;
        }
    }

    if (!ok) {
        if (errorId.isEmpty())
            errorId = QString::fromLatin1(COMMAND_FAILED_ERROR);
        // An interactive command only works through its dialog: say so rather than "failed".
        if (log.isEmpty() && kind == Command::KIND_INTERACTIVE)
            log << translate("Kav::GApp", "command %1 needs the window: it opens a dialog and runs from the menu, not from "
                                          "a script")
                       .arg(quoted(name))
                << END_LOG;
        if (log.isEmpty())
            log << translate("Kav::GApp", "command %1 failed").arg(quoted(name)) << END_LOG;
        reportError(errorId, log.getLog());
        return false;
    }
    if (recordable && recordingMacro_)
        macroLines_.append(parameters.trimmed().isEmpty() ? name : name + QLatin1Char(' ') + parameters.trimmed());
    emit commandExecuted(name);
    return true;
}

void MainWindow::addCommandToMacro(Command* cmd, QString const& parameters)
{
    if (!recordingMacro_ || cmd == nullptr)
        return;
    QString const& name = cmd->getCommandName();
    macroLines_.append(parameters.isEmpty() ? name : name + QLatin1Char(' ') + parameters);
}

void MainWindow::reportError(QString const& errorId, QString const& details)
{
    // A test or the application may have dropped our ids; the user must still see a text.
    if (!GTools::ErrorMessageContainer::hasError(errorId) && errorId.startsWith(QStringLiteral("KavHost-")))
        registerErrors();
    lastErrorId_ = errorId;
    lastErrorText_ = details;
    GTools::ErrorDialog(errorId, details);
}

void MainWindow::startMacro()
{
    recordingMacro_ = true;
    macroLines_.clear();
}

QStringList MainWindow::stopMacro()
{
    recordingMacro_ = false;
    return macroLines_;
}

void MainWindow::lockGUI(QWidget* widget)
{
    if (guiLocks_++ > 0)
        return;
    QList<QWidget*> targets;
    if (menuWidget() != nullptr)
        targets.append(menuWidget());
    for (QToolBar* bar : findChildren<QToolBar*>())
        targets.append(bar);
    for (QWidget* target : targets) {
        if (target != widget && target->isEnabled()) {
            target->setEnabled(false);
            disabledByLock_.append(target);
        }
    }
}

void MainWindow::unlockGUI(QWidget*)
{
    if (guiLocks_ == 0)
        throw ProgError(QStringLiteral("Kav::GApp::MainWindow::unlockGUI"), QStringLiteral("kav_main_window"),
                        __LINE__, QStringLiteral("the GUI is not locked"));
    if (--guiLocks_ > 0)
        return;
    for (QPointer<QWidget> const& target : disabledByLock_) {
        if (!target.isNull())
            target->setEnabled(true);
    }
    disabledByLock_.clear();
}

void MainWindow::lockDrawing()
{
    ++drawingLocks_;
}

void MainWindow::unlockDrawing()
{
    if (drawingLocks_ == 0)
        throw ProgError(QStringLiteral("Kav::GApp::MainWindow::unlockDrawing"), QStringLiteral("kav_main_window"),
                        __LINE__, QStringLiteral("drawing is not locked"));
    if (--drawingLocks_ == 0)
        emit drawingUnlocked();
}

} // namespace GApp
} // namespace Kav
