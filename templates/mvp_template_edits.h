#pragma once

#include "propertyaccess/kav_prop_acc_template_container.h"

#include <vector>

namespace Kav {
namespace MCADVisProp {

// Applies what the edit dialog made of the templates it read to the store as it is when the
// dialog saves, so that another writer's templates stay. `edited[i]` came from
// `loaded[origins[i]]`, or is new where that is -1; only user templates count. A loaded
// template the dialog dropped leaves the store, one it changed takes its original's place
// (or joins at the end when another writer changed or removed that meanwhile), new ones join
// at the end. A name another writer took meanwhile is made free as an import's is (N_1, ...).
void applyEdits(PropertyAccess::PropAccTemplateContainer* stored, PropertyAccess::PropAccTemplateContainer const& loaded,
                PropertyAccess::PropAccTemplateContainer const& edited, std::vector<int> const& origins);

} // namespace MCADVisProp
} // namespace Kav
