#pragma once
#include "kavhost_export.h"
#include "cad/kav_element.h"
#include "gcad/kav_gcad.h"
#include "gl/kav_view.h"
#include "glegend2/kav_global_legend.h"
#include <QObject>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

namespace Kav {
class ErrorLog;
namespace MCADCmd {

// What one batch of changes did to the scene, so that observers redo only that.
struct KAVHOST_EXPORT SceneChanges {
    // Lists longer than this turn into `reset` or `allChanged`: past it, redoing
    // everything once is cheaper than following each name.
    static constexpr int MAX_NAMES = 512;

    bool reset = false;         // the scene was replaced: elements, reports, view and legend
    QStringList inserted;       // elements and reports, in the order they came
    QStringList removed;        // with their sub-elements
    QSet<QString> changed;      // properties (visibility, colour, label, modified mark, ...)
    bool allChanged = false;    // properties of any element
    bool selection = false;
    bool view = false;
    bool legend = false;

    bool isEmpty() const;
    // Past naming them: every element, the names dropped.
    void markAllChanged()
    {
        allChanged = true;
        changed.clear();
    }
    bool structure() const { return reset || !inserted.isEmpty() || !removed.isEmpty(); }
    // Whether what is shown of `name` may differ now.
    bool touches(QString const& name) const;
};

// The CAD model the host shows: elements in scene order (parents before children), the
// documentation folder with the snapshot reports, the selection, the main view, the
// overlay and the global legend. Names are unique across elements and reports.
class KAVHOST_EXPORT Scene : public QObject {
    Q_OBJECT
public:
    // Name of the documentation folder element that holds the reports.
    static QString documentationFolderName();

    explicit Scene(QObject* parent = nullptr);
    ~Scene() override;

    // Empties elements, reports, selection and modified marks; view and legend to defaults.
    void clear();
    // Room for this many elements and reports, before many are added at once.
    void reserve(std::size_t count);

    // Takes the element. Throws ProgError for a taken or empty name, or an unknown parent.
    CAD::Element* addElement(std::unique_ptr<CAD::Element> element, QString const& parentName = QString());
    // A whole scene's elements at once, in scene order with their parents set, and the names
    // they go by (a project load has checked and hashed them). Only into an empty scene.
    void adoptElements(std::vector<std::unique_ptr<CAD::Element>> elements, QHash<QString, CAD::Element*> byName);
    // The same at a scene position (clamped to the end). The parent must come before it.
    CAD::Element* insertElement(std::unique_ptr<CAD::Element> element, QString const& parentName, std::size_t index);
    // Scene position of an element; -1 for a report or an unknown name.
    long indexOf(QString const& name) const;
    // Removes the element with its children (and from the selection); false when unknown.
    bool removeElement(QString const& name);
    CAD::Element* findElement(QString const& name) const;  // elements and reports
    // The element at this scene position is likely the next one looked up by name.
    void expectLookup(std::size_t index) const;
    // Scene order, without the reports.
    std::vector<CAD::Element*> const& elements() const { return elements_; }
    // Adds a report to the documentation folder; same rules as addElement.
    CAD::Report* addReport(std::unique_ptr<CAD::Report> report);
    // The same at a place in the folder (clamped to the end), for putting a taken one back.
    CAD::Report* insertReport(std::unique_ptr<CAD::Report> report, std::size_t index);
    // Takes a report out of the scene (and the selection) without deleting it, for undo;
    // `index` gets its place. Null when `name` is no report.
    std::unique_ptr<CAD::Report> takeReport(QString const& name, std::size_t* index = nullptr);
    std::vector<CAD::Report*> reports() const;
    bool isReport(QString const& name) const;
    // "Snapshot 1", "Snapshot 2", ...: the first not taken.
    QString nextReportName() const;

    QStringList const& selection() const { return selection_; }
    // Unknown names are dropped.
    void setSelection(QStringList const& names);

    GL::ViewCreator* viewCreator() { return &viewCreator_; }
    GL::RenderObject* renderObject() { return &renderObject_; }
    GCAD::Overlay2d* overlay() { return &overlay_; }
    GCAD::RenderCallback* renderCallback() { return &renderCallback_; }
    GLegend2::GlobalLegend* legend() { return &legend_; }
    bool hasLegendData() const { return hasLegend_; }
    void setHasLegendData(bool h) { hasLegend_ = h; }
    StageIdentifier stage() const { return stage_; }

    // Marks of elements and reports; an unknown name has none.
    void setModified(QString const& name, bool modified);
    bool isModified(QString const& name) const;
    QStringList modifiedElements() const;

    // Something visual changed that the caller does not name: every element, view, legend.
    void notifyChanged();
    void elementChanged(QString const& name);
    void elementsChanged(QStringList const& names);
    void viewChanged();
    void legendChanged();

    // While a batch is open, changes are collected; closing the outermost one emits
    // `changes` once (with changed(), structureChanged() and selectionChanged() after it
    // as they apply). A change outside any batch is a batch of its own.
    void beginBatch();
    void endBatch();
    bool inBatch() const { return batchDepth_ > 0; }
    class Batch {
    public:
        explicit Batch(Scene& scene) : scene_(scene) { scene_.beginBatch(); }
        ~Batch() { scene_.endBatch(); }
        Batch(Batch const&) = delete;
        Batch& operator=(Batch const&) = delete;

    private:
        Scene& scene_;
    };

signals:
    void changes(Kav::MCADCmd::SceneChanges const& changes);
    // Views connect here to redraw: once per batch that changed anything.
    void changed();
    void selectionChanged();
    void structureChanged();

private:
    void noteInserted(QString const& name);
    void noteRemoved(QString const& name);
    void noteSelection();
    void flushIfIdle();
    void forgetHints();
    // Drops what is gone from the selection and tells the views.
    void afterRemoval();

    std::vector<std::unique_ptr<CAD::Element>> owned_;
    std::vector<CAD::Element*> elements_;
    std::vector<std::unique_ptr<CAD::Report>> reports_;
    // Looked up for every element a restore touches, several times: hashed, not ordered.
    // QHash and not std::unordered_map: the latter rehashes every QString it passes in a
    // bucket chain, which made the lookups a quarter of a whole restore.
    QHash<QString, CAD::Element*> byName_;
    // The last element found: an access looks up the element its caller has just looked
    // up, and callers mostly go through the scene in order, so the one after it comes next.
    mutable CAD::Element* lastFound_ = nullptr;
    mutable std::size_t lastIndex_ = NO_INDEX;  // its place in elements_, if it is there
    static constexpr std::size_t NO_INDEX = static_cast<std::size_t>(-1);
    // "Snapshot 1" up to "Snapshot n - 1" are taken: names are only added until something
    // is removed, which starts the search at 1 again.
    mutable unsigned int reportNumber_ = 1;
    // Gives the elements from `from` on their places as hints.
    void renumber(std::size_t from);
    QStringList selection_;
    GL::ViewCreator viewCreator_;
    GL::RenderObject renderObject_;
    GCAD::Overlay2d overlay_;
    GCAD::RenderCallback renderCallback_;
    GLegend2::GlobalLegend legend_;
    bool hasLegend_ = true;
    StageIdentifier stage_{1};
    int batchDepth_ = 0;
    SceneChanges pending_;
};

// The canonical text of the whole visual state: one line per object, sorted, numbers
// printed so that they read back exactly. The same state always gives the same text.
KAVHOST_EXPORT QString dumpState(Scene& scene);

// The sample scene of examples/ (read from the given file; the built-in copy when empty)
// or a generated one of n elements "E000001".., replacing what the scene held.
// Answers false with a log entry for an unreadable file.
KAVHOST_EXPORT bool loadSampleScene(Scene& scene, QString const& file, ErrorLog* log);
KAVHOST_EXPORT void generateScene(Scene& scene, unsigned int elementCount);

// Project files: scene, reports with their accesses (framed one by one), view, legend.
// Saving is atomic. Loading replaces the scene only when the file is readable; accesses
// that cannot be read are named in the log and skipped. Both answer false with the
// reason in the log on failure.
KAVHOST_EXPORT bool saveProject(Scene& scene, QString const& path, ErrorLog* log);
KAVHOST_EXPORT bool loadProject(Scene& scene, QString const& path, ErrorLog* log);

// Creates the host's own script commands (host.*, report.create_snapshot, select, view.set,
// legend.set, element.*, edit.undo/redo); they work on the installed command interface's
// scene and live until the process ends. Safe to call again (nothing new is made).
// Beyond the documented keys, element.set also takes point_size, line_width, first_kink,
// label_position (2), label_origin (3), label_font, label_frame, label_connector, center,
// extent and radius; legend.set takes map and data; host.sample_scene takes file.
// label_offset places the label that far (pixels) from its projected anchor. view.set,
// legend.set, element.set, element.add and element.remove are undo steps (removing a
// report is not); host.sample_scene and host.load_project clear the undo history.
KAVHOST_EXPORT void registerHostCommands();

} // namespace MCADCmd
} // namespace Kav
