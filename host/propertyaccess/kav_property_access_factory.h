#pragma once

#include "kav_property_access_base.h"
#include "kav_property_access_creator.h"
#include "kavhost_export.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Kav {
namespace PropertyAccess {

// The registry of access creators, one per type. When several creators of one type exist,
// the newest answers; when it goes, the one before takes over.
class KAVHOST_EXPORT PropertyAccessFactory {
public:
    // Every type with a creator, in the order the types were first registered.
    static std::vector<PropAccessType_t> getRegisteredTypes();
    static bool isRegistered(PropAccessType_t type);
    static PropertyAccessCreator const* getCreator(PropAccessType_t type);
    // A new access of that type (caller owns it), or null when no creator is registered.
    static PropertyAccessBase* create(PropAccessType_t type);
    // The type's category and declared properties appended to `out`; CAT_UNKNOWN and
    // nothing appended when no creator is registered.
    static PropTemplateCat_t getPropertyDescriptions(PropAccessType_t type, PropertyDescriptions* out);
    // A flag for each declared id of the type, all true.
    static UsageFlags getDefaultUsage(PropAccessType_t type);
    // The same flags as one object every new access of the type shares until it changes one.
    static std::shared_ptr<UsageFlags const> getSharedDefaultUsage(PropAccessType_t type);
    // Changes whenever a creator comes or goes: accesses made before may differ from new ones.
    static std::uint64_t getGeneration();

private:
    friend class PropertyAccessCreator;
    static void add(PropertyAccessCreator* creator);
    static void remove(PropertyAccessCreator* creator);
};

} // namespace PropertyAccess
} // namespace Kav
