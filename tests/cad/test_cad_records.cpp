#include "cad/kav_record.h"
#include "cad/kav_record_manager.h"
#include "core/kav_errors.h"

#include <QObject>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

using namespace Kav;
using namespace Kav::CAD;

namespace {

int scene = 0;            // the "scene" the records change
int destroyed = 0;        // destructor calls of SwapRecord
std::vector<int> deletedIds;

// Holds the scene value it replaced; undo and redo swap it with the scene.
class SwapRecord : public CustomRecord {
public:
    SwapRecord(int id, int newValue, unsigned int size = 10)
        : CustomRecord(QStringLiteral("swap %1").arg(id)), id_(id), stored_(scene), size_(size)
    {
        scene = newValue;
    }
    ~SwapRecord() override
    {
        ++destroyed;
        deletedIds.push_back(id_);
    }
    unsigned int memSize() const override { return size_; }
    void print() const override { std::printf("swap %d holds %d\n", id_, stored_); }
    void undoRedo(bool undo) override
    {
        flags.push_back(undo);
        std::swap(stored_, scene);
        if (onRun)
            onRun();
    }
    void clear(bool) override {}
    void collectRecords(std::vector<RecordBase*>* list) override { list->push_back(this); }

    std::vector<bool> flags;
    std::function<void()> onRun;

private:
    int id_;
    int stored_;
    unsigned int size_;
};

class ThrowingRecord : public SwapRecord {
public:
    ThrowingRecord(int id, int newValue) : SwapRecord(id, newValue) { throw std::runtime_error("broken"); }
};

RecordManager& mgr()
{
    return *RecordManager::_manager;
}

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override
    {
        reset();
        EXPECT_FALSE(mgr().isRecording());
    }
    void reset()
    {
        mgr().clearHistory();
        mgr().setMemoryLimit(RecordManager::DEFAULT_MEMORY_LIMIT);
        scene = 0;
        destroyed = 0;
        deletedIds.clear();
    }
    // One step of records setting the scene to each value in turn; ids from firstId.
    std::vector<SwapRecord*> step(QString const& name, std::vector<int> const& values, int firstId, unsigned int size = 10)
    {
        std::vector<SwapRecord*> made;
        mgr().startRecording(name, RECORD_MODE_PROPERTIES);
        for (int value : values)
            made.push_back(new SwapRecord(firstId++, value, size));
        mgr().stopRecording();
        return made;
    }
};

} // namespace

TEST_F(RecordTest, UndoReversesStepsAndRedoReplaysThem)
{
    int changes = 0;
    QObject context;
    QObject::connect(mgr().notifier(), &RecordNotifier::historyChanged, &context, [&changes] { ++changes; });

    EXPECT_FALSE(mgr().undo());
    std::vector<SwapRecord*> const a = step(QStringLiteral("A"), {1}, 1);
    // Two records in one step: wrong order on undo or redo gives a wrong scene.
    std::vector<SwapRecord*> const b = step(QStringLiteral("B"), {5, 2}, 2);
    ASSERT_EQ(scene, 2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(mgr().undoCount(), 2);
    EXPECT_EQ(mgr().undoName(), QStringLiteral("B"));
    EXPECT_FALSE(mgr().canRedo());
    EXPECT_EQ(mgr().memoryUsed(), 30u);

    EXPECT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 1);
    EXPECT_EQ(mgr().undoName(), QStringLiteral("A"));
    EXPECT_EQ(mgr().redoName(), QStringLiteral("B"));
    EXPECT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 0);
    EXPECT_FALSE(mgr().canUndo());
    EXPECT_FALSE(mgr().undo());
    EXPECT_EQ(mgr().redoCount(), 2);

    EXPECT_TRUE(mgr().redo());
    EXPECT_EQ(scene, 1);
    EXPECT_TRUE(mgr().redo());
    EXPECT_EQ(scene, 2);
    EXPECT_FALSE(mgr().redo());
    EXPECT_EQ(b[0]->flags, (std::vector<bool>{true, false}));
    EXPECT_EQ(a[0]->flags, (std::vector<bool>{true, false}));
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(destroyed, 0);

    mgr().undo();
    ::testing::internal::CaptureStdout();
    mgr().print();
    std::string const printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("undo 1: \"A\" (1 records, 10 bytes)\nswap 1 holds 0\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("redo 1: \"B\" (2 records, 20 bytes)\nswap 2 holds 5\nswap 3 holds 2\n"), std::string::npos)
        << printed;

    mgr().clearHistory();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(deletedIds, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(mgr().undoCount() + mgr().redoCount(), 0);
    EXPECT_EQ(mgr().memoryUsed(), 0u);
}

TEST_F(RecordTest, NewStepDropsRedoHistoryDeletingItsRecordsOnce)
{
    step(QStringLiteral("A"), {1}, 1);
    step(QStringLiteral("B"), {2}, 2);
    step(QStringLiteral("C"), {3, 4}, 3);
    ASSERT_TRUE(mgr().undo());
    ASSERT_TRUE(mgr().undo());
    ASSERT_EQ(scene, 1);

    // An empty step changes nothing: the redo side stays.
    mgr().startRecording(QStringLiteral("empty"), RECORD_MODE_NONE);
    mgr().stopRecording();
    EXPECT_EQ(mgr().redoCount(), 2);
    EXPECT_EQ(mgr().undoName(), QStringLiteral("A"));

    step(QStringLiteral("D"), {9}, 5);
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(deletedIds, (std::vector<int>{4, 3, 2}));
    EXPECT_FALSE(mgr().canRedo());
    EXPECT_EQ(mgr().undoName(), QStringLiteral("D"));
    ASSERT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 1);
    ASSERT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 0);

    mgr().clearHistory();
    EXPECT_EQ(destroyed, 5);
}

TEST_F(RecordTest, MemoryLimitDropsOldestStepsButKeepsTheNewest)
{
    mgr().setMemoryLimit(250);
    step(QStringLiteral("A"), {1}, 1, 100);
    step(QStringLiteral("B"), {2}, 2, 100);
    EXPECT_EQ(mgr().undoCount(), 2);
    step(QStringLiteral("C"), {3}, 3, 100);
    EXPECT_EQ(mgr().undoCount(), 2);
    EXPECT_EQ(deletedIds, std::vector<int>{1});
    EXPECT_EQ(mgr().memoryUsed(), 200u);

    // Bigger than the limit on its own: it stays, everything older goes.
    step(QStringLiteral("D"), {4, 5}, 4, 200);
    EXPECT_EQ(mgr().undoCount(), 1);
    EXPECT_EQ(mgr().undoName(), QStringLiteral("D"));
    EXPECT_EQ(deletedIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(mgr().memoryUsed(), 400u);
    ASSERT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 3);
    EXPECT_FALSE(mgr().undo());

    ASSERT_TRUE(mgr().redo());
    mgr().setMemoryLimit(1000);
    step(QStringLiteral("E"), {6}, 6, 100);
    step(QStringLiteral("F"), {7}, 7, 100);
    // Lowering the limit trims at once.
    mgr().setMemoryLimit(450);
    EXPECT_EQ(mgr().undoCount(), 2);
    EXPECT_EQ(mgr().undoName(), QStringLiteral("F"));
    EXPECT_EQ(deletedIds, (std::vector<int>{1, 2, 3, 5, 4}));
    EXPECT_EQ(destroyed, 5);
}

TEST_F(RecordTest, RecordsOutsideRecordingStayWithTheCaller)
{
    auto* loose = new SwapRecord(1, 5);
    EXPECT_EQ(loose->owner(), nullptr);
    EXPECT_FALSE(mgr().canUndo());
    mgr().clearHistory();
    EXPECT_EQ(destroyed, 0);
    delete loose;
    EXPECT_EQ(destroyed, 1);

    // Nested recording: one step, closed by the outermost stop.
    mgr().startRecording(QStringLiteral("outer"), RECORD_MODE_ELEMENTS);
    auto* first = new SwapRecord(2, 6);
    EXPECT_EQ(first->owner(), &mgr());
    mgr().startRecording(QStringLiteral("inner"), RECORD_MODE_STRUCTURE);
    new SwapRecord(3, 7);
    mgr().stopRecording();
    EXPECT_TRUE(mgr().isRecording());
    EXPECT_EQ(mgr().recordingName(), QStringLiteral("outer"));
    EXPECT_FALSE(mgr().undo());
    mgr().stopRecording();
    EXPECT_FALSE(mgr().isRecording());
    EXPECT_EQ(mgr().undoCount(), 1);
    EXPECT_EQ(mgr().undoName(), QStringLiteral("outer"));
    EXPECT_THROW(mgr().stopRecording(), ProgError);
    ASSERT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 5);
}

TEST_F(RecordTest, OwnedRecordsSurviveEarlyDeletionAndReentrantCalls)
{
    // A constructor throwing after the join, and an owned record deleted by hand,
    // leave the step without a dangling pointer.
    mgr().startRecording(QStringLiteral("A"), RECORD_MODE_NONE);
    EXPECT_THROW(ThrowingRecord(1, 3), std::runtime_error);
    auto* early = new SwapRecord(2, 4);
    auto* kept = new SwapRecord(3, 8);
    delete early;
    mgr().stopRecording();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(mgr().memoryUsed(), 10u);

    // A record clearing the history from its undoRedo is deleted after it has run.
    kept->onRun = [] { mgr().clearHistory(); };
    ASSERT_TRUE(mgr().undo());
    EXPECT_EQ(scene, 4);
    EXPECT_EQ(destroyed, 3);
    EXPECT_FALSE(mgr().canRedo());

    // Recording from inside an undo is refused; the history is dropped, the error passed on.
    step(QStringLiteral("B"), {1}, 4);
    std::vector<SwapRecord*> const c = step(QStringLiteral("C"), {2}, 5);
    c[0]->onRun = [] { mgr().startRecording(QStringLiteral("nested"), RECORD_MODE_NONE); };
    EXPECT_THROW(mgr().undo(), ProgError);
    EXPECT_FALSE(mgr().isRecording());
    EXPECT_EQ(mgr().undoCount() + mgr().redoCount(), 0);
    EXPECT_EQ(destroyed, 5);
}
