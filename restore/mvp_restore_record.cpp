#include "mvp_restore_record.h"

#include "core/kav_error_log.h"
#include "mprinter/kav_print_interface.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QStringList>

#include <iostream>

namespace Kav {
namespace MCADVisProp {
namespace {

// The interface whose picture of the scene a restore can be undone with.
MPrinter::PrintInterface* documentationInterface()
{
    for (MPrinter::PrintInterface* pi : MPrinter::PrintInterfaceContainer::getAllInterfaces()) {
        if (pi && pi->isActive() && pi->hasDocumentation() && pi->isAvailable())
            return pi;
    }
    return nullptr;
}

} // namespace

RestorePropsElementRecord::RestorePropsElementRecord() : CAD::CustomRecord(QStringLiteral("restore snapshot"))
{
    if (MPrinter::PrintInterface* pi = documentationInterface())
        storedAccesses = pi->extractPropertyAccess();
}

RestorePropsElementRecord::~RestorePropsElementRecord()
{
    deleteStored();
}

void RestorePropsElementRecord::deleteStored()
{
    for (PropertyAccess::PropertyAccessBase* access : storedAccesses)
        delete access;
    storedAccesses.clear();
}

unsigned int RestorePropsElementRecord::memSize() const
{
    unsigned int size = 0;
    for (PropertyAccess::PropertyAccessBase const* access : storedAccesses) {
        if (access)
            size += access->memSize();
    }
    return size;
}

void RestorePropsElementRecord::print() const
{
    std::cout << "    restore snapshot: " << "  size: " << memSize() / 1024 << " kb" << std::endl;
}

void RestorePropsElementRecord::undoRedo(bool)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (!ci)
        return;
    MPrinter::PrintInterface* pi = documentationInterface();
    if (!pi)
        return;
    // The state on screen now is what the next call has to bring back.
    MCADCmd::AccessList current = pi->extractPropertyAccess();
    try {
        QStringList all;
        ci->getAllElements(MCADCmd::ALL_ELEMENTS, MCADCmd::ALL_TYPES, MCADCmd::SCENE_ORDER, &all);
        QStringList names, types, descriptions;
        ci->applyPropertyAccessComplete(false, false, storedAccesses, &names, &types, &descriptions);
        ErrorLog log(false);
        ci->elementPropertiesChanged(all, &log);
    } catch (...) {
        for (PropertyAccess::PropertyAccessBase* access : current)
            delete access;
        throw;
    }
    deleteStored();
    storedAccesses = std::move(current);
}

void RestorePropsElementRecord::clear(bool)
{
    deleteStored();
}

void RestorePropsElementRecord::collectRecords(std::vector<RecordBase*>* list)
{
    list->push_back(this);
}

} // namespace MCADVisProp
} // namespace Kav
