#pragma once
#include "mvp_export.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

namespace Kav {
namespace MCADVisProp {

// CAD containers (type 2). The scene has none any more: the access still loads and saves
// its one flag so that old snapshots open, but every scene operation raises ProgError.
class MVP_EXPORT CADContainerPropertyAccess : public PropertyAccess::PropertyAccessBase {
public:
    CADContainerPropertyAccess();
    CADContainerPropertyAccess(CADContainerPropertyAccess const& other) = default;
    CADContainerPropertyAccess& operator=(CADContainerPropertyAccess const& other) = default;
    ~CADContainerPropertyAccess() override;

    unsigned int getNumberOfBlocks() const override;
    void saveStream(IO::OutStream* out) const override;
    unsigned int loadStream(IO::InStream* in) override;
    void apply(QString const& name) const override;
    void extract(QString const& name) override;
    void setNewInvisible(QString const& name) override;
    PropertyAccessBase* copy() const override;
    QString getTypeString() const override;
    QString getTypeDescription() const override;
    // The stored flag; setVisible (the host base's) does not change it.
    bool isVisible() const override;
    unsigned int memSize() const override;

private:
    unsigned int getMainBlockSize() const;

    bool visible = true;
};

class MVP_EXPORT CADContainerPropertyAccessCreator : public PropertyAccess::PropertyAccessCreator {
public:
    CADContainerPropertyAccessCreator();
    PropertyAccess::PropertyAccessBase* create() const override;
    PropertyAccess::PropTemplateCat_t getPropertyDescriptions(PropertyAccess::PropertyDescriptions* out) const override;
};

} // namespace MCADVisProp
} // namespace Kav
