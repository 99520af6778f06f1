#include "mcadcmd/scene/kav_element_state_p.h"

#include "cad/kav_element_creator.h"
#include "core/kav_error_log.h"
#include "core/kav_kstring.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "glabel/kav_label_element.h"
#include "io/kav_stream.h"

#include <new>

namespace Kav {
namespace MCADCmd {
namespace Detail {

namespace {

constexpr unsigned int ELEMENT_VERSION = 1;

[[noreturn]] void bad(IO::InStream& in, QString const& text)
{
    in.refuse(text);
}

void resample(CAD::SectionInsp2d& section, StageIdentifier const& stage)
{
    try {
        section.resample(stage, true);
        section.updateDistances(stage, -1, -1);
    } catch (std::bad_alloc const&) {
        // The settings stay; the samples are those of before.
    }
}

} // namespace

LabelState LabelState::capture(LabelElement const& l)
{
    LabelState s;
    s.autoPlacement = l.isAutoLabelPlacement();
    s.visible = l.isLabelVisible();
    s.connector = l.hasConnectorPoint(StageIdentifier());
    s.originOffset = l.getManualOriginOffset();
    s.position = l.getPosition();
    s.content = l.getContentTemplate();
    s.fontSize = l.getFontSize();
    s.frame = l.hasFrame();
    return s;
}

bool ElementState::canSample() const
{
    return !isSection() || CAD::SectionInsp2d::canSample(autoSampling, sampling, radius);
}

ElementState ElementState::capture(CAD::Element const& e)
{
    ElementState s;
    s.name = e.getName();
    s.type = e.getElementType();
    s.parent = e.getParent() != nullptr ? e.getParent()->getName() : QString();
    s.prop = *e.getElemProperties();
    s.visible = e.isVisible(CAD::VISIBLE_OWN);
    s.valid = e.isValid();
    s.center = e.getCenter();
    s.halfExtent = e.getHalfExtent();
    // getDistPullOut is not const: the element answers for itself.
    if (CAD::DistPullOut* p = const_cast<CAD::Element&>(e).getDistPullOut()) {
        s.hasPullOut = true;
        s.pullOutPoint = p->getPullOutPoint();
        s.firstKink = p->getFirstKink();
    }
    if (LabelElement const* l = e.getLabel()) {
        s.hasLabel = true;
        s.label = LabelState::capture(*l);
    }
    if (auto const* section = dynamic_cast<CAD::SectionInsp2d const*>(&e)) {
        s.autoSampling = section->isAutoSampling();
        s.sampling = section->getSampling();
        s.radius = section->getRadius();
    }
    return s;
}

namespace {

// All but the samples; answers whether a section's samples no longer fit its settings.
bool setFields(ElementState const& s, CAD::Element& e)
{
    *e.getElemProperties() = s.prop;
    e.setElementVisible(s.visible);
    e.setValid(s.valid);
    bool const moved = e.getCenter() != s.center;
    e.setGeometry(s.center, s.halfExtent);
    if (s.hasPullOut) {
        if (e.getDistPullOut() == nullptr)
            e.setPullOut(std::make_unique<CAD::DistPullOut>());
        CAD::DistPullOut* p = e.getDistPullOut();
        p->setPullOutPoint(s.pullOutPoint);
        p->setFirstKink(s.firstKink);
    }
    if (s.hasLabel) {
        if (e.getLabel() == nullptr)
            e.setLabel(std::make_unique<LabelElement>(&e));
        LabelElement* l = e.getLabel();
        l->setAutoLabelPlacement(s.label.autoPlacement);
        l->setVisible(s.label.visible);
        l->setHasConnector(s.label.connector);
        l->setManualOriginOffset(s.label.originOffset);
        l->setPosition(s.label.position);
        l->setContentTemplate(s.label.content);
        l->setFontSize(s.label.fontSize);
        l->setFrame(s.label.frame);
    }
    auto* section = dynamic_cast<CAD::SectionInsp2d*>(&e);
    if (section == nullptr || !s.isSection())
        return false;
    bool const changed = moved || section->isAutoSampling() != s.autoSampling || section->getSampling() != s.sampling ||
                         section->getRadius() != s.radius;
    section->setRadius(s.radius);
    section->setSampling(s.autoSampling, s.sampling);
    return changed;
}

} // namespace

void ElementState::applyTo(CAD::Element& e, StageIdentifier const& stage) const
{
    if (setFields(*this, e))
        resample(static_cast<CAD::SectionInsp2d&>(e), stage);
}

std::unique_ptr<CAD::Element> ElementState::create(StageIdentifier const& stage) const
{
    std::unique_ptr<CAD::Element> e = CAD::ElementCreator::create(type, name);
    if (!e)
        return e;
    setFields(*this, *e);
    e->getElemProperties()->selected = 0;
    // A new section has no samples yet, whatever its settings.
    if (auto* section = dynamic_cast<CAD::SectionInsp2d*>(e.get()))
        resample(*section, stage);
    return e;
}

void ElementState::write(IO::OutStream& out) const
{
    out.beginBlock(ELEMENT_VERSION);
    out.writeString(name);
    out.writeUInt(type);
    out.writeString(parent);
    out.writeBool(visible);
    out.writeBool(valid);
    IO::writeVec3d(&out, center);
    IO::writeVec3d(&out, halfExtent);
    out.writeBool(hasPullOut);
    IO::writeVec3d(&out, pullOutPoint);
    out.writeBool(firstKink);
    out.writeBool(hasLabel);
    out.writeBool(label.autoPlacement);
    out.writeBool(label.visible);
    out.writeBool(label.connector);
    IO::writeVec3d(&out, label.originOffset);
    IO::writeVec2d(&out, label.position);
    out.writeString(label.content);
    out.writeUInt(label.fontSize);
    out.writeBool(label.frame);
    out.writeBool(autoSampling);
    out.writeDouble(sampling);
    out.writeDouble(radius);
    out.endBlock();
    ErrorLog propLog(false);
    if (!prop.saveStream(&out, &propLog, -1, -1))
        throw IO::StreamException(translate("Kav::MCADCmd", "element \"%1\": %2").arg(name, propLog.getLog()));
}

ElementState ElementState::read(IO::InStream& in, ErrorLog& skipped)
{
    in.openBlock();
    if (in.getBlockVersion() != ELEMENT_VERSION)
        bad(in, translate("Kav::MCADCmd", "element block of version %1, expected 1").arg(in.getBlockVersion()));
    ElementState s;
    in.readString(&s.name);
    s.type = in.readUInt();
    in.readString(&s.parent);
    s.visible = in.readBool();
    s.valid = in.readBool();
    IO::readVec3d(&in, &s.center);
    IO::readVec3d(&in, &s.halfExtent);
    s.hasPullOut = in.readBool();
    IO::readVec3d(&in, &s.pullOutPoint);
    s.firstKink = in.readBool();
    s.hasLabel = in.readBool();
    s.label.autoPlacement = in.readBool();
    s.label.visible = in.readBool();
    s.label.connector = in.readBool();
    IO::readVec3d(&in, &s.label.originOffset);
    IO::readVec2d(&in, &s.label.position);
    in.readString(&s.label.content);
    s.label.fontSize = in.readUInt();
    s.label.frame = in.readBool();
    s.autoSampling = in.readBool();
    s.sampling = in.readDouble();
    s.radius = in.readDouble();
    in.closeBlock();
    if (s.name.isEmpty())
        bad(in, translate("Kav::MCADCmd", "an element without a name"));
    if (CAD::ElementCreator::getTypeName(s.type).isEmpty() || s.type == CAD::ElementCreator::REPORT)
        bad(in, translate("Kav::MCADCmd", "element \"%1\" has the unknown type %2").arg(s.name).arg(s.type));

    ElementState const defaults;
    auto drop = [&](char const* what) {
        skipped << translate("Kav::MCADCmd", "element \"%1\": %2 out of range, skipped")
                       .arg(s.name, translate("Kav::MCADCmd", what))
                << END_LOG;
    };
    if (!Limits::COORDINATE.contains(s.center) || !Limits::COORDINATE.contains(s.halfExtent)) {
        s.center = defaults.center;
        s.halfExtent = defaults.halfExtent;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its geometry"));
    }
    if (s.hasPullOut && !Limits::COORDINATE.contains(s.pullOutPoint)) {
        s.hasPullOut = false;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its pull-out point"));
    }
    if (s.hasLabel && !Limits::COORDINATE.contains(s.label.originOffset)) {
        s.label.originOffset = defaults.label.originOffset;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its label's origin"));
    }
    if (s.hasLabel && !Limits::OVERLAY.contains(s.label.position)) {
        s.label.position = defaults.label.position;
        s.label.autoPlacement = true;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its label's position"));
    }
    if (s.hasLabel && (s.label.fontSize == 0 || s.label.fontSize > GLabel::LabelTemplate::MAX_FONT_SIZE)) {
        s.label.fontSize = defaults.label.fontSize;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its label's font size"));
    }
    if (!s.canSample()) {
        s.autoSampling = defaults.autoSampling;
        s.sampling = defaults.sampling;
        s.radius = defaults.radius;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its radius and sampling"));
    }
    // A block it could not pass over has broken the stream: the next read says so.
    ErrorLog propLog(false);
    if (!s.prop.loadStream(&in, &propLog, -1, -1))
        skipped << translate("Kav::MCADCmd", "element \"%1\": %2, skipped").arg(s.name, propLog.getLog().trimmed()) << END_LOG;
    return s;
}

} // namespace Detail
} // namespace MCADCmd
} // namespace Kav
