#include "restore/mvp_restore_record.h"
#include "restore_probe.h"

#include "mcadcmd/kav_command_interface.h"

#include <gtest/gtest.h>

#include <string>

using namespace Kav;
using Kav::MCADVisProp::RestorePropsElementRecord;
using RestoreTest::ProbeAccess;

namespace {

class RestoreRecord : public RestoreTest::ProbeScene {};

TEST_F(RestoreRecord, EachUndoRedoPutsBackTheStateTheOneBeforeReplaced)
{
    QString const before = state();
    int const liveBefore = ProbeAccess::live;
    RestorePropsElementRecord record;  // not recording: the test owns it
    EXPECT_EQ(record.owner(), nullptr);
    ASSERT_EQ(record.getStoredAccesses().size(), 3u);
    EXPECT_EQ(record.memSize(), 300u);

    disturb();
    QString const after = state();
    ASSERT_NE(before, after);

    for (int round = 0; round < 3; ++round) {
        record.undoRedo(true);
        EXPECT_EQ(state(), before) << "undo, round " << round;
        record.undoRedo(false);
        EXPECT_EQ(state(), after) << "redo, round " << round;
    }
    EXPECT_EQ(ProbeAccess::live, liveBefore + 3) << "each swap frees the state it put back";
    EXPECT_TRUE(scene().modifiedElements().isEmpty()) << "an undo marks nothing modified";
}

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

TEST_F(RestoreRecord, WithoutCommandInterfaceUndoRedoKeepsTheStoredState)
{
    RestorePropsElementRecord record;
    disturb();
    QString const disturbed = state();
    MCADCmd::CommandInterface::setInterface(nullptr);
    record.undoRedo(true);
    MCADCmd::CommandInterface::setInterface(&session.commandInterface());
    EXPECT_EQ(state(), disturbed);
    EXPECT_EQ(record.getStoredAccesses().size(), 3u);
}

TEST_F(RestoreRecord, PrintsItsSizeInWholeKilobytes)
{
    ProbeAccess::bytes = 1000;
    RestorePropsElementRecord record;
    ASSERT_EQ(record.memSize(), 3000u);
    testing::internal::CaptureStdout();
    record.print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string("    restore snapshot:   size: 2 kb\n"));

    ProbeAccess::bytes = 341;  // 1023 bytes: not yet a kilobyte
    RestorePropsElementRecord small;
    testing::internal::CaptureStdout();
    small.print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string("    restore snapshot:   size: 0 kb\n"));
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

TEST_F(RestoreRecord, MadeWhileRecordingItBelongsToTheUndoStep)
{
    QString const before = state();
    CAD::RecordManager* manager = CAD::RecordManager::_manager;
    manager->startRecording(QStringLiteral("step"), RECORD_MODE_PROPERTIES);
    auto* record = new RestorePropsElementRecord();
    disturb();
    manager->stopRecording();
    EXPECT_EQ(record->owner(), manager);
    QString const after = state();

    ASSERT_TRUE(manager->undo());
    EXPECT_EQ(state(), before);
    ASSERT_TRUE(manager->redo());
    EXPECT_EQ(state(), after);
    EXPECT_EQ(manager->memoryUsed(), 300u);
}

} // namespace
