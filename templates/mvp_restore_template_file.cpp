#include "mvp_restore_template_file.h"

#include "core/kav_init.h"
#include "core/kav_os.h"
#include "core/kav_translate.h"
#include "gtools/kav_dialogs.h"
#include "io/kav_save_file.h"
#include "io/kav_stream.h"

#include <fstream>
#include <sstream>

namespace Kav {
namespace MCADVisProp {
namespace {

RestoreSnapshotTemplateFile* storeInstance = nullptr;

char const* const storeStreamType = "RESTORE_SNAPSHOT_TEMPLATE";
unsigned int const storeStreamVersion = 1;

} // namespace

QString RestoreSnapshotTemplateFile::resourceFileName()
{
    return QString::fromLatin1(KavInit::getApplicationName()) + QStringLiteral("_rstmpls.rst");
}

RestoreSnapshotTemplateFile::RestoreSnapshotTemplateFile() : Cfg::File(resourceFileName())
{
    storeInstance = this;
    setDescription(translate("MCADVisProp", "snapshot restore templates"));
}

RestoreSnapshotTemplateFile::~RestoreSnapshotTemplateFile()
{
    if (storeInstance == this)
        storeInstance = nullptr;
}

RestoreSnapshotTemplateFile* RestoreSnapshotTemplateFile::instance()
{
    return storeInstance;
}

PropertyAccess::PropAccTemplateContainer loadIntactTemplates(std::exception_ptr* damaged)
{
    PropertyAccess::PropAccTemplateContainer templates;
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    if (!store)
        return templates;
    for (Cfg::FileEntry const& entry : store->getLoadFiles()) {
        {
            std::ifstream probe;
            if (!OS::openStdStream(&probe, entry.path, OS::READ))
                continue;
        }
        try {
            IO::InStream in(entry.path);
            // All of the file or nothing of it.
            templates.loadStream(&in, entry.level);
        } catch (IO::StreamException const&) {
            if (!*damaged)
                *damaged = std::current_exception();
        }
    }
    return templates;
}

PropertyAccess::PropAccTemplateContainer loadAllTemplates()
{
    std::exception_ptr damaged;
    PropertyAccess::PropAccTemplateContainer templates = loadIntactTemplates(&damaged);
    if (damaged)
        std::rethrow_exception(damaged);
    return templates;
}

void saveTemplates(PropertyAccess::PropAccTemplateContainer const& templates)
{
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    if (!store)
        return;
    IO::OutStream out(store->getSaveFileName(), KString(storeStreamType), storeStreamVersion);
    try {
        templates.saveStream(&out);
        out.close();
    } catch (IO::StreamException const&) {
        // The stream has dropped its temporary file: the earlier store stays as it was.
        GTools::ErrorDialog(QStringLiteral("MCADVisProp-0004"), QString());
    }
}

bool readExchangeFile(QString const& path, PropertyAccess::PropAccTemplateContainer* templates, QString* why)
{
    QString reason;
    // Checked first: a FIFO or a device would block or never end.
    if (IO::checkReadableFile(path, &reason)) {
        std::ifstream in;
        if (!OS::openStdStream(&in, path, OS::READ))
            reason = translate("MCADVisProp", "it cannot be opened");
        else if (PropertyAccess::readExchangeForm(in, *templates, &reason))
            return true;
    }
    *why = path.isEmpty() ? reason : path + QStringLiteral(": ") + reason;
    return false;
}

bool writeExchangeFile(QString const& path, PropertyAccess::PropAccTemplateContainer const& templates, QString* why)
{
    std::ostringstream text;
    text << templates;
    std::string const bytes = text.str();
    return IO::SaveFile::save(path, QByteArray(bytes.data(), static_cast<int>(bytes.size())), why);
}

} // namespace MCADVisProp
} // namespace Kav
