#include "restore/mvp_restore_record.h"
#include "restore_probe.h"

#include "mcadcmd/kav_command_interface.h"

#include <gtest/gtest.h>


using namespace Kav;
using Kav::MCADVisProp::RestorePropsElementRecord;
using RestoreTest::ProbeAccess;

namespace {

class RestoreRecord : public RestoreTest::ProbeScene {};

TEST_F(RestoreRecord, WithoutDocumentedInterfaceItHoldsNothingAndCapturesLater)
{
    session.printInterface().setDocumentation(false);
    QString const original = state();
    RestorePropsElementRecord record;
    EXPECT_TRUE(record.getStoredAccesses().empty());
    EXPECT_EQ(record.memSize(), 0u);

    disturb();
    QString const disturbed = state();
    record.undoRedo(true);
    EXPECT_EQ(state(), disturbed);
    EXPECT_TRUE(record.getStoredAccesses().empty()) << "still no interface: nothing changes";

    // An inactive or unavailable interface does not count either.
    session.printInterface().setDocumentation(true);
    session.printInterface().setActive(false);
    record.undoRedo(true);
    EXPECT_TRUE(record.getStoredAccesses().empty());
    session.printInterface().setActive(true);
    session.printInterface().setAvailable(false);
    record.undoRedo(true);
    EXPECT_TRUE(record.getStoredAccesses().empty());

    session.printInterface().setAvailable(true);
    record.undoRedo(true);
    EXPECT_EQ(state(), disturbed) << "the empty record applies nothing";
    EXPECT_EQ(record.getStoredAccesses().size(), 3u) << "but stores the state it found";

    element("A")->setElementVisible(false);
    record.undoRedo(false);
    EXPECT_EQ(state(), disturbed);
    EXPECT_NE(state(), original);
}

TEST_F(RestoreRecord, ClearDropsTheStateOnceAndCollectNamesItself)
{
    int const liveBefore = ProbeAccess::live;
    {
        RestorePropsElementRecord record;
        EXPECT_EQ(record.getName(), QStringLiteral("restore snapshot"));
        EXPECT_EQ(ProbeAccess::live, liveBefore + 3);
        record.clear(true);
        EXPECT_EQ(ProbeAccess::live, liveBefore);
        EXPECT_EQ(record.memSize(), 0u);

        std::vector<RecordBase*> records{nullptr};
        record.collectRecords(&records);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[1], &record);

        // A cleared record captures again on its next swap and applies nothing.
        disturb();
        QString const disturbed = state();
        record.undoRedo(true);
        EXPECT_EQ(state(), disturbed);
        EXPECT_EQ(ProbeAccess::live, liveBefore + 3);
    }
    EXPECT_EQ(ProbeAccess::live, liveBefore) << "the destructor frees each access exactly once";
}

} // namespace
