#include "test_accesses.h"

#include "cad/kav_element.h"
#include "mcadcmd/kav_host_session.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Kav;
using MvpTest::TestElementAccess;

namespace {

class ApplyComplete : public ::testing::Test {
protected:
    void SetUp() override
    {
        MCADCmd::Scene& s = session.scene();
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("Part"), CAD::ElementCreator::PART));
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("Child"), CAD::ElementCreator::PLANE),
                     QStringLiteral("Part"));
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("A"), CAD::ElementCreator::POINT));
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("B"), CAD::ElementCreator::POINT));
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("C"), CAD::ElementCreator::DISTANCE));
    }
    void TearDown() override
    {
        for (PropertyAccess::PropertyAccessBase* a : accesses)
            delete a;
    }

    TestElementAccess* elementAccess(QString const& name, quint32 color, bool visible)
    {
        auto* a = new TestElementAccess;
        a->setExplorerName(name);
        a->color = color;
        a->visible = visible;
        accesses.push_back(a);
        return a;
    }
    CAD::Element* element(char const* name) { return session.scene().findElement(QString::fromLatin1(name)); }
    QStringList apply(bool newInvisible, bool invalidInvisible)
    {
        return session.commandInterface().applyPropertyAccessComplete(newInvisible, invalidInvisible, accesses, &names,
                                                                      &types, &descriptions);
    }

    MvpTest::TestCreators creators;
    MCADCmd::HostSession session;
    MCADCmd::AccessList accesses;
    QStringList names, types, descriptions;
};

TEST_F(ApplyComplete, AppliesToTargetsAndAnswersChangedNamesInSceneOrder)
{
    auto* view = new MvpTest::TestViewAccess;
    view->rotation = BaVec3d<double>(10.0, 20.0, 30.0);
    view->scale = 2.5;
    view->setUsageFlag(PropertyAccess::PROP_SCALE, false);
    accesses.push_back(view);
    elementAccess(QStringLiteral("C"), 0x112233, false);
    elementAccess(QStringLiteral("A"), 0x445566, true);

    QStringList const changed = apply(false, false);

    EXPECT_EQ(changed, (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_EQ(session.scene().viewCreator()->getRotation(), BaVec3d<double>(10.0, 20.0, 30.0));
    EXPECT_EQ(session.scene().viewCreator()->getScale(), 1.0) << "a disabled property was applied";
    EXPECT_EQ(element("C")->getElemProperties()->color, 0x112233u);
    EXPECT_FALSE(element("C")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_EQ(element("A")->getElemProperties()->color, 0x445566u);
    EXPECT_TRUE(element("B")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_TRUE(names.isEmpty());
    EXPECT_TRUE(types.isEmpty());
    EXPECT_TRUE(descriptions.isEmpty());
}

TEST_F(ApplyComplete, MissingTargetListsEveryEnabledPropertyAndThrowingAccessItsMessage)
{
    // A snapshot that took the name of a removed element is no target for its access.
    CAD::Report* snapshot = session.scene().addReport(std::make_unique<CAD::Report>(QStringLiteral("Gone")));
    snapshot->setElementVisible(false);
    TestElementAccess* gone = elementAccess(QStringLiteral("Gone"), 0x010203, true);
    gone->setUsageFlag(PropertyAccess::PROP_ELEMENT_VISUALIZATION, false);
    auto* thrower = new MvpTest::ThrowingAccess;
    thrower->setExplorerName(QStringLiteral("B"));
    accesses.push_back(thrower);
    elementAccess(QStringLiteral("B"), 0x0000ff, true);

    QStringList const changed = apply(false, false);

    // "Gone": visibility and pull-out enabled, visualisation not; the thrower: one property.
    EXPECT_EQ(names, (QStringList{QStringLiteral("Gone"), QStringLiteral("Gone"), QStringLiteral("B")}));
    EXPECT_EQ(types,
              (QStringList{QStringLiteral("element type"), QStringLiteral("element type"), QStringLiteral("container type")}));
    EXPECT_EQ(descriptions, (QStringList{QStringLiteral("element visibility"), QStringLiteral("element pullout distance"),
                                         QStringLiteral("no containers here")}));
    // The access after the thrower still ran.
    EXPECT_EQ(element("B")->getElemProperties()->color, 0x0000ffu);
    EXPECT_EQ(changed, QStringList{QStringLiteral("B")});
    EXPECT_FALSE(snapshot->isVisible(CAD::VISIBLE_OWN));
    EXPECT_NE(snapshot->getElemProperties()->color, 0x010203u);
}

TEST_F(ApplyComplete, NewInvisibleHidesExactlyTheTopLevelElementsNoAccessNames)
{
    elementAccess(QStringLiteral("A"), 0x808080, true);
    elementAccess(QStringLiteral("Gone"), 0x808080, true);

    QStringList const changed = apply(true, false);

    EXPECT_TRUE(element("A")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("B")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("C")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("Part")->isVisible(CAD::VISIBLE_OWN));
    // A sub-element is left to its parent.
    EXPECT_TRUE(element("Child")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("Child")->isVisible(CAD::VISIBLE_IN_SCENE));
    EXPECT_EQ(changed, (QStringList{QStringLiteral("Part"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
}

TEST_F(ApplyComplete, InvalidInvisibleHidesTheInvalidOnes)
{
    element("B")->setValid(false);
    element("Child")->setValid(false);
    element("C")->setValid(false);
    element("C")->setElementVisible(false);  // hidden already: not changed
    elementAccess(QStringLiteral("B"), 0x808080, true);  // shown by its access, hidden as invalid

    QStringList const changed = apply(false, true);

    EXPECT_FALSE(element("B")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("Child")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_TRUE(element("A")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_TRUE(element("Part")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_EQ(changed, (QStringList{QStringLiteral("Child"), QStringLiteral("B")}));
}

TEST_F(ApplyComplete, InterfaceWithoutSceneReportsEveryEnabledPropertyAsNotApplied)
{
    auto* view = new MvpTest::TestViewAccess;
    view->setExplorerName(QStringLiteral("3d view"));
    accesses.push_back(view);
    MCADCmd::CommandInterface detached(nullptr);
    QStringList n, t, d;
    QStringList const changed = detached.applyPropertyAccessComplete(true, true, accesses, &n, &t, &d);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_EQ(n, (QStringList{QStringLiteral("3d view"), QStringLiteral("3d view")}));
    EXPECT_EQ(d, (QStringList{QStringLiteral("rotation"), QStringLiteral("scale")}));
}

} // namespace
