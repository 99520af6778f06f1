#pragma once
#include "mvp_export.h"
#include "core/kav_kstring.h"
#include "core/kav_vec.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

namespace Kav {
namespace MCADVisProp {

// The global legend's settings as the legend's own stream data, and its overlay position
// (type 1). Only accesses read from version 2 blocks carry a position to apply.
class MVP_EXPORT LegendPropertyAccess : public PropertyAccess::PropertyAccessBase {
public:
    LegendPropertyAccess();
    LegendPropertyAccess(LegendPropertyAccess const& other) = default;
    LegendPropertyAccess& operator=(LegendPropertyAccess const& other) = default;
    ~LegendPropertyAccess() override;

    unsigned int getNumberOfBlocks() const override;
    void saveStream(IO::OutStream* out) const override;
    unsigned int loadStream(IO::InStream* in) override;
    void apply(QString const& name) const override;
    void extract(QString const& name) override;
    PropertyAccessBase* copy() const override;
    QString getTypeString() const override;
    QString getTypeDescription() const override;
    unsigned int memSize() const override;

    KString const& getLegendData() const { return legendData; }
    BaVec2d<double> const& getLegendPosition() const { return legendPosition; }
    bool getHasLegendPosition() const { return hasLegendPosition; }

private:
    // The plug-in's knowledge of these values, for comparing and taking them (mvp_access_fields.h).
    friend class LegendFields;

    unsigned int getMainBlockSize() const;

    KString legendData;
    BaVec2d<double> legendPosition;
    bool hasLegendPosition = false;
};

class MVP_EXPORT LegendPropertyAccessCreator : public PropertyAccess::PropertyAccessCreator {
public:
    LegendPropertyAccessCreator();
    PropertyAccess::PropertyAccessBase* create() const override;
    PropertyAccess::PropTemplateCat_t getPropertyDescriptions(PropertyAccess::PropertyDescriptions* out) const override;
};

} // namespace MCADVisProp
} // namespace Kav
