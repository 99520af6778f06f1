#include "mvp_restore_record.h"

#include "mvp_restore_common.h"

#include "core/kav_error_log.h"
#include "mprinter/kav_print_interface.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QStringList>

#include <iostream>
#include <memory>

namespace Kav {
namespace MCADVisProp {
RestorePropsElementRecord::RestorePropsElementRecord(QStringList const* only)
    : CAD::CustomRecord(QStringLiteral("restore snapshot")), only_(only != nullptr ? *only : QStringList()),
      some_(only != nullptr)
{
    storedAccesses = extract();
}

MCADCmd::AccessList RestorePropsElementRecord::extract() const
{
    MPrinter::PrintInterface* pi = documentationInterface();
    if (pi == nullptr)
        return {};
    if (!some_)
        return pi->extractPropertyAccess();
    std::vector<std::unique_ptr<PropertyAccess::PropertyAccessBase>> made;
    for (QString const& name : only_) {
        made.emplace_back(PropertyAccess::PropertyAccessFactory::create(PropertyAccess::PROP_ACC_CAD_ELEMENT));
        if (made.back())
            made.back()->extract(name);
        else
            made.pop_back();
    }
    MCADCmd::AccessList out;
    for (auto& a : made)
        out.push_back(a.release());
    return out;
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
    MCADCmd::AccessList current = extract();
    try {
        QStringList all = only_;
        if (!some_)
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
