#pragma once

#include "cfg/kav_cfg_resource.h"
#include "propertyaccess/kav_prop_acc_template_container.h"

#include <exception>

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
// Writes `templates` into the store's save file (the user level); a stream error is shown
// as "MCADVisProp-0004" and the earlier file stays.
void saveTemplates(PropertyAccess::PropAccTemplateContainer const& templates);

// Reads the exchange file `path` into `templates`. False, with what is wrong in `why`
// ("<path>: <reason>"), when it is no regular readable file or not a valid exchange file;
// `templates` is unchanged then.
bool readExchangeFile(QString const& path, PropertyAccess::PropAccTemplateContainer* templates, QString* why);
// Writes `templates` as the exchange file `path` through the atomic save: on failure the
// earlier file stays and `why` gives the reason.
bool writeExchangeFile(QString const& path, PropertyAccess::PropAccTemplateContainer const& templates, QString* why);

} // namespace MCADVisProp
} // namespace Kav
