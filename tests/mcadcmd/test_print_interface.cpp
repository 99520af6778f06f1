#include "test_accesses.h"

#include "cad/kav_element.h"
#include "mcadcmd/kav_host_session.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Kav;

namespace {

struct Owned {
    MCADCmd::AccessList list;
    ~Owned()
    {
        for (auto* a : list)
            delete a;
    }
};

TEST(PrintInterface, ExtractsViewLegendThenEveryElementInSceneOrder)
{
    MCADCmd::HostSession session;
    MCADCmd::generateScene(session.scene(), 4);
    session.scene().addReport(std::make_unique<CAD::Report>(QStringLiteral("Snapshot 1")));
    {
        // Without creators (the plug-in not loaded) nothing is made.
        Owned none{session.printInterface().extractPropertyAccess()};
        EXPECT_TRUE(none.list.empty());
    }
    MvpTest::TestCreators creators;
    Owned got{session.printInterface().extractPropertyAccess()};
    ASSERT_EQ(got.list.size(), 6u);
    EXPECT_EQ(got.list[0]->getType(), PropertyAccess::PROP_ACC_3D_VIEW);
    EXPECT_EQ(got.list[1]->getType(), PropertyAccess::PROP_ACC_LEGEND);
    QStringList names;
    for (std::size_t i = 2; i < got.list.size(); ++i) {
        EXPECT_EQ(got.list[i]->getType(), PropertyAccess::PROP_ACC_CAD_ELEMENT);
        names << got.list[i]->getExplorerName();
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("E000001"), QStringLiteral("E000002"), QStringLiteral("E000003"),
                                  QStringLiteral("E000004")}));

    // Only available interfaces are sensitive.
    session.printInterface().setAvailable(false);
    for (MPrinter::PrintInterface* pi : MPrinter::PrintInterfaceContainer::getSensitiveInterfaces())
        EXPECT_NE(pi, &session.printInterface());
}

TEST(PrintInterface, CapturedStateAppliedBackRestoresTheDump)
{
    MvpTest::TestCreators creators;
    MCADCmd::HostSession session;
    ASSERT_TRUE(MCADCmd::loadSampleScene(session.scene(), QString(), nullptr));
    QString const before = MCADCmd::dumpState(session.scene());
    Owned captured{session.printInterface().extractPropertyAccess()};

    // Change what the test accesses capture: colours, visibility, view, legend.
    for (CAD::Element* e : session.scene().elements()) {
        e->getElemProperties()->color ^= 0x00ff00;
        e->setElementVisible(!e->isVisible(CAD::VISIBLE_OWN));
    }
    session.scene().viewCreator()->setRotation(BaVec3d<double>(1, 2, 3));
    session.scene().viewCreator()->setScale(0.5);
    session.scene().legend()->setSteps(40);
    ASSERT_NE(MCADCmd::dumpState(session.scene()), before);

    QStringList names, types, descriptions;
    QStringList const changed = session.commandInterface().applyPropertyAccessComplete(
        false, false, captured.list, &names, &types, &descriptions);
    EXPECT_EQ(MCADCmd::dumpState(session.scene()), before);
    EXPECT_EQ(static_cast<std::size_t>(changed.size()), session.scene().elements().size());
    EXPECT_TRUE(names.isEmpty()) << names.join(QLatin1Char(',')).toStdString();
}

} // namespace
