#include "cad/kav_record_manager.h"

#include "core/kav_errors.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace Kav {
namespace CAD {

namespace {

// Constant-initialised pointer to a static object: valid before and during static
// initialisation of every library that links kavhost.
RecordManager theManager;

void printLine(QString const& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

} // namespace

RecordManager* RecordManager::_manager = &theManager;

struct RecordStep {
    QString name;
    StructRecordVectorMode_t mode = RECORD_MODE_NONE;
    // Slots of records deleted by someone else become null (see detach); the running
    // step's loop must not see its vector shrink.
    std::vector<CustomRecord*> records;
    quint64 size = 0;
    bool counted = false; // in the history, its size part of used_

    // Each record knows its step and slot, so that detach finds it at once.
    void adopt()
    {
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i]) {
                records[i]->step_ = this;
                records[i]->slot_ = i;
            }
        }
    }
    void compact()
    {
        records.erase(std::remove(records.begin(), records.end(), nullptr), records.end());
        adopt();
    }
    void measure()
    {
        size = 0;
        for (CustomRecord* record : records) {
            if (record)
                size += record->memSize();
        }
    }
    int liveCount() const
    {
        return static_cast<int>(records.size() - static_cast<std::size_t>(std::count(records.begin(), records.end(), nullptr)));
    }
};

RecordManager::RecordManager() : notifier_(std::make_unique<RecordNotifier>()) {}

RecordManager::~RecordManager()
{
    if (open_)
        deleteStep(std::move(open_));
    deleteSteps(redo_, false);
    deleteSteps(undo_, true);
}

void RecordManager::startRecording(QString const& stepName, StructRecordVectorMode_t mode)
{
    if (running_)
        throw ProgError(KAV_HERE, QStringLiteral("cannot record \"%1\" while an undo or redo runs").arg(stepName));
    if (depth_++ > 0)
        return;
    open_ = std::make_unique<Step>();
    open_->name = stepName;
    open_->mode = mode;
    emit notifier_->recordingStarted();
}

bool RecordManager::isRecording() const
{
    return depth_ > 0;
}

QString RecordManager::recordingName() const
{
    return open_ ? open_->name : QString();
}

StructRecordVectorMode_t RecordManager::recordingMode() const
{
    return open_ ? open_->mode : RECORD_MODE_NONE;
}

void RecordManager::stopRecording()
{
    if (depth_ == 0)
        throw ProgError(KAV_HERE, QStringLiteral("no undo step is being recorded"));
    if (--depth_ > 0)
        return;
    std::unique_ptr<Step> step = std::move(open_);
    step->compact();
    if (step->records.empty())
        return;
    step->measure();
    deleteSteps(redo_, false);
    pushStep(undo_, std::move(step));
    trimToLimit();
    emitChanged();
}

bool RecordManager::canUndo() const
{
    return !undo_.empty();
}

bool RecordManager::canRedo() const
{
    return !redo_.empty();
}

QString RecordManager::undoName() const
{
    return undo_.empty() ? QString() : undo_.back()->name;
}

QString RecordManager::redoName() const
{
    return redo_.empty() ? QString() : redo_.back()->name;
}

bool RecordManager::undo()
{
    if (isRecording() || running_ || undo_.empty())
        return false;
    std::unique_ptr<Step> step = takeBack(undo_);
    runStep(*step, true);
    if (clearedWhileRunning_)
        deleteStep(std::move(step));
    else
        pushStep(redo_, std::move(step));
    clearedWhileRunning_ = false;
    emitChanged();
    return true;
}

bool RecordManager::redo()
{
    if (isRecording() || running_ || redo_.empty())
        return false;
    std::unique_ptr<Step> step = takeBack(redo_);
    runStep(*step, false);
    if (clearedWhileRunning_)
        deleteStep(std::move(step));
    else
        pushStep(undo_, std::move(step));
    clearedWhileRunning_ = false;
    emitChanged();
    return true;
}

void RecordManager::runStep(Step& step, bool undo)
{
    running_ = true;
    runningStep_ = &step;
    clearedWhileRunning_ = false;
    try {
        // By index: a record may detach another one of this step, which only nulls its slot.
        std::size_t const n = step.records.size();
        for (std::size_t i = 0; i < n; ++i) {
            CustomRecord* record = step.records[undo ? n - 1 - i : i];
            if (record)
                record->undoRedo(undo);
        }
    } catch (...) {
        running_ = false;
        runningStep_ = nullptr;
        clearedWhileRunning_ = false;
        // The scene is partly undone: no step matches it any more.
        std::unique_ptr<Step> broken(new Step(std::move(step)));
        step.records.clear();
        broken->adopt();
        clearHistory();
        deleteStep(std::move(broken));
        throw;
    }
    running_ = false;
    runningStep_ = nullptr;
    step.compact();
    step.measure();
}

void RecordManager::clearHistory()
{
    if (running_)
        clearedWhileRunning_ = true;
    if (open_) {
        // The step stays open: records made from now on still join it.
        auto doomed = std::make_unique<Step>();
        doomed->records.swap(open_->records);
        doomed->adopt();
        deleteStep(std::move(doomed));
    }
    deleteSteps(redo_, false);
    deleteSteps(undo_, true);
    emitChanged();
}

void RecordManager::setMemoryLimit(quint64 bytes)
{
    limit_ = bytes;
    std::size_t const before = undo_.size();
    trimToLimit();
    if (undo_.size() != before)
        emitChanged();
}

quint64 RecordManager::memoryLimit() const
{
    return limit_;
}

quint64 RecordManager::memoryUsed() const
{
    return used_;
}

int RecordManager::undoCount() const
{
    return static_cast<int>(undo_.size());
}

int RecordManager::redoCount() const
{
    return static_cast<int>(redo_.size());
}

void RecordManager::print() const
{
    printLine(QStringLiteral("undo history: %1 undo, %2 redo, %3 of %4 bytes")
                  .arg(undo_.size())
                  .arg(redo_.size())
                  .arg(memoryUsed())
                  .arg(limit_));
    auto printStep = [](QString const& side, int index, Step const& step) {
        printLine(QStringLiteral("%1 %2: \"%3\" (%4 records, %5 bytes)")
                      .arg(side)
                      .arg(index)
                      .arg(step.name)
                      .arg(step.liveCount())
                      .arg(step.size));
        for (CustomRecord* record : step.records) {
            if (record)
                record->print();
        }
    };
    // Both sides from the next step to undo / redo outwards.
    int index = 1;
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it)
        printStep(QStringLiteral("undo"), index++, **it);
    index = 1;
    for (auto it = redo_.rbegin(); it != redo_.rend(); ++it)
        printStep(QStringLiteral("redo"), index++, **it);
    std::fflush(stdout);
}

void RecordManager::addRecord(CustomRecord* record)
{
    record->step_ = open_.get();
    record->slot_ = open_->records.size();
    open_->records.push_back(record);
    record->owner_ = this;
}

void RecordManager::detach(CustomRecord* record)
{
    record->owner_ = nullptr;
    Step* step = record->step_;
    record->step_ = nullptr;
    if (step == nullptr || record->slot_ >= step->records.size() || step->records[record->slot_] != record)
        return;
    step->records[record->slot_] = nullptr;
    if (step->counted) {
        used_ -= step->size;
        step->measure();
        used_ += step->size;
    }
}

void RecordManager::pushStep(std::deque<std::unique_ptr<Step>>& side, std::unique_ptr<Step> step)
{
    step->counted = true;
    used_ += step->size;
    side.push_back(std::move(step));
}

std::unique_ptr<RecordManager::Step> RecordManager::takeBack(std::deque<std::unique_ptr<Step>>& side)
{
    std::unique_ptr<Step> step = std::move(side.back());
    side.pop_back();
    step->counted = false;
    used_ -= step->size;
    return step;
}

void RecordManager::trimToLimit()
{
    while (undo_.size() > 1 && used_ > limit_) {
        std::unique_ptr<Step> oldest = std::move(undo_.front());
        undo_.pop_front();
        oldest->counted = false;
        used_ -= oldest->size;
        deleteStep(std::move(oldest));
    }
}

// Later records may refer to earlier ones: records go newest first, and so do whole steps
// (redo side first, then undo side from its end), except the oldest dropped by the limit.
void RecordManager::deleteStep(std::unique_ptr<Step> step)
{
    for (auto it = step->records.rbegin(); it != step->records.rend(); ++it) {
        CustomRecord* record = *it;
        if (!record)
            continue;
        record->owner_ = nullptr;
        record->step_ = nullptr;
        delete record;
    }
}

void RecordManager::deleteSteps(std::deque<std::unique_ptr<Step>>& steps, bool newestLast)
{
    // Taken out first: a record's destructor then sees a consistent history.
    std::deque<std::unique_ptr<Step>> doomed;
    doomed.swap(steps);
    for (auto& step : doomed) {
        if (step->counted)
            used_ -= step->size;
        step->counted = false;
    }
    if (newestLast)
        std::reverse(doomed.begin(), doomed.end());
    for (auto& step : doomed)
        deleteStep(std::move(step));
}

void RecordManager::emitChanged()
{
    emit notifier_->historyChanged();
}

} // namespace CAD
} // namespace Kav
