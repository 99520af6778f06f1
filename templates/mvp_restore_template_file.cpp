#include "mvp_restore_template_file.h"

#include "core/kav_init.h"
#include "core/kav_os.h"
#include "core/kav_translate.h"
#include "gtools/kav_dialogs.h"
#include "io/kav_stream.h"

#include <fstream>

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

PropertyAccess::PropAccTemplateContainer loadAllTemplates()
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
        IO::InStream in(entry.path);
        templates.loadStream(&in, entry.level);
    }
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

} // namespace MCADVisProp
} // namespace Kav
