#pragma once
#include "mvp_export.h"
#include "cad/kav_elem_prop.h"
#include "core/kav_vec.h"
#include "glabel/kav_label_element.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

namespace Kav {
namespace CAD {
class Element;
}
namespace MCADVisProp {

// How one CAD element is shown (type 3): visibility, visual properties, its label, its
// pull-out and, for 2D section inspections, their sampling. Stored as a main block, the
// properties (ElemProp and a filler block, or the older DefaultProperties) and the label
// template.
class MVP_EXPORT CADElementPropertyAccess : public PropertyAccess::PropertyAccessBase {
public:
    static constexpr unsigned int UNKNOWN_ELEMENT_TYPE = 0xFFFFFFFFu;

    CADElementPropertyAccess();
    CADElementPropertyAccess(CADElementPropertyAccess const& other) = default;
    CADElementPropertyAccess& operator=(CADElementPropertyAccess const& other) = default;
    ~CADElementPropertyAccess() override;

    unsigned int getNumberOfBlocks() const override;
    void saveStream(IO::OutStream* out) const override;
    // 4 when all is read; 0 for an unsupported main block, 1 when the properties cannot be
    // read, 3 when the label template cannot.
    unsigned int loadStream(IO::InStream* in) override;
    void apply(QString const& name) const override;
    void extract(QString const& name) override;
    // Hides the element unless it is a sub-element.
    void setNewInvisible(QString const& name) override;
    PropertyAccessBase* copy() const override;
    QString getTypeString() const override;
    QString getTypeDescription() const override;
    void setVisible(bool visible) override;
    unsigned int memSize() const override;

    // The work of extract and apply on an element the caller already holds.
    void directExtract(CAD::Element* element);
    void directApply(CAD::Element* element) const;

    CAD::DefaultProperties const& getDefaultProperties() const { return defaultProperties; }
    CAD::ElemProp const& getElemProp() const { return elemProp; }
    bool getUsesDefaultProperties() const { return usesDefaultProperties; }
    bool getVisible() const { return visible; }
    GLabel::LabelTemplate const& getLabelTemplate() const { return labelTemplate; }
    bool getAutoLabelPlacement() const { return autoLabelPlacement; }
    BaVec2d<double> const& getLabelPosition() const { return labelPosition; }
    BaVec3d<double> const& getManualOriginOffset() const { return manualOriginOffset; }
    bool getLabelVisible() const { return labelVisible; }
    bool getHasPullOut() const { return hasPullOut; }
    BaVec3d<double> const& getPullOutPoint() const { return pullOutPoint; }
    bool getFirstKink() const { return firstKink; }
    bool getHasManualOriginOffset() const { return hasManualOriginOffset; }
    bool getIsSectionInsp2d() const { return isSectionInsp2d; }
    bool getAutoSampling() const { return autoSampling; }
    double getSampling() const { return sampling; }
    unsigned int getElementType() const { return elementType; }

private:
    // The plug-in's knowledge of these values, for comparing and taking them (mvp_access_fields.h).
    friend class ElementFields;

    unsigned int getMainBlockSize() const;

    CAD::DefaultProperties defaultProperties;
    CAD::ElemProp elemProp;
    bool usesDefaultProperties = false;
    bool visible = true;
    GLabel::LabelTemplate labelTemplate;
    bool autoLabelPlacement = true;
    BaVec2d<double> labelPosition;
    BaVec3d<double> manualOriginOffset;
    bool labelVisible = true;
    bool hasPullOut = false;
    BaVec3d<double> pullOutPoint;
    bool firstKink = false;
    bool hasManualOriginOffset = false;
    bool isSectionInsp2d = false;
    bool autoSampling = true;
    double sampling = 0.0;
    unsigned int elementType = UNKNOWN_ELEMENT_TYPE;
};

class MVP_EXPORT CADElementPropertyAccessCreator : public PropertyAccess::PropertyAccessCreator {
public:
    CADElementPropertyAccessCreator();
    PropertyAccess::PropertyAccessBase* create() const override;
    PropertyAccess::PropTemplateCat_t getPropertyDescriptions(PropertyAccess::PropertyDescriptions* out) const override;
};

} // namespace MCADVisProp
} // namespace Kav
