#include "cad/kav_record.h"

#include "cad/kav_record_manager.h"

namespace Kav {

RecordBase::RecordBase(QString const& name) : name_(name) {}

RecordBase::~RecordBase() = default;

QString const& RecordBase::getName() const
{
    return name_;
}

namespace CAD {

CustomRecord::CustomRecord(QString const& name) : RecordBase(name)
{
    if (RecordManager::_manager->isRecording())
        RecordManager::_manager->addRecord(this);
}

CustomRecord::~CustomRecord()
{
    if (owner_)
        owner_->detach(this);
}

} // namespace CAD
} // namespace Kav
