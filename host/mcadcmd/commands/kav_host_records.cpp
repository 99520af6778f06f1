// The undo steps of the host's script commands. Each keeps what its step changed in one
// scene, which may be gone by the time the step is undone.
#include "mcadcmd/commands/kav_host_command_p.h"

#include "cad/kav_record.h"
#include "cad/kav_shared_accesses.h"

#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace Kav {
namespace MCADCmd {
namespace HostCommands {
namespace {

class SceneRecord : public CAD::CustomRecord {
public:
    SceneRecord(QString const& name, Scene* scene) : CAD::CustomRecord(name), scene_(scene) {}
    void print() const override
    {
        std::printf("    %s:   size: %u kb\n", qUtf8Printable(getName()), memSize() / 1024);
        std::fflush(stdout);
    }
    void collectRecords(std::vector<RecordBase*>* list) override
    {
        if (list != nullptr)
            list->push_back(this);
    }

protected:
    QPointer<Scene> scene_;
};

// One undo step named `stepName` holding the record `make` creates; the step owns it.
template <typename Make>
void recordStep(QString const& stepName, StructRecordVectorMode_t mode, Make const& make)
{
    CAD::RecordManager* manager = CAD::RecordManager::_manager;
    manager->startRecording(stepName, mode);
    if (manager->isRecording())
        make();
    manager->stopRecording();
}

// The view and the legend before a change; undo and redo exchange them with those on screen.
class ViewLegendRecord : public SceneRecord {
public:
    ViewLegendRecord(QString const& name, Scene* scene, Detail::VisualState state)
        : SceneRecord(name, scene), state_(std::move(state))
    {
    }
    unsigned int memSize() const override
    {
        return static_cast<unsigned int>(std::min<std::size_t>(sizeof(*this) + state_.legendData.size(), 0xFFFFFFFFu));
    }
    void undoRedo(bool) override
    {
        if (scene_.isNull())
            return;
        Detail::VisualState now = Detail::capture(*scene_);
        Detail::apply(*scene_, state_);
        state_ = std::move(now);
        // Labels keep off the legend too: every one may move.
        scene_->overlay()->repositionLabels();
    }
    void clear(bool) override
    {
        state_ = Detail::VisualState();
        scene_.clear();
    }

private:
    Detail::VisualState state_;
};

// One element's state before a change, exchanged with its state on screen. Only the element
// is kept: a long series of element changes costs one element state a step.
class ElementStateRecord : public SceneRecord {
public:
    ElementStateRecord(QString const& name, Scene* scene, Detail::ElementState state)
        : SceneRecord(name, scene), state_(std::move(state))
    {
    }
    unsigned int memSize() const override
    {
        return static_cast<unsigned int>(std::min<std::size_t>(sizeof(*this) + state_.textBytes(), 0xFFFFFFFFu));
    }
    void undoRedo(bool) override
    {
        CAD::Element* e = scene_.isNull() ? nullptr : scene_->findElement(state_.name);
        if (e == nullptr)
            return;
        Detail::ElementState now = Detail::ElementState::capture(*e);
        state_.applyTo(*e, scene_->stage());
        scene_->elementChanged(state_.name);
        state_ = std::move(now);
        // A label's place depends on the view and its own element only.
        scene_->overlay()->repositionLabel(e->getLabel());
    }
    void clear(bool) override
    {
        state_ = Detail::ElementState();
        scene_.clear();
    }

private:
    Detail::ElementState state_;
};

// Elements added or removed by a step. Undo and redo toggle: when the elements are there
// they are copied and taken out, else the copies go back at their places.
class StructureRecord : public SceneRecord {
public:
    StructureRecord(QString const& name, Scene* scene, std::vector<Detail::ElementCopy> copies, bool present)
        : SceneRecord(name, scene), copies_(std::move(copies)), present_(present)
    {
    }
    unsigned int memSize() const override
    {
        std::size_t size = sizeof(*this);
        for (Detail::ElementCopy const& c : copies_)
            size += sizeof(c) + c.state.textBytes();
        return static_cast<unsigned int>(std::min<std::size_t>(size, 0xFFFFFFFFu));
    }
    void undoRedo(bool) override
    {
        if (scene_.isNull() || copies_.empty())
            return;
        if (present_) {
            // Their state may have changed since: take it along.
            std::vector<Detail::ElementCopy> now;
            QStringList roots;
            for (Detail::ElementCopy const& c : copies_) {
                bool const root = std::none_of(copies_.begin(), copies_.end(), [&c](Detail::ElementCopy const& o) {
                    return o.state.name == c.state.parent;
                });
                if (!root)
                    continue;
                std::vector<Detail::ElementCopy> part = Detail::copySubtree(*scene_, c.state.name);
                if (!part.empty()) {
                    roots << c.state.name;
                    now.insert(now.end(), part.begin(), part.end());
                }
            }
            std::sort(now.begin(), now.end(),
                      [](Detail::ElementCopy const& a, Detail::ElementCopy const& b) { return a.index < b.index; });
            for (QString const& r : roots)
                scene_->removeElement(r);
            copies_ = std::move(now);
        } else {
            Detail::restoreCopies(*scene_, copies_);
        }
        present_ = !present_;
        scene_->overlay()->repositionLabels();
    }
    void clear(bool) override
    {
        copies_.clear();
        scene_.clear();
    }

private:
    std::vector<Detail::ElementCopy> copies_;
    bool present_;
};


// A report made or removed by a step. Undo and redo toggle: a report in the scene is taken
// out and kept here with its accesses, a kept one goes back at its place in the folder.
class ReportRecord : public SceneRecord {
public:
    ReportRecord(QString const& stepName, Scene* scene, QString const& report, std::unique_ptr<CAD::Report> kept,
                 std::size_t index)
        : SceneRecord(stepName, scene), report_(report), kept_(std::move(kept)), index_(index)
    {
    }
    unsigned int memSize() const override
    {
        std::size_t size = sizeof(*this) + 2 * static_cast<std::size_t>(report_.size());
        // Only what dropping this record would free: the accesses no other report holds.
        // Measured when the step is recorded or run (the history keeps that figure).
        if (kept_) {
            CAD::SharedAccesses const& pool = CAD::SharedAccesses::instance();
            for (PropertyAccess::PropertyAccessBase const* a : kept_->getCreationPropertyAccess())
                size += a != nullptr && pool.holders(a) == 1 ? a->memSize() : 0;
        }
        return static_cast<unsigned int>(std::min<std::size_t>(size, 0xFFFFFFFFu));
    }
    void undoRedo(bool) override
    {
        if (scene_.isNull())
            return;
        if (kept_) {
            // Something else by that name now: the report stays here rather than replace it.
            if (scene_->findElement(report_) != nullptr)
                return;
            scene_->insertReport(std::move(kept_), index_);
        } else {
            kept_ = scene_->takeReport(report_, &index_);
        }
    }
    void clear(bool) override
    {
        kept_.reset();
        scene_.clear();
    }

private:
    QString report_;
    std::unique_ptr<CAD::Report> kept_; // null while the report is in the scene
    std::size_t index_;
};

// A snapshot renamed by a step; undo and redo rename it back and forth.
class RenameRecord : public SceneRecord {
public:
    RenameRecord(QString const& stepName, Scene* scene, QString const& from, QString const& to)
        : SceneRecord(stepName, scene), from_(from), to_(to)
    {
    }
    unsigned int memSize() const override
    {
        return static_cast<unsigned int>(sizeof(*this) + 2 * static_cast<std::size_t>(from_.size() + to_.size()));
    }
    void undoRedo(bool) override
    {
        // Something else took the name meanwhile: the snapshot keeps the one it has.
        if (scene_.isNull() || !scene_->isReport(to_) || scene_->findElement(from_) != nullptr)
            return;
        renameReport(*scene_, to_, from_);
        std::swap(from_, to_);
    }
    void clear(bool) override { scene_.clear(); }

private:
    QString from_;
    QString to_;
};

} // namespace

void recordRename(Scene& scene, QString const& stepName, QString const& from, QString const& to)
{
    recordStep(stepName, RECORD_MODE_STRUCTURE, [&] { new RenameRecord(stepName, &scene, from, to); });
}

void recordStructure(Scene& scene, QString const& stepName, std::vector<Detail::ElementCopy> copies, bool present)
{
    recordStep(stepName, RECORD_MODE_STRUCTURE,
               [&] { new StructureRecord(stepName, &scene, std::move(copies), present); });
}

void recordReport(Scene& scene, QString const& stepName, QString const& report, std::unique_ptr<CAD::Report> kept,
                  std::size_t index)
{
    recordStep(stepName, RECORD_MODE_STRUCTURE,
               [&] { new ReportRecord(stepName, &scene, report, std::move(kept), index); });
}

void recordChange(Scene& scene, QString const& stepName, CAD::Element* element, std::function<void()> const& change)
{
    if (element != nullptr) {
        Detail::ElementState before = Detail::ElementState::capture(*element);
        try {
            change();
        } catch (...) {
            // A change refused half way (a bad entry after good ones) leaves the element as it was.
            before.applyTo(*element, scene.stage());
            scene.elementChanged(before.name);
            throw;
        }
        recordStep(stepName, RECORD_MODE_PROPERTIES,
                   [&] { new ElementStateRecord(stepName, &scene, std::move(before)); });
        scene.overlay()->repositionLabel(element->getLabel());
        return;
    }
    Detail::VisualState before = Detail::capture(scene);
    try {
        change();
    } catch (...) {
        Detail::apply(scene, before);
        throw;
    }
    recordStep(stepName, RECORD_MODE_PROPERTIES, [&] { new ViewLegendRecord(stepName, &scene, std::move(before)); });
    scene.overlay()->repositionLabels();
}

} // namespace HostCommands
} // namespace MCADCmd
} // namespace Kav
