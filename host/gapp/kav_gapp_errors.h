#pragma once

#include "kavhost_export.h"

namespace Kav {
namespace GApp {

// Error ids of the command runner, registered in GTools::ErrorMessageContainer.
KAVHOST_EXPORT extern char const* const PARAMETER_ERROR;              // "KavHost-Param-0001"
KAVHOST_EXPORT extern char const* const COMMAND_FAILED_ERROR;         // a failure that named no id of its own
KAVHOST_EXPORT extern char const* const COMMAND_NOT_EXECUTABLE_ERROR; // no command, or isExecutable() said no
KAVHOST_EXPORT extern char const* const EXCEPTION_ERROR;              // "KavHost-Exception-0001": the command threw
KAVHOST_EXPORT extern char const* const STREAM_ERROR;                 // "KavHost-Stream-0001": a file the command read or
                                                                      // wrote is damaged or unusable; the details say why

// Registers the ids above. Done once at load time with the untranslated texts, and again
// by MainWindow's constructor, when the translators are installed.
KAVHOST_EXPORT void registerErrors();

} // namespace GApp
} // namespace Kav
