#include "mvp_probe_access.h"

#include "cad/kav_element.h"
#include "core/kav_error_log.h"
#include "mcadcmd/kav_host_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Kav;
using MvpTest::ProbeAccess;

namespace {

class ApplyComplete : public ::testing::Test {
protected:
    void SetUp() override
    {
        MCADCmd::Scene& s = session.scene();
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("Part"), CAD::ElementCreator::PART));
        s.addElement(std::make_unique<CAD::Element>(QStringLiteral("Child"), CAD::ElementCreator::PLANE),
                     QStringLiteral("Part"));
        for (char const* name : {"A", "B", "C"})
            s.addElement(std::make_unique<CAD::Element>(QString::fromLatin1(name), CAD::ElementCreator::POINT));
    }
    void TearDown() override { qDeleteAll(accesses); }

    void access(char const* target, quint32 color, bool visible = true)
    {
        auto* a = new ProbeAccess;
        a->setExplorerName(QString::fromLatin1(target));
        a->color = color;
        a->visible = visible;
        accesses.push_back(a);
    }
    CAD::Element* element(char const* name) { return session.scene().findElement(QString::fromLatin1(name)); }
    QStringList apply(bool newInvisible, bool invalidInvisible)
    {
        names.clear();
        types.clear();
        descriptions.clear();
        return session.commandInterface().applyPropertyAccessComplete(newInvisible, invalidInvisible, accesses, &names,
                                                                      &types, &descriptions);
    }

    MvpTest::ProbeCreator creator;
    MCADCmd::HostSession session;
    MCADCmd::AccessList accesses;
    QStringList names, types, descriptions;
};

TEST_F(ApplyComplete, AppliesToElementsOnlyAndAnswersWhatChangedInSceneOrder)
{
    // A snapshot that took the name of a removed element does not stand in for it.
    CAD::Report* snapshot = session.scene().addReport(std::make_unique<CAD::Report>(QStringLiteral("Gone")));
    quint32 const snapshotColor = snapshot->getElemProperties()->color;
    access("C", 0x112233, false);
    access("Gone", 0x010203, false);
    access("A", 0x445566);

    EXPECT_EQ(apply(false, false), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_EQ(element("C")->getElemProperties()->color, 0x112233u);
    EXPECT_FALSE(element("C")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_EQ(element("A")->getElemProperties()->color, 0x445566u);
    // Each enabled property of the access without a target is listed.
    EXPECT_EQ(names, (QStringList{QStringLiteral("Gone"), QStringLiteral("Gone")}));
    EXPECT_EQ(descriptions, (QStringList{QStringLiteral("element visualization"), QStringLiteral("element visibility")}));
    EXPECT_TRUE(snapshot->isVisible(CAD::VISIBLE_OWN));
    EXPECT_EQ(snapshot->getElemProperties()->color, snapshotColor);
}

TEST_F(ApplyComplete, NewAndInvalidInvisibleChangeOnlyWhatTheyHide)
{
    // New invisible: every element no access names is handed to a fresh access to hide (which
    // elements it leaves to their parents is the access's own rule).
    access("A", 0x808080);
    EXPECT_EQ(apply(true, false), (QStringList{QStringLiteral("Part"), QStringLiteral("Child"), QStringLiteral("A"),
                                               QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_TRUE(element("A")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("B")->isVisible(CAD::VISIBLE_OWN));

    // Invalid invisible: an invalid element that is hidden already is not changed.
    qDeleteAll(accesses);
    accesses.clear();
    for (char const* name : {"Part", "Child", "B", "C"})
        element(name)->setElementVisible(true);
    element("Child")->setValid(false);
    element("B")->setValid(false);
    element("C")->setValid(false);
    element("C")->setElementVisible(false);
    EXPECT_EQ(apply(false, true), (QStringList{QStringLiteral("Child"), QStringLiteral("B")}));
    EXPECT_FALSE(element("B")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(element("Child")->isVisible(CAD::VISIBLE_OWN));
    EXPECT_TRUE(element("Part")->isVisible(CAD::VISIBLE_OWN));
}

TEST_F(ApplyComplete, ObserversHearOneBatchNamingWhatChangedOrAllPastTheLimit)
{
    MCADCmd::Scene& s = session.scene();
    std::vector<MCADCmd::SceneChanges> heard;
    QObject::connect(&s, &MCADCmd::Scene::changes, [&heard](MCADCmd::SceneChanges const& c) { heard.push_back(c); });
    ErrorLog log;
    ASSERT_TRUE(session.commandInterface().elementPropertiesChanged({QStringLiteral("A"), QStringLiteral("C")}, &log));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].view && heard[0].legend);
    EXPECT_FALSE(heard[0].allChanged);
    EXPECT_TRUE(heard[0].touches(QStringLiteral("A")) && heard[0].touches(QStringLiteral("C")));
    EXPECT_FALSE(heard[0].touches(QStringLiteral("B")));

    // A restore of a large scene names more than observers follow one by one: all are redone.
    QStringList many;
    for (int i = 0; i <= MCADCmd::SceneChanges::MAX_NAMES; ++i) {
        many << QStringLiteral("P%1").arg(i);
        s.addElement(std::make_unique<CAD::Element>(many.back(), CAD::ElementCreator::POINT));
    }
    heard.clear();
    ASSERT_TRUE(session.commandInterface().elementPropertiesChanged(many, &log));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].allChanged);
    EXPECT_TRUE(heard[0].changed.isEmpty());
    EXPECT_TRUE(heard[0].touches(QStringLiteral("B")));
    EXPECT_TRUE(log.isEmpty());
}

} // namespace
