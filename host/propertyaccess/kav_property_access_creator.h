#pragma once

#include "kav_property_access_types.h"
#include "kavhost_export.h"

#include <QString>

#include <utility>
#include <vector>

namespace Kav {
namespace PropertyAccess {

class PropertyAccessBase;

using PropertyDescriptions = std::vector<std::pair<PropTemplateID_t, QString>>;

// Makes accesses of one type. Constructing a creator makes it the factory's creator for its
// type; destroying it takes it out again. Copies are not registered.
class KAVHOST_EXPORT PropertyAccessCreator {
public:
    explicit PropertyAccessCreator(PropAccessType_t type);
    PropertyAccessCreator(PropertyAccessCreator const& other);
    PropertyAccessCreator& operator=(PropertyAccessCreator const& other);

    virtual ~PropertyAccessCreator();
    // A new default-constructed access; the caller owns it.
    virtual PropertyAccessBase* create() const = 0;
    // Appends (id, translated description) for every declared id, without clearing `out`.
    virtual PropTemplateCat_t getPropertyDescriptions(PropertyDescriptions* out) const = 0;

    PropAccessType_t getType() const { return type_; }

private:
    PropAccessType_t type_;
};

} // namespace PropertyAccess
} // namespace Kav
