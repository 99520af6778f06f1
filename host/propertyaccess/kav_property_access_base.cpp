#include "kav_property_access_base.h"

#include "kav_property_access_factory.h"

namespace Kav {
namespace PropertyAccess {

PropertyAccessBase::PropertyAccessBase(PropAccessType_t type)
    : type_(type), usage_(std::const_pointer_cast<UsageFlags>(PropertyAccessFactory::getSharedDefaultUsage(type)))
{
    if (!usage_)
        usage_ = std::make_shared<UsageFlags>();
}

// The holding stays with the object: a copy is a new access.
PropertyAccessBase::PropertyAccessBase(PropertyAccessBase const& other)
    : type_(other.type_), explorerName_(other.explorerName_), usage_(other.usage_), visible_(other.visible_)
{
}

PropertyAccessBase& PropertyAccessBase::operator=(PropertyAccessBase const& other)
{
    type_ = other.type_;
    explorerName_ = other.explorerName_;
    usage_ = other.usage_;
    visible_ = other.visible_;
    return *this;
}

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

void PropertyAccessBase::setUsageFlags(UsageFlags const& flags)
{
    // Equal flags stay shared (mostly the type's defaults): a loaded project sets them on
    // every access it reads.
    if (*usage_ == flags)
        return;
    usage_ = std::make_shared<UsageFlags>(flags);
}

void PropertyAccessBase::setUsageFlag(PropTemplateID_t id, bool used)
{
    auto it = usage_->find(id);
    if (it != usage_->end() && it->second == used)
        return;
    // The factory's cache keeps a share of the defaults, so they are never changed in place.
    if (usage_.use_count() > 1)
        usage_ = std::make_shared<UsageFlags>(*usage_);
    (*usage_)[id] = used;
}

bool PropertyAccessBase::getUsageFlag(PropTemplateID_t id) const
{
    auto it = usage_->find(id);
    return it != usage_->end() && it->second;
}

} // namespace PropertyAccess
} // namespace Kav
