#include "gapp/kav_menu_data.h"

namespace Kav {
namespace GApp {
namespace MenuData {

char const* const RESTORE_SNAPSHOT_TEMPLATES = "restore_snapshot_templates";

} // namespace MenuData
} // namespace GApp
} // namespace Kav
