#pragma once


namespace Kav {
namespace MCADVisProp {

// The library's error ids, registered with their texts by registerErrors().
extern char const* const ERROR_SAVE_FILE;       // "MCADVisProp-0001"
extern char const* const ERROR_OPEN_FILE;       // "MCADVisProp-0002"
extern char const* const ERROR_SAVE_PROJECT;    // "MCADVisProp-0003"
extern char const* const ERROR_SAVE_TEMPLATES;  // "MCADVisProp-0004"
extern char const* const ERROR_NOT_A_SNAPSHOT;  // "MCADVisProp-0007"
extern char const* const ERROR_NO_RESTORE_INFO; // "MCADVisProp-0008"
extern char const* const ERROR_TEMPLATES_BUSY;  // "MCADVisProp-0009"

// Registers the seven ids with the host, each with its text and its " wt" text translated
// in "MCADVisProp_err". The catalogue must be installed before.
void registerErrors();

} // namespace MCADVisProp
} // namespace Kav
