#include "mprinter/kav_print_interface.h"

#include "mcadcmd/scene/kav_scene.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <algorithm>
#include <memory>

namespace Kav {
namespace MPrinter {

namespace {

std::vector<PrintInterface*>& registry()
{
    static std::vector<PrintInterface*> interfaces;
    return interfaces;
}

} // namespace

PrintInterface::PrintInterface(QString const& viewName) : viewName_(viewName)
{
    PrintInterfaceContainer::add(this);
}

PrintInterface::~PrintInterface()
{
    PrintInterfaceContainer::remove(this);
}

MCADCmd::AccessList PrintInterface::extractPropertyAccess()
{
    using PropertyAccess::PropertyAccessBase;
    using PropertyAccess::PropertyAccessFactory;
    MCADCmd::AccessList out;
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (ci == nullptr)
        return out;
    // Accesses made so far are freed when an extract throws.
    std::vector<std::unique_ptr<PropertyAccessBase>> made;
    auto take = [&made](PropertyAccess::PropAccessType_t type, QString const& name) {
        std::unique_ptr<PropertyAccessBase> access(PropertyAccessFactory::create(type));
        if (!access)
            return;
        access->extract(name);
        made.push_back(std::move(access));
    };
    take(PropertyAccess::PROP_ACC_3D_VIEW, QString());
    take(PropertyAccess::PROP_ACC_LEGEND, QString());
    QStringList names;
    ci->getAllElements(MCADCmd::ALL_ELEMENTS, MCADCmd::NO_DOCUMENTATION, MCADCmd::SCENE_ORDER, &names);
    for (QString const& name : names)
        take(PropertyAccess::PROP_ACC_CAD_ELEMENT, name);
    out.reserve(made.size());
    for (auto& a : made)
        out.push_back(a.release());
    return out;
}

std::vector<PrintInterface*> PrintInterfaceContainer::getAllInterfaces()
{
    return registry();
}

std::vector<PrintInterface*> PrintInterfaceContainer::getSensitiveInterfaces()
{
    std::vector<PrintInterface*> out;
    for (PrintInterface* pi : registry()) {
        if (pi->isAvailable())
            out.push_back(pi);
    }
    return out;
}

void PrintInterfaceContainer::add(PrintInterface* pi)
{
    registry().push_back(pi);
}

void PrintInterfaceContainer::remove(PrintInterface* pi)
{
    auto& r = registry();
    r.erase(std::remove(r.begin(), r.end(), pi), r.end());
}

} // namespace MPrinter
} // namespace Kav
