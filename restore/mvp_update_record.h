#pragma once

#include "cad/kav_element.h"
#include "cad/kav_record.h"

#include <QString>

#include <vector>

namespace Kav {
namespace MCADVisProp {

// The undo step of a snapshot update. For each snapshot it keeps what the snapshot held
// before at the places the update changed (or its whole list and view name); undo and redo
// exchange that with what the snapshot holds then. Accesses snapshots hold are never
// changed: the record is one more holder of those it keeps, in the host's shared storage.
// Made while a recording is open, it belongs to that recording.
class UpdateSnapshotsRecord : public CAD::CustomRecord {
public:
    UpdateSnapshotsRecord();
    ~UpdateSnapshotsRecord() override;

    // Before `report` changes: keeps what it holds at `places`, or all of it, its view name
    // and its picture when `whole`.
    void keep(CAD::Report const& report, std::vector<std::size_t> places, bool whole);
    // Lets go of what was kept last if `report` holds it still (the update changed nothing).
    void forgetIfSame(CAD::Report const& report);
    bool isEmpty() const { return kept_.empty(); }

    unsigned int memSize() const override;
    void print() const override;
    void undoRedo(bool undo) override;
    void clear(bool all) override;
    void collectRecords(std::vector<RecordBase*>* list) override;

private:
    struct Kept {
        QString report;
        bool whole = false;
        std::vector<std::size_t> places;
        CAD::Report::AccessList accesses;  // held by this record
        QString viewName;
        QByteArray picture;
    };
    std::vector<Kept> kept_;
};

} // namespace MCADVisProp
} // namespace Kav
