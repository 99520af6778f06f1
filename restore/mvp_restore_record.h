#pragma once

#include "cad/kav_record.h"
#include "mcadcmd/kav_command_interface.h"

#include <QStringList>

#include <vector>

namespace Kav {
namespace MCADVisProp {

// The undo step of a snapshot restore. It keeps a complete picture of the visual state taken
// through the documentation print interface, and undo and redo both exchange that picture
// with the one on screen. Made while a recording is open, it belongs to that recording.
class RestorePropsElementRecord : public CAD::CustomRecord {
public:
    // Captures the state as it is now; holds nothing when no print interface is active,
    // documented and available. With `only`, the state of those elements alone (for a
    // restore that touches no others).
    explicit RestorePropsElementRecord(QStringList const* only = nullptr);
    ~RestorePropsElementRecord() override;

    unsigned int memSize() const override;
    void print() const override;
    void undoRedo(bool undo) override;
    void clear(bool all) override;
    void collectRecords(std::vector<RecordBase*>* list) override;

    // The state the next undo or redo puts back; the record owns it.
    MCADCmd::AccessList const& getStoredAccesses() const { return storedAccesses; }

private:
    void deleteStored();
    MCADCmd::AccessList extract() const;

    MCADCmd::AccessList storedAccesses;
    QStringList only_;
    bool some_ = false;
};

} // namespace MCADVisProp
} // namespace Kav
