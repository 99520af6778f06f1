#include "access/mvp_element_property_access.h"

#include "access/mvp_access_fields_p.h"
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

namespace {
using A = CADElementPropertyAccess;
} // namespace

// What a restore applies of an element access, after directApply: the visual properties
// (only colour and transparency from the older form; a section's sampling only where it can
// be sampled so), visibility, the pull-out where the element has one, the label's values
// where it has a label. The label's position and origin are applied whatever the flags,
// and the position stays only where the label ends up placed by hand (the others are placed
// again beside their anchors).
class ElementFields : public FieldTable<A> {
public:
    ElementFields()
    {
        auto visual = [](A const& s, A const&, IdSet, CAD::Element*) { return !s.usesDefaultProperties; };
        auto label = [](A const&, A const&, IdSet, CAD::Element* e) { return e == nullptr || e->getLabel() != nullptr; };
        auto pullOut = [](A const& s, A const&, IdSet, CAD::Element* e) {
            return s.hasPullOut && (e == nullptr || e->getDistPullOut() != nullptr);
        };
        fields_ = {
            {PROP_ELEMENT_VISUALIZATION, true, "color", nullptr,
             [](A const& a, A const& b) { return color(a) == color(b); }, [](A const& a) { return colorText(color(a)); }},
            {PROP_ELEMENT_VISUALIZATION, true, "transparency", nullptr,
             [](A const& a, A const& b) { return transparency(a) == transparency(b); },
             [](A const& a) { return numberText(transparency(a)); }},
            {PROP_ELEMENT_VISUALIZATION, true, "display_mode", visual,
             [](A const& a, A const& b) { return a.elemProp.displayMode == b.elemProp.displayMode; },
             [](A const& a) { return displayModeText(a.elemProp.displayMode); }},
            {PROP_ELEMENT_VISUALIZATION, true, "point_size", visual,
             [](A const& a, A const& b) { return a.elemProp.pointSize == b.elemProp.pointSize; },
             [](A const& a) { return numberText(a.elemProp.pointSize); }},
            {PROP_ELEMENT_VISUALIZATION, true, "line_width", visual,
             [](A const& a, A const& b) { return a.elemProp.lineWidth == b.elemProp.lineWidth; },
             [](A const& a) { return numberText(a.elemProp.lineWidth); }},
            {PROP_ELEMENT_VISUALIZATION, true, "sampling",
             [](A const& s, A const&, IdSet, CAD::Element* e) {
                 auto const* section = dynamic_cast<CAD::SectionInsp2d const*>(e);
                 return s.isSectionInsp2d
                        && (e == nullptr
                            || (section != nullptr
                                && CAD::SectionInsp2d::canSample(s.autoSampling, s.sampling, section->getRadius())));
             },
             [](A const& a, A const& b) {
                 return a.autoSampling == b.autoSampling && (a.autoSampling || a.sampling == b.sampling);
             },
             [](A const& a) { return a.autoSampling ? QStringLiteral("auto") : numberText(a.sampling); }},
            {PROP_ELEMENT_VISIBILITY, true, "visible", nullptr, [](A const& a, A const& b) { return a.visible == b.visible; },
             [](A const& a) { return boolText(a.visible); }},
            {PROP_ELEMENT_PULLOUT_DISTANCE, true, "pullout", pullOut,
             [](A const& a, A const& b) { return a.pullOutPoint == b.pullOutPoint; },
             [](A const& a) { return listText({a.pullOutPoint.x, a.pullOutPoint.y, a.pullOutPoint.z}); }},
            {PROP_ELEMENT_PULLOUT_DISTANCE, true, "first_kink", pullOut,
             [](A const& a, A const& b) { return a.firstKink == b.firstKink; }, [](A const& a) { return boolText(a.firstKink); }},
            {PROP_LABEL_CONTENT_TEMPLATE, true, "label_template", label,
             [](A const& a, A const& b) { return a.labelTemplate.getContent() == b.labelTemplate.getContent(); },
             [](A const& a) { return a.labelTemplate.getContent(); }},
            {PROP_LABEL_CONTENT_TEMPLATE, true, "label_font", label,
             [](A const& a, A const& b) { return a.labelTemplate.getFontSize() == b.labelTemplate.getFontSize(); },
             [](A const& a) { return QString::number(a.labelTemplate.getFontSize()); }},
            {PROP_LABEL_CONTENT_TEMPLATE, true, "label_frame", label,
             [](A const& a, A const& b) { return a.labelTemplate.hasFrame() == b.labelTemplate.hasFrame(); },
             [](A const& a) { return boolText(a.labelTemplate.hasFrame()); }},
            {PROP_LABEL_VISIBILITY, true, "label_visible", label,
             [](A const& a, A const& b) { return a.labelVisible == b.labelVisible; },
             [](A const& a) { return boolText(a.labelVisible); }},
            {PROP_LABEL_AUTO_PLACEMENT, true, "label_auto", label,
             [](A const& a, A const& b) { return a.autoLabelPlacement == b.autoLabelPlacement; },
             [](A const& a) { return boolText(a.autoLabelPlacement); }},
            {PROP_LABEL_AUTO_PLACEMENT, false, "label_position",
             [](A const& s, A const& c, IdSet enabled, CAD::Element* e) {
                 bool const placedByHand =
                     !(enabled.has(PROP_LABEL_AUTO_PLACEMENT) ? s.autoLabelPlacement : c.autoLabelPlacement);
                 return placedByHand && (e == nullptr || e->getLabel() != nullptr);
             },
             [](A const& a, A const& b) { return a.labelPosition == b.labelPosition; },
             [](A const& a) { return listText({a.labelPosition.x, a.labelPosition.y}); }},
            {PROP_LABEL_AUTO_PLACEMENT, false, "label_origin",
             [](A const& s, A const&, IdSet, CAD::Element* e) {
                 LabelElement const* l = e != nullptr ? e->getLabel() : nullptr;
                 return s.hasManualOriginOffset && (e == nullptr || (l != nullptr && l->hasConnectorPoint(StageIdentifier())));
             },
             [](A const& a, A const& b) { return a.manualOriginOffset == b.manualOriginOffset; },
             [](A const& a) {
                 return listText({a.manualOriginOffset.x, a.manualOriginOffset.y, a.manualOriginOffset.z});
             }},
        };
        properties_ = {
            {PROP_ELEMENT_VISIBILITY, [](A& to, A const& from) { to.visible = from.visible; },
             [](A const& a, A const& b) { return a.visible == b.visible; }},
            {PROP_ELEMENT_VISUALIZATION,
             [](A& to, A const& from) {
                 // Selection and highlight are no part of how it looks: the snapshot keeps its own.
                 CAD::ElemProp props = from.elemProp;
                 props.selected = to.elemProp.selected;
                 props.highlighted = to.elemProp.highlighted;
                 to.elemProp = props;
                 to.usesDefaultProperties = from.usesDefaultProperties;
                 to.defaultProperties = from.defaultProperties;
                 to.isSectionInsp2d = from.isSectionInsp2d;
                 to.autoSampling = from.autoSampling;
                 to.sampling = from.sampling;
             },
             [](A const& a, A const& b) {
                 CAD::ElemProp look = b.elemProp;
                 look.selected = a.elemProp.selected;
                 look.highlighted = a.elemProp.highlighted;
                 return a.elemProp == look && a.usesDefaultProperties == b.usesDefaultProperties
                        && a.defaultProperties == b.defaultProperties && a.isSectionInsp2d == b.isSectionInsp2d
                        && a.autoSampling == b.autoSampling && a.sampling == b.sampling;
             }},
            {PROP_ELEMENT_PULLOUT_DISTANCE,
             [](A& to, A const& from) {
                 to.hasPullOut = from.hasPullOut;
                 to.pullOutPoint = from.pullOutPoint;
                 to.firstKink = from.firstKink;
             },
             [](A const& a, A const& b) {
                 return a.hasPullOut == b.hasPullOut && a.pullOutPoint == b.pullOutPoint && a.firstKink == b.firstKink;
             }},
            {PROP_LABEL_VISIBILITY, [](A& to, A const& from) { to.labelVisible = from.labelVisible; },
             [](A const& a, A const& b) { return a.labelVisible == b.labelVisible; }},
            {PROP_LABEL_AUTO_PLACEMENT,
             [](A& to, A const& from) {
                 to.autoLabelPlacement = from.autoLabelPlacement;
                 to.labelPosition = from.labelPosition;
                 to.manualOriginOffset = from.manualOriginOffset;
                 to.hasManualOriginOffset = from.hasManualOriginOffset;
             },
             [](A const& a, A const& b) {
                 return a.autoLabelPlacement == b.autoLabelPlacement && a.labelPosition == b.labelPosition
                        && a.manualOriginOffset == b.manualOriginOffset
                        && a.hasManualOriginOffset == b.hasManualOriginOffset;
             }},
            {PROP_LABEL_CONTENT_TEMPLATE, [](A& to, A const& from) { to.labelTemplate = from.labelTemplate; },
             [](A const& a, A const& b) { return a.labelTemplate == b.labelTemplate; }},
        };
    }

private:
    static quint32 color(A const& a)
    {
        return a.usesDefaultProperties ? a.defaultProperties.getColor() : a.elemProp.color;
    }
    static double transparency(A const& a)
    {
        return a.usesDefaultProperties ? a.defaultProperties.getTransparency() : a.elemProp.transparency;
    }
    static QString displayModeText(quint32 mode)
    {
        switch (mode) {
        case CAD::DISPLAY_SHADED:
            return QStringLiteral("shaded");
        case CAD::DISPLAY_WIREFRAME:
            return QStringLiteral("wireframe");
        case CAD::DISPLAY_POINTS:
            return QStringLiteral("points");
        }
        return QString::number(mode);
    }
};

AccessFields const& elementFields()
{
    static ElementFields const fields;
    return fields;
}

} // namespace MCADVisProp
} // namespace Kav
