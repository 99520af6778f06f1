#include "kav_property_access_base.h"

#include "kav_property_access_factory.h"

namespace Kav {
namespace PropertyAccess {

PropertyAccessBase::PropertyAccessBase(PropAccessType_t type)
    : type_(type), usage_(PropertyAccessFactory::getDefaultUsage(type))
{
}

PropertyAccessBase::PropertyAccessBase(PropertyAccessBase const& other) = default;
PropertyAccessBase& PropertyAccessBase::operator=(PropertyAccessBase const& other) = default;
PropertyAccessBase::~PropertyAccessBase() = default;

void PropertyAccessBase::setNewInvisible(QString const&) {}

void PropertyAccessBase::updateKeywords(CAD::TokenContainer const&) {}

void PropertyAccessBase::setVisible(bool visible)
{
    visible_ = visible;
}

bool PropertyAccessBase::isVisible() const
{
    return visible_;
}

void PropertyAccessBase::copyTo(PropertyAccessBase* target) const
{
    if (target && target != this)
        *target = *this;
}

bool PropertyAccessBase::getUsageFlag(PropTemplateID_t id) const
{
    auto it = usage_.find(id);
    return it != usage_.end() && it->second;
}

} // namespace PropertyAccess
} // namespace Kav
