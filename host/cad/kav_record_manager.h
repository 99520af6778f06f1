#pragma once

#include "cad/kav_record.h"
#include "cad/kav_record_notifier.h"
#include "kavhost_export.h"

#include <QString>
#include <QtGlobal>

#include <deque>
#include <memory>
#include <vector>

namespace Kav {
namespace CAD {

// The undo/redo history: a list of steps, each a list of records. GUI thread only.
class KAVHOST_EXPORT RecordManager {
public:
    // The host's manager, a static object of kavhost; never null.
    static RecordManager* _manager;

    static constexpr quint64 DEFAULT_MEMORY_LIMIT = quint64(256) * 1024 * 1024;

    RecordManager();
    ~RecordManager();
    RecordManager(RecordManager const&) = delete;
    RecordManager& operator=(RecordManager const&) = delete;

    // Opens an undo step. Calls nest: an inner start joins the open step (its name and mode
    // are ignored) and only the outermost stopRecording closes it. Throws ProgError while
    // an undo or redo runs.
    void startRecording(QString const& stepName, StructRecordVectorMode_t mode);
    bool isRecording() const;
    // Name and mode of the open step; empty / RECORD_MODE_NONE when not recording.
    QString recordingName() const;
    StructRecordVectorMode_t recordingMode() const;
    // Closes the step (the outermost call). An empty step is dropped; otherwise the step
    // drops the redo history, and the oldest steps go while the history exceeds the memory
    // limit. Throws ProgError when no step is open.
    void stopRecording();

    // Whether a step is there to undo / redo; undo() and redo() also refuse while a step
    // is open or another undo or redo runs.
    bool canUndo() const;
    bool canRedo() const;
    QString undoName() const;
    QString redoName() const;
    // Undo calls undoRedo(true) on the step's records in reverse order, redo calls
    // undoRedo(false) in order. False when there is nothing to do. When a record throws,
    // the history no longer matches the scene: it is cleared and the exception passed on.
    bool undo();
    bool redo();

    // Deletes every record, the open step's too. Called from a record's undoRedo, the
    // running step is deleted once it has finished.
    void clearHistory();

    // The bound of the sum of memSize() over the history. Lowering it drops the oldest
    // undo steps at once; the newest undo step and the redo steps always stay.
    void setMemoryLimit(quint64 bytes);
    quint64 memoryLimit() const;
    // Sum of memSize() over the closed steps (undo and redo side), each measured when it was
    // recorded, undone or redone (or lost a record); kept as steps come and go.
    quint64 memoryUsed() const;
    int undoCount() const;
    int redoCount() const;

    // The history on stdout: each step's name and size, then each record's print().
    void print() const;

    // historyChanged() after every change of the history.
    RecordNotifier* notifier() const { return notifier_.get(); }

private:
    friend class CustomRecord;
    using Step = RecordStep;

    void addRecord(CustomRecord* record);
    void detach(CustomRecord* record);
    void trimToLimit();
    void runStep(Step& step, bool undo);
    void deleteStep(std::unique_ptr<Step> step);
    void deleteSteps(std::deque<std::unique_ptr<Step>>& steps, bool newestLast);
    void emitChanged();
    // Steps enter and leave the two sides only through these, which keep used_.
    void pushStep(std::deque<std::unique_ptr<Step>>& side, std::unique_ptr<Step> step);
    std::unique_ptr<Step> takeBack(std::deque<std::unique_ptr<Step>>& side);

    std::deque<std::unique_ptr<Step>> undo_;   // oldest first
    std::deque<std::unique_ptr<Step>> redo_;   // the next redo last
    std::unique_ptr<Step> open_;
    Step* runningStep_ = nullptr;              // taken out of the history while it runs
    int depth_ = 0;
    bool running_ = false;                     // an undo or redo runs
    bool clearedWhileRunning_ = false;
    quint64 limit_ = DEFAULT_MEMORY_LIMIT;
    quint64 used_ = 0;                         // memoryUsed()
    std::unique_ptr<RecordNotifier> notifier_;
};

} // namespace CAD
} // namespace Kav
