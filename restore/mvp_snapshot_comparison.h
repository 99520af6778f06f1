#pragma once

#include "cad/kav_element.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QString>

#include <cstddef>
#include <functional>

namespace Kav {
namespace MCADVisProp {

// What the restore of a snapshot (whole, or by a template) would change in the scene, or
// in a scene in the state of another snapshot, plus what it could not restore. One
// difference per value, in the snapshot's order of objects; after them the elements the
// snapshot does not hold that the restore would hide. The scene is not changed.
class SnapshotComparison {
public:
    // `object` is an element's name, "view" or "legend"; `property` the key of element.set,
    // view.set or legend.set that sets the value, REMOVED for an object the scene no longer
    // has and NOT_RESTORABLE for one no restore can apply (then both values are empty).
    using Sink = std::function<void(QString const& object, char const* property, QString const& stored,
                                    QString const& current)>;

    static char const* const REMOVED;
    static char const* const NOT_RESTORABLE;

    // Without a template, as the whole restore; without `other`, with the scene. The
    // snapshots must outlive the comparison.
    SnapshotComparison(CAD::Report const& snapshot, PropertyAccess::PropAccTemplate const* tmpl,
                       CAD::Report const* other);

    // Calls `out` once per difference; answers their number. Needs the command interface.
    // Without `texts` the values are passed empty.
    std::size_t run(Sink const& out, bool texts = true) const;

private:
    CAD::Report const& snapshot_;
    PropertyAccess::PropAccTemplate const* tmpl_;
    CAD::Report const* other_;
};

} // namespace MCADVisProp
} // namespace Kav
