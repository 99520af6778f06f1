#pragma once

#include "gapp/kav_command.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <memory>

namespace Kav {
namespace MCADVisProp {

// "report.compare_snapshot": what restoring a snapshot (whole, or by a template) would
// change in the scene, or in a scene in another snapshot's state, plus what it could not
// restore. Changes nothing. With a file, writes the differences as a tab-separated table.
class CompareSnapshotCommand : public GApp::Command {
public:
    CompareSnapshotCommand();
    ~CompareSnapshotCommand() override;

    bool isSensitive() override;
    bool isExecutable() override;
    QString createParameterString() override;
    bool parseParameterString(QString const& parameters, bool interactive, QString* errorId, ErrorLog* log) override;
    int getCommandKind() const override;
    // Throws Kav::ProgError: there is no menu form of this command.
    bool executeMenu() override;
    bool execute(QString* result, QString* errorId, ErrorLog* log) override;

    // The table's first line, and how a value is written into a cell: "\", tab and line
    // breaks as \\, \t, \n and \r, so that every difference is one line.
    static QByteArray const HEADER;
    static QString cellText(QString const& value);

private:
    QString snapshotName;
    QString otherName;
    bool hasOther = false;
    QString fileName;
    std::unique_ptr<PropertyAccess::PropAccTemplate> restoreTemplate;
};

} // namespace MCADVisProp
} // namespace Kav
