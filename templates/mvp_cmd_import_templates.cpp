#include "mvp_cmd_import_templates.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "gapp/kav_gapp_errors.h"
#include "mvp_restore_template_file.h"
#include "mvp_template_names.h"
#include "parse/kav_parse.h"


namespace Kav {
namespace MCADVisProp {

ImportResTemCommand::ImportResTemCommand()
    : GApp::Command(true, false, QStringLiteral("report.import_restore_templates"),
                    QStringLiteral("import restore templates"), QStringLiteral("mcad_vis_prop_restore#edit_template"),
                    nullptr)
{
}

ImportResTemCommand::~ImportResTemCommand() = default;

bool ImportResTemCommand::isSpecialCommand() const
{
    return false;
}

bool ImportResTemCommand::isSensitive()
{
    return false;
}

bool ImportResTemCommand::isExecutable()
{
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    setNotExecutableReason(store ? store->lockReason() : QString());
    return store && !store->isLocked();
}

QString ImportResTemCommand::createParameterString()
{
    return createFileParameterString(QStringLiteral("FILE"));
}

QString ImportResTemCommand::createFileParameterString(QString const& path)
{
    return Parse::createFile(QStringLiteral("file"), path);
}

bool ImportResTemCommand::parseParameterString(QString const& parameters, bool, QString* errorId, ErrorLog* log)
{
    try {
        QString copy = parameters;
        file = Parse::getFile(copy, QStringLiteral("file"));
        Parse::checkEmptyParameters(copy);
        return true;
    } catch (ParamError const& e) {
        return refuseParameters(e, parameters, errorId, log);
    }
}

int ImportResTemCommand::getCommandKind() const
{
    return KIND_SCRIPT;
}

bool ImportResTemCommand::executeMenu()
{
    return true;
}

bool ImportResTemCommand::execute(QString*, QString* errorId, ErrorLog* log)
{
    PropertyAccess::PropAccTemplateContainer incoming;
    QString why;
    if (!readExchangeFile(file, &incoming, &why)) {
        *errorId = QStringLiteral("MCADVisProp-0002");
        *log << why << END_LOG;
        return false;
    }
    UnreadableLevel leftOut;
    bool const saved = changeTemplates(
        [&incoming](PropertyAccess::PropAccTemplateContainer* stored) { mergeTemplates(stored, incoming); }, errorId, &why,
        &leftOut);
    // After the lock is let go: a warning may wait for the user.
    warnLeftOut(leftOut);
    if (!saved)
        *log << why << END_LOG;
    return saved;
}

} // namespace MCADVisProp
} // namespace Kav
