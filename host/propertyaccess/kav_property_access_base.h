#pragma once

#include "kav_property_access_types.h"
#include "kavhost_export.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

namespace Kav {
namespace IO {
class OutStream;
class InStream;
} // namespace IO
namespace CAD {
class TokenContainer;
class SharedAccesses;
} // namespace CAD

namespace PropertyAccess {

using UsageFlags = std::map<PropTemplateID_t, bool>;

// Captures the visual state of one scene object and puts it back. The base keeps the type,
// the explorer name of the captured object and the usage flags that gate each property on
// apply. A new access has a flag for every id its type's creator declares, all true.
class KAVHOST_EXPORT PropertyAccessBase {
public:
    explicit PropertyAccessBase(PropAccessType_t type);
    PropertyAccessBase(PropertyAccessBase const& other);
    PropertyAccessBase& operator=(PropertyAccessBase const& other);

    virtual ~PropertyAccessBase();
    virtual unsigned int getNumberOfBlocks() const = 0;
    virtual void saveStream(IO::OutStream* out) const = 0;
    // Answers the number of blocks read; 0 when the main block's version is not supported.
    virtual unsigned int loadStream(IO::InStream* in) = 0;
    virtual void apply(QString const& name) const = 0;
    virtual void extract(QString const& name) = 0;
    virtual void setNewInvisible(QString const& name);
    // A new heap object of the same class; the caller owns it.
    virtual PropertyAccessBase* copy() const = 0;
    virtual void updateKeywords(CAD::TokenContainer const& tokens);
    virtual QString getTypeString() const = 0;
    virtual QString getTypeDescription() const = 0;
    virtual void setVisible(bool visible);
    virtual bool isVisible() const;
    virtual unsigned int memSize() const = 0;

    // Copies the base's data (type, explorer name, usage flags, visibility) into `target`.
    // A copy is not held by anyone (CAD::SharedAccesses).
    void copyTo(PropertyAccessBase* target) const;

    PropAccessType_t getType() const { return type_; }
    void setExplorerName(QString const& name) { explorerName_ = name; }
    QString const& getExplorerName() const { return explorerName_; }

    // Valid until a flag of this access is set.
    UsageFlags const& getUsageFlags() const { return *usage_; }
    void setUsageFlags(UsageFlags const& flags);
    void setUsageFlag(PropTemplateID_t id, bool used);
    // False for an id without a flag.
    bool getUsageFlag(PropTemplateID_t id) const;

private:
    PropAccessType_t type_;
    QString explorerName_;
    // Shared between copies and with every new access of the type until one changes a flag:
    // a snapshot holds one access per element, and most never differ from the defaults.
    std::shared_ptr<UsageFlags> usage_;
    bool visible_ = true;

    // CAD::SharedAccesses' bookkeeping, kept here: a snapshot holds every access it takes
    // once more, and finding each one in a table cost more than the rest of the snapshot.
    friend class CAD::SharedAccesses;
    struct Holding {
        std::uint64_t hash = 0;
        std::size_t recent = static_cast<std::size_t>(-1);
        unsigned int holders = 0;
        bool indexed = false; // findable by its stream form
    };
    mutable Holding holding_;
};

} // namespace PropertyAccess
} // namespace Kav
