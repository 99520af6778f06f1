#pragma once
// Private to the host's script commands: their base class, error ids and the undo steps
// they record. The commands are in one file per group, registered together.

#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_command.h"
#include "gapp/kav_gapp_errors.h"
#include "mcadcmd/scene/kav_scene.h"
#include "mcadcmd/scene/kav_scene_state_p.h"
#include "parse/kav_parse.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace Kav {
namespace CAD {
class Report;
}
namespace MCADCmd {
namespace HostCommands {

inline char const* const ERROR_NO_SNAPSHOT_SOURCE = "KavHost-Snapshot-0001";
inline char const* const ERROR_NAME_TAKEN = "KavHost-Scene-0001";
inline char const* const ERROR_UNKNOWN_ELEMENT = "KavHost-Scene-0002";
inline char const* const ERROR_NOTHING_TO_UNDO = "KavHost-Edit-0001";
inline char const* const ERROR_SAMPLE_SCENE = "KavHost-Scene-0003";

inline QString say(char const* text)
{
    return translate("Kav::MCADCmd", text);
}

// The scene of the installed command interface, or null.
Scene* activeScene();

// The commands of each group, by name; registered in the order they are made.
GApp::Command* newSampleSceneCommand();
GApp::Command* newLoadProjectCommand();
GApp::Command* newSaveProjectCommand();
GApp::Command* newDumpStateCommand();
GApp::Command* newCreateSnapshotCommand();
GApp::Command* newRenameSnapshotCommand();
GApp::Command* newSelectCommand();
GApp::Command* newElementAddCommand();
GApp::Command* newElementRemoveCommand();
GApp::Command* newViewSetCommand();
GApp::Command* newLegendSetCommand();
GApp::Command* newElementSetCommand();

// Elements added (`present`) or removed by a step, as copies of their subtrees.
void recordStructure(Scene& scene, QString const& stepName, std::vector<Detail::ElementCopy> copies, bool present);
// `kept` is the removed report, or null for one just added.
void recordReport(Scene& scene, QString const& stepName, QString const& report, std::unique_ptr<CAD::Report> kept,
                  std::size_t index);
// The report `from` under the name `to` (not taken), at the same place, holding the same.
void renameReport(Scene& scene, QString const& from, QString const& to);
void recordRename(Scene& scene, QString const& stepName, QString const& from, QString const& to);
// Runs `change` on the scene as one undo step named `stepName`: a change of the element
// `element`, or of the view and the legend when it is null. When `change` throws, the scene
// is put back and nothing is recorded.
void recordChange(Scene& scene, QString const& stepName, CAD::Element* element, std::function<void()> const& change);

class HostCommand : public GApp::Command {
public:
    // `menuText` (marked with QT_TRANSLATE_NOOP in Kav::MCADCmd) names the undo steps too;
    // `form` is the whole parameter form, every key, as a failing command prints it.
    HostCommand(char const* name, char const* menuText, char const* form)
        : GApp::Command(true, false, QString::fromLatin1(name), say(menuText), QString::fromLatin1(name), nullptr),
          form_(form)
    {
    }
    bool isExecutable() override { return activeScene() != nullptr; }
    int getCommandKind() const override { return KIND_SCRIPT; }
    bool parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log) override;

protected:
    virtual void read(QString& params) = 0;

    static bool fail(QString* errorId, char const* id, ErrorLog* log, QString const& text)
    {
        if (errorId != nullptr)
            *errorId = QString::fromLatin1(id);
        if (log != nullptr)
            *log << text << END_LOG;
        return false;
    }
    bool paramFail(QString* errorId, ErrorLog* log, QString const& text)
    {
        return fail(errorId, GApp::PARAMETER_ERROR, log, text);
    }
    static QString optionalString(QString& params, char const* key)
    {
        QString const k = QString::fromLatin1(key);
        return Parse::hasKey(params, k) ? Parse::getString(params, k) : QString();
    }
    // A name a user can see and type again: not only white space, no control characters
    // (a NUL would cut it short on screen). Throws ParamError naming `key`.
    static void checkName(char const* key, QString const& name);
    // What was given and the form expected, for a parameter error's details.
    QString errorString(QString const& parameters) const;
    // Throws ParamError for the first entry of `rest` (what `read` left of `parameters`): a
    // key read already is given twice, any other is unknown. Positions are in `parameters`.
    static void checkRest(QString const& parameters, QString const& rest);

private:
    char const* form_;
};

} // namespace HostCommands
} // namespace MCADCmd
} // namespace Kav
