#pragma once
// The entry functions the host calls when it loads the library.

#include "mvp_export.h"

namespace Kav {
class CfgNode;
namespace GApp {
class AppStatusManager;
}
namespace MCADVisProp {

// Called once at load: installs the catalogue "KavMCADVisProp", registers the error ids and
// creates the library's objects, which the host owns from then on. Both arguments are unused.
MVP_EXPORT void InitLibrary(GApp::AppStatusManager* smgr, CfgNode* cfg);

} // namespace MCADVisProp
} // namespace Kav

// The same under an unmangled name, for hosts that resolve the entry with QLibrary.
extern "C" MVP_EXPORT void mvp_InitLibrary(Kav::GApp::AppStatusManager* smgr, Kav::CfgNode* cfg);
