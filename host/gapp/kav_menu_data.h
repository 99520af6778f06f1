#pragma once

#include "kavhost_export.h"

namespace Kav {
namespace GApp {
// Keys of the host's menus that plug-ins fill (AppStatusManager::registerSpecialMenuProvider).
namespace MenuData {

KAVHOST_EXPORT extern char const* const RESTORE_SNAPSHOT_TEMPLATES;   // "restore_snapshot_templates"

} // namespace MenuData
} // namespace GApp
} // namespace Kav
