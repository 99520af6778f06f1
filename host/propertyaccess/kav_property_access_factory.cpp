#include "kav_property_access_factory.h"

#include <algorithm>
#include <map>

namespace Kav {
namespace PropertyAccess {
namespace {

struct Registry {
    std::vector<PropertyAccessCreator*> creators; // in registration order
    std::vector<PropAccessType_t> typeOrder;      // first registration of each type
    // Declared ids per type: every new access needs them, and asking the creator translates.
    std::map<PropAccessType_t, std::shared_ptr<UsageFlags const>> defaultUsage;
    std::uint64_t generation = 0;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

PropertyAccessCreator::PropertyAccessCreator(PropAccessType_t type) : type_(type)
{
    PropertyAccessFactory::add(this);
}

PropertyAccessCreator::PropertyAccessCreator(PropertyAccessCreator const& other) : type_(other.type_) {}

PropertyAccessCreator& PropertyAccessCreator::operator=(PropertyAccessCreator const& other)
{
    // A registered creator keeps its registration under its own type.
    if (this != &other && PropertyAccessFactory::getCreator(type_) != this)
        type_ = other.type_;
    return *this;
}

PropertyAccessCreator::~PropertyAccessCreator()
{
    PropertyAccessFactory::remove(this);
}

void PropertyAccessFactory::add(PropertyAccessCreator* creator)
{
    Registry& r = registry();
    ++r.generation;
    r.creators.push_back(creator);
    r.defaultUsage.erase(creator->getType());
    if (std::find(r.typeOrder.begin(), r.typeOrder.end(), creator->getType()) == r.typeOrder.end())
        r.typeOrder.push_back(creator->getType());
}

void PropertyAccessFactory::remove(PropertyAccessCreator* creator)
{
    Registry& r = registry();
    auto it = std::find(r.creators.begin(), r.creators.end(), creator);
    if (it == r.creators.end())
        return;
    r.creators.erase(it);
    ++r.generation;
    PropAccessType_t const type = creator->getType();
    r.defaultUsage.erase(type);
    if (!getCreator(type))
        r.typeOrder.erase(std::remove(r.typeOrder.begin(), r.typeOrder.end(), type), r.typeOrder.end());
}

std::uint64_t PropertyAccessFactory::getGeneration()
{
    return registry().generation;
}

std::vector<PropAccessType_t> PropertyAccessFactory::getRegisteredTypes()
{
    return registry().typeOrder;
}

bool PropertyAccessFactory::isRegistered(PropAccessType_t type)
{
    return getCreator(type) != nullptr;
}

PropertyAccessCreator const* PropertyAccessFactory::getCreator(PropAccessType_t type)
{
    auto const& creators = registry().creators;
    for (auto it = creators.rbegin(); it != creators.rend(); ++it) {
        if ((*it)->getType() == type)
            return *it;
    }
    return nullptr;
}

PropertyAccessBase* PropertyAccessFactory::create(PropAccessType_t type)
{
    PropertyAccessCreator const* creator = getCreator(type);
    return creator ? creator->create() : nullptr;
}

PropTemplateCat_t PropertyAccessFactory::getPropertyDescriptions(PropAccessType_t type, PropertyDescriptions* out)
{
    PropertyAccessCreator const* creator = getCreator(type);
    if (!creator || !out)
        return CAT_UNKNOWN;
    return creator->getPropertyDescriptions(out);
}

UsageFlags PropertyAccessFactory::getDefaultUsage(PropAccessType_t type)
{
    std::shared_ptr<UsageFlags const> const shared = getSharedDefaultUsage(type);
    return shared ? *shared : UsageFlags();
}

std::shared_ptr<UsageFlags const> PropertyAccessFactory::getSharedDefaultUsage(PropAccessType_t type)
{
    PropertyAccessCreator const* creator = getCreator(type);
    if (!creator)
        return nullptr;
    auto& cache = registry().defaultUsage;
    auto cached = cache.find(type);
    if (cached != cache.end())
        return cached->second;
    auto flags = std::make_shared<UsageFlags>();
    PropertyDescriptions descriptions;
    creator->getPropertyDescriptions(&descriptions);
    for (auto const& d : descriptions)
        (*flags)[d.first] = true;
    cache.emplace(type, flags);
    return flags;
}

} // namespace PropertyAccess
} // namespace Kav
