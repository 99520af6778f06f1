// The host's commands on the scene's contents: snapshots, the selection, adding and removing
// elements.
#include "mcadcmd/commands/kav_host_command_p.h"

#include "cad/kav_element_creator.h"
#include "mprinter/kav_print_interface.h"

namespace Kav {
namespace MCADCmd {
namespace HostCommands {
namespace {

class CreateSnapshotCommand : public HostCommand {
public:
    CreateSnapshotCommand() : HostCommand("report.create_snapshot", QT_TRANSLATE_NOOP("Kav::MCADCmd", "create snapshot"),
                 "[name=\"NAME\"]") {}
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
            return fail(errorId, ERROR_NO_SNAPSHOT_SOURCE, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "no active documentation view to take a snapshot of")));
        QString const name = name_.isEmpty() ? scene->nextReportName() : name_;
        if (scene->findElement(name) != nullptr)
            return fail(errorId, ERROR_NAME_TAKEN, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the name \"%1\" is taken")).arg(name));
        auto report = std::make_unique<CAD::Report>(name);
        report->setViewName(source->getViewName());
        source->captureInto(*report);
        report->setPicture(source->takePicture());
        scene->addReport(std::move(report));
        recordReport(*scene, getMenuName(), name, nullptr, 0);
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name);
        return true;
    }

protected:
    void read(QString& params) override
    {
        bool const given = Parse::hasKey(params, QStringLiteral("name"));
        name_ = optionalString(params, "name");
        if (given && !name_.isEmpty())
            checkName("name", name_);
    }

private:
    QString name_;
};

class SelectCommand : public HostCommand {
public:
    SelectCommand() : HostCommand("select", QT_TRANSLATE_NOOP("Kav::MCADCmd", "select"),
                 "names=[\"ELEMENT\", ...]") {}
    QString createParameterString() override { return Parse::createStringVector(QStringLiteral("names"), QStringList()); }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        for (QString const& n : names_) {
            if (scene->findElement(n) == nullptr)
                return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "no element \"%1\"")).arg(n));
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

class ElementAddCommand : public HostCommand {
public:
    ElementAddCommand() : HostCommand("element.add", QT_TRANSLATE_NOOP("Kav::MCADCmd", "add element"),
                 "name=\"ELEMENT\" [type=\"part|point|circle|...|section_inspection_2d\"] [parent=\"ELEMENT\"]") {}
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
        {
            // Snapshots are made by report.create_snapshot, never added as elements.
            QStringList addable = CAD::ElementCreator::getTypeNames();
            addable.removeAll(CAD::ElementCreator::getTypeName(CAD::ElementCreator::REPORT));
            return paramFail(errorId, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "type: \"%1\" is not one of %2")).arg(type_, addable.join(QStringLiteral(", "))));
        }
        if (name_.isEmpty() || scene->findElement(name_) != nullptr)
            return fail(errorId, ERROR_NAME_TAKEN, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the name \"%1\" is empty or taken")).arg(name_));
        if (!parent_.isEmpty() && (scene->findElement(parent_) == nullptr || scene->isReport(parent_)))
            return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "no parent element \"%1\"")).arg(parent_));
        scene->addElement(CAD::ElementCreator::create(code, name_), parent_);
        recordStructure(*scene, getMenuName(), Detail::copySubtree(*scene, name_), true);
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void read(QString& params) override
    {
        name_ = Parse::getString(params, QStringLiteral("name"));
        checkName("name", name_);
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
    ElementRemoveCommand() : HostCommand("element.remove", QT_TRANSLATE_NOOP("Kav::MCADCmd", "remove element"),
                 "name=\"ELEMENT\"") {}
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
                return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "no element \"%1\"")).arg(name_));
            if (!copies.empty())
                recordStructure(*scene, getMenuName(), std::move(copies), false);
        }
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void read(QString& params) override { name_ = Parse::getString(params, QStringLiteral("name")); }

private:
    QString name_;
};

// Renames a snapshot: a report under the new name takes over what the old one held, at the
// same place in the folder. Undo renames it back.
class RenameSnapshotCommand : public HostCommand {
public:
    RenameSnapshotCommand() : HostCommand("report.rename_snapshot", QT_TRANSLATE_NOOP("Kav::MCADCmd", "rename snapshot"),
                 "snapshot=\"SNAPSHOT\" name=\"NAME\"") {}
    QString createParameterString() override
    {
        return Parse::createString(QStringLiteral("snapshot"), QStringLiteral("Snapshot 1")) +
               Parse::createString(QStringLiteral("name"), QStringLiteral("Snapshot 2"));
    }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        if (!scene->isReport(snapshot_))
            return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "no snapshot \"%1\"")).arg(snapshot_));
        if (name_ != snapshot_) {
            if (scene->findElement(name_) != nullptr)
                return fail(errorId, ERROR_NAME_TAKEN, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "the name \"%1\" is taken")).arg(name_));
            renameReport(*scene, snapshot_, name_);
            recordRename(*scene, getMenuName(), snapshot_, name_);
        }
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void read(QString& params) override
    {
        snapshot_ = Parse::getString(params, QStringLiteral("snapshot"));
        name_ = Parse::getString(params, QStringLiteral("name"));
        checkName("name", name_);
    }

private:
    QString snapshot_;
    QString name_;
};

} // namespace

void renameReport(Scene& scene, QString const& from, QString const& to)
{
    std::size_t index = 0;
    std::unique_ptr<CAD::Report> old = scene.takeReport(from, &index);
    if (!old)
        return;
    auto renamed = std::make_unique<CAD::Report>(to);
    renamed->setCreationPropertyAccess(old->getCreationPropertyAccess());
    renamed->setViewName(old->getViewName());
    renamed->setDontUpdateSnapshot(old->dontUpdateSnapshot());
    renamed->setPicture(old->getPicture());
    scene.insertReport(std::move(renamed), index);
}

GApp::Command* newRenameSnapshotCommand()
{
    return new RenameSnapshotCommand;
}

GApp::Command* newCreateSnapshotCommand()
{
    return new CreateSnapshotCommand;
}

GApp::Command* newSelectCommand()
{
    return new SelectCommand;
}

GApp::Command* newElementAddCommand()
{
    return new ElementAddCommand;
}

GApp::Command* newElementRemoveCommand()
{
    return new ElementRemoveCommand;
}

} // namespace HostCommands
} // namespace MCADCmd
} // namespace Kav
