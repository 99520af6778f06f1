#pragma once

#include "kavhost_export.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Kav {
namespace PropertyAccess {
class PropertyAccessBase;
}
namespace CAD {

// The accesses reports hold. Two accesses are alike when they have the same type, the same
// host base data (explorer name, usage flags, visibility) and the same stream form (the bytes
// saveStream writes); snapshots of one scene mostly are, and share() holds alike ones once.
// Held accesses are never changed in place, so one can stand for every report that holds an
// equal one. Reference counted (the count lives in the access): the last holder to let go
// deletes it. One per process (kavhost); reports of every scene share it.
class KAVHOST_EXPORT SharedAccesses {
public:
    static SharedAccesses& instance();

    // Takes `access` (the caller's until now) and answers the access to hold instead: an
    // equal one already held (and `access` is deleted), or `access` itself. Either way the
    // caller is one more holder. An access already held is simply held once more.
    PropertyAccess::PropertyAccessBase* share(PropertyAccess::PropertyAccessBase* access);
    // share() for each access of a report's list, in place. The stream forms of the last
    // list shared are kept: a snapshot mostly holds what the one before held at the same
    // place, and is then compared with it without a lookup or writing it again.
    void shareAll(std::vector<PropertyAccess::PropertyAccessBase*>& accesses);
    // Like share(), with the access's stream form at hand (a project file stores it).
    PropertyAccess::PropertyAccessBase* share(PropertyAccess::PropertyAccessBase* access, QByteArray const& bytes);
    // One holder more for each of `count` accesses, without comparing: one not held yet is
    // held as it is, and share() never takes it for an equal one (a snapshot makes new
    // accesses only for elements that changed, which mostly differ from all held).
    void hold(PropertyAccess::PropertyAccessBase* const* accesses, std::size_t count);
    // One holder less; the last one deletes the access. An access not held is left alone.
    void release(PropertyAccess::PropertyAccessBase const* access);

    // How many hold `access`; 0 for one not held here or null.
    unsigned int holders(PropertyAccess::PropertyAccessBase const* access) const;
    // Distinct accesses held.
    std::size_t size() const;

    // The stream form share() compares: the access's blocks as saveStream writes them, in a
    // bare memory stream (no header, no checksum). Throws IO::StreamException when the
    // access cannot be written.
    static QByteArray streamForm(PropertyAccess::PropertyAccessBase const& access);

    SharedAccesses(SharedAccesses const&) = delete;
    SharedAccesses& operator=(SharedAccesses const&) = delete;

private:
    SharedAccesses();
    ~SharedAccesses();
    struct Data;
    std::unique_ptr<Data> d_;
};

} // namespace CAD
} // namespace Kav
