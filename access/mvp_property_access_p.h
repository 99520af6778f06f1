#pragma once
// Internal to the plug-in: the errors the accesses raise, the check for the command
// interface, and the category captions.

#include "core/kav_errors.h"
#include "propertyaccess/kav_property_access_types.h"

#include <QString>

namespace Kav {
namespace IO {
class InStream;
}
namespace MCADCmd {
class CommandInterface;
}
namespace MCADVisProp {

// The source name every access error carries, whichever file raises it.
extern char const* const PROPERTY_ACCESS_SOURCE;
extern char const* const NO_COMMAND_INTERFACE;
extern char const* const NO_CONTAINERS;

// Throws Kav::ProgError by value: the function and line of `place` (KAV_HERE), the source
// PROPERTY_ACCESS_SOURCE.
[[noreturn]] void raiseAccessError(SourcePlace const& place, char const* message);

// The installed command interface; raises NO_COMMAND_INTERFACE for `place` when there is none.
MCADCmd::CommandInterface* requireInterface(SourcePlace const& place);

// Refuses, by a StreamException saying where, a value just read that `inRange` found outside
// its range (kav_limits.h): applied, nothing finite could be derived from it.
void requireInRange(IO::InStream* in, bool inRange, char const* what);

// The translated display text of a template category; empty for a value outside 0 to 5.
QString categoryText(PropertyAccess::PropTemplateCat_t category);

} // namespace MCADVisProp
} // namespace Kav
