#include "mvp_restore_template_file.h"

#include "core/kav_init.h"
#include "core/kav_os.h"
#include "core/kav_translate.h"
#include "gtools/kav_dialogs.h"
#include "io/kav_save_file.h"
#include "io/kav_stream.h"
#include "library/mvp_errors.h"

#include <QFileInfo>
#include <QLockFile>

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

namespace {

int lockWait = 5000;

// Every readable level file's templates. A damaged file is left out, the first one's error
// kept in `damaged` with its path; with `userMustRead` the user level's error is thrown.
PropertyAccess::PropAccTemplateContainer loadLevels(bool userMustRead, std::exception_ptr* damaged, QString* damagedPath)
{
    PropertyAccess::PropAccTemplateContainer templates;
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    if (!store)
        return templates;
    for (Cfg::FileEntry const& entry : store->getLoadFiles()) {
        bool const mustRead = userMustRead && entry.level == Cfg::LEVEL_USER;
        {
            // A user file that is there but cannot be opened is not an empty level: it
            // would be written over.
            std::ifstream probe;
            if (!OS::openStdStream(&probe, entry.path, OS::READ) && !(mustRead && QFileInfo::exists(entry.path)))
                continue;
        }
        try {
            IO::InStream in(entry.path);
            // All of the file or nothing of it.
            templates.loadStream(&in, entry.level);
        } catch (IO::StreamException const&) {
            if (mustRead)
                throw;
            if (!*damaged) {
                *damaged = std::current_exception();
                *damagedPath = entry.path;
            }
        }
    }
    return templates;
}

// Holds the store's lock while `produce` makes the templates and their user level is written.
bool writeLocked(std::function<PropertyAccess::PropAccTemplateContainer()> const& produce, QString* errorId, QString* why)
{
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    if (!store)
        return true;
    QString const path = store->getSaveFileName();
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWait)) {
        qint64 pid = 0;
        QString host, application;
        if (lock.error() == QLockFile::LockFailedError) {
            *errorId = QString::fromLatin1(ERROR_TEMPLATES_BUSY);
            *why = lock.getLockInfo(&pid, &host, &application)
                ? translate("MCADVisProp", "%1 is being changed by %2 (process %3 on %4): its lock %5 was not free "
                                           "within %6 seconds; nothing was changed")
                      .arg(path, application)
                      .arg(pid)
                      .arg(host, path + QStringLiteral(".lock"))
                      .arg(lockWait / 1000.0)
                : translate("MCADVisProp", "%1 is being changed by another program: its lock %2 was not free within "
                                           "%3 seconds; nothing was changed")
                      .arg(path, path + QStringLiteral(".lock"))
                      .arg(lockWait / 1000.0);
        } else {
            *errorId = QString::fromLatin1(ERROR_SAVE_TEMPLATES);
            *why = translate("MCADVisProp", "%1: the lock %2 cannot be made; nothing was changed")
                       .arg(path, path + QStringLiteral(".lock"));
        }
        return false;
    }
    PropertyAccess::PropAccTemplateContainer const templates = produce();
    try {
        IO::OutStream out(path, KString(storeStreamType), storeStreamVersion);
        templates.saveStream(&out);
        out.close();
    } catch (IO::StreamException const& e) {
        // The stream has dropped its temporary file: the earlier store stays as it was.
        *errorId = QString::fromLatin1(ERROR_SAVE_TEMPLATES);
        *why = e.getText();
        return false;
    }
    return true;
}

} // namespace

PropertyAccess::PropAccTemplateContainer loadIntactTemplates(std::exception_ptr* damaged)
{
    QString path;
    return loadLevels(false, damaged, &path);
}

PropertyAccess::PropAccTemplateContainer loadAllTemplates()
{
    std::exception_ptr damaged;
    PropertyAccess::PropAccTemplateContainer templates = loadIntactTemplates(&damaged);
    if (damaged)
        std::rethrow_exception(damaged);
    return templates;
}

PropertyAccess::PropAccTemplateContainer loadTemplatesToChange(UnreadableLevel* leftOut)
{
    std::exception_ptr damaged;
    QString path;
    PropertyAccess::PropAccTemplateContainer templates = loadLevels(true, &damaged, &path);
    if (damaged) {
        try {
            std::rethrow_exception(damaged);
        } catch (IO::StreamException const& e) {
            *leftOut = UnreadableLevel{path, e.getText()};
        }
    }
    return templates;
}

void warnLeftOut(UnreadableLevel const& leftOut)
{
    if (leftOut.path.isEmpty())
        return;
    RestoreSnapshotTemplateFile const* store = RestoreSnapshotTemplateFile::instance();
    GTools::OkDialog(GTools::DIALOG_WARNING, store ? store->getDescription() : QString(),
                     translate("MCADVisProp", "%1 cannot be read: its restore templates are left out").arg(leftOut.path),
                     leftOut.why, QString());
}

bool changeTemplates(std::function<void(PropertyAccess::PropAccTemplateContainer*)> const& change, QString* errorId,
                     QString* why, UnreadableLevel* leftOut)
{
    return writeLocked(
        [&]() {
            PropertyAccess::PropAccTemplateContainer templates = loadTemplatesToChange(leftOut);
            change(&templates);
            return templates;
        },
        errorId, why);
}

void saveTemplates(PropertyAccess::PropAccTemplateContainer const& templates)
{
    QString errorId;
    QString why;
    if (!writeLocked([&]() { return templates; }, &errorId, &why))
        GTools::ErrorDialog(errorId, why);
}

int lockWaitMs()
{
    return lockWait;
}

void setLockWaitMs(int ms)
{
    lockWait = ms;
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
