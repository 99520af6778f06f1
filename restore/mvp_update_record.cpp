#include "mvp_update_record.h"

#include "cad/kav_shared_accesses.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"
#include "propertyaccess/kav_property_access_base.h"

#include <algorithm>
#include <iostream>

namespace Kav {
namespace MCADVisProp {
namespace {

void hold(CAD::Report::AccessList const& accesses)
{
    CAD::SharedAccesses& pool = CAD::SharedAccesses::instance();
    for (PropertyAccess::PropertyAccessBase* a : accesses)
        pool.share(a);
}

void release(CAD::Report::AccessList const& accesses)
{
    CAD::SharedAccesses& pool = CAD::SharedAccesses::instance();
    for (PropertyAccess::PropertyAccessBase* a : accesses)
        pool.release(a);
}

} // namespace

UpdateSnapshotsRecord::UpdateSnapshotsRecord() : CAD::CustomRecord(QStringLiteral("update snapshots")) {}

UpdateSnapshotsRecord::~UpdateSnapshotsRecord()
{
    clear(true);
}

void UpdateSnapshotsRecord::keep(CAD::Report const& report, std::vector<std::size_t> places, bool whole)
{
    Kept k;
    k.report = report.getName();
    k.whole = whole;
    CAD::Report::AccessList const& held = report.getCreationPropertyAccess();
    if (whole) {
        k.accesses = held;
        k.viewName = report.getViewName();
        k.picture = report.getPicture();
    } else {
        for (std::size_t place : places)
            k.accesses.push_back(held.at(place));
        k.places = std::move(places);
    }
    hold(k.accesses);
    kept_.push_back(std::move(k));
}

namespace {

// Equal lists, place by place. Two different accesses can be alike: a capture takes a changed
// element's access again without looking for an equal one already held.
bool alike(CAD::Report::AccessList const& a, CAD::Report::AccessList const& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (a[i] == nullptr || b[i] == nullptr || a[i]->getType() != b[i]->getType())
            return false;
        try {
            if (CAD::SharedAccesses::streamForm(*a[i]) != CAD::SharedAccesses::streamForm(*b[i]))
                return false;
        } catch (IO::StreamException const&) {
            return false;
        }
    }
    return true;
}

} // namespace

void UpdateSnapshotsRecord::forgetIfSame(CAD::Report const& report)
{
    if (kept_.empty() || kept_.back().report != report.getName() || !kept_.back().whole
        || !alike(kept_.back().accesses, report.getCreationPropertyAccess()) || kept_.back().viewName != report.getViewName()
        || kept_.back().picture != report.getPicture())
        return;
    release(kept_.back().accesses);
    kept_.pop_back();
}

unsigned int UpdateSnapshotsRecord::memSize() const
{
    // Only what dropping the record would free: the accesses no snapshot holds.
    CAD::SharedAccesses const& pool = CAD::SharedAccesses::instance();
    std::size_t size = sizeof(*this);
    for (Kept const& k : kept_) {
        size += sizeof(k) + k.places.size() * sizeof(std::size_t) + k.accesses.size() * sizeof(void*)
                + static_cast<std::size_t>(k.picture.size());
        for (PropertyAccess::PropertyAccessBase const* a : k.accesses)
            size += a != nullptr && pool.holders(a) == 1 ? a->memSize() : 0;
    }
    return static_cast<unsigned int>(std::min<std::size_t>(size, 0xFFFFFFFFu));
}

void UpdateSnapshotsRecord::print() const
{
    std::cout << "    update snapshots: " << kept_.size() << "  size: " << memSize() / 1024 << " kb" << std::endl;
}

void UpdateSnapshotsRecord::undoRedo(bool)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (ci == nullptr)
        return;
    for (Kept& k : kept_) {
        auto* report = dynamic_cast<CAD::Report*>(ci->getCADElementForElement(k.report).getElement());
        if (report == nullptr)
            continue;
        CAD::Report::AccessList const& held = report->getCreationPropertyAccess();
        if (k.whole) {
            CAD::Report::AccessList now = held;
            hold(now);
            report->setCreationPropertyAccess(k.accesses);
            release(k.accesses);
            k.accesses = std::move(now);
            QString const view = report->getViewName();
            report->setViewName(k.viewName);
            k.viewName = view;
            QByteArray const picture = report->getPicture();
            report->setPicture(k.picture);
            k.picture = picture;
            continue;
        }
        for (std::size_t i = 0; i < k.places.size(); ++i) {
            if (k.places[i] >= held.size())
                continue;
            PropertyAccess::PropertyAccessBase* now = held[k.places[i]];
            CAD::SharedAccesses::instance().share(now);
            report->replaceCreationPropertyAccess(k.places[i], k.accesses[i]);
            CAD::SharedAccesses::instance().release(k.accesses[i]);
            k.accesses[i] = now;
        }
    }
}

void UpdateSnapshotsRecord::clear(bool)
{
    for (Kept const& k : kept_)
        release(k.accesses);
    kept_.clear();
}

void UpdateSnapshotsRecord::collectRecords(std::vector<RecordBase*>* list)
{
    list->push_back(this);
}

} // namespace MCADVisProp
} // namespace Kav
