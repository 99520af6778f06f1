#pragma once
// What the snapshot tools (compare, restore of chosen elements, update) share: finding a
// snapshot with the restore commands' errors, the flags a restore applies an access with,
// and finding a snapshot's accesses by name.

#include "access/mvp_access_fields.h"
#include "cad/kav_element.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QHash>
#include <QString>

#include <map>
#include <memory>
#include <utility>

namespace Kav {
class ErrorLog;
namespace MCADCmd {
class CommandInterface;
}
namespace MCADVisProp {

// The snapshot of that name that can be restored: null with "MCADVisProp-0007" (no such
// snapshot) or "MCADVisProp-0008" (no restore information; also an empty one when
// `emptyRefused`) in `errorId` and the reason in `log`.
CAD::Report* findRestorableSnapshot(MCADCmd::CommandInterface const* ci, QString const& name, bool emptyRefused,
                                    QString* errorId, ErrorLog* log);

// The scene element of that name; null for none and for a snapshot.
CAD::Element* sceneElement(MCADCmd::CommandInterface const* ci, QString const& name);

// Reads the optional "template" entry of a snapshot tool's parameters: null when there is none.
std::unique_ptr<PropertyAccess::PropAccTemplate> takeTemplate(QString& parameters);

// The properties a restore applies each access with: its own flags, with those a template
// part lists for its type set as the part says.
class EnabledProperties {
public:
    // Without a template, each access's own flags.
    explicit EnabledProperties(PropertyAccess::PropAccTemplate const* tmpl);
    IdSet of(PropertyAccess::PropertyAccessBase const& access);
    // Whether no access of `type` has anything enabled (a part that enables nothing).
    bool noneOf(PropertyAccess::PropAccessType_t type);

private:
    PropertyAccess::PropAccTemplate const* tmpl_;
    std::map<PropertyAccess::PropAccessType_t, PropertyAccess::PropAccTemplatePart> parts_;
    // Accesses mostly share their flags: one set per flags and type. The accesses asked
    // about must live as long as this object (their flags are known by address).
    std::map<std::pair<PropertyAccess::UsageFlags const*, int>, IdSet> sets_;
    std::pair<PropertyAccess::UsageFlags const*, int> lastKey_{nullptr, 0};
    IdSet last_;
    PropertyAccess::PropAccTemplatePart const& part(PropertyAccess::PropAccessType_t type);
};

// Finds the accesses of a snapshot by the name of their object. A snapshot holds its
// elements in the scene's order after the view and the legend, so the place a caller
// expects is tried first; only when that misses is an index of all names made.
class AccessFinder {
public:
    explicit AccessFinder(CAD::Report::AccessList const& accesses);
    // The place of the element access (any but the view's and the legend's) of `name`, or
    // -1. `expected` is where it should be, e.g. its place in another snapshot.
    long find(QString const& name, long expected);
    // The place an element at `sceneIndex` in the scene had when the snapshot was made.
    long expectedForScene(std::size_t sceneIndex) const { return static_cast<long>(sceneIndex) + lead_; }

private:
    bool holds(long at, QString const& name) const;

    CAD::Report::AccessList const& accesses_;
    long lead_ = 0;  // accesses before the first element
    QHash<QString, long> index_;
    bool indexed_ = false;
};

} // namespace MCADVisProp
} // namespace Kav
