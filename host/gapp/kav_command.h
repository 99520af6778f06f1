#pragma once

#include "kavhost_export.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_stage_identifier.h"
#include "gapp/kav_gapp_errors.h"
#include "parse/kav_parse.h"

#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

namespace Kav {
namespace GApp {

// One operation of the application, reachable from menus, tool bars and macro scripts by its
// name. Constructing a command registers it in CommandContainer; a second command of the
// same name is refused with ProgError and leaves nothing registered. Destroying it unregisters it.
//
// Plug-ins derive from it: the order of the virtual functions below is part of the interface.
class KAVHOST_EXPORT Command : public Parse {
public:
    enum CommandKind_t { KIND_INTERACTIVE = 0, KIND_QUERY = 1, KIND_SCRIPT = 2, KIND_MENU_AND_SCRIPT = 3 };
    enum SelectCommandMode_t { SELECT_COMMAND_NONE = 0, SELECT_COMMAND_SINGLE = 1, SELECT_COMMAND_MULTI = 2 };

    // iconName may be null (no icon).
    Command(bool inMenu, bool inToolBar, QString const& commandName, QString const& menuText,
            QString const& helpReference, char const* iconName);
    Command(Command const&) = delete;
    Command& operator=(Command const&) = delete;

    QString const& getCommandName() const { return commandName_; }
    QString const& getHelpReference() const { return helpReference_; }
    QString const& getMenuText() const { return menuText_; }
    QString const& getIconName() const { return iconName_; }
    bool isInMenu() const { return inMenu_; }
    bool isInToolBar() const { return inToolBar_; }

    // --- virtual table, in this order ---
    virtual ~Command();
    virtual bool isSpecialCommand() const;          // false
    virtual bool needsMenuSemaphore() const;        // false
    virtual QString getMenuName() const;            // the menu text
    virtual bool isDefaultIconSet() const;          // true when an icon name was given
    virtual QIcon getIconSet() const;               // null icon: the application draws the named icon
    virtual QWidget* createToolBarWidget(QWidget* parent);   // nullptr: a plain tool button
    virtual bool isSensitive();                     // true
    virtual bool isExecutable();                    // true
    virtual QString createParameterString();        // empty
    // Base: accepts only an empty parameter string; anything else gives PARAMETER_ERROR and
    // a log entry with the parse error and createErrorString(parameters).
    virtual bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log);
    virtual bool parseParameterStringStage(QString const& parameters, StageIdentifier const& stage,
                                           QString* errorId, ErrorLog* log);   // base: parseParameterString
    virtual bool isVisible();                       // true
    virtual int getCommandKind() const;             // KIND_MENU_AND_SCRIPT
    // Runs the command through MainWindow::main_win with createParameterString(); false
    // without a main window.
    virtual bool executeMenu();
    virtual bool executeScript(QString const& parameters, QString* result, QString* errorId, ErrorLog* log);
    virtual bool execute(QString* result, QString* errorId, ErrorLog* log) = 0;
    virtual bool executeScriptInteractive(QString const& parameters, QString* result, QString* errorId, ErrorLog* log);
    virtual bool executeScriptStage(QString const& parameters, StageIdentifier const& stage, QString* result,
                                    QString* errorId, ErrorLog* log);
    virtual bool isCommandSubstitutionAllowed() const;                          // false
    virtual QString substituteParameterString(QString const& parameters) const; // unchanged
    virtual bool isUndoRedoPossible() const;        // false
    virtual bool isSensitiveInSelectCommandMode();  // true: every command can be picked
    virtual QString createUpdateInformation();      // empty
    virtual QStringList getSynchronizedCmdGroups() const;                       // none
    virtual bool belongsToCmdGroups(QStringList const& groups) const;          // shares a group with them

    // Why the last isExecutable() answered false, if the command said (the runner shows it
    // after "cannot be executed"); empty otherwise.
    QString const& notExecutableReason() const { return notExecutableReason_; }

protected:
    // Tells the status manager, if any, that this command's data changed.
    void emitDataChanged(unsigned int reason);
    // For isExecutable(): the reason it answers false, or empty when it answers true.
    void setNotExecutableReason(QString const& reason) { notExecutableReason_ = reason; }
    // "command "<name>" with parameters: <parameters>\nexpected form: <createParameterString()>"
    QString createErrorString(QString const& parameters) const;
    // A parse failure of `parameters`: PARAMETER_ERROR and a log entry with the error and
    // createErrorString(parameters). Always false, for `return` in a parser.
    bool refuseParameters(ParamError const& error, QString const& parameters, QString* errorId, ErrorLog* log) const;

private:
    bool inMenu_;
    bool inToolBar_;
    QString commandName_;
    QString menuText_;
    QString helpReference_;
    QString iconName_;
    QString notExecutableReason_;
};

} // namespace GApp
} // namespace Kav
