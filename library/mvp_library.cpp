#include "mvp_library.h"

#include "access/mvp_container_property_access.h"
#include "access/mvp_element_property_access.h"
#include "access/mvp_glview_property_access.h"
#include "access/mvp_legend_property_access.h"
#include "core/kav_translate.h"
#include "mvp_errors.h"
#include "restore/mvp_cmd_compare_snapshot.h"
#include "restore/mvp_cmd_update_snapshots.h"
#include "restore/mvp_cmd_restore_elements.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_cmd_restore_snapshot.h"
#include "templates/mvp_cmd_edit_templates.h"
#include "templates/mvp_cmd_import_templates.h"
#include "templates/mvp_restore_template_file.h"

namespace Kav {
namespace MCADVisProp {

void InitLibrary(GApp::AppStatusManager*, CfgNode*)
{
    // Before any translation, so that the error texts are already in the user's language.
    installTranslator("KavMCADVisProp");
    registerErrors();

    // Each object joins its host registry when it is constructed and lives as long as the
    // process; the library keeps no pointer to it.
    new RestoreSnapshotTemplateFile();

    new CADElementPropertyAccessCreator();
    new CADContainerPropertyAccessCreator();
    new GLViewPropertyAccessCreator();
    new LegendPropertyAccessCreator();

    new RestorePropertyFromSnapshotCommand();
    new EditRestoreTemplateCommand();
    new RestoreSnapshotTemplateCommand();
    new ImportResTemCommand();
    // The snapshot tools, after the commands every host knows.
    new CompareSnapshotCommand();
    new RestoreSnapshotElementsCommand();
    new UpdateSnapshotsCommand();
}

} // namespace MCADVisProp
} // namespace Kav

void mvp_InitLibrary(Kav::GApp::AppStatusManager* smgr, Kav::CfgNode* cfg)
{
    Kav::MCADVisProp::InitLibrary(smgr, cfg);
}
