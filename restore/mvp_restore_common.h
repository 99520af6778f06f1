#pragma once
// What the two restore commands (and the restore-template menu) share.


#include <QString>
#include <QStringList>

namespace Kav {
namespace CAD {
class Report;
}
namespace MCADCmd {
class CommandInterface;
}
namespace MPrinter {
class PrintInterface;
}
namespace MCADVisProp {

// The interface snapshots are taken from (active, documented, available): its picture of
// the scene is what a restore is undone with and what a snapshot update takes. Null if none.
MPrinter::PrintInterface* documentationInterface();

// A documentation element whose CAD element has the snapshot type code 50.
bool isSnapshotElement(MCADCmd::CommandInterface const* ci, QString const& name);

// The log line of "MCADVisProp-0007" for `name`: that no element has the name, or that the
// element of that name is not a snapshot. Empty names are called empty.
QString notASnapshotText(MCADCmd::CommandInterface const* ci, QString const& name);

// The view of the first active sensitive print interface, replaced by the report's own view
// when that is a registered view widget; shown with ensureViewVisible if either was found.
void bringSnapshotViewToFront(CAD::Report const* report);

// Re-places the 2D labels and tells the legend that its colours may have changed.
void refreshLabelsAndLegend(MCADCmd::CommandInterface const* ci);

// The result string of a restore: "not_found_names", "not_found_types",
// "not_found_descriptions", in this order.
QString createRestoreResult(QStringList const& names, QStringList const& types, QStringList const& descriptions);

// The lines of the warning: "name (description)", or the name alone for an empty
// description. Names without a description of the same index count as undescribed.
QStringList unappliedPropertyLines(QStringList const& names, QStringList const& descriptions);

// Shows the properties a restore's result lists as not applied in a warning: all of them
// up to 40, otherwise the first 35 and a line for the rest. Nothing when there are none.
void showUnappliedProperties(QString const& result);

// Holds the main window's drawing lock until release() or the end of the scope, so that
// an exception passing through a restore does not leave drawing off.
class DrawingLock {
public:
    DrawingLock();
    ~DrawingLock();
    DrawingLock(DrawingLock const&) = delete;
    DrawingLock& operator=(DrawingLock const&) = delete;
    void release();

private:
    bool held_ = true;
};

class RestorePropsElementRecord;

// The undo step of one restore and its record, which captures the state before it. Closed
// with stop(), the step joins the history. A restore that an exception ends before that
// leaves no step: the record puts the captured state back and is dropped, so the scene is
// as it was and Edit offers nothing to undo for the failure.
class RestoreStep {
public:
    // With `only`, the record keeps the state of those elements alone.
    explicit RestoreStep(QString const& stepName, QStringList const* only = nullptr);
    ~RestoreStep();
    RestoreStep(RestoreStep const&) = delete;
    RestoreStep& operator=(RestoreStep const&) = delete;
    void stop();

private:
    RestorePropsElementRecord* record_ = nullptr;  // owned by the open step
    bool open_ = true;
};

} // namespace MCADVisProp
} // namespace Kav
