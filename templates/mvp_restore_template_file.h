#pragma once

#include "cfg/kav_cfg_resource.h"
#include "propertyaccess/kav_prop_acc_template_container.h"

#include <exception>
#include <functional>

namespace Kav {
namespace MCADVisProp {

// The configuration resource that keeps restore templates, one store file per level.
// It holds no templates: every load reads the level files again.
class RestoreSnapshotTemplateFile : public Cfg::File {
public:
    RestoreSnapshotTemplateFile();
    ~RestoreSnapshotTemplateFile() override;

    // The one store, or null before it is made and after it is gone.
    static RestoreSnapshotTemplateFile* instance();
    // The resource file name: the application name followed by "_rstmpls.rst".
    static QString resourceFileName();
};

// Every readable level file's templates, file by file in level order, each tagged with
// its level. Files that cannot be opened are skipped; a corrupt one throws
// Kav::IO::StreamException to the caller.
PropertyAccess::PropAccTemplateContainer loadAllTemplates();
// As loadAllTemplates, but a corrupt level file is left out and the others are still read;
// the first such stream error is kept in `damaged` for the caller to throw.
PropertyAccess::PropAccTemplateContainer loadIntactTemplates(std::exception_ptr* damaged);
// A level file left out because it cannot be read; no path when none was.
struct UnreadableLevel {
    QString path;
    QString why;
};
// As loadIntactTemplates, for a writer: only the level it writes (the user level) must read,
// its error is thrown; of the other levels' damaged files the first goes to `leftOut`.
PropertyAccess::PropAccTemplateContainer loadTemplatesToChange(UnreadableLevel* leftOut);
// The one warning that `leftOut` was skipped; nothing when it has no path.
void warnLeftOut(UnreadableLevel const& leftOut);

// Changes the user level as one writer among several processes. The store's lock (a
// QLockFile beside the user-level file) is held while the levels are read again, `change`
// alters what was read, and the user level is saved (atomically, only its templates):
// what another writer stored meanwhile is read and kept. False, with the registered error
// id and the details, when the lock is not free within lockWaitMs() or the file cannot be
// written: the store is as it was then. A user level that cannot be read throws
// Kav::IO::StreamException; `leftOut` as for loadTemplatesToChange.
bool changeTemplates(std::function<void(PropertyAccess::PropAccTemplateContainer*)> const& change, QString* errorId,
                     QString* why, UnreadableLevel* leftOut);
// Writes `templates` as the user level, under the lock but without reading it; an error is
// shown ("MCADVisProp-0004", or "MCADVisProp-0009" for a lock that stays taken) and the
// earlier file stays.
void saveTemplates(PropertyAccess::PropAccTemplateContainer const& templates);
// How long a writer waits for another to let go of the store: a few seconds; tests shorten it.
int lockWaitMs();
void setLockWaitMs(int ms);

// Reads the exchange file `path` into `templates`. False, with what is wrong in `why`
// ("<path>: <reason>"), when it is no regular readable file or not a valid exchange file;
// `templates` is unchanged then.
bool readExchangeFile(QString const& path, PropertyAccess::PropAccTemplateContainer* templates, QString* why);
// Writes `templates` as the exchange file `path` through the atomic save: on failure the
// earlier file stays and `why` gives the reason.
bool writeExchangeFile(QString const& path, PropertyAccess::PropAccTemplateContainer const& templates, QString* why);

} // namespace MCADVisProp
} // namespace Kav
