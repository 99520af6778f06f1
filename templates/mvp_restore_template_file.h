#pragma once

#include "cfg/kav_cfg_resource.h"
#include "propertyaccess/kav_prop_acc_template_container.h"

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
// Writes `templates` into the store's save file (the user level); a stream error is shown
// as "MCADVisProp-0004" and the earlier file stays.
void saveTemplates(PropertyAccess::PropAccTemplateContainer const& templates);

} // namespace MCADVisProp
} // namespace Kav
