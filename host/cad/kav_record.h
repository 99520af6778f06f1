#pragma once

#include "kavhost_export.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace Kav {

enum StructRecordVectorMode_t {
    RECORD_MODE_NONE = 0,
    RECORD_MODE_ELEMENTS = 1,
    RECORD_MODE_STRUCTURE = 2,
    RECORD_MODE_PROPERTIES = 3
};

// One undoable change: it holds the state the change replaced.
class KAVHOST_EXPORT RecordBase {
public:
    explicit RecordBase(QString const& name);
    RecordBase(RecordBase const&) = delete;
    RecordBase& operator=(RecordBase const&) = delete;

    QString const& getName() const;

    virtual ~RecordBase();
    // Bytes held; the undo history is bounded by the sum of these.
    virtual unsigned int memSize() const = 0;
    // One line on stdout.
    virtual void print() const = 0;
    // Exchanges the stored and the current state.
    virtual void undoRedo(bool undo) = 0;
    // Drops the stored state.
    virtual void clear(bool all) = 0;
    virtual void collectRecords(std::vector<RecordBase*>* list) = 0;

private:
    QString name_;
};

namespace CAD {

class RecordManager;
struct RecordStep;

// A record that joins the undo step open at construction, if any: while
// RecordManager::_manager->isRecording() the step owns it and deletes it exactly once
// (when it leaves the history). Constructed while not recording, the caller owns it.
// Deleting a record the history owns detaches it from its step first, so a constructor
// that throws after the join does no harm.
class KAVHOST_EXPORT CustomRecord : public RecordBase {
public:
    explicit CustomRecord(QString const& name);
    ~CustomRecord() override;

    // The manager whose history holds this record, nullptr when the caller owns it.
    RecordManager* owner() const { return owner_; }

private:
    friend class RecordManager;
    friend struct RecordStep;
    RecordManager* owner_ = nullptr;
    // Where the history keeps it: detaching it needs no search.
    RecordStep* step_ = nullptr;
    std::size_t slot_ = 0;
};

} // namespace CAD
} // namespace Kav
