// The host's own script commands. Each reads its parameters in parseParameterString
// (all keys checked there) and works on the scene of the installed command interface.
#include "mcadcmd/kav_host_command_p.h"

#include "gtools/kav_error_messages.h"
#include "mcadcmd/kav_command_interface.h"

namespace Kav {
namespace MCADCmd {
namespace HostCommands {

Scene* activeScene()
{
    CommandInterface* ci = CommandInterface::getInterface();
    return ci != nullptr ? ci->getScene() : nullptr;
}

namespace {

class UndoRedoCommand : public HostCommand {
public:
    UndoRedoCommand(bool undo) : HostCommand(undo ? "edit.undo" : "edit.redo", undo ? "undo" : "redo"), undo_(undo) {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        CAD::RecordManager* m = CAD::RecordManager::_manager;
        QString const step = undo_ ? m->undoName() : m->redoName();
        if (!(undo_ ? m->undo() : m->redo()))
            return fail(errorId, ERROR_NOTHING_TO_UNDO, log,
                        undo_ ? QStringLiteral("nothing to undo") : QStringLiteral("nothing to redo"));
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("step"), step);
        return true;
    }

protected:
    void read(QString&) override {}

private:
    bool undo_;
};

} // namespace
} // namespace HostCommands

using namespace HostCommands;

void registerHostCommands()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    using GTools::ErrorMessageContainer;
    ErrorMessageContainer::registerError(ERROR_OPEN_FILE, QStringLiteral("the project file cannot be loaded"),
                                         QStringLiteral("the project file cannot be loaded"));
    ErrorMessageContainer::registerError(ERROR_SAVE_FILE, QStringLiteral("the file cannot be saved"),
                                         QStringLiteral("the file cannot be saved"));
    ErrorMessageContainer::registerError(ERROR_NO_SNAPSHOT_SOURCE, QStringLiteral("there is no view to take a snapshot of"),
                                         QStringLiteral("there is no view to take a snapshot of"));
    ErrorMessageContainer::registerError(ERROR_NAME_TAKEN, QStringLiteral("the name is taken"),
                                         QStringLiteral("the name is taken"));
    ErrorMessageContainer::registerError(ERROR_UNKNOWN_ELEMENT, QStringLiteral("there is no element of that name"),
                                         QStringLiteral("there is no element of that name"));
    ErrorMessageContainer::registerError(ERROR_NOTHING_TO_UNDO, QStringLiteral("there is no step to undo or redo"),
                                         QStringLiteral("there is no step to undo or redo"));
    ErrorMessageContainer::registerError(ERROR_SAMPLE_SCENE, QStringLiteral("the sample scene cannot be read"),
                                         QStringLiteral("the sample scene cannot be read"));
    // Never deleted (the command registry may be gone at exit); kept here so they stay
    // reachable.
    static auto* const commands = new std::vector<GApp::Command*>;
    *commands = {newSampleSceneCommand(), newLoadProjectCommand(),  newSaveProjectCommand(),
                 newCreateSnapshotCommand(), newSelectCommand(),     newViewSetCommand(),
                 newLegendSetCommand(),  newElementSetCommand(),    newElementAddCommand(),
                 newElementRemoveCommand(), new UndoRedoCommand(true), new UndoRedoCommand(false),
                 newDumpStateCommand()};
}

} // namespace MCADCmd
} // namespace Kav
