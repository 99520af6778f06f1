#include "access/mvp_property_access.h"
#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_errors.h"
#include "gcad/kav_gcad.h"
#include "gl/kav_view.h"
#include "glabel/kav_label_element.h"
#include "glegend2/kav_global_legend.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_access_test_util.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace Kav;
using namespace Kav::MCADVisProp;
using namespace MvpAccessTest;
using CAD::ElementCreator;
using PropertyAccess::PropertyAccessBase;
using AccessPtr = std::unique_ptr<PropertyAccessBase>;

namespace {

// A small scene: a part with label and pull-out, a sub-element, a section inspection with
// label; a set view and legend. The creators exist before any access is made, so new
// accesses carry a flag for every declared property.
class AccessSceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MCADCmd::Scene& s = host.scene();
        part = s.addElement(ElementCreator::create(ElementCreator::PART, QStringLiteral("Part A")));
        CAD::ElemProp* p = part->getElemProperties();
        p->color = 0x112233;
        p->transparency = 0.2;
        p->displayMode = CAD::DISPLAY_WIREFRAME;
        part->setLabel(std::make_unique<LabelElement>(part));
        LabelElement* label = part->getLabel();
        label->setContentTemplate(QStringLiteral("%name%: %value%"));
        label->setFontSize(12);
        label->setAutoLabelPlacement(false);
        label->setManualOriginOffset(BaVec3d<double>(1.0, 1.0, 1.0));
        label->setPosition(BaVec2d<double>(100.0, 50.0));
        part->setPullOut(std::make_unique<CAD::DistPullOut>(BaVec3d<double>(1.0, 2.0, 3.0), true));

        child = s.addElement(ElementCreator::create(ElementCreator::POINT, QStringLiteral("Point 1")),
                             QStringLiteral("Part A"));

        section = static_cast<CAD::SectionInsp2d*>(s.addElement(
            ElementCreator::create(ElementCreator::SECTION_INSPECTION_2D, QStringLiteral("Section 1"))));
        section->setSampling(false, 2.0);
        section->resample(s.stage(), true);
        section->setLabel(std::make_unique<LabelElement>(section));
        section->getLabel()->setPosition(BaVec2d<double>(300.0, 20.0));
        section->getLabel()->setHasConnector(false);
        section->getLabel()->setManualOriginOffset(BaVec3d<double>(0.0, 0.0, 5.0));

        setView(BaVec3d<double>(30.0, 45.0, 0.0), BaVec3d<double>(1.0, 2.0, 3.0), BaVec3d<double>(1.0, 1.0, 2.0), 2.0);
        ASSERT_TRUE(s.legend()->setRange(-2.0, 3.0));
        ASSERT_TRUE(s.legend()->setSteps(20));
        ASSERT_TRUE(s.legend()->setColorMap(QStringLiteral("grey")));
    }

    void setView(BaVec3d<double> const& r, BaVec3d<double> const& t, BaVec3d<double> const& a, double scale)
    {
        auto set = [&](auto* x) { x->setRotation(r), x->setTranslation(t), x->setAxisScale(a), x->setScale(scale); };
        set(host.scene().viewCreator());
        set(host.scene().renderObject());
    }

    QString dump() { return MCADCmd::dumpState(host.scene()); }

    // The view, the legend and every element, extracted as the host does for a snapshot.
    std::vector<AccessPtr> capture()
    {
        std::vector<AccessPtr> out;
        out.emplace_back(new GLViewPropertyAccess);
        out.back()->extract(QString());
        out.emplace_back(new LegendPropertyAccess);
        out.back()->extract(QString());
        for (CAD::Element* e : host.scene().elements()) {
            out.emplace_back(new CADElementPropertyAccess);
            out.back()->extract(e->getName());
        }
        return out;
    }

    // The accesses written one after the other into one stream and read back into new ones.
    static std::vector<AccessPtr> throughStream(std::vector<AccessPtr> const& accesses)
    {
        QByteArray bytes;
        {
            IO::OutStream out(&bytes, KString("SNAPSHOT"), 1);
            for (AccessPtr const& a : accesses)
                a->saveStream(&out);
            out.close();
        }
        std::vector<AccessPtr> loaded;
        IO::InStream in(bytes);
        for (AccessPtr const& a : accesses) {
            AccessPtr b(PropertyAccess::PropertyAccessFactory::create(a->getType()));
            EXPECT_EQ(b->loadStream(&in), b->getNumberOfBlocks());
            b->setExplorerName(a->getExplorerName());
            loaded.push_back(std::move(b));
        }
        EXPECT_TRUE(in.atEnd());
        return loaded;
    }

    static void applyAll(std::vector<AccessPtr> const& accesses)
    {
        for (AccessPtr const& a : accesses)
            a->apply(a->getExplorerName());
    }

    static void allFlags(std::vector<AccessPtr> const& accesses, bool used)
    {
        for (AccessPtr const& a : accesses) {
            PropertyAccess::UsageFlags flags = a->getUsageFlags();
            for (auto& f : flags)
                f.second = used;
            a->setUsageFlags(flags);
        }
    }

    // Every property the accesses restore, changed.
    void changeEverything()
    {
        MCADCmd::Scene& s = host.scene();
        setView(BaVec3d<double>(90.0, -10.0, 5.0), BaVec3d<double>(-4.0, 0.5, 8.0), BaVec3d<double>(2.0, 2.0, 1.0), 0.5);
        ASSERT_TRUE(s.legend()->setRange(0.0, 10.0));
        ASSERT_TRUE(s.legend()->setSteps(5));
        ASSERT_TRUE(s.legend()->setColorMap(QStringLiteral("signal")));

        part->setElementVisible(false);
        part->getElemProperties()->color = 0xFFEE00;
        part->getElemProperties()->transparency = 0.9;
        part->getElemProperties()->displayMode = CAD::DISPLAY_POINTS;
        LabelElement* label = part->getLabel();
        label->setContentTemplate(QStringLiteral("changed"));
        label->setFontSize(30);
        label->setFrame(false);
        label->setVisible(false);
        label->setAutoLabelPlacement(true);
        label->setManualOriginOffset(BaVec3d<double>(-7.0, 0.0, 7.0));
        label->setPosition(BaVec2d<double>(5.0, 5.0));
        part->getDistPullOut()->setPullOutPoint(BaVec3d<double>(9.0, 9.0, 9.0));
        part->getDistPullOut()->setFirstKink(false);

        child->setElementVisible(false);
        section->setSampling(true, 1.0);
        section->resample(s.stage(), true);
        section->getLabel()->setPosition(BaVec2d<double>(1.0, 1.0));
    }

    GLViewPropertyAccessCreator viewCreator;
    LegendPropertyAccessCreator legendCreator;
    CADContainerPropertyAccessCreator containerCreator;
    CADElementPropertyAccessCreator elementCreator;
    MCADCmd::HostSession host;
    CAD::Element* part = nullptr;
    CAD::Element* child = nullptr;
    CAD::SectionInsp2d* section = nullptr;
};

TEST_F(AccessSceneTest, SavedAccessesPutTheVisualStateBack)
{
    QString const before = dump();
    std::vector<AccessPtr> const accesses = throughStream(capture());
    EXPECT_EQ(accesses[0]->getExplorerName(), QStringLiteral("3d view"));
    changeEverything();
    ASSERT_NE(dump(), before);
    applyAll(accesses);
    EXPECT_EQ(dump(), before);
    // Applying does not use the accesses up.
    changeEverything();
    applyAll(accesses);
    EXPECT_EQ(dump(), before);
}

TEST_F(AccessSceneTest, WithoutFlagsOnlyTheUngatedStepsRun)
{
    std::vector<AccessPtr> const accesses = capture();
    allFlags(accesses, false);
    changeEverything();
    section->getLabel()->setManualOriginOffset(BaVec3d<double>(0.0, 0.0, -5.0));
    GL::ViewCreator* view = host.scene().viewCreator();
    GL::ViewCreator expectedDirection;
    expectedDirection.setRotation(view->getRotation());
    ASSERT_TRUE(expectedDirection.setMainViewDirectionFromTransformation());
    ASSERT_NE(view->getMainViewDirection(), expectedDirection.getMainViewDirection());
    LabelElement* label = part->getLabel();
    unsigned int const partUpdates = part->getUpdateCount();
    unsigned int const textUpdates = label->getLabelFigText()->getUpdateCount();
    std::size_t const samples = section->getSamplePoints().size();
    // Where the label's anchor lands in the changed view, with the changed origin offset.
    LabelElement probe(part);
    probe.setManualOriginOffset(label->getManualOriginOffset());
    probe.updateFigureElements(host.scene().stage(), 0, host.scene().renderObject()->get3d2dTransformation(), 0.0);
    ASSERT_NE(label->getAnchor2d(), probe.getAnchor2d());

    applyAll(accesses);

    // The view derives its direction anew, whatever the flags.
    EXPECT_EQ(view->getMainViewDirection(), expectedDirection.getMainViewDirection());
    // Gated: all stays as changed.
    EXPECT_FALSE(part->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(child->isVisible(CAD::VISIBLE_OWN));
    EXPECT_EQ(part->getElemProperties()->color, 0xFFEE00u);
    EXPECT_EQ(label->getContentTemplate(), QStringLiteral("changed"));
    EXPECT_FALSE(label->isLabelVisible());
    EXPECT_TRUE(label->isAutoLabelPlacement());
    EXPECT_EQ(part->getDistPullOut()->getPullOutPoint(), BaVec3d<double>(9.0, 9.0, 9.0));
    EXPECT_TRUE(section->isAutoSampling());
    EXPECT_EQ(section->getSamplePoints().size(), samples);
    // Ungated: the label goes back to its place and origin, figures and element update.
    EXPECT_EQ(label->getPosition(), BaVec2d<double>(100.0, 50.0));
    EXPECT_EQ(label->getManualOriginOffset(), BaVec3d<double>(1.0, 1.0, 1.0));
    EXPECT_EQ(section->getLabel()->getPosition(), BaVec2d<double>(300.0, 20.0));
    // The origin offset only matters, and is only restored, for a label with a connector.
    EXPECT_EQ(section->getLabel()->getManualOriginOffset(), BaVec3d<double>(0.0, 0.0, -5.0));
    EXPECT_EQ(label->getAnchor2d(), probe.getAnchor2d());
    EXPECT_EQ(label->getLabelFigText()->getUpdateCount(), textUpdates + 1);
    EXPECT_EQ(part->getUpdateCount(), partUpdates + 1);
}

TEST_F(AccessSceneTest, EachFlagRestoresItsOwnProperty)
{
    using namespace PropertyAccess;
    LabelElement* label = part->getLabel();
    GL::ViewCreator* view = host.scene().viewCreator();
    GL::RenderObject* render = host.scene().renderObject();
    // The view and its render object both hold `value`.
    auto both = [&](auto get, auto const& value) { return get(view) == value && get(render) == value; };
    // Whether each property of the part and the view is back at its captured value.
    std::vector<std::pair<PropTemplateID_t, std::function<bool()>>> const restored = {
        {PROP_ELEMENT_VISUALIZATION, [&] { return part->getElemProperties()->color == 0x112233u; }},
        {PROP_ELEMENT_VISIBILITY, [&] { return part->isVisible(CAD::VISIBLE_OWN); }},
        {PROP_ELEMENT_PULLOUT_DISTANCE,
         [&] { return part->getDistPullOut()->getPullOutPoint() == BaVec3d<double>(1.0, 2.0, 3.0); }},
        {PROP_LABEL_VISIBILITY, [&] { return label->isLabelVisible(); }},
        {PROP_LABEL_AUTO_PLACEMENT, [&] { return !label->isAutoLabelPlacement(); }},
        {PROP_LABEL_CONTENT_TEMPLATE, [&] { return label->getContentTemplate() == QStringLiteral("%name%: %value%"); }},
        {PROP_ROTATION, [&] { return both([](auto* x) { return x->getRotation(); }, BaVec3d<double>(30.0, 45.0, 0.0)); }},
        {PROP_TRANSLATION, [&] { return both([](auto* x) { return x->getTranslation(); }, BaVec3d<double>(1.0, 2.0, 3.0)); }},
        {PROP_SCALE, [&] { return both([](auto* x) { return x->getScale(); }, 2.0); }},
        {PROP_AXIS_SCALE, [&] { return both([](auto* x) { return x->getAxisScale(); }, BaVec3d<double>(1.0, 1.0, 2.0)); }},
    };
    std::vector<AccessPtr> const accesses = capture();
    PropertyAccessBase* viewAccess = accesses[0].get();
    PropertyAccessBase* partAccess = accesses[2].get();
    ASSERT_EQ(partAccess->getExplorerName(), QStringLiteral("Part A"));
    for (auto const& only : restored) {
        allFlags(accesses, false);
        viewAccess->setUsageFlag(only.first, true);
        partAccess->setUsageFlag(only.first, true);
        changeEverything();
        viewAccess->apply(QString());
        partAccess->apply(QStringLiteral("Part A"));
        for (auto const& r : restored)
            EXPECT_EQ(r.second(), r.first == only.first) << "property " << r.first << " with only " << only.first;
    }
}

TEST_F(AccessSceneTest, NamesThatAreNotThereChangeNothing)
{
    CADElementPropertyAccess a;
    a.setExplorerName(QStringLiteral("kept"));
    QByteArray const before = save(a);
    a.extract(QStringLiteral("no such element"));
    EXPECT_EQ(a.getExplorerName(), QStringLiteral("kept"));
    EXPECT_EQ(save(a), before);

    QString const state = dump();
    CADElementPropertyAccess partAccess;
    partAccess.extract(QStringLiteral("Part A"));
    partAccess.apply(QStringLiteral("no such element"));
    partAccess.setNewInvisible(QStringLiteral("no such element"));
    EXPECT_EQ(dump(), state);

    // New elements are hidden, except sub-elements, which follow their parent.
    partAccess.setNewInvisible(QStringLiteral("Point 1"));
    EXPECT_TRUE(child->isVisible(CAD::VISIBLE_OWN));
    partAccess.setNewInvisible(QStringLiteral("Part A"));
    EXPECT_FALSE(part->isVisible(CAD::VISIBLE_OWN));

    // setVisible sets the stored visibility that apply restores.
    part->setElementVisible(false);
    partAccess.setVisible(true);
    partAccess.apply(QStringLiteral("Part A"));
    EXPECT_TRUE(part->isVisible(CAD::VISIBLE_OWN));

    // Captured without a label, an element shows a label it got later.
    CADElementPropertyAccess bare;
    bare.extract(QStringLiteral("Point 1"));
    child->setLabel(std::make_unique<LabelElement>(child));
    child->getLabel()->setVisible(false);
    bare.apply(QStringLiteral("Point 1"));
    EXPECT_TRUE(child->getLabel()->isLabelVisible());
}

TEST_F(AccessSceneTest, LegendSettingsComeBackButNotItsPosition)
{
    GLegend2::GlobalLegend* legend = host.scene().legend();
    legend->setPosition(BaVec2d<double>(40.0, 60.0));
    LegendPropertyAccess a;
    a.extract(QString());
    EXPECT_EQ(a.getExplorerName(), QStringLiteral("legend"));
    EXPECT_EQ(a.getLegendPosition(), BaVec2d<double>(40.0, 60.0));
    EXPECT_FALSE(a.getHasLegendPosition());
    ASSERT_FALSE(a.getLegendData().isEmpty());

    ASSERT_TRUE(legend->setSteps(7));
    legend->setPosition(BaVec2d<double>(1.0, 2.0));
    host.scene().setHasLegendData(false);
    a.apply(QString());
    EXPECT_EQ(legend->getSteps(), 7u);
    host.scene().setHasLegendData(true);
    a.setUsageFlag(PropertyAccess::PROP_LEGEND_ALL, false);
    a.apply(QString());
    EXPECT_EQ(legend->getSteps(), 7u);
    a.setUsageFlag(PropertyAccess::PROP_LEGEND_ALL, true);
    a.apply(QString());
    EXPECT_EQ(legend->getSteps(), 20u);
    EXPECT_EQ(legend->getPosition(), BaVec2d<double>(1.0, 2.0));

    // Only an access read from a version 2 block moves the legend, and it brings no settings.
    LegendPropertyAccess old;
    ASSERT_EQ(load(old, golden(QStringLiteral("legend_v2.kav"))), 1u);
    ASSERT_TRUE(legend->setSteps(9));
    old.apply(QString());
    EXPECT_EQ(legend->getPosition(), MvpGolden::LegendValues().position);
    EXPECT_EQ(legend->getSteps(), 9u);

    // No data and no position: nothing to apply even with the flag set.
    LegendPropertyAccess empty;
    QString const state = dump();
    empty.apply(QString());
    EXPECT_EQ(dump(), state);

    // Without legend data extract leaves the settings empty.
    host.scene().setHasLegendData(false);
    a.extract(QString());
    EXPECT_TRUE(a.getLegendData().isEmpty());
}

} // namespace
