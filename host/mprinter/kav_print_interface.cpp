#include "mprinter/kav_print_interface.h"

#include "cad/kav_shared_accesses.h"
#include "mcadcmd/scene/kav_scene.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <algorithm>
#include <memory>
#include <typeinfo>
#include <unordered_map>

namespace Kav {
namespace MPrinter {

namespace {

constexpr std::size_t PREFETCH = 8; // elements ahead

std::vector<PrintInterface*>& registry()
{
    static std::vector<PrintInterface*> interfaces;
    return interfaces;
}

} // namespace

// What the last capture took from each element, and what it was taken under.
struct PrintInterface::Captured {
    struct Taken {
        CAD::Element const* element; // compared only: it may be gone
        std::uint64_t revision;
        PropertyAccess::PropertyAccessBase* access;
    };
    std::weak_ptr<void const> list;
    MCADCmd::CommandInterface const* ci = nullptr;
    GCAD::RenderCallback const* render = nullptr;
    std::uint64_t creators = 0;
    std::vector<Taken> taken; // in scene order
    std::unordered_map<CAD::Element const*, std::size_t> places; // made when the order changed

    // What was taken from `e`, which is at `place` now; null if nothing.
    Taken const* find(CAD::Element const* e, std::size_t place)
    {
        if (place < taken.size() && taken[place].element == e)
            return &taken[place];
        if (places.empty()) {
            places.reserve(taken.size());
            for (std::size_t i = 0; i < taken.size(); ++i)
                places.emplace(taken[i].element, i);
        }
        auto it = places.find(e);
        return it == places.end() ? nullptr : &taken[it->second];
    }
};

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

void PrintInterface::captureInto(CAD::Report& report)
{
    using PropertyAccess::PropertyAccessBase;
    using PropertyAccess::PropertyAccessFactory;
    std::unique_ptr<Captured> before = std::move(captured_);
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    MCADCmd::Scene* scene = ci != nullptr ? ci->getScene() : nullptr;
    // Others may extract differently, or answer for elements from elsewhere.
    if (scene == nullptr || typeid(*this) != typeid(PrintInterface) || typeid(*ci) != typeid(MCADCmd::CommandInterface)) {
        report.setCreationPropertyAccess(extractPropertyAccess());
        return;
    }
    auto now = std::make_unique<Captured>();
    now->ci = ci;
    now->render = ci->getRenderCallback();
    now->creators = PropertyAccessFactory::getGeneration();
    bool const reuse = before && !before->list.expired() && before->ci == now->ci && before->render == now->render &&
                       before->creators == now->creators;
    CAD::SharedAccesses& pool = CAD::SharedAccesses::instance();
    MCADCmd::AccessList list;
    std::size_t first = 0;   // list[first..] are the elements' accesses, held at the end
    std::vector<PropertyAccessBase*> made;
    auto extract = [](PropertyAccess::PropAccessType_t type, QString const& name) -> PropertyAccessBase* {
        std::unique_ptr<PropertyAccessBase> access(PropertyAccessFactory::create(type));
        if (access)
            access->extract(name);
        return access.release();
    };
    try {
        // The view and the legend are two: compared with those held, as share() does.
        for (auto type : {PropertyAccess::PROP_ACC_3D_VIEW, PropertyAccess::PROP_ACC_LEGEND}) {
            if (PropertyAccessBase* a = extract(type, QString()))
                list.push_back(pool.share(a));
        }
        first = list.size();
        std::vector<CAD::Element*> const& elements = scene->elements();
        if (PropertyAccessFactory::isRegistered(PropertyAccess::PROP_ACC_CAD_ELEMENT)) {
            list.reserve(first + elements.size());
            now->taken.reserve(elements.size());
            for (std::size_t i = 0; i < elements.size(); ++i) {
                CAD::Element const* e = elements[i];
                // Elements lie apart in memory; waiting for each one was most of a capture.
                if (i + PREFETCH < elements.size())
                    CAD::Element::prefetch(elements[i + PREFETCH]);
                std::uint64_t const revision = e->getRevision();
                PropertyAccessBase* a = nullptr;
                if (reuse) {
                    if (Captured::Taken const* t = before->find(e, i); t != nullptr && t->revision == revision)
                        a = t->access;
                }
                if (a == nullptr) {
                    scene->expectLookup(i); // the extract looks it up by name
                    a = extract(PropertyAccess::PROP_ACC_CAD_ELEMENT, e->getName());
                    if (a == nullptr)
                        continue;
                    made.push_back(a);
                }
                list.push_back(a);
                now->taken.push_back({e, revision, a});
            }
        }
    } catch (...) {
        for (PropertyAccessBase* a : made)
            delete a;
        for (std::size_t i = 0; i < first; ++i)
            pool.release(list[i]);
        throw;
    }
    pool.hold(list.data() + first, list.size() - first);
    report.setHeldCreationPropertyAccess(std::move(list));
    now->list = report.getAccessListToken();
    captured_ = std::move(now);
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
