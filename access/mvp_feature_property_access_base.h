#pragma once
#include "mvp_export.h"
#include "access/mvp_element_property_access.h"
#include "propertyaccess/kav_property_access_base.h"

namespace Kav {
namespace MCADVisProp {

// Base of the property accesses of features defined in other libraries. A feature access
// holds an element access for the feature's element and three values of its own, which the
// base stores, copies and streams (a block of its own in front of the element's blocks).
// Scene work and type naming are the derived class's.
class MVP_EXPORT FeaturePropertyAccessBase : public PropertyAccess::PropertyAccessBase {
public:
    explicit FeaturePropertyAccessBase(PropertyAccess::PropAccessType_t type);
    FeaturePropertyAccessBase(FeaturePropertyAccessBase const& other) = default;
    FeaturePropertyAccessBase& operator=(FeaturePropertyAccessBase const& other) = default;
    ~FeaturePropertyAccessBase() override;

    unsigned int getNumberOfBlocks() const override;
    void saveStream(IO::OutStream* out) const override;
    // 5 when all is read; 0 for an unsupported feature block; 1, 2 or 4 when the element
    // access stops early.
    unsigned int loadStream(IO::InStream* in) override;
    void apply(QString const& name) const override = 0;
    void extract(QString const& name) override = 0;
    PropertyAccessBase* copy() const override = 0;
    QString getTypeString() const override = 0;
    QString getTypeDescription() const override = 0;
    unsigned int memSize() const override;

    // The host base's data, then the feature's values and element access, into `target`.
    virtual void copyTo(FeaturePropertyAccessBase* target) const;
    using PropertyAccessBase::copyTo;

protected:
    unsigned int getMainBlockSize() const;

    bool featureFlag = false;
    CADElementPropertyAccess elementAccess;
    bool featureFlag2 = false;
    unsigned int featureValue = 0;
};

} // namespace MCADVisProp
} // namespace Kav
