#pragma once
// Internal to the plug-in: the errors the accesses raise, the check for the command
// interface, and the category captions.

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

// The source name every access error carries.
extern char const* const PROPERTY_ACCESS_SOURCE;
extern char const* const NO_COMMAND_INTERFACE;
extern char const* const NO_CONTAINERS;

// Throws Kav::ProgError(function, PROPERTY_ACCESS_SOURCE, line, message) by value.
[[noreturn]] void raiseAccessError(char const* function, int line, char const* message);

// The installed command interface; raises NO_COMMAND_INTERFACE for `function` when there is none.
MCADCmd::CommandInterface* requireInterface(char const* function, int line);

// Refuses, by a StreamException saying where, a value just read that `inRange` found outside
// its range (kav_limits.h): applied, nothing finite could be derived from it.
void requireInRange(IO::InStream* in, bool inRange, char const* what);

// The translated display text of a template category; empty for a value outside 0 to 5.
QString categoryText(PropertyAccess::PropTemplateCat_t category);

} // namespace MCADVisProp
} // namespace Kav
