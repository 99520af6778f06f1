#pragma once
// Internal to the plug-in: what it knows of the properties of each access type, once per
// type. Comparing a snapshot, restoring chosen elements and updating snapshots all go
// through it, so that the three agree with what a restore applies.

#include "core/kav_text.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Kav {
namespace CAD {
class Element;
}
namespace MCADVisProp {

// Property ids as a set. The ids of the plug-in's types are all below 64; `any` also
// counts ids beyond, which only the generic knowledge looks at.
class IdSet {
public:
    // The ids set true in `flags`.
    static IdSet of(PropertyAccess::UsageFlags const& flags);
    void set(PropertyAccess::PropTemplateID_t id, bool on);
    bool has(PropertyAccess::PropTemplateID_t id) const;
    bool any() const { return bits_ != 0 || others_ != 0; }

private:
    std::uint64_t bits_ = 0;
    unsigned int others_ = 0;
};

// Called once per value that differs: the key of element.set, view.set or legend.set that
// sets it (or a short name of the stored field where no key does), and the value as the
// one access holds it and as the other does, each written as that key takes it.
using DifferenceSink = std::function<void(char const* key, QString const& stored, QString const& current)>;

// The knowledge of one access type: which property ids it has, which values each covers,
// how they compare, how they are written and how they are taken from another access.
class AccessFields {
public:
    virtual ~AccessFields();

    // The knowledge of `type`; for a type the plug-in does not know, one that treats the
    // stream form as a single value.
    static AccessFields const& of(PropertyAccess::PropAccessType_t type);

    // The ids the type has, in a fixed order.
    virtual std::vector<PropertyAccess::PropTemplateID_t> ids() const = 0;
    // Whether a restore can apply accesses of this type at all (containers cannot).
    virtual bool restorable() const { return true; }

    // Each value that applying `stored` with the properties `enabled` would change on a
    // target that is now as `current` says, in a fixed order. `target` is the scene object
    // (what it lacks, a restore leaves alone); null stands for one that has everything.
    // Without `texts` the values are passed empty (counting needs none).
    virtual void compare(PropertyAccess::PropertyAccessBase const& stored, IdSet enabled,
                         PropertyAccess::PropertyAccessBase const& current, CAD::Element* target,
                         DifferenceSink const& out, bool texts = true) const = 0;

    // A new access: `stored` (its name, flags and everything else) with the values of the
    // properties `taken` as `current` holds them. Null when it holds them so already.
    virtual std::unique_ptr<PropertyAccess::PropertyAccessBase> take(PropertyAccess::PropertyAccessBase const& stored,
                                                                     PropertyAccess::PropertyAccessBase const& current,
                                                                     IdSet taken) const = 0;
};

// How values are written, as the host's commands take them: numbers and colours as the host
// writes them; lists as ["a", "b"]; bools "0"/"1".
using Kav::colorText;
using Kav::numberText;
QString listText(std::initializer_list<double> values);
QString boolText(bool value);

} // namespace MCADVisProp
} // namespace Kav
