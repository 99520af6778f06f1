#include "gapp/kav_command.h"

#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_main_window.h"
#include "parse/kav_parse.h"

namespace Kav {
namespace GApp {

Command::Command(bool inMenu, bool inToolBar, QString const& commandName, QString const& menuText,
                 QString const& helpReference, char const* iconName)
    : inMenu_(inMenu),
      inToolBar_(inToolBar),
      commandName_(commandName),
      menuText_(menuText),
      helpReference_(helpReference),
      iconName_(iconName != nullptr ? QString::fromUtf8(iconName) : QString())
{
    // Last statement: a refused command has registered nothing, and the destructor of a
    // half-built object does not run.
    if (!CommandContainer::registerCommand(this))
        throw ProgError(KAV_HERE, QStringLiteral("command \"%1\" is registered twice").arg(commandName));
}

Command::~Command()
{
    CommandContainer::unregisterCommand(this);
}

bool Command::isSpecialCommand() const
{
    return false;
}

bool Command::needsMenuSemaphore() const
{
    return false;
}

QString Command::getMenuName() const
{
    return menuText_;
}

bool Command::isDefaultIconSet() const
{
    return !iconName_.isEmpty();
}

QIcon Command::getIconSet() const
{
    return QIcon();
}

QWidget* Command::createToolBarWidget(QWidget*)
{
    return nullptr;
}

bool Command::isSensitive()
{
    return true;
}

bool Command::isExecutable()
{
    return true;
}

QString Command::createParameterString()
{
    return QString();
}

bool Command::parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log)
{
    try {
        Parse::checkEmptyParameters(parameters);
    } catch (ParamError const& e) {
        return refuseParameters(e, parameters, errorId, log);
    }
    return true;
}

bool Command::refuseParameters(ParamError const& error, QString const& parameters, QString* errorId,
                               ErrorLog* log) const
{
    if (errorId != nullptr)
        *errorId = QString::fromLatin1(PARAMETER_ERROR);
    if (log != nullptr)
        *log << error.getText() << "\n\n" << createErrorString(parameters) << END_LOG;
    return false;
}

bool Command::parseParameterStringStage(QString const& parameters, StageIdentifier const&, QString* errorId,
                                        ErrorLog* log)
{
    return parseParameterString(parameters, false, errorId, log);
}

bool Command::isVisible()
{
    return true;
}

int Command::getCommandKind() const
{
    return KIND_MENU_AND_SCRIPT;
}

bool Command::executeMenu()
{
    MainWindow* win = MainWindow::main_win;
    if (win == nullptr) {
        qWarning("command \"%s\" started from a menu without a main window", qUtf8Printable(commandName_));
        return false;
    }
    QString parameters;
    try {
        parameters = createParameterString();
    } catch (std::exception const& e) {
        // Menu actions run from the event loop: nothing may escape from here.
        win->reportError(QString::fromLatin1(EXCEPTION_ERROR),
                         translate("Kav::GApp", "command \"%1\": %2").arg(commandName_, QString::fromUtf8(e.what())));
        return false;
    } catch (...) {
        win->reportError(QString::fromLatin1(EXCEPTION_ERROR),
                         translate("Kav::GApp", "command \"%1\": unknown exception").arg(commandName_));
        return false;
    }
    QString result;
    return win->execute(this, parameters, &result, true);
}

bool Command::executeScript(QString const& parameters, QString* result, QString* errorId, ErrorLog* log)
{
    return parseParameterString(parameters, false, errorId, log) && execute(result, errorId, log);
}

bool Command::executeScriptInteractive(QString const& parameters, QString* result, QString* errorId, ErrorLog* log)
{
    return parseParameterString(parameters, true, errorId, log) && execute(result, errorId, log);
}

bool Command::executeScriptStage(QString const& parameters, StageIdentifier const& stage, QString* result,
                                 QString* errorId, ErrorLog* log)
{
    return parseParameterStringStage(parameters, stage, errorId, log) && execute(result, errorId, log);
}

bool Command::isCommandSubstitutionAllowed() const
{
    return false;
}

QString Command::substituteParameterString(QString const& parameters) const
{
    return parameters;
}

bool Command::isUndoRedoPossible() const
{
    return false;
}

bool Command::isSensitiveInSelectCommandMode()
{
    return true;
}

QString Command::createUpdateInformation()
{
    return QString();
}

QStringList Command::getSynchronizedCmdGroups() const
{
    return QStringList();
}

bool Command::belongsToCmdGroups(QStringList const& groups) const
{
    QStringList const own = getSynchronizedCmdGroups();
    for (QString const& group : own) {
        if (groups.contains(group))
            return true;
    }
    return false;
}

void Command::emitDataChanged(unsigned int reason)
{
    AppStatusManager* smgr = MainWindow::smgr;
    if (smgr != nullptr)
        smgr->emitDataChanged(smgr->getUniqueId(commandName_), reason);
}

QString Command::createErrorString(QString const& parameters) const
{
    // createParameterString() describes the expected form; it is not const in the interface.
    QString expected = const_cast<Command*>(this)->createParameterString();
    if (expected.isEmpty())
        expected = translate("Kav::GApp", "(no parameters)");
    return translate("Kav::GApp", "command \"%1\" with parameters: %2\nexpected form: %3")
        .arg(commandName_, parameters.trimmed(), expected);
}

} // namespace GApp
} // namespace Kav
