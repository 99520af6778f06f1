#pragma once
#include "mvp_export.h"
#include "core/kav_vec.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

namespace Kav {
namespace MCADVisProp {

// The main 3D view's rotation, translation, zoom and per-axis scale (type 0).
class MVP_EXPORT GLViewPropertyAccess : public PropertyAccess::PropertyAccessBase {
public:
    GLViewPropertyAccess();
    GLViewPropertyAccess(GLViewPropertyAccess const& other) = default;
    GLViewPropertyAccess& operator=(GLViewPropertyAccess const& other) = default;
    ~GLViewPropertyAccess() override;

    unsigned int getNumberOfBlocks() const override;
    void saveStream(IO::OutStream* out) const override;
    unsigned int loadStream(IO::InStream* in) override;
    void apply(QString const& name) const override;
    void extract(QString const& name) override;
    PropertyAccessBase* copy() const override;
    QString getTypeString() const override;
    QString getTypeDescription() const override;
    unsigned int memSize() const override;

    BaVec3d<double> const& getRotation() const { return rotation; }
    BaVec3d<double> const& getTranslation() const { return translation; }
    BaVec3d<double> const& getAxisScale() const { return axisScale; }
    double getScale() const { return scale; }

private:
    // The plug-in's knowledge of these values, for comparing and taking them (mvp_access_fields.h).
    friend class GLViewFields;

    unsigned int getMainBlockSize() const;

    BaVec3d<double> rotation;
    BaVec3d<double> translation;
    BaVec3d<double> axisScale;
    double scale = 1.0;
};

class MVP_EXPORT GLViewPropertyAccessCreator : public PropertyAccess::PropertyAccessCreator {
public:
    GLViewPropertyAccessCreator();
    PropertyAccess::PropertyAccessBase* create() const override;
    PropertyAccess::PropTemplateCat_t getPropertyDescriptions(PropertyAccess::PropertyDescriptions* out) const override;
};

} // namespace MCADVisProp
} // namespace Kav
