// The host's own script commands. Each reads its parameters in parseParameterString
// (all keys checked there) and works on the scene of the installed command interface.
#include "mcadcmd/commands/kav_host_command_p.h"

#include "core/kav_translate.h"
#include "gtools/kav_error_messages.h"
#include "mcadcmd/kav_command_interface.h"
#include "parse/kav_parse_p.h"

namespace Kav {
namespace MCADCmd {
namespace HostCommands {

Scene* activeScene()
{
    CommandInterface* ci = CommandInterface::getInterface();
    return ci != nullptr ? ci->getScene() : nullptr;
}

bool HostCommand::parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log)
{
    QString rest = parameters;
    try {
        read(rest);
        checkRest(parameters, rest);
    } catch (ParamError const& e) {
        if (errorId != nullptr)
            *errorId = QString::fromLatin1(GApp::PARAMETER_ERROR);
        if (log != nullptr)
            *log << e.getText() << "\n\n" << errorString(parameters) << END_LOG;
        return false;
    }
    return true;
}

QString HostCommand::errorString(QString const& parameters) const
{
    return translate("Kav::GApp", "command \"%1\" with parameters: %2\nexpected form: %3")
        .arg(getCommandName(), parameters.trimmed(),
             *form_ != '\0' ? QString::fromLatin1(form_)
                            : translate("Kav::GApp", "(no parameters)"));
}

void HostCommand::checkName(char const* key, QString const& name)
{
    bool control = false;
    for (QChar const c : name)
        control = control || c.unicode() < 0x20 || c.unicode() == 0x7F;
    if (name.trimmed().isEmpty() || control)
        throw ParamError(say(QT_TRANSLATE_NOOP("Kav::MCADCmd",
                                              "parameter \"%1\": a name must hold more than white space and no "
                                              "control characters"))
                             .arg(QString::fromLatin1(key)));
}

namespace {

// Where the top-level entries with `key` begin.
std::vector<int> positionsOf(QString const& params, QString const& key)
{
    std::vector<int> at;
    int offset = 0;
    for (;;) {
        ParseDetail::ScanResult const r = ParseDetail::scan(params.mid(offset), &key);
        if (!r.found)
            return at;
        at.push_back(offset + r.match.begin);
        offset += r.match.valueEnd;
    }
}

} // namespace

void HostCommand::checkRest(QString const& parameters, QString const& rest)
{
    ParseDetail::ScanResult const left = ParseDetail::scan(rest, nullptr);
    if (!left.any)
        return;
    QString const key = rest.mid(left.first.begin, left.first.keyLength);
    std::vector<int> const given = positionsOf(parameters, key);
    // The command read one entry of this key: the one left is a second.
    if (given.size() > positionsOf(rest, key).size() && given.size() >= 2)
        throw ParamError(translate("Kav::Parse", "parameter \"%1\" is given twice, at positions %2 and %3")
                             .arg(key)
                             .arg(given[0])
                             .arg(given[1]));
    throw ParamError(translate("Kav::Parse", "unknown parameter \"%1\" at position %2")
                         .arg(key)
                         .arg(given.empty() ? left.first.begin : given[0]));
}

namespace {

class UndoRedoCommand : public HostCommand {
public:
    UndoRedoCommand(bool undo) : HostCommand(undo ? "edit.undo" : "edit.redo", undo ? QT_TRANSLATE_NOOP("Kav::MCADCmd", "undo") : QT_TRANSLATE_NOOP("Kav::MCADCmd", "redo"), ""), undo_(undo) {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        CAD::RecordManager* m = CAD::RecordManager::_manager;
        QString const step = undo_ ? m->undoName() : m->redoName();
        if (!(undo_ ? m->undo() : m->redo()))
            return fail(errorId, ERROR_NOTHING_TO_UNDO, log,
                        undo_ ? say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "nothing to undo")) : say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "nothing to redo")));
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
    // Projects and exchange files alike; the details name the file and the reason.
    ErrorMessageContainer::registerError(ERROR_OPEN_FILE, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the file cannot be opened or read")),
                                         QStringLiteral("the file cannot be opened or read"));
    ErrorMessageContainer::registerError(ERROR_SAVE_FILE, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the file cannot be saved")),
                                         QStringLiteral("the file cannot be saved"));
    ErrorMessageContainer::registerError(ERROR_NO_SNAPSHOT_SOURCE, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "there is no view to take a snapshot of")),
                                         QStringLiteral("there is no view to take a snapshot of"));
    ErrorMessageContainer::registerError(ERROR_NAME_TAKEN, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the name is taken")),
                                         QStringLiteral("the name is taken"));
    ErrorMessageContainer::registerError(ERROR_UNKNOWN_ELEMENT, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "there is no element of that name")),
                                         QStringLiteral("there is no element of that name"));
    ErrorMessageContainer::registerError(ERROR_NOTHING_TO_UNDO, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "there is no step to undo or redo")),
                                         QStringLiteral("there is no step to undo or redo"));
    ErrorMessageContainer::registerError(ERROR_SAMPLE_SCENE, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the sample scene cannot be read")),
                                         QStringLiteral("the sample scene cannot be read"));
    // Never deleted (the command registry may be gone at exit); kept here so they stay
    // reachable.
    static auto* const commands = new std::vector<GApp::Command*>;
    *commands = {newSampleSceneCommand(), newLoadProjectCommand(),  newSaveProjectCommand(),
                 newCreateSnapshotCommand(), newSelectCommand(),     newViewSetCommand(),
                 newLegendSetCommand(),  newElementSetCommand(),    newElementAddCommand(),
                 newElementRemoveCommand(), new UndoRedoCommand(true), new UndoRedoCommand(false),
                 newDumpStateCommand(), newRenameSnapshotCommand()};
}

} // namespace MCADCmd
} // namespace Kav
