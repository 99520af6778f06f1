#include "mvp_snapshot_lookup.h"

#include "core/kav_error_log.h"
#include "library/mvp_errors.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_restore_common.h"
#include "parse/kav_parse.h"

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

CAD::Report* findRestorableSnapshot(MCADCmd::CommandInterface const* ci, QString const& name, bool emptyRefused,
                                    QString* errorId, ErrorLog* log)
{
    auto* report = dynamic_cast<CAD::Report*>(ci->getCADElementForElement(name).getElement());
    if (report == nullptr) {
        *errorId = QString::fromLatin1(ERROR_NOT_A_SNAPSHOT);
        if (log != nullptr)
            *log << notASnapshotText(ci, name) << END_LOG;
        return nullptr;
    }
    if (report->dontUpdateSnapshot() || (emptyRefused && report->getCreationPropertyAccess().empty())) {
        *errorId = QString::fromLatin1(ERROR_NO_RESTORE_INFO);
        if (log != nullptr)
            *log << name << END_LOG;
        return nullptr;
    }
    return report;
}

CAD::Element* sceneElement(MCADCmd::CommandInterface const* ci, QString const& name)
{
    CAD::Element* e = ci->getCADElementForElement(name).getElement();
    return e != nullptr && e->getElementType() != CAD::ElementCreator::REPORT ? e : nullptr;
}

std::unique_ptr<PropAccTemplate> takeTemplate(QString& parameters)
{
    if (!Parse::hasKey(parameters, QStringLiteral("template")))
        return nullptr;
    auto tmpl = std::make_unique<PropAccTemplate>();
    tmpl->parseParameterString(parameters, QStringLiteral("template"));
    return tmpl;
}

EnabledProperties::EnabledProperties(PropAccTemplate const* tmpl) : tmpl_(tmpl) {}

PropAccTemplatePart const& EnabledProperties::part(PropAccessType_t type)
{
    auto it = parts_.find(type);
    if (it == parts_.end())
        it = parts_.emplace(type, tmpl_ != nullptr ? tmpl_->getTemplatePart(type) : PropAccTemplatePart()).first;
    return it->second;
}

IdSet EnabledProperties::of(PropertyAccessBase const& access)
{
    auto key = std::make_pair(&access.getUsageFlags(), static_cast<int>(access.getType()));
    if (key == lastKey_)
        return last_;
    auto it = sets_.find(key);
    if (it == sets_.end()) {
        IdSet set = IdSet::of(access.getUsageFlags());
        PropAccTemplatePart const& p = part(access.getType());
        if (p.getType() == access.getType()) {
            for (auto const& u : p.getUsages())
                set.set(u.first, u.second);
        }
        it = sets_.emplace(key, set).first;
    }
    lastKey_ = key;
    last_ = it->second;
    return last_;
}

bool EnabledProperties::noneOf(PropAccessType_t type)
{
    // A part holds a flag for every id its type declares.
    PropAccTemplatePart const& p = part(type);
    if (p.getType() != type)
        return false;
    for (auto const& u : p.getUsages()) {
        if (u.second)
            return false;
    }
    return true;
}

AccessFinder::AccessFinder(CAD::Report::AccessList const& accesses) : accesses_(accesses)
{
    while (lead_ < static_cast<long>(accesses_.size()) && accesses_[static_cast<std::size_t>(lead_)] != nullptr
           && (accesses_[static_cast<std::size_t>(lead_)]->getType() == PROP_ACC_3D_VIEW
               || accesses_[static_cast<std::size_t>(lead_)]->getType() == PROP_ACC_LEGEND))
        ++lead_;
}

bool AccessFinder::holds(long at, QString const& name) const
{
    if (at < 0 || at >= static_cast<long>(accesses_.size()))
        return false;
    PropertyAccessBase const* a = accesses_[static_cast<std::size_t>(at)];
    return a != nullptr && a->getType() != PROP_ACC_3D_VIEW && a->getType() != PROP_ACC_LEGEND
           && a->getExplorerName() == name;
}

long AccessFinder::find(QString const& name, long expected)
{
    if (holds(expected, name))
        return expected;
    if (!indexed_) {
        indexed_ = true;
        index_.reserve(static_cast<int>(accesses_.size()));
        // Backwards, so that of a name held twice the first place is kept.
        for (long at = static_cast<long>(accesses_.size()) - 1; at >= 0; --at) {
            PropertyAccessBase const* a = accesses_[static_cast<std::size_t>(at)];
            if (a != nullptr && a->getType() != PROP_ACC_3D_VIEW && a->getType() != PROP_ACC_LEGEND)
                index_.insert(a->getExplorerName(), at);
        }
    }
    return index_.value(name, -1);
}

} // namespace MCADVisProp
} // namespace Kav
