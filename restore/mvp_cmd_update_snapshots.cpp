#include "mvp_cmd_update_snapshots.h"

#include "access/mvp_access_fields.h"
#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_main_window.h"
#include "mcadcmd/kav_command_interface.h"
#include "mprinter/kav_print_interface.h"
#include "mvp_update_record.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_property_access_factory.h"
#include "mvp_restore_common.h"
#include "mvp_snapshot_lookup.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {

// The scene's present state, each object extracted once however many snapshots ask.
class PresentState {
public:
    explicit PresentState(MCADCmd::CommandInterface* ci) : ci_(ci) {}

    // The present state of what `stored` captured; null for an object the scene no longer
    // has or a type that cannot be taken from the scene.
    PropertyAccessBase const* of(PropertyAccessBase const& stored)
    {
        PropAccessType_t const type = stored.getType();
        bool const global = type == PROP_ACC_3D_VIEW || type == PROP_ACC_LEGEND;
        QString const& name = global ? QString() : stored.getExplorerName();
        QHash<QString, std::shared_ptr<PropertyAccessBase>>& ofType = taken_[type];
        auto it = ofType.constFind(name);
        if (it != ofType.constEnd())
            return it->get();
        std::shared_ptr<PropertyAccessBase> access;
        if (AccessFields::of(type).restorable() && (global || sceneElement(ci_, name) != nullptr)) {
            access.reset(PropertyAccessFactory::create(type));
            try {
                if (access)
                    access->extract(name);
            } catch (ProgError const&) {
                access.reset();
            }
        }
        return ofType.insert(name, access)->get();
    }

private:
    MCADCmd::CommandInterface* ci_;
    std::map<PropAccessType_t, QHash<QString, std::shared_ptr<PropertyAccessBase>>> taken_;
};

// Past this share of changed places a snapshot gets a new list rather than place by place.
constexpr std::size_t WHOLE_LIST_SHARE = 4;

} // namespace

UpdateSnapshotsCommand::UpdateSnapshotsCommand()
    : GApp::Command(true, false, QStringLiteral("report.update_snapshots"),
                    translate("MCADVisProp_cmd", "update snapshots"), QStringLiteral("mcad_vis_prop_restore#update"),
                    nullptr)
{
}

UpdateSnapshotsCommand::~UpdateSnapshotsCommand() = default;

bool UpdateSnapshotsCommand::isSensitive()
{
    return false;
}

bool UpdateSnapshotsCommand::isExecutable()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

QString UpdateSnapshotsCommand::createParameterString()
{
    return Parse::createStringVector(QStringLiteral("snapshots"), QStringList{QStringLiteral("SNAPSHOT")});
}

bool UpdateSnapshotsCommand::parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log)
{
    try {
        QString rest = parameters;
        QStringList const names = Parse::getStringVector(rest, QStringLiteral("snapshots"), 0, 0xFFFFFFFFu);
        std::unique_ptr<PropAccTemplate> tmpl = takeTemplate(rest);
        Parse::checkEmptyParameters(rest);
        if (names.isEmpty())
            throw ParamError(translate("MCADVisProp_cmd", "snapshots: the list names no snapshot to update"));
        QSet<QString> seen;
        for (QString const& name : names) {
            if (seen.contains(name))
                throw ParamError(translate("MCADVisProp_cmd", "snapshots: \"%1\" is named twice").arg(name));
            seen.insert(name);
        }
        bool const all = names.size() == 1 && names.first() == QLatin1String("*");
        snapshotNames = all ? QStringList() : names;
        updateTemplate = std::move(tmpl);
        return true;
    } catch (ParamError const& e) {
        *errorId = QString::fromLatin1(GApp::PARAMETER_ERROR);
        *log << e.getText() << "\n\n" << createErrorString(parameters) << END_LOG;
        return false;
    }
}

int UpdateSnapshotsCommand::getCommandKind() const
{
    return KIND_SCRIPT;
}

bool UpdateSnapshotsCommand::executeMenu()
{
    throw ProgError(QStringLiteral("Kav::MCADVisProp::UpdateSnapshotsCommand::executeMenu"),
                    QStringLiteral("mvp_cmd_update_snapshots"), __LINE__,
                    QStringLiteral("this command cannot be used in a menu"));
}

bool UpdateSnapshotsCommand::execute(QString* result, QString* errorId, ErrorLog* log)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    GApp::MainWindow* win = GApp::MainWindow::main_win;
    if (!ci || !win)
        return false;

    // Let pending events (a redraw, the selection) run before anything is taken.
    win->lockGUI(nullptr);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    win->unlockGUI(nullptr);

    // Every name is checked before anything changes.
    std::vector<CAD::Report*> reports;
    if (snapshotNames.isEmpty()) {
        QStringList all;
        ci->getAllElements(MCADCmd::ALL_ELEMENTS, MCADCmd::ONLY_DOCUMENTATION, MCADCmd::SCENE_ORDER, &all);
        for (QString const& name : all) {
            auto* report = dynamic_cast<CAD::Report*>(ci->getCADElementForElement(name).getElement());
            // Snapshots without restore information are kept as they are.
            if (report != nullptr && !report->dontUpdateSnapshot())
                reports.push_back(report);
        }
    } else {
        for (QString const& name : snapshotNames) {
            CAD::Report* report = findRestorableSnapshot(ci, name, false, errorId, log);
            if (report == nullptr)
                return false;
            reports.push_back(report);
        }
    }
    MPrinter::PrintInterface* source = documentationInterface();
    if (source == nullptr) {
        *errorId = QString::fromLatin1(GApp::COMMAND_FAILED_ERROR);
        if (log != nullptr)
            *log << translate("MCADVisProp_cmd", "there is no view to take the scene's state from") << END_LOG;
        return false;
    }

    CAD::RecordManager* manager = CAD::RecordManager::_manager;
    manager->startRecording(getMenuName(), RECORD_MODE_PROPERTIES);
    // Made while the step is open, the record joins it; otherwise it is this command's.
    UpdateSnapshotsRecord* record = manager->isRecording() ? new UpdateSnapshotsRecord() : nullptr;
    std::unique_ptr<UpdateSnapshotsRecord> unrecorded(record == nullptr ? new UpdateSnapshotsRecord() : nullptr);
    UpdateSnapshotsRecord& kept = record != nullptr ? *record : *unrecorded;
    try {
        if (!updateTemplate && !reports.empty()) {
            // Taken once: every snapshot holds the same accesses afterwards, as snapshots made
            // one after another of an unchanged scene do.
            MCADCmd::AccessList fresh = source->extractPropertyAccess();
            QByteArray const picture = source->takePicture();
            CAD::Report::AccessList taken;
            for (CAD::Report* report : reports) {
                kept.keep(*report, {}, true);
                if (report == reports.front()) {
                    report->setCreationPropertyAccess(std::move(fresh));
                    taken = report->getCreationPropertyAccess();
                } else {
                    report->setCreationPropertyAccess(taken);
                }
                report->setViewName(source->getViewName());
                report->setPicture(picture);
                kept.forgetIfSame(*report);
            }
        } else if (updateTemplate) {
            EnabledProperties enabled(updateTemplate.get());
            PresentState present(ci);
            // Snapshots mostly hold the accesses the one before held at the same place, and
            // what an access needs does not change during the update: the accesses found
            // unchanged at a place are passed over without reading them again.
            CAD::Report::AccessList before;
            std::vector<char> unchanged;
            for (CAD::Report* report : reports) {
                CAD::Report::AccessList const& held = report->getCreationPropertyAccess();
                std::vector<std::pair<std::size_t, std::unique_ptr<PropertyAccessBase>>> changes;
                std::vector<char> same(held.size(), 1);
                PropAccessType_t skipped = PROP_ACC_NONE;
                for (std::size_t i = 0; i < held.size(); ++i) {
                    PropertyAccessBase const* a = held[i];
                    if (a == nullptr || (i < before.size() && before[i] == a && unchanged[i]) || a->getType() == skipped)
                        continue;
                    if (enabled.noneOf(a->getType())) {
                        skipped = a->getType();
                        continue;
                    }
                    IdSet const on = enabled.of(*a);
                    PropertyAccessBase const* now = on.any() ? present.of(*a) : nullptr;
                    if (now == nullptr)
                        continue;
                    if (std::unique_ptr<PropertyAccessBase> next = AccessFields::of(a->getType()).take(*a, *now, on)) {
                        changes.emplace_back(i, std::move(next));
                        same[i] = 0;
                    }
                }
                // Those kept here (or by the record) stay alive, so a place's address is theirs.
                before = held;
                unchanged.swap(same);
                if (changes.empty())
                    continue;
                if (changes.size() * WHOLE_LIST_SHARE > held.size()) {
                    CAD::Report::AccessList list = held;
                    kept.keep(*report, {}, true);
                    for (auto& c : changes)
                        list[c.first] = c.second.release();
                    report->setCreationPropertyAccess(std::move(list));
                } else {
                    std::vector<std::size_t> places;
                    for (auto const& c : changes)
                        places.push_back(c.first);
                    kept.keep(*report, std::move(places), false);
                    for (auto& c : changes)
                        report->replaceCreationPropertyAccess(c.first, c.second.release());
                }
            }
        }
    } catch (...) {
        // Each snapshot changed so far gets back what it held; no step is left.
        kept.undoRedo(true);
        delete record;
        manager->stopRecording();
        throw;
    }
    // An update that changed no snapshot leaves no step to undo.
    if (record != nullptr && record->isEmpty())
        delete record;
    manager->stopRecording();
    emitDataChanged(0);
    *result = Parse::createUInt(QStringLiteral("updated"), static_cast<unsigned int>(reports.size()));
    return true;
}

bool UpdateSnapshotsCommand::isUndoRedoPossible() const
{
    return true;
}

} // namespace MCADVisProp
} // namespace Kav
