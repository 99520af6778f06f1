#include "access/mvp_property_access.h"
#include "access/mvp_property_access_p.h"
#include "cad/kav_element_creator.h"
#include "mvp_access_test_util.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>

using namespace Kav;
using namespace Kav::MCADVisProp;
using namespace MvpAccessTest;
using MvpGolden::Properties;
using PropertyAccess::PropertyAccessBase;

namespace {

// Gives tests access to the base's fields, as a feature library's class would have.
class TestFeatureAccess : public FeaturePropertyAccessBase {
public:
    TestFeatureAccess() : FeaturePropertyAccessBase(static_cast<PropertyAccess::PropAccessType_t>(77)) {}
    void apply(QString const&) const override {}
    void extract(QString const&) override {}
    PropertyAccessBase* copy() const override
    {
        auto* a = new TestFeatureAccess;
        copyTo(a);
        return a;
    }
    QString getTypeString() const override { return QStringLiteral("test_feature"); }
    QString getTypeDescription() const override { return QStringLiteral("test feature"); }

    bool flag() const { return featureFlag; }
    bool flag2() const { return featureFlag2; }
    unsigned int value() const { return featureValue; }
    void setValue(unsigned int v) { featureValue = v; }
    CADElementPropertyAccess const& element() const { return elementAccess; }
    unsigned int mainBlockSize() const { return getMainBlockSize(); }
};

// Checks an element access read from a golden block of `version` over `before`: the fields
// the block holds have the values of its set, those it lacks get the defaults of their
// version or keep the values they had.
void expectGoldenElement(CADElementPropertyAccess const& a, unsigned int version, MvpGolden::ElementSet set,
                         CADElementPropertyAccess const& before = CADElementPropertyAccess())
{
    MvpGolden::ElementValues const v = MvpGolden::elementValues(set);
    bool const usesDefault = set == MvpGolden::ElementSet::DefaultForm;
    SCOPED_TRACE(testing::Message() << "version " << version << (usesDefault ? " default" : " elemprop"));
    EXPECT_EQ(a.getVisible(), v.visible);
    EXPECT_EQ(a.getAutoLabelPlacement(), v.autoLabelPlacement);
    EXPECT_EQ(a.getLabelPosition(), v.labelPosition);
    EXPECT_EQ(a.getLabelVisible(), v.labelVisible);
    EXPECT_EQ(a.getUsesDefaultProperties(), usesDefault);
    // A field the block holds reads as written; one it lacks as `otherwise`.
    auto field = [](char const* name, bool held, auto const& got, auto const& written, auto const& otherwise) {
        EXPECT_EQ(got, held ? written : otherwise) << name;
    };
    field("manual origin offset", version >= 4, a.getManualOriginOffset(), v.manualOriginOffset,
          BaVec3d<double>(0.0, 0.0, 0.0));
    EXPECT_EQ(a.getHasManualOriginOffset(), version >= 4);
    field("has pull-out", version >= 3, a.getHasPullOut(), v.hasPullOut, false);
    field("pull-out point", version >= 3, a.getPullOutPoint(), v.pullOutPoint, before.getPullOutPoint());
    field("first kink", version >= 3, a.getFirstKink(), v.firstKink, before.getFirstKink());
    if (version >= 5) {
        EXPECT_EQ(a.getElementType(), v.elementType);
        EXPECT_EQ(a.getTypeString(), CAD::ElementCreator::getTypeName(v.elementType));
        EXPECT_FALSE(a.getTypeString().isEmpty());
        EXPECT_EQ(a.getTypeDescription(), CAD::ElementCreator::getTypeDescription(v.elementType));
    } else {
        EXPECT_EQ(a.getElementType(), 0xFFFFFFFFu);
        EXPECT_TRUE(a.getTypeString().isEmpty());
        EXPECT_TRUE(a.getTypeDescription().isEmpty());
    }
    field("is 2D section", version >= 6, a.getIsSectionInsp2d(), v.isSectionInsp2d, false);
    field("auto sampling", version >= 6, a.getAutoSampling(), v.autoSampling, before.getAutoSampling());
    field("sampling", version >= 6, a.getSampling(), v.sampling, before.getSampling());
    field("default properties", usesDefault, a.getDefaultProperties(), v.defaultProperties,
          before.getDefaultProperties());
    field("element properties", !usesDefault, a.getElemProp(), v.elemProp, before.getElemProp());
    EXPECT_EQ(a.getLabelTemplate(), v.labelTemplate);
}

TEST(AccessGoldenFiles, AreTheLayoutsTheGeneratorWrites)
{
    std::vector<MvpGolden::GoldenFile> const files = MvpGolden::goldenFiles();
    ASSERT_EQ(files.size(), 20u);
    for (MvpGolden::GoldenFile const& f : files)
        EXPECT_EQ(golden(f.name), f.bytes) << f.name.toStdString()
                                           << " differs from its layout; rerun mvp_access_golden_writer";
    QStringList const onDisk =
        QDir(QStringLiteral(MVP_TEST_DATA_DIR "/access")).entryList({QStringLiteral("*.kav")}, QDir::Files);
    EXPECT_EQ(static_cast<std::size_t>(onDisk.size()), files.size());
}

TEST(ViewAccessStream, ReadsVersion1AndWritesItBack)
{
    MvpGolden::ViewValues const v;
    QByteArray const bytes = golden(QStringLiteral("view_v1.kav"));
    GLViewPropertyAccess a;
    ASSERT_EQ(loadWhole(a, bytes), 1u);
    EXPECT_EQ(a.getRotation(), v.rotation);
    EXPECT_EQ(a.getTranslation(), v.translation);
    EXPECT_EQ(a.getAxisScale(), v.axisScale);
    EXPECT_EQ(a.getScale(), v.scale);

    EXPECT_EQ(save(a), bytes);
    EXPECT_EQ(a.getNumberOfBlocks(), 1u);
    EXPECT_EQ(a.memSize(), 80u);
}

TEST(LegendAccessStream, TakesFromEachVersionWhatItHolds)
{
    MvpGolden::LegendValues const v;
    LegendPropertyAccess a;

    // Version 3: the settings; the position is passed over and never applied.
    ASSERT_EQ(loadWhole(a, golden(QStringLiteral("legend_v3.kav"))), 1u);
    EXPECT_EQ(a.getLegendData(), v.legendData);
    EXPECT_FALSE(a.getHasLegendPosition());
    EXPECT_NE(a.getLegendPosition(), v.passedOverPosition);

    // Version 2: only the position; the settings read before stay.
    ASSERT_EQ(loadWhole(a, golden(QStringLiteral("legend_v2.kav"))), 1u);
    EXPECT_EQ(a.getLegendData(), v.legendData);
    EXPECT_TRUE(a.getHasLegendPosition());
    EXPECT_EQ(a.getLegendPosition(), v.position);

    // The position of a version 2 access is not written back: a reload drops its flag.
    QByteArray const written = save(a);
    EXPECT_EQ(mainBlockVersion(written), 3u);
    EXPECT_EQ(mainBlockSize(written), IO::Stream::sizeOf(v.legendData) + 16);
    LegendPropertyAccess reloaded;
    ASSERT_EQ(load(reloaded, written), 1u);
    EXPECT_EQ(reloaded.getLegendData(), v.legendData);
    EXPECT_FALSE(reloaded.getHasLegendPosition());

    // Version 1: nothing that apply uses.
    ASSERT_EQ(loadWhole(a, golden(QStringLiteral("legend_v1.kav"))), 1u);
    EXPECT_EQ(a.getLegendData(), v.legendData);
    EXPECT_FALSE(a.getHasLegendPosition());
    LegendPropertyAccess fresh;
    ASSERT_EQ(load(fresh, golden(QStringLiteral("legend_v1.kav"))), 1u);
    EXPECT_TRUE(fresh.getLegendData().isEmpty());
    EXPECT_FALSE(fresh.getHasLegendPosition());

    EXPECT_EQ(a.memSize(), v.legendData.size() + 17);
    EXPECT_EQ(fresh.memSize(), 17u);
    EXPECT_EQ(mainBlockSize(save(fresh)), 4u + 16u);
}

TEST(ElementAccessStream, ReadsEveryVersionInBothFormsOverOtherValues)
{
    using MvpGolden::ElementSet;
    struct Case {
        unsigned int version;
        ElementSet set;
    };
    std::vector<Case> cases = {{1, ElementSet::DefaultForm}};
    for (unsigned int v = 2; v <= 6; ++v) {
        cases.push_back({v, ElementSet::ElemPropForm});
        cases.push_back({v, ElementSet::DefaultForm});
    }
    // Each file is read into a fresh access and over one that holds the other form's values.
    CADElementPropertyAccess elemPropForm;
    CADElementPropertyAccess defaultForm;
    ASSERT_EQ(load(elemPropForm, golden(QStringLiteral("element_v6_elemprop.kav"))), 4u);
    ASSERT_EQ(load(defaultForm, golden(QStringLiteral("element_v6_default.kav"))), 4u);
    for (Case const& c : cases) {
        bool const usesDefault = c.set == ElementSet::DefaultForm;
        QString const file = c.version == 1 ? QStringLiteral("element_v1.kav")
                                            : QStringLiteral("element_v%1_%2.kav")
                                                  .arg(c.version)
                                                  .arg(usesDefault ? QStringLiteral("default")
                                                                   : QStringLiteral("elemprop"));
        for (CADElementPropertyAccess const& before :
             {CADElementPropertyAccess(), usesDefault ? elemPropForm : defaultForm}) {
            CADElementPropertyAccess a(before);
            EXPECT_EQ(loadWhole(a, golden(file)), 4u) << file.toStdString();
            expectGoldenElement(a, c.version, c.set, before);
        }
    }
}

TEST(ElementAccessStream, WritesTheVersion6LayoutOfBothForms)
{
    for (char const* file : {"element_v6_elemprop.kav", "element_v6_default.kav"}) {
        QByteArray const bytes = golden(QString::fromLatin1(file));
        CADElementPropertyAccess a;
        ASSERT_EQ(load(a, bytes), 4u) << file;
        EXPECT_EQ(save(a), bytes) << file;
        std::unique_ptr<PropertyAccessBase> copy(a.copy());
        EXPECT_EQ(save(*copy), bytes) << file;
        EXPECT_EQ(a.getNumberOfBlocks(), 4u);
        EXPECT_EQ(a.memSize(), 2437u);
    }
    // Older versions come back in the newest layout, with their defaults.
    CADElementPropertyAccess old;
    ASSERT_EQ(load(old, golden(QStringLiteral("element_v3_elemprop.kav"))), 4u);
    CADElementPropertyAccess again;
    ASSERT_EQ(load(again, save(old)), 4u);
    EXPECT_EQ(again.getElementType(), 0xFFFFFFFFu);
    EXPECT_FALSE(again.getIsSectionInsp2d());
    EXPECT_EQ(again.getPullOutPoint(), MvpGolden::elementValues(MvpGolden::ElementSet::ElemPropForm).pullOutPoint);
    // A version 6 block always holds the offset, so it counts as set from then on.
    EXPECT_EQ(again.getManualOriginOffset(), BaVec3d<double>(0.0, 0.0, 0.0));
    EXPECT_TRUE(again.getHasManualOriginOffset());
}

TEST(ElementAccessStream, ReportsWhichPartCouldNotBeRead)
{
    MvpGolden::ElementValues const v = MvpGolden::elementValues(MvpGolden::ElementSet::ElemPropForm);
    CADElementPropertyAccess a;
    EXPECT_EQ(load(a, golden(QStringLiteral("element_v6_bad_properties.kav"))), 1u);
    // The main block is read; the label template after the properties is not.
    EXPECT_EQ(a.getLabelPosition(), v.labelPosition);
    EXPECT_EQ(a.getLabelTemplate(), GLabel::LabelTemplate());

    CADElementPropertyAccess b;
    EXPECT_EQ(load(b, golden(QStringLiteral("element_v6_bad_label_template.kav"))), 3u);
    EXPECT_EQ(b.getElemProp(), v.elemProp);
    EXPECT_EQ(b.getLabelTemplate(), GLabel::LabelTemplate());

    // A version 1 block holds no form flag: its properties are read as DefaultProperties,
    // so ElemProp data after it cannot be read.
    CADElementPropertyAccess c;
    EXPECT_EQ(load(c, MvpGolden::elementStream(1, Properties::ElemProp)), 1u);
    EXPECT_TRUE(c.getUsesDefaultProperties());

    // In a feature access the count includes the feature's own block.
    TestFeatureAccess f;
    EXPECT_EQ(load(f, MvpGolden::featureStream(2, Properties::ElemProp, 0)), 1u);
    EXPECT_EQ(load(f, MvpGolden::featureStream(2, Properties::ElemProp, 7)), 1u);
    EXPECT_EQ(load(f, MvpGolden::featureStream(2, Properties::BadProperties)), 2u);
    EXPECT_EQ(load(f, MvpGolden::featureStream(2, Properties::BadLabelTemplate)), 4u);
    EXPECT_EQ(load(f, MvpGolden::featureStream(1, Properties::Default)), 5u);
    EXPECT_TRUE(f.element().getUsesDefaultProperties());
}

TEST(ContainerAccessStream, KeepsItsFlag)
{
    QByteArray const bytes = golden(QStringLiteral("container_v1.kav"));
    CADContainerPropertyAccess a;
    ASSERT_EQ(loadWhole(a, bytes), 1u);
    EXPECT_FALSE(a.isVisible());
    a.setVisible(true); // the host base's: the stored flag stays
    EXPECT_FALSE(a.isVisible());
    std::unique_ptr<PropertyAccessBase> copy(a.copy());
    EXPECT_FALSE(copy->isVisible());
    EXPECT_EQ(copy->getType(), PropertyAccess::PROP_ACC_CAD_CONTAINER);

    EXPECT_EQ(save(a), bytes);
    EXPECT_EQ(a.memSize(), 1u);
    EXPECT_EQ(CADContainerPropertyAccess().memSize(), 1u);
    EXPECT_TRUE(CADContainerPropertyAccess().isVisible()) << "a new container access is visible";
}

TEST(FeatureAccessStream, ReadsBothVersionsBeforeTheElementBlocks)
{
    MvpGolden::FeatureValues const f;
    // Read over a version 2 access: version 1 clears the second flag and keeps the value.
    TestFeatureAccess v1;
    ASSERT_EQ(load(v1, golden(QStringLiteral("feature_v2.kav"))), 5u);
    ASSERT_TRUE(v1.flag2());
    v1.setValue(4711);
    ASSERT_EQ(loadWhole(v1, golden(QStringLiteral("feature_v1.kav"))), 5u);
    EXPECT_EQ(v1.flag(), f.featureFlag);
    EXPECT_FALSE(v1.flag2());
    EXPECT_EQ(v1.value(), 4711u);
    expectGoldenElement(v1.element(), 6, MvpGolden::ElementSet::InFeature);

    QByteArray const bytes = golden(QStringLiteral("feature_v2.kav"));
    TestFeatureAccess v2;
    ASSERT_EQ(loadWhole(v2, bytes), 5u);
    EXPECT_EQ(v2.flag(), f.featureFlag);
    EXPECT_EQ(v2.flag2(), f.featureFlag2);
    EXPECT_EQ(v2.value(), f.featureValue);
    expectGoldenElement(v2.element(), 6, MvpGolden::ElementSet::InFeature);

    EXPECT_EQ(save(v2), bytes);
    EXPECT_EQ(v2.mainBlockSize(), 6u);
    EXPECT_EQ(v2.getNumberOfBlocks(), 5u);
    EXPECT_EQ(v2.memSize(), 2443u);

    // copyTo carries the base's data and every field; to itself or to no target it does nothing.
    v2.copyTo(static_cast<FeaturePropertyAccessBase*>(nullptr));
    v2.copyTo(&v2);
    EXPECT_EQ(save(v2), bytes);
    TestFeatureAccess target;
    target.setExplorerName(QStringLiteral("other"));
    v2.setExplorerName(QStringLiteral("Hole 3"));
    v2.setUsageFlag(PropertyAccess::PROP_LABEL_VISIBILITY, false);
    v2.copyTo(&target);
    EXPECT_EQ(save(target), bytes);
    EXPECT_EQ(target.getExplorerName(), QStringLiteral("Hole 3"));
    EXPECT_EQ(target.getUsageFlags(), v2.getUsageFlags());
    std::unique_ptr<PropertyAccessBase> copy(v2.copy());
    EXPECT_EQ(save(*copy), bytes);
}

// Each access kind: a new access, its golden stream of a given version, its newest version,
// and the prefix of its golden files.
struct Kind {
    char const* name;
    std::function<PropertyAccessBase*()> make;
    std::function<QByteArray(unsigned int)> stream;
    unsigned int newest;
};
std::vector<Kind> const kinds = {
    {"view", [] { return new GLViewPropertyAccess; }, MvpGolden::viewStream, 1},
    {"legend", [] { return new LegendPropertyAccess; }, MvpGolden::legendStream, 3},
    {"element", [] { return new CADElementPropertyAccess; },
     [](unsigned int v) { return MvpGolden::elementStream(v, Properties::ElemProp); }, 6},
    {"container", [] { return new CADContainerPropertyAccess; }, MvpGolden::containerStream, 1},
    {"feature", [] { return new TestFeatureAccess; }, [](unsigned int v) { return MvpGolden::featureStream(v); }, 2},
};

// The kind of a golden file, by its name.
Kind const* kindOf(QString const& file)
{
    for (Kind const& k : kinds)
        if (file.startsWith(QString::fromLatin1(k.name)))
            return &k;
    return nullptr;
}

// A block of version 0 or of the first version past the newest is refused before any of
// its fields is read.
TEST(AccessStreams, RefuseUnsupportedVersions)
{
    for (Kind const& k : kinds) {
        for (unsigned int version : {0u, k.newest + 1}) {
            std::unique_ptr<PropertyAccessBase> a(k.make());
            QByteArray const before = save(*a);
            QByteArray const bytes = k.stream(version);
            IO::InStream in(bytes);
            EXPECT_EQ(a->loadStream(&in), 0u) << k.name << " version " << version;
            // Only the block header was read, and the block is left open.
            EXPECT_EQ(in.getOffset(), static_cast<quint64>(firstBlockOffset() + 8)) << k.name;
            EXPECT_EQ(in.getBlockDepth(), 1) << k.name;
            if (std::string(k.name) != "element") { // the element resets three flags first
                EXPECT_EQ(save(*a), before) << k.name << " changed by a refused block";
            }
        }
    }

    // The element access resets its form and two flags before it looks at the version.
    CADElementPropertyAccess e;
    ASSERT_EQ(load(e, golden(QStringLiteral("element_v6_elemprop.kav"))), 4u);
    ASSERT_TRUE(e.getHasPullOut());
    EXPECT_EQ(load(e, MvpGolden::elementStream(7, Properties::ElemProp)), 0u);
    EXPECT_TRUE(e.getUsesDefaultProperties());
    EXPECT_FALSE(e.getHasPullOut());
    EXPECT_FALSE(e.getIsSectionInsp2d());
}

// A value read whole that lies outside what the scene takes refuses the stream, naming it, and
// leaves the access as it was: applied, nothing finite could be derived from it.
TEST(AccessStreams, RefuseValuesOutOfRange)
{
    double const inf = std::numeric_limits<double>::infinity();
    struct Case {
        char const* file;
        double written, bad;
        char const* named;
    } const cases[] = {{"view_v1.kav", 3.25, 1e308, "scale"}, {"view_v1.kav", 12.5, std::nan(""), "rotation"},
                       {"view_v1.kav", 100.125, -1e300, "translation"}, {"legend_v2.kav", 120.5, inf, "legend's position"},
                       {"element_v6_elemprop.kav", 310.5, 1e300, "label's position"},
                       {"element_v6_elemprop.kav", 20.0, -inf, "pull-out point"}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.named);
        std::unique_ptr<PropertyAccessBase> a(kindOf(QString::fromLatin1(c.file))->make());
        QByteArray const untouched = save(*a);
        QByteArray bytes = golden(QString::fromLatin1(c.file));
        int const at = static_cast<int>(bytes.indexOf(QByteArray(reinterpret_cast<char const*>(&c.written), 8)));
        ASSERT_GT(at, firstBlockOffset());
        ASSERT_GT(load(*a, bytes), 0u);  // as written, it reads
        QByteArray const good = save(*a);
        bytes.replace(at, 8, reinterpret_cast<char const*>(&c.bad), 8);
        try {
            load(*a, bytes);
            ADD_FAILURE() << "read";
        } catch (IO::StreamException const& e) {
            EXPECT_TRUE(e.getText().contains(QString::fromLatin1(c.named)) && e.getText().contains(QStringLiteral("out of range")))
                << e.getText().toStdString();
        }
        EXPECT_EQ(save(*a), good);
        EXPECT_NE(good, untouched);
    }
}

// Every cut and many corruptions of the golden streams end in StreamException (with the
// access unchanged) or in a smaller block count, never in a crash or another exception.
TEST(AccessStreams, RejectMalformedStreams)
{
    std::mt19937 random(20261206);
    int rejected = 0;
    for (MvpGolden::GoldenFile const& f : MvpGolden::goldenFiles()) {
        Kind const* k = kindOf(f.name);
        ASSERT_NE(k, nullptr) << f.name.toStdString();
        std::unique_ptr<PropertyAccessBase> full(k->make());
        unsigned int const complete = full->getNumberOfBlocks();
        QByteArray const untouched = save(*full);
        auto tryLoad = [&](QByteArray const& bytes, char const* what) {
            std::unique_ptr<PropertyAccessBase> a(k->make());
            try {
                IO::InStream in(bytes);
                if (a->loadStream(&in) < complete)
                    ++rejected;
            } catch (IO::StreamException const&) {
                ++rejected;
                // A stream that ends early leaves the access as it was, not half read.
                EXPECT_EQ(save(*a), untouched) << f.name.toStdString() << " " << what;
            } catch (std::exception const& e) {
                ADD_FAILURE() << f.name.toStdString() << " " << what << ": " << e.what();
            }
        };
        for (int cut = firstBlockOffset(); cut < f.bytes.size(); ++cut)
            tryLoad(f.bytes.left(cut), "cut");
        for (int i = 0; i < 200; ++i) {
            QByteArray bytes = f.bytes;
            int const at = firstBlockOffset() + static_cast<int>(random() % (bytes.size() - firstBlockOffset()));
            bytes[at] = static_cast<char>(random() & 0xFF);
            tryLoad(bytes, "corrupted");
        }
    }
    // Every cut is rejected; corruptions mostly are (a changed value can still be valid).
    EXPECT_GT(rejected, 1000);
}

} // namespace
