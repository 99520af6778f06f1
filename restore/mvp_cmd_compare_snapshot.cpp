#include "mvp_cmd_compare_snapshot.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_gapp_errors.h"
#include "io/kav_save_file.h"
#include "library/mvp_errors.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_snapshot_comparison.h"
#include "parse/kav_parse.h"
#include "mvp_restore_common.h"
#include "mvp_snapshot_lookup.h"

namespace Kav {
namespace MCADVisProp {

QByteArray const CompareSnapshotCommand::HEADER = QByteArrayLiteral("object\tproperty\tsnapshot\tcurrent\n");

CompareSnapshotCommand::CompareSnapshotCommand()
    : GApp::Command(true, false, QStringLiteral("report.compare_snapshot"),
                    translate("MCADVisProp_cmd", "compare snapshot"), QStringLiteral("mcad_vis_prop_restore#compare"),
                    nullptr)
{
}

CompareSnapshotCommand::~CompareSnapshotCommand() = default;

bool CompareSnapshotCommand::isSensitive()
{
    return false;
}

bool CompareSnapshotCommand::isExecutable()
{
    return MCADCmd::CommandInterface::getInterface() != nullptr;
}

QString CompareSnapshotCommand::createParameterString()
{
    return Parse::createString(QStringLiteral("snapshot"), QStringLiteral("SNAPSHOT"))
           + Parse::createString(QStringLiteral("other"), QStringLiteral("SNAPSHOT"))
           + Parse::createFile(QStringLiteral("file"), QStringLiteral("FILE"));
}

bool CompareSnapshotCommand::parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log)
{
    try {
        QString rest = parameters;
        QString const snapshot = Parse::getString(rest, QStringLiteral("snapshot"));
        std::unique_ptr<PropertyAccess::PropAccTemplate> tmpl = takeTemplate(rest);
        bool const withOther = Parse::hasKey(rest, QStringLiteral("other"));
        QString const other = withOther ? Parse::getString(rest, QStringLiteral("other")) : QString();
        QString const file =
            Parse::hasKey(rest, QStringLiteral("file")) ? Parse::getFile(rest, QStringLiteral("file")) : QString();
        Parse::checkEmptyParameters(rest);
        snapshotName = snapshot;
        restoreTemplate = std::move(tmpl);
        otherName = other;
        hasOther = withOther;
        fileName = file;
        return true;
    } catch (ParamError const& e) {
        *errorId = QString::fromLatin1(GApp::PARAMETER_ERROR);
        *log << e.getText() << "\n\n" << createErrorString(parameters) << END_LOG;
        return false;
    }
}

int CompareSnapshotCommand::getCommandKind() const
{
    return KIND_SCRIPT;
}

bool CompareSnapshotCommand::executeMenu()
{
    throw ProgError(QStringLiteral("Kav::MCADVisProp::CompareSnapshotCommand::executeMenu"),
                    QStringLiteral("mvp_cmd_compare_snapshot"), __LINE__,
                    QStringLiteral("this command cannot be used in a menu"));
}

QString CompareSnapshotCommand::cellText(QString const& value)
{
    bool plain = true;
    for (QChar c : value)
        plain = plain && c != QLatin1Char('\\') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r');
    if (plain)
        return value;
    QString out;
    out.reserve(value.size() + 8);
    for (QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

bool CompareSnapshotCommand::execute(QString* result, QString* errorId, ErrorLog* log)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (ci == nullptr)
        return false;
    // As the restore it stands for: the whole one refuses a snapshot holding nothing.
    CAD::Report const* report = findRestorableSnapshot(ci, snapshotName, !restoreTemplate, errorId, log);
    if (report == nullptr)
        return false;
    CAD::Report const* other = nullptr;
    if (hasOther) {
        auto const* found = dynamic_cast<CAD::Report const*>(ci->getCADElementForElement(otherName).getElement());
        if (found == nullptr) {
            *errorId = QString::fromLatin1(GApp::PARAMETER_ERROR);
            if (log != nullptr)
                *log << translate("MCADVisProp_cmd", "other: %1").arg(notASnapshotText(ci, otherName)) << END_LOG;
            return false;
        }
        if ((other = findRestorableSnapshot(ci, otherName, false, errorId, log)) == nullptr)
            return false;
    }

    SnapshotComparison const comparison(*report, restoreTemplate.get(), other);
    QString table;
    std::size_t count = 0;
    if (fileName.isEmpty()) {
        count = comparison.run([](QString const&, char const*, QString const&, QString const&) {}, false);
    } else {
        count = comparison.run([&table](QString const& object, char const* property, QString const& stored,
                                        QString const& current) {
            table += cellText(object);
            table += QLatin1Char('\t');
            table += QLatin1String(property);
            table += QLatin1Char('\t');
            table += cellText(stored);
            table += QLatin1Char('\t');
            table += cellText(current);
            table += QLatin1Char('\n');
        });
        QString error;
        if (!IO::SaveFile::save(fileName, HEADER + table.toUtf8(), &error)) {
            *errorId = QString::fromLatin1(ERROR_SAVE_FILE);
            if (log != nullptr)
                *log << error << END_LOG;
            return false;
        }
    }
    *result = Parse::createUInt(QStringLiteral("differences"), static_cast<unsigned int>(count));
    return true;
}

} // namespace MCADVisProp
} // namespace Kav
