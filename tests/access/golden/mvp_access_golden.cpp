#include "mvp_access_golden.h"

#include "core/kav_error_log.h"
#include "io/kav_stream.h"
#include "mvp_stream_bytes.h"


#include <stdexcept>

using namespace Kav;
using IO::OutStream;
using IO::Stream;

namespace MvpGolden {

char const* const STREAM_TYPE = "MVP_ACCESS_GOLDEN";

namespace {

// An OutStream on a buffer that is complete once the stream is closed; the golden files keep
// the frame written before streams had a checksum.
class Writer {
public:
    Writer() : out_(&bytes_, KString(STREAM_TYPE), STREAM_VERSION) {}
    OutStream* operator->() { return &out_; }
    OutStream* get() { return &out_; }
    QByteArray finish()
    {
        out_.close();
        return MvpTest::withoutChecksum(bytes_);
    }

private:
    QByteArray bytes_;
    OutStream out_;
};

void check(bool ok, char const* what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// The element's main block in the layout of `version` (of 6 beyond it).
void writeElementMain(OutStream* out, unsigned int version, bool usesDefault, ElementValues const& v)
{
    unsigned int const layout = version > 6 ? 6 : version;
    // visible, autoLabelPlacement, labelPosition, labelVisible; then what each version added
    unsigned int const size = 1 + 1 + 16 + 1 + (layout >= 2 ? 1 : 0) + (layout >= 3 ? 1 + 24 + 1 : 0)
                              + (layout >= 4 ? 24 : 0) + (layout >= 5 ? 4 : 0) + (layout >= 6 ? 1 + 1 + 8 : 0);
    out->beginBlock(size, version);
    out->writeBool(v.visible);
    out->writeBool(v.autoLabelPlacement);
    IO::writeVec2d(out, v.labelPosition);
    if (layout >= 4)
        IO::writeVec3d(out, v.manualOriginOffset);
    out->writeBool(v.labelVisible);
    if (layout >= 2)
        out->writeBool(usesDefault);
    if (layout >= 3) {
        out->writeBool(v.hasPullOut);
        IO::writeVec3d(out, v.pullOutPoint);
        out->writeBool(v.firstKink);
    }
    if (layout >= 5)
        out->writeUInt(v.elementType);
    if (layout >= 6) {
        out->writeBool(v.isSectionInsp2d);
        out->writeBool(v.autoSampling);
        out->writeDouble(v.sampling);
    }
    out->endBlock();
}

void writeElementRest(OutStream* out, Properties properties, ElementValues const& v)
{
    ErrorLog log;
    // A block of version 0, which no reader of properties or label templates takes.
    auto const version0 = [out] { out->beginBlock(4, 0), out->writeUInt(0), out->endBlock(); };
    switch (properties) {
    case Properties::Default:
        check(v.defaultProperties.saveStream(out, &log, -1, -1), "default properties not written");
        break;
    case Properties::BadProperties:
        version0();
        break;
    case Properties::ElemProp:
    case Properties::BadLabelTemplate:
        check(v.elemProp.saveStream(out, &log, -1, -1), "element properties not written");
        break;
    }
    if (properties != Properties::Default) {
        out->beginBlock(1, 1); // the filler block
        out->writeBool(true);
        out->endBlock();
    }
    if (properties == Properties::BadLabelTemplate)
        version0();
    else
        v.labelTemplate.saveStream(out);
}

} // namespace

ElementValues elementValues(ElementSet set)
{
    ElementValues v;
    if (set == ElementSet::DefaultForm) {
        v.visible = false;
        v.labelPosition = BaVec2d<double>(-44.5, 7.125);
        v.manualOriginOffset = BaVec3d<double>(-0.5, 6.25, -9.75);
        v.pullOutPoint = BaVec3d<double>(-11.0, 0.5, 42.0);
        v.firstKink = true;
        v.elementType = 20; // a surface inspection
        v.autoSampling = false;
        v.sampling = 2.5;
        v.labelTemplate.setContent(QStringLiteral("%value% \u00b5m = %name%"));
        v.labelTemplate.setFontSize(9);
    } else if (set == ElementSet::InFeature) {
        v.visible = false;
        v.autoLabelPlacement = true;
        v.hasPullOut = false;
        v.firstKink = true;
    }
    return v;
}

CAD::ElemProp ElementValues::makeElemProp()
{
    CAD::ElemProp p;
    p.selected = 1;
    p.highlighted = 0;
    p.color = 0xC04020;
    p.transparency = 0.5;
    p.pointSize = 5.0;
    p.lineWidth = 2.5;
    p.displayMode = CAD::DISPLAY_WIREFRAME;
    return p;
}

GLabel::LabelTemplate ElementValues::makeTemplate()
{
    GLabel::LabelTemplate t;
    t.setContent(QStringLiteral("%name% = %value% \u00b5m"));
    t.setFontSize(14);
    t.setFrame(false);
    return t;
}

QByteArray viewStream(unsigned int version)
{
    ViewValues const v;
    Writer w;
    w->beginBlock(24 + 24 + 24 + 8, version);
    IO::writeVec3d(w.get(), v.rotation);
    IO::writeVec3d(w.get(), v.translation);
    IO::writeVec3d(w.get(), v.axisScale);
    w->writeDouble(v.scale);
    w->endBlock();
    return w.finish();
}

QByteArray legendStream(unsigned int version)
{
    LegendValues const v;
    Writer w;
    if (version <= 2) {
        w->beginBlock(Stream::sizeOf(v.oldSettings) + (version == 2 ? 16 : 0), version);
        w->writeString(v.oldSettings);
        if (version == 2)
            IO::writeVec2d(w.get(), v.position);
    } else {
        w->beginBlock(Stream::sizeOf(v.legendData) + 16, version);
        w->writeString(v.legendData);
        IO::writeVec2d(w.get(), v.passedOverPosition);
    }
    w->endBlock();
    return w.finish();
}

QByteArray elementStream(unsigned int version, Properties properties)
{
    Writer w;
    bool const usesDefault = properties == Properties::Default;
    ElementValues const v = elementValues(usesDefault ? ElementSet::DefaultForm : ElementSet::ElemPropForm);
    writeElementMain(w.get(), version, usesDefault, v);
    writeElementRest(w.get(), properties, v);
    return w.finish();
}

QByteArray containerStream(unsigned int version)
{
    Writer w;
    w->beginBlock(1, version);
    w->writeBool(false);
    w->endBlock();
    return w.finish();
}

QByteArray featureStream(unsigned int version, Properties properties, unsigned int elementVersion)
{
    FeatureValues const v;
    Writer w;
    w->beginBlock(version == 1 ? 1 : 1 + 1 + 4, version);
    w->writeBool(v.featureFlag);
    if (version != 1) {
        w->writeBool(v.featureFlag2);
        w->writeUInt(v.featureValue);
    }
    w->endBlock();
    ElementValues const e = elementValues(ElementSet::InFeature);
    writeElementMain(w.get(), elementVersion, properties == Properties::Default, e);
    writeElementRest(w.get(), properties, e);
    return w.finish();
}

std::vector<GoldenFile> goldenFiles()
{
    std::vector<GoldenFile> files;
    auto add = [&files](QString const& name, QByteArray const& bytes) { files.push_back({name, bytes}); };
    add(QStringLiteral("view_v1.kav"), viewStream(1));
    for (unsigned int v = 1; v <= 3; ++v)
        add(QStringLiteral("legend_v%1.kav").arg(v), legendStream(v));
    // Version 1 has no flag for the form: its properties are always DefaultProperties.
    add(QStringLiteral("element_v1.kav"), elementStream(1, Properties::Default));
    for (unsigned int v = 2; v <= 6; ++v) {
        add(QStringLiteral("element_v%1_elemprop.kav").arg(v), elementStream(v, Properties::ElemProp));
        add(QStringLiteral("element_v%1_default.kav").arg(v), elementStream(v, Properties::Default));
    }
    add(QStringLiteral("element_v6_bad_properties.kav"), elementStream(6, Properties::BadProperties));
    add(QStringLiteral("element_v6_bad_label_template.kav"), elementStream(6, Properties::BadLabelTemplate));
    add(QStringLiteral("container_v1.kav"), containerStream(1));
    add(QStringLiteral("feature_v1.kav"), featureStream(1));
    add(QStringLiteral("feature_v2.kav"), featureStream(2));
    return files;
}

} // namespace MvpGolden
