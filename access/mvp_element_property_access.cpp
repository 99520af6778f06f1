#include "access/mvp_element_property_access.h"

#include "access/mvp_property_access_p.h"
#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_error_log.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "gcad/kav_gcad.h"
#include "gl/kav_view.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"

#include <new>

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {
constexpr unsigned int OLDEST_VERSION = 1;
constexpr unsigned int VERSION = 6;
// The first versions that hold a field; older blocks give it a default.
constexpr unsigned int USES_DEFAULT_VERSION = 2;
constexpr unsigned int PULL_OUT_VERSION = 3;
constexpr unsigned int ORIGIN_OFFSET_VERSION = 4;
constexpr unsigned int ELEMENT_TYPE_VERSION = 5;
constexpr unsigned int SECTION_VERSION = 6;

constexpr unsigned int FILLER_VERSION = 1;
constexpr unsigned int BLOCK_COUNT = 4;
constexpr unsigned int MEM_SIZE = 2437;

// The render side that the label work uses; any part of it may be missing.
struct RenderSide {
    GL::RenderObject* renderObject = nullptr;
    GCAD::Overlay2d* overlay = nullptr;

    explicit RenderSide(MCADCmd::CommandInterface* ci)
    {
        if (GCAD::RenderCallback* callback = ci->getRenderCallback()) {
            renderObject = callback->getRenderObject();
            overlay = callback->getOverlay2d();
        }
    }
};

CAD::Element* elementNamed(MCADCmd::CommandInterface* ci, QString const& name)
{
    return ci->getCADElementForElement(name).getElement();
}
} // namespace

CADElementPropertyAccess::CADElementPropertyAccess() : PropertyAccessBase(PROP_ACC_CAD_ELEMENT) {}

CADElementPropertyAccess::~CADElementPropertyAccess() = default;

unsigned int CADElementPropertyAccess::getNumberOfBlocks() const
{
    return BLOCK_COUNT;
}

unsigned int CADElementPropertyAccess::getMainBlockSize() const
{
    using IO::Stream;
    return Stream::SizeBool            // visible
           + Stream::SizeBool          // autoLabelPlacement
           + Stream::SizeVec2d         // labelPosition
           + Stream::SizeVec3d         // manualOriginOffset
           + Stream::SizeBool          // labelVisible
           + Stream::SizeBool          // usesDefaultProperties
           + Stream::SizeBool          // hasPullOut
           + Stream::SizeVec3d         // pullOutPoint
           + Stream::SizeBool          // firstKink
           + Stream::SizeUInt          // elementType
           + Stream::SizeBool          // isSectionInsp2d
           + Stream::SizeBool          // autoSampling
           + Stream::SizeDouble;       // sampling
}

void CADElementPropertyAccess::saveStream(IO::OutStream* out) const
{
    out->beginBlock(getMainBlockSize(), VERSION);
    out->writeBool(visible);
    out->writeBool(autoLabelPlacement);
    IO::writeVec2d(out, labelPosition);
    IO::writeVec3d(out, manualOriginOffset);
    out->writeBool(labelVisible);
    out->writeBool(usesDefaultProperties);
    out->writeBool(hasPullOut);
    IO::writeVec3d(out, pullOutPoint);
    out->writeBool(firstKink);
    out->writeUInt(elementType);
    out->writeBool(isSectionInsp2d);
    out->writeBool(autoSampling);
    out->writeDouble(sampling);
    out->endBlock();

    ErrorLog log(false);
    if (usesDefaultProperties) {
        if (!defaultProperties.saveStream(out, &log, -1, -1))
            throw IO::StreamException(log.getLog());
    } else {
        if (!elemProp.saveStream(out, &log, -1, -1))
            throw IO::StreamException(log.getLog());
        // Readers of the ElemProp form expect one more block after the properties.
        out->beginBlock(IO::Stream::SizeBool, FILLER_VERSION);
        out->writeBool(true);
        out->endBlock();
    }
    labelTemplate.saveStream(out);
}

unsigned int CADElementPropertyAccess::loadStream(IO::InStream* in)
{
    in->openBlock();
    unsigned int const version = in->getBlockVersion();
    if (version < OLDEST_VERSION || version > VERSION) {
        usesDefaultProperties = true;
        hasPullOut = false;
        isSectionInsp2d = false;
        return 0;
    }
    // Read into a copy: a block that ends early throws, and must leave this access as it
    // was. Each result below takes over what was read up to there.
    CADElementPropertyAccess next(*this);
    next.usesDefaultProperties = true;
    next.hasPullOut = false;
    next.isSectionInsp2d = false;
    in->readBool(&next.visible);
    in->readBool(&next.autoLabelPlacement);
    IO::readVec2d(in, &next.labelPosition);
    next.hasManualOriginOffset = version >= ORIGIN_OFFSET_VERSION;
    if (next.hasManualOriginOffset)
        IO::readVec3d(in, &next.manualOriginOffset);
    else
        next.manualOriginOffset = BaVec3d<double>(0.0, 0.0, 0.0);
    in->readBool(&next.labelVisible);
    if (version >= USES_DEFAULT_VERSION)
        in->readBool(&next.usesDefaultProperties);
    if (version >= PULL_OUT_VERSION) {
        in->readBool(&next.hasPullOut);
        IO::readVec3d(in, &next.pullOutPoint);
        in->readBool(&next.firstKink);
    }
    next.elementType = version >= ELEMENT_TYPE_VERSION ? in->readUInt() : UNKNOWN_ELEMENT_TYPE;
    if (version >= SECTION_VERSION) {
        in->readBool(&next.isSectionInsp2d);
        in->readBool(&next.autoSampling);
        in->readDouble(&next.sampling);
    }
    requireInRange(in, Limits::OVERLAY.contains(next.labelPosition), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the label's position"));
    requireInRange(in, Limits::COORDINATE.contains(next.manualOriginOffset), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the label's origin"));
    requireInRange(in, Limits::COORDINATE.contains(next.pullOutPoint), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the pull-out point"));
    requireInRange(in, !next.isSectionInsp2d || next.autoSampling || Limits::POSITIVE_LENGTH.contains(next.sampling), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the sampling"));
    in->closeBlock();

    ErrorLog log(false);
    bool propertiesRead = false;
    if (next.usesDefaultProperties) {
        propertiesRead = next.defaultProperties.loadStream(in, &log, -1, -1);
    } else {
        propertiesRead = next.elemProp.loadStream(in, &log, -1, -1);
        if (propertiesRead) {
            in->openBlock();
            in->closeBlock();
        }
    }
    if (!propertiesRead) {
        // The main block is read; properties that failed part way are not taken over.
        next.defaultProperties = defaultProperties;
        next.elemProp = elemProp;
        *this = next;
        return 1;
    }

    unsigned int blocks = BLOCK_COUNT;
    try {
        GLabel::LabelTemplate label = next.labelTemplate;
        label.loadStream(in);
        next.labelTemplate = label;
    } catch (IO::StreamException const&) {
        blocks = 3;
    }
    *this = next;
    return blocks;
}

void CADElementPropertyAccess::extract(QString const& name)
{
    MCADCmd::CommandInterface* ci =
        requireInterface("Kav::MCADVisProp::CADElementPropertyAccess::extract", __LINE__);
    CAD::Element* element = elementNamed(ci, name);
    if (!element)
        return;
    setExplorerName(ci->getNameForElement(name));
    directExtract(element);
}

void CADElementPropertyAccess::directExtract(CAD::Element* element)
{
    MCADCmd::CommandInterface* ci =
        requireInterface("Kav::MCADVisProp::CADElementPropertyAccess::directExtract", __LINE__);
    isSectionInsp2d = false;
    if (!element)
        return;

    elementType = element->getElementType();
    usesDefaultProperties = false;
    hasPullOut = false;
    elemProp = *element->getElemProperties();
    visible = element->isVisible(CAD::VISIBLE_OWN);

    if (auto* section = dynamic_cast<CAD::SectionInsp2d*>(element)) {
        isSectionInsp2d = true;
        autoSampling = section->isAutoSampling();
        sampling = section->getSampling();
    }

    if (CAD::DistPullOut* pullOut = element->getDistPullOut()) {
        hasPullOut = true;
        pullOutPoint = pullOut->getPullOutPoint();
        firstKink = pullOut->getFirstKink();
    }

    if (LabelElement* label = element->getLabel()) {
        labelTemplate.extract(label);
        autoLabelPlacement = label->isAutoLabelPlacement();
        RenderSide const render(ci);
        if (render.overlay)
            labelPosition = render.overlay->getLabelPosition(element);
        manualOriginOffset = label->getManualOriginOffset();
        labelVisible = label->isLabelVisible();
        hasManualOriginOffset = true;
    }
}

void CADElementPropertyAccess::apply(QString const& name) const
{
    MCADCmd::CommandInterface* ci =
        requireInterface("Kav::MCADVisProp::CADElementPropertyAccess::apply", __LINE__);
    if (CAD::Element* element = elementNamed(ci, name))
        directApply(element);
}

void CADElementPropertyAccess::directApply(CAD::Element* element) const
{
    MCADCmd::CommandInterface* ci =
        requireInterface("Kav::MCADVisProp::CADElementPropertyAccess::directApply", __LINE__);
    StageIdentifier const stage = ci->getActualStageIdentifier();
    bool resampled = false;
    if (!element)
        return;

    if (getUsageFlag(PROP_ELEMENT_VISUALIZATION)) {
        // Selection and highlight are the element's present interaction state, not part of
        // how it looked.
        CAD::ElemProp props = elemProp;
        CAD::ElemProp* current = element->getElemProperties();
        props.selected = current->selected;
        props.highlighted = current->highlighted;
        if (usesDefaultProperties)
            element->applyDefaultProperties(defaultProperties);
        else
            *current = props;

        auto* section = dynamic_cast<CAD::SectionInsp2d*>(element);
        // A step this section cannot be sampled with stays unapplied, so that what the
        // element holds always resamples.
        if (isSectionInsp2d && section && CAD::SectionInsp2d::canSample(autoSampling, sampling, section->getRadius())) {
            resampled = true;
            section->setSampling(autoSampling, sampling);
            try {
                section->resample(stage, true);
                section->updateDistances(stage, -1, -1);
            } catch (std::bad_alloc const&) {
                // A sampling too fine for memory: the element keeps what it could compute,
                // and the rest of the restore goes on.
            }
        }
    }

    if (getUsageFlag(PROP_ELEMENT_VISIBILITY))
        element->setElementVisible(visible);

    if (getUsageFlag(PROP_ELEMENT_PULLOUT_DISTANCE)) {
        CAD::DistPullOut* pullOut = element->getDistPullOut();
        if (hasPullOut && pullOut) {
            pullOut->setPullOutPoint(pullOutPoint);
            pullOut->setFirstKink(firstKink);
        }
    }

    if (LabelElement* label = element->getLabel()) {
        if (getUsageFlag(PROP_LABEL_CONTENT_TEMPLATE))
            labelTemplate.apply(label);
        if (getUsageFlag(PROP_LABEL_VISIBILITY))
            label->setVisible(labelVisible);
        if (getUsageFlag(PROP_LABEL_AUTO_PLACEMENT))
            label->setAutoLabelPlacement(autoLabelPlacement);

        // The label's figures follow the element whatever was restored.
        RenderSide const render(ci);
        Transformation const toWindow =
            render.renderObject ? render.renderObject->get3d2dTransformation() : Transformation();
        label->updateFigureElements(stage, 0, toWindow, 0.0);
        if (render.overlay)
            render.overlay->placeElement(label, stage, labelPosition);
        if (label->hasConnectorPoint(stage) && hasManualOriginOffset)
            label->setManualOriginOffset(manualOriginOffset);
        if (Fig2::Label* text = label->getLabelFigText())
            text->updateForStage(stage, 0, 0);
    }

    element->updateAfterChange(stage, true, resampled);
}

void CADElementPropertyAccess::setNewInvisible(QString const& name)
{
    MCADCmd::CommandInterface* ci =
        requireInterface("Kav::MCADVisProp::CADElementPropertyAccess::setNewInvisible", __LINE__);
    CAD::Element* element = elementNamed(ci, name);
    if (!element)
        return;
    QString parent;
    // A sub-element is shown or hidden with its parent.
    if (!ci->getParentElement(name, &parent))
        element->setElementVisible(false);
}

PropertyAccessBase* CADElementPropertyAccess::copy() const
{
    auto* access = new CADElementPropertyAccess;
    *access = *this;
    return access;
}

QString CADElementPropertyAccess::getTypeString() const
{
    if (elementType == UNKNOWN_ELEMENT_TYPE)
        return QString();
    return CAD::ElementCreator::getTypeName(elementType);
}

QString CADElementPropertyAccess::getTypeDescription() const
{
    if (elementType == UNKNOWN_ELEMENT_TYPE)
        return QString();
    return CAD::ElementCreator::getTypeDescription(elementType);
}

void CADElementPropertyAccess::setVisible(bool v)
{
    visible = v;
}

unsigned int CADElementPropertyAccess::memSize() const
{
    return MEM_SIZE;
}

CADElementPropertyAccessCreator::CADElementPropertyAccessCreator() : PropertyAccessCreator(PROP_ACC_CAD_ELEMENT) {}

PropertyAccessBase* CADElementPropertyAccessCreator::create() const
{
    return new CADElementPropertyAccess;
}

PropTemplateCat_t CADElementPropertyAccessCreator::getPropertyDescriptions(PropertyDescriptions* out) const
{
    out->emplace_back(PROP_ELEMENT_VISIBILITY, translate("MCADVisProp", "element visibility"));
    out->emplace_back(PROP_ELEMENT_VISUALIZATION, translate("MCADVisProp", "element visualization"));
    out->emplace_back(PROP_ELEMENT_PULLOUT_DISTANCE, translate("MCADVisProp", "element pullout distance"));
    out->emplace_back(PROP_LABEL_VISIBILITY, translate("MCADVisProp", "label visibility"));
    out->emplace_back(PROP_LABEL_AUTO_PLACEMENT, translate("MCADVisProp", "label auto placement"));
    out->emplace_back(PROP_LABEL_CONTENT_TEMPLATE, translate("MCADVisProp", "label content template"));
    return CAT_RESTORE_EXPLORER_ELEMENTS;
}

} // namespace MCADVisProp
} // namespace Kav
