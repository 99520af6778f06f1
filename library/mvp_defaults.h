#pragma once
// The entry functions that bring the restore-template menu provider to life and end it.

#include "mvp_export.h"

namespace Kav {
namespace MCADVisProp {

// Creates the menu provider and registers it for the host's restore-templates menu. Call
// once MainWindow::smgr exists; a second call does nothing.
MVP_EXPORT void InitDefaults();
// Withdraws and deletes the provider; does nothing when there is none.
MVP_EXPORT void CloseDefaults();

} // namespace MCADVisProp
} // namespace Kav

// The same under unmangled names, for hosts that resolve the entries with QLibrary.
extern "C" MVP_EXPORT void mvp_InitDefaults();
extern "C" MVP_EXPORT void mvp_CloseDefaults();
