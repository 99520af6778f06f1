// The host's own script commands. Each reads its parameters in parseParameterString
// (all keys checked there) and works on the scene of the installed command interface.
#include "mcadcmd/kav_scene.h"

#include "cad/kav_record.h"
#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "gapp/kav_command.h"
#include "gapp/kav_gapp_errors.h"
#include "gtools/kav_error_messages.h"
#include "mcadcmd/kav_command_interface.h"
#include "mcadcmd/kav_scene_state_p.h"
#include "mprinter/kav_print_interface.h"
#include "parse/kav_parse.h"

#include <QFile>
#include <QPointer>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace Kav {
namespace MCADCmd {

namespace {

char const* const ERROR_NO_SNAPSHOT_SOURCE = "KavHost-Snapshot-0001";
char const* const ERROR_NAME_TAKEN = "KavHost-Scene-0001";
char const* const ERROR_UNKNOWN_ELEMENT = "KavHost-Scene-0002";
char const* const ERROR_NOTHING_TO_UNDO = "KavHost-Edit-0001";
char const* const ERROR_SAMPLE_SCENE = "KavHost-Scene-0003";

Scene* activeScene()
{
    CommandInterface* ci = CommandInterface::getInterface();
    return ci != nullptr ? ci->getScene() : nullptr;
}

// The host's own undo records: each keeps what its step changed in one scene, which may be
// gone by the time the step is undone.
class SceneRecord : public CAD::CustomRecord {
public:
    SceneRecord(QString const& name, Scene* scene) : CAD::CustomRecord(name), scene_(scene) {}
    void print() const override
    {
        std::printf("    %s:   size: %u kb\n", qUtf8Printable(getName()), memSize() / 1024);
        std::fflush(stdout);
    }
    void collectRecords(std::vector<RecordBase*>* list) override
    {
        if (list != nullptr)
            list->push_back(this);
    }

protected:
    QPointer<Scene> scene_;
};

// One undo step named `stepName` holding the record `make` creates; the step owns it.
template <typename Make>
void recordStep(QString const& stepName, StructRecordVectorMode_t mode, Make const& make)
{
    CAD::RecordManager* manager = CAD::RecordManager::_manager;
    manager->startRecording(stepName, mode);
    if (manager->isRecording())
        make();
    manager->stopRecording();
}

// The visual state of the scene (all of it, or some elements) before a change; undo and
// redo exchange it with the state on screen.
class SceneStateRecord : public SceneRecord {
public:
    SceneStateRecord(QString const& name, Scene* scene, Detail::VisualState state, QStringList only, bool all)
        : SceneRecord(name, scene), state_(std::move(state)), only_(std::move(only)), all_(all)
    {
    }
    unsigned int memSize() const override { return Detail::memSize(state_); }
    void undoRedo(bool) override
    {
        if (scene_.isNull())
            return;
        Detail::VisualState now = Detail::capture(*scene_, all_ ? nullptr : &only_);
        Detail::apply(*scene_, state_);
        state_ = std::move(now);
        scene_->overlay()->repositionLabels();
        scene_->notifyChanged();
    }
    void clear(bool) override
    {
        state_ = Detail::VisualState();
        scene_.clear();
    }

private:
    Detail::VisualState state_;
    QStringList only_;
    bool all_;
};

// Elements added or removed by a step. Undo and redo toggle: when the elements are there
// they are copied and taken out, else the copies go back at their places.
class StructureRecord : public SceneRecord {
public:
    StructureRecord(QString const& name, Scene* scene, std::vector<Detail::ElementCopy> copies, bool present)
        : SceneRecord(name, scene), copies_(std::move(copies)), present_(present)
    {
    }
    unsigned int memSize() const override
    {
        std::size_t size = sizeof(*this);
        for (Detail::ElementCopy const& c : copies_)
            size += sizeof(c) + 2 * static_cast<std::size_t>(c.state.name.size() + c.state.label.content.size());
        return static_cast<unsigned int>(std::min<std::size_t>(size, 0xFFFFFFFFu));
    }
    void undoRedo(bool) override
    {
        if (scene_.isNull() || copies_.empty())
            return;
        if (present_) {
            // Their state may have changed since: take it along.
            std::vector<Detail::ElementCopy> now;
            QStringList roots;
            for (Detail::ElementCopy const& c : copies_) {
                bool const root = std::none_of(copies_.begin(), copies_.end(), [&c](Detail::ElementCopy const& o) {
                    return o.state.name == c.parent;
                });
                if (!root)
                    continue;
                std::vector<Detail::ElementCopy> part = Detail::copySubtree(*scene_, c.state.name);
                if (!part.empty()) {
                    roots << c.state.name;
                    now.insert(now.end(), part.begin(), part.end());
                }
            }
            std::sort(now.begin(), now.end(),
                      [](Detail::ElementCopy const& a, Detail::ElementCopy const& b) { return a.index < b.index; });
            for (QString const& r : roots)
                scene_->removeElement(r);
            copies_ = std::move(now);
        } else {
            Detail::restoreCopies(*scene_, copies_);
        }
        present_ = !present_;
        scene_->overlay()->repositionLabels();
        scene_->notifyChanged();
    }
    void clear(bool) override
    {
        copies_.clear();
        scene_.clear();
    }

private:
    std::vector<Detail::ElementCopy> copies_;
    bool present_;
};

void recordStructure(Scene& scene, QString const& stepName, std::vector<Detail::ElementCopy> copies, bool present)
{
    recordStep(stepName, RECORD_MODE_STRUCTURE,
               [&] { new StructureRecord(stepName, &scene, std::move(copies), present); });
}

// A report made or removed by a step. Undo and redo toggle: a report in the scene is taken
// out and kept here with its accesses, a kept one goes back at its place in the folder.
class ReportRecord : public SceneRecord {
public:
    ReportRecord(QString const& stepName, Scene* scene, QString const& report, std::unique_ptr<CAD::Report> kept,
                 std::size_t index)
        : SceneRecord(stepName, scene), report_(report), kept_(std::move(kept)), index_(index)
    {
    }
    unsigned int memSize() const override
    {
        std::size_t size = sizeof(*this) + 2 * static_cast<std::size_t>(report_.size());
        if (kept_) {
            for (PropertyAccess::PropertyAccessBase const* a : kept_->getCreationPropertyAccess())
                size += a != nullptr ? a->memSize() : 0;
        }
        return static_cast<unsigned int>(std::min<std::size_t>(size, 0xFFFFFFFFu));
    }
    void undoRedo(bool) override
    {
        if (scene_.isNull())
            return;
        if (kept_) {
            // Something else by that name now: the report stays here rather than replace it.
            if (scene_->findElement(report_) != nullptr)
                return;
            scene_->insertReport(std::move(kept_), index_);
        } else {
            kept_ = scene_->takeReport(report_, &index_);
        }
        scene_->notifyChanged();
    }
    void clear(bool) override
    {
        kept_.reset();
        scene_.clear();
    }

private:
    QString report_;
    std::unique_ptr<CAD::Report> kept_; // null while the report is in the scene
    std::size_t index_;
};

// `kept` is the removed report, or null for one just added.
void recordReport(Scene& scene, QString const& stepName, QString const& report, std::unique_ptr<CAD::Report> kept,
                  std::size_t index)
{
    recordStep(stepName, RECORD_MODE_STRUCTURE,
               [&] { new ReportRecord(stepName, &scene, report, std::move(kept), index); });
}

// Runs `change` on the scene as one undo step named `stepName`; nothing is recorded when it
// throws.
void recordChange(Scene& scene, QString const& stepName, QStringList const* only, std::function<void()> const& change)
{
    Detail::VisualState before = Detail::capture(scene, only);
    change();
    recordStep(stepName, RECORD_MODE_PROPERTIES, [&] {
        new SceneStateRecord(stepName, &scene, std::move(before), only != nullptr ? *only : QStringList(), only == nullptr);
    });
    scene.overlay()->repositionLabels();
    scene.notifyChanged();
}

class HostCommand : public GApp::Command {
public:
    HostCommand(char const* name, char const* menuText)
        : GApp::Command(true, false, QString::fromLatin1(name), QString::fromLatin1(menuText), QString::fromLatin1(name),
                        nullptr)
    {
    }
    bool isExecutable() override { return activeScene() != nullptr; }
    int getCommandKind() const override { return KIND_SCRIPT; }
    bool parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log) override
    {
        QString rest = parameters;
        try {
            read(rest);
            Parse::checkEmptyParameters(rest);
        } catch (ParamError const& e) {
            if (errorId != nullptr)
                *errorId = QString::fromLatin1(GApp::PARAMETER_ERROR);
            if (log != nullptr)
                *log << e.getText() << "\n\n" << createErrorString(parameters) << END_LOG;
            return false;
        }
        return true;
    }

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
};

class SampleSceneCommand : public HostCommand {
public:
    SampleSceneCommand() : HostCommand("host.sample_scene", "sample scene") {}
    QString createParameterString() override { return QString(); }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        if (hasCount_) {
            generateScene(*scene, count_);
        } else if (!loadSampleScene(*scene, file_, log)) {
            if (errorId != nullptr)
                *errorId = QString::fromLatin1(ERROR_SAMPLE_SCENE);
            return false;
        }
        CAD::RecordManager::_manager->clearHistory();
        if (result != nullptr)
            *result = Parse::createUInt(QStringLiteral("elements"), static_cast<unsigned int>(scene->elements().size()));
        return true;
    }

protected:
    void read(QString& params) override
    {
        hasCount_ = Parse::hasKey(params, QStringLiteral("elements"));
        count_ = hasCount_ ? Parse::getUInt(params, QStringLiteral("elements")) : 0;
        if (count_ > 10000000)
            throw ParamError(QStringLiteral("elements: at most 10000000"));
        file_ = Parse::hasKey(params, QStringLiteral("file")) ? Parse::getFile(params, QStringLiteral("file")) : QString();
    }

private:
    bool hasCount_ = false;
    unsigned int count_ = 0;
    QString file_;
};

// The project commands: one required "file" parameter.
class ProjectFileCommand : public HostCommand {
public:
    using HostCommand::HostCommand;
    QString createParameterString() override { return Parse::createFile(QStringLiteral("file"), QStringLiteral("FILE")); }

protected:
    void read(QString& params) override { file_ = Parse::getFile(params, QStringLiteral("file")); }

    QString file_;
};

class LoadProjectCommand : public ProjectFileCommand {
public:
    LoadProjectCommand() : ProjectFileCommand("host.load_project", "load project") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        ErrorLog own(false);
        if (!loadProject(*scene, file_, &own)) {
            if (log != nullptr)
                *log << own.getLog() << END_LOG;
            if (errorId != nullptr)
                *errorId = QString::fromLatin1(ERROR_OPEN_FILE);
            return false;
        }
        CAD::RecordManager::_manager->clearHistory();
        if (result != nullptr)
            *result = Parse::createFile(QStringLiteral("file"), file_) +
                      Parse::createStringVector(QStringLiteral("skipped"), own.getEntries());
        return true;
    }
};

class SaveProjectCommand : public ProjectFileCommand {
public:
    SaveProjectCommand() : ProjectFileCommand("host.save_project", "save project") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        if (!saveProject(*scene, file_, log)) {
            if (errorId != nullptr)
                *errorId = QString::fromLatin1(ERROR_SAVE_FILE);
            return false;
        }
        if (result != nullptr)
            *result = Parse::createFile(QStringLiteral("file"), file_);
        return true;
    }
};

class CreateSnapshotCommand : public HostCommand {
public:
    CreateSnapshotCommand() : HostCommand("report.create_snapshot", "create snapshot") {}
    QString createParameterString() override { return Parse::createString(QStringLiteral("name"), QStringLiteral("Snapshot 1")); }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        MPrinter::PrintInterface* source = nullptr;
        for (MPrinter::PrintInterface* pi : MPrinter::PrintInterfaceContainer::getAllInterfaces()) {
            if (pi != nullptr && pi->isActive() && pi->hasDocumentation() && pi->isAvailable()) {
                source = pi;
                break;
            }
        }
        if (source == nullptr)
            return fail(errorId, ERROR_NO_SNAPSHOT_SOURCE, log, QStringLiteral("no active documentation view to take a snapshot of"));
        QString const name = name_.isEmpty() ? scene->nextReportName() : name_;
        if (scene->findElement(name) != nullptr)
            return fail(errorId, ERROR_NAME_TAKEN, log, QStringLiteral("the name \"%1\" is taken").arg(name));
        auto report = std::make_unique<CAD::Report>(name);
        report->setViewName(source->getViewName());
        report->setCreationPropertyAccess(source->extractPropertyAccess());
        scene->addReport(std::move(report));
        recordReport(*scene, getMenuName(), name, nullptr, 0);
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name);
        return true;
    }

protected:
    void read(QString& params) override { name_ = optionalString(params, "name"); }

private:
    QString name_;
};

class SelectCommand : public HostCommand {
public:
    SelectCommand() : HostCommand("select", "select") {}
    QString createParameterString() override { return Parse::createStringVector(QStringLiteral("names"), QStringList()); }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        for (QString const& n : names_) {
            if (scene->findElement(n) == nullptr)
                return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, QStringLiteral("no element \"%1\"").arg(n));
        }
        scene->setSelection(names_);
        if (result != nullptr)
            *result = Parse::createStringVector(QStringLiteral("names"), scene->selection());
        return true;
    }

protected:
    void read(QString& params) override
    {
        names_ = Parse::getStringVector(params, QStringLiteral("names"), 0, 0xFFFFFFFFu);
    }

private:
    QStringList names_;
};

// view.set, legend.set and element.set: the settings are checked when applied, so a bad
// value is reported with the parameter error and changes nothing.
class SettingsCommand : public HostCommand {
public:
    using HostCommand::HostCommand;

protected:
    bool applySettings(Scene& scene, QString const& step, QStringList const* only,
                       std::function<void(QString&)> const& apply, QString* errorId, ErrorLog* log)
    {
        QString rest = settings_;
        try {
            recordChange(scene, step, only, [&]() {
                apply(rest);
                Parse::checkEmptyParameters(rest);
            });
        } catch (ParamError const& e) {
            return paramFail(errorId, log, e.getText() + QStringLiteral("\n\n") + createErrorString(settings_));
        }
        return true;
    }
    void read(QString& params) override
    {
        readKeys(params);
        settings_ = params;
        // The settings are taken as a whole; their syntax is checked here.
        Parse::hasKey(settings_, QStringLiteral("x"));
        params.clear();
    }
    virtual void readKeys(QString&) {}

    QString settings_;
};

class ViewSetCommand : public SettingsCommand {
public:
    ViewSetCommand() : SettingsCommand("view.set", "change view") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        QStringList const none;
        if (!applySettings(*scene, getMenuName(), &none, [scene](QString& p) { Detail::applyViewSettings(*scene, p); },
                           errorId, log))
            return false;
        if (result != nullptr)
            result->clear();
        return true;
    }
};

class LegendSetCommand : public SettingsCommand {
public:
    LegendSetCommand() : SettingsCommand("legend.set", "change legend") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        QStringList const none;
        if (!applySettings(*scene, getMenuName(), &none,
                           [scene](QString& p) { Detail::applyLegendSettings(*scene, p); }, errorId, log))
            return false;
        if (result != nullptr)
            result->clear();
        return true;
    }
};

class ElementSetCommand : public SettingsCommand {
public:
    ElementSetCommand() : SettingsCommand("element.set", "change element") {}
    QString createParameterString() override
    {
        return Parse::createString(QStringLiteral("name"), QStringLiteral("ELEMENT")) +
               Parse::createBool(QStringLiteral("visible"), true);
    }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        CAD::Element* element = scene->findElement(name_);
        if (element == nullptr)
            return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, QStringLiteral("no element \"%1\"").arg(name_));
        QStringList const only{name_};
        if (!applySettings(*scene, getMenuName(), &only,
                           [scene, element](QString& p) { Detail::applyElementSettings(*scene, element, p); }, errorId,
                           log))
            return false;
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void readKeys(QString& params) override { name_ = Parse::getString(params, QStringLiteral("name")); }

private:
    QString name_;
};

class ElementAddCommand : public HostCommand {
public:
    ElementAddCommand() : HostCommand("element.add", "add element") {}
    QString createParameterString() override
    {
        return Parse::createString(QStringLiteral("name"), QStringLiteral("ELEMENT")) +
               Parse::createString(QStringLiteral("type"), QStringLiteral("point"));
    }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        unsigned int const code = CAD::ElementCreator::getTypeFromName(type_);
        if (code == CAD::ElementCreator::UNKNOWN_TYPE || code == CAD::ElementCreator::REPORT)
            return paramFail(errorId, log, QStringLiteral("type: \"%1\" is not one of %2").arg(type_, CAD::ElementCreator::getTypeNames().join(QStringLiteral(", "))));
        if (name_.isEmpty() || scene->findElement(name_) != nullptr)
            return fail(errorId, ERROR_NAME_TAKEN, log, QStringLiteral("the name \"%1\" is empty or taken").arg(name_));
        if (!parent_.isEmpty() && (scene->findElement(parent_) == nullptr || scene->isReport(parent_)))
            return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, QStringLiteral("no parent element \"%1\"").arg(parent_));
        scene->addElement(CAD::ElementCreator::create(code, name_), parent_);
        recordStructure(*scene, getMenuName(), Detail::copySubtree(*scene, name_), true);
        scene->notifyChanged();
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void read(QString& params) override
    {
        name_ = Parse::getString(params, QStringLiteral("name"));
        type_ = optionalString(params, "type");
        if (type_.isEmpty())
            type_ = QStringLiteral("part");
        parent_ = optionalString(params, "parent");
    }

private:
    QString name_;
    QString type_;
    QString parent_;
};

class ElementRemoveCommand : public HostCommand {
public:
    ElementRemoveCommand() : HostCommand("element.remove", "remove element") {}
    QString createParameterString() override { return Parse::createString(QStringLiteral("name"), QStringLiteral("ELEMENT")); }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        if (scene->isReport(name_)) {
            std::size_t index = 0;
            std::unique_ptr<CAD::Report> taken = scene->takeReport(name_, &index);
            recordReport(*scene, getMenuName(), name_, std::move(taken), index);
        } else {
            std::vector<Detail::ElementCopy> copies = Detail::copySubtree(*scene, name_);
            if (!scene->removeElement(name_))
                return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, QStringLiteral("no element \"%1\"").arg(name_));
            if (!copies.empty())
                recordStructure(*scene, getMenuName(), std::move(copies), false);
        }
        scene->notifyChanged();
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void read(QString& params) override { name_ = Parse::getString(params, QStringLiteral("name")); }

private:
    QString name_;
};

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

class DumpStateCommand : public HostCommand {
public:
    DumpStateCommand() : HostCommand("host.dump_state", "dump state") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        QString const text = dumpState(*scene);
        if (file_.isEmpty()) {
            if (result != nullptr)
                *result = text;
            return true;
        }
        QSaveFile f(file_);
        QByteArray const bytes = text.toUtf8();
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            return fail(errorId, ERROR_SAVE_FILE, log,
                        QStringLiteral("cannot write \"%1\": %2").arg(file_, f.errorString()));
        if (result != nullptr)
            *result = Parse::createFile(QStringLiteral("file"), file_);
        return true;
    }

protected:
    void read(QString& params) override
    {
        file_ = Parse::hasKey(params, QStringLiteral("file")) ? Parse::getFile(params, QStringLiteral("file")) : QString();
    }

private:
    QString file_;
};

} // namespace

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
    *commands = {new SampleSceneCommand, new LoadProjectCommand, new SaveProjectCommand, new CreateSnapshotCommand,
                new SelectCommand,      new ViewSetCommand,     new LegendSetCommand,   new ElementSetCommand,
                new ElementAddCommand,  new ElementRemoveCommand, new UndoRedoCommand(true), new UndoRedoCommand(false),
                new DumpStateCommand};
}

} // namespace MCADCmd
} // namespace Kav
