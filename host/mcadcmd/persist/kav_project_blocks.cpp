// The element block and the access frame of a project file.
#include "mcadcmd/persist/kav_project_p.h"

#include "cad/kav_element_creator.h"
#include "cad/kav_shared_accesses.h"
#include "core/kav_error_log.h"
#include "core/kav_kstring.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "glabel/kav_label_element.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

namespace Kav {
namespace MCADCmd {
namespace ProjectFile {

namespace {

using IO::Stream;

char const* const ACCESS_TYPE = "PROPERTY_ACCESS";
constexpr unsigned int ACCESS_VERSION = 1;

// The element's texts in their stream form, converted once for both the size and the write.
struct ElementTexts {
    KString name, parent, labelContent;
    explicit ElementTexts(ElementRecord const& r)
        : name(KString::fromQString(r.name)), parent(KString::fromQString(r.parent)),
          labelContent(KString::fromQString(r.labelContent))
    {
    }
};

unsigned int elementBlockSize(ElementTexts const& r)
{
    return Stream::sizeOf(r.name) + Stream::SizeUInt + Stream::sizeOf(r.parent) + 2 * Stream::SizeBool +
           2 * Stream::SizeVec3d +                                            // geometry
           2 * Stream::SizeBool + Stream::SizeVec3d +                         // pull-out
           4 * Stream::SizeBool + Stream::SizeVec3d + Stream::SizeVec2d +    // label flags, origin, position
           Stream::sizeOf(r.labelContent) + Stream::SizeUInt + Stream::SizeBool +  // template
           Stream::SizeBool + 2 * Stream::SizeDouble;                         // sampling
}

// The access's own blocks as a stream of their own.
QByteArray packAccess(PropertyAccess::PropertyAccessBase const& access)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString(ACCESS_TYPE), ACCESS_VERSION);
    access.saveStream(&out);
    out.close();
    return bytes;
}

} // namespace

ElementRecord toRecord(CAD::Element& e)
{
    ElementRecord r;
    r.name = e.getName();
    r.type = e.getElementType();
    r.parent = e.getParent() != nullptr ? e.getParent()->getName() : QString();
    r.visible = e.isVisible(CAD::VISIBLE_OWN);
    r.valid = e.isValid();
    r.center = e.getCenter();
    r.halfExtent = e.getHalfExtent();
    if (CAD::DistPullOut* p = e.getDistPullOut()) {
        r.hasPullOut = true;
        r.pullOut = p->getPullOutPoint();
        r.firstKink = p->getFirstKink();
    }
    if (LabelElement* l = e.getLabel()) {
        r.hasLabel = true;
        r.labelAuto = l->isAutoLabelPlacement();
        r.labelVisible = l->isLabelVisible();
        r.labelConnector = l->hasConnectorPoint(StageIdentifier());
        r.labelOrigin = l->getManualOriginOffset();
        r.labelPosition = l->getPosition();
        r.labelContent = l->getContentTemplate();
        r.labelFont = l->getFontSize();
        r.labelFrame = l->hasFrame();
    }
    if (auto* s = dynamic_cast<CAD::SectionInsp2d*>(&e)) {
        r.autoSampling = s->isAutoSampling();
        r.sampling = s->getSampling();
        r.radius = s->getRadius();
    }
    return r;
}

void writeElement(IO::OutStream& out, ElementRecord const& r)
{
    ElementTexts const texts(r);
    out.beginBlock(elementBlockSize(texts), 1);
    out.writeString(texts.name);
    out.writeUInt(r.type);
    out.writeString(texts.parent);
    out.writeBool(r.visible);
    out.writeBool(r.valid);
    IO::writeVec3d(&out, r.center);
    IO::writeVec3d(&out, r.halfExtent);
    out.writeBool(r.hasPullOut);
    IO::writeVec3d(&out, r.pullOut);
    out.writeBool(r.firstKink);
    out.writeBool(r.hasLabel);
    out.writeBool(r.labelAuto);
    out.writeBool(r.labelVisible);
    out.writeBool(r.labelConnector);
    IO::writeVec3d(&out, r.labelOrigin);
    IO::writeVec2d(&out, r.labelPosition);
    out.writeString(texts.labelContent);
    out.writeUInt(r.labelFont);
    out.writeBool(r.labelFrame);
    out.writeBool(r.autoSampling);
    out.writeDouble(r.sampling);
    out.writeDouble(r.radius);
    out.endBlock();
}

[[noreturn]] void bad(IO::InStream& in, QString const& text)
{
    in.refuse(text);
}

ElementRecord readElement(IO::InStream& in)
{
    in.openBlock();
    if (in.getBlockVersion() != 1)
        bad(in, translate("Kav::MCADCmd", "element block of version %1, expected 1").arg(in.getBlockVersion()));
    ElementRecord r;
    in.readString(&r.name);
    r.type = in.readUInt();
    in.readString(&r.parent);
    r.visible = in.readBool();
    r.valid = in.readBool();
    IO::readVec3d(&in, &r.center);
    IO::readVec3d(&in, &r.halfExtent);
    r.hasPullOut = in.readBool();
    IO::readVec3d(&in, &r.pullOut);
    r.firstKink = in.readBool();
    r.hasLabel = in.readBool();
    r.labelAuto = in.readBool();
    r.labelVisible = in.readBool();
    r.labelConnector = in.readBool();
    IO::readVec3d(&in, &r.labelOrigin);
    IO::readVec2d(&in, &r.labelPosition);
    in.readString(&r.labelContent);
    r.labelFont = in.readUInt();
    r.labelFrame = in.readBool();
    r.autoSampling = in.readBool();
    r.sampling = in.readDouble();
    r.radius = in.readDouble();
    in.closeBlock();
    if (r.name.isEmpty())
        bad(in, translate("Kav::MCADCmd", "an element without a name"));
    if (CAD::ElementCreator::getTypeName(r.type).isEmpty() || r.type == CAD::ElementCreator::REPORT)
        bad(in, translate("Kav::MCADCmd", "element \"%1\" has the unknown type %2").arg(r.name).arg(r.type));
    return r;
}

void dropOutOfRange(ElementRecord& r, ErrorLog& skipped)
{
    ElementRecord const defaults;
    auto drop = [&](char const* what) {
        skipped << translate("Kav::MCADCmd", "element \"%1\": %2 out of range, skipped")
                       .arg(r.name, translate("Kav::MCADCmd", what))
                << END_LOG;
    };
    if (!Limits::COORDINATE.contains(r.center) || !Limits::COORDINATE.contains(r.halfExtent)) {
        r.center = defaults.center;
        r.halfExtent = defaults.halfExtent;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its geometry"));
    }
    if (r.hasPullOut && !Limits::COORDINATE.contains(r.pullOut)) {
        r.hasPullOut = false;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its pull-out point"));
    }
    if (r.hasLabel && !Limits::COORDINATE.contains(r.labelOrigin)) {
        r.labelOrigin = defaults.labelOrigin;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its label's origin"));
    }
    if (r.hasLabel && !Limits::OVERLAY.contains(r.labelPosition)) {
        r.labelPosition = defaults.labelPosition;
        r.labelAuto = true;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its label's position"));
    }
    if (r.hasLabel && (r.labelFont == 0 || r.labelFont > GLabel::LabelTemplate::MAX_FONT_SIZE)) {
        r.labelFont = defaults.labelFont;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its label's font size"));
    }
    if (r.type == CAD::ElementCreator::SECTION_INSPECTION_2D && !CAD::SectionInsp2d::canSample(r.autoSampling, r.sampling, r.radius)) {
        r.autoSampling = defaults.autoSampling;
        r.sampling = defaults.sampling;
        r.radius = defaults.radius;
        drop(QT_TRANSLATE_NOOP("Kav::MCADCmd", "its radius and sampling"));
    }
}

std::unique_ptr<CAD::Element> fromRecord(ElementRecord const& r, CAD::ElemProp const& prop)
{
    std::unique_ptr<CAD::Element> e = CAD::ElementCreator::create(r.type, r.name);
    e->setGeometry(r.center, r.halfExtent);
    e->setElementVisible(r.visible);
    e->setValid(r.valid);
    *e->getElemProperties() = prop;
    e->getElemProperties()->selected = 0;
    if (r.hasPullOut)
        e->setPullOut(std::make_unique<CAD::DistPullOut>(r.pullOut, r.firstKink));
    if (r.hasLabel) {
        auto l = std::make_unique<LabelElement>(e.get());
        l->setAutoLabelPlacement(r.labelAuto);
        l->setVisible(r.labelVisible);
        l->setHasConnector(r.labelConnector);
        l->setManualOriginOffset(r.labelOrigin);
        l->setPosition(r.labelPosition);
        l->setContentTemplate(r.labelContent);
        l->setFontSize(r.labelFont);
        l->setFrame(r.labelFrame);
        e->setLabel(std::move(l));
    }
    if (auto* s = dynamic_cast<CAD::SectionInsp2d*>(e.get())) {
        s->setRadius(r.radius);
        s->setSampling(r.autoSampling, r.sampling);
        s->resample(StageIdentifier(), true);
        s->updateDistances(StageIdentifier(), -1, -1);
    }
    return e;
}

PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped)
{
    in.openBlock();
    if (in.getBlockVersion() != 1)
        bad(in, translate("Kav::MCADCmd", "access frame of version %1, expected 1").arg(in.getBlockVersion()));
    skipped->type = in.readUInt();
    in.readString(&skipped->typeString);
    QString explorerName;
    in.readString(&explorerName);
    unsigned int const flagCount = in.readUInt();
    PropertyAccess::UsageFlags flags;
    for (unsigned int i = 0; i < flagCount; ++i) {
        // Each flag is read before the next: a wrong count runs into the block's end.
        unsigned int const id = in.readUInt();
        bool const used = in.readBool();
        flags[static_cast<PropertyAccess::PropTemplateID_t>(static_cast<int>(id))] = used;
    }
    KString const bytes = in.readString();
    in.closeBlock();

    auto skip = [&](QString const& why) -> PropertyAccess::PropertyAccessBase* {
        skipped->why = why;
        return nullptr;
    };
    if (skipped->type > 0x7FFFFFFFu)
        return skip(translate("Kav::MCADCmd", "not an access type"));
    std::unique_ptr<PropertyAccess::PropertyAccessBase> access(
        PropertyAccess::PropertyAccessFactory::create(static_cast<PropertyAccess::PropAccessType_t>(skipped->type)));
    if (!access)
        return skip(translate("Kav::MCADCmd", "no creator is registered for this type"));
    QByteArray const form = bytes.toByteArray();
    try {
        IO::InStream inner(form, name);
        if (inner.getType() != KString(ACCESS_TYPE))
            return skip(translate("Kav::MCADCmd", "the frame holds no access stream"));
        unsigned int const read = access->loadStream(&inner);
        if (read < access->getNumberOfBlocks())
            return skip(translate("Kav::MCADCmd", "only %1 of its %2 blocks could be read").arg(read).arg(access->getNumberOfBlocks()));
    } catch (IO::StreamException const& e) {
        return skip(e.getText());
    }
    // The host base's data: what the access was extracted from and what it restores.
    access->setExplorerName(explorerName);
    access->setUsageFlags(flags);
    // Between the stream's header and its checksum are the bytes its saveStream wrote: with
    // those at hand it is not written again to be compared. (A stream of the first format
    // has no checksum: the access is written.)
    unsigned int const header = 4 + Stream::sizeOf(KString(ACCESS_TYPE)) + Stream::SizeUInt;
    if (!form.startsWith("KAV2") || form.size() < static_cast<qsizetype>(header) + 4)
        return CAD::SharedAccesses::instance().share(access.release());
    return CAD::SharedAccesses::instance().share(
        access.release(), QByteArray::fromRawData(form.constData() + header, form.size() - header - 4));
}

void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a)
{
    KString const bytes(packAccess(a));
    KString const typeString = KString::fromQString(a.getTypeString());
    KString const explorerName = KString::fromQString(a.getExplorerName());
    PropertyAccess::UsageFlags const& flags = a.getUsageFlags();
    out.beginBlock(Stream::SizeUInt + Stream::sizeOf(typeString) + Stream::sizeOf(explorerName) + Stream::SizeUInt +
                       static_cast<unsigned int>(flags.size()) * (Stream::SizeUInt + Stream::SizeBool) +
                       Stream::sizeOf(bytes),
                   1);
    out.writeUInt(static_cast<unsigned int>(a.getType()));
    out.writeString(typeString);
    out.writeString(explorerName);
    out.writeUInt(static_cast<unsigned int>(flags.size()));
    for (auto const& f : flags) {
        out.writeUInt(static_cast<unsigned int>(f.first));
        out.writeBool(f.second);
    }
    out.writeString(bytes);
    out.endBlock();
}

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
