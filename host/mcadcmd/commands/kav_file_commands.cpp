// The host's file commands: the sample scene, projects and the state dump.
#include "mcadcmd/commands/kav_host_command_p.h"

#include "io/kav_save_file.h"
#include "mcadcmd/kav_command_interface.h"

namespace Kav {
namespace MCADCmd {
namespace HostCommands {
namespace {

class SampleSceneCommand : public HostCommand {
public:
    SampleSceneCommand() : HostCommand("host.sample_scene", QT_TRANSLATE_NOOP("Kav::MCADCmd", "sample scene"),
                 "[elements=\"COUNT\"] [file=\"FILE\"]") {}
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
            throw ParamError(say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "elements: at most 10000000")));
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
    LoadProjectCommand() : ProjectFileCommand("host.load_project", QT_TRANSLATE_NOOP("Kav::MCADCmd", "load project"),
                 "file=\"FILE\"") {}
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
    SaveProjectCommand() : ProjectFileCommand("host.save_project", QT_TRANSLATE_NOOP("Kav::MCADCmd", "save project"),
                 "file=\"FILE\"") {}
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

class DumpStateCommand : public HostCommand {
public:
    DumpStateCommand() : HostCommand("host.dump_state", QT_TRANSLATE_NOOP("Kav::MCADCmd", "dump state"),
                 "[file=\"FILE\"]") {}
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
        QString error;
        if (!IO::SaveFile::save(file_, text.toUtf8(), &error))
            return fail(errorId, ERROR_SAVE_FILE, log, error);
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

GApp::Command* newSampleSceneCommand()
{
    return new SampleSceneCommand;
}

GApp::Command* newLoadProjectCommand()
{
    return new LoadProjectCommand;
}

GApp::Command* newSaveProjectCommand()
{
    return new SaveProjectCommand;
}

GApp::Command* newDumpStateCommand()
{
    return new DumpStateCommand;
}

} // namespace HostCommands
} // namespace MCADCmd
} // namespace Kav
