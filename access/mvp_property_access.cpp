#include "access/mvp_property_access.h"
#include "access/mvp_property_access_p.h"

#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"

namespace Kav {
namespace MCADVisProp {

char const* const PROPERTY_ACCESS_SOURCE = "mvp_property_access";
char const* const NO_COMMAND_INTERFACE = "no command interface";
char const* const NO_CONTAINERS = "no containers for meshes any more";

void raiseAccessError(SourcePlace const& place, char const* message)
{
    throw ProgError(place.functionName(), QString::fromLatin1(PROPERTY_ACCESS_SOURCE), place.line,
                    QString::fromLatin1(message));
}

MCADCmd::CommandInterface* requireInterface(SourcePlace const& place)
{
    MCADCmd::CommandInterface* ci = MCADCmd::CommandInterface::getInterface();
    if (!ci)
        raiseAccessError(place, NO_COMMAND_INTERFACE);
    return ci;
}

void requireInRange(IO::InStream* in, bool inRange, char const* what)
{
    if (!inRange)
        in->refuse(translate("MCADVisProp_prop_acc", "%1 is out of range").arg(translate("MCADVisProp_prop_acc", what)));
}

QString categoryText(PropertyAccess::PropTemplateCat_t category)
{
    using namespace PropertyAccess;
    switch (category) {
    case CAT_UNKNOWN:
        return translate("MCADVisProp", "unknown");
    case CAT_RESTORE_GENERAL:
        return translate("MCADVisProp", "restore general");
    case CAT_RESTORE_EXPLORER_ELEMENTS:
        return translate("MCADVisProp", "restore explorer elements");
    case CAT_RESTORE_3D:
        return translate("MCADVisProp", "restore 3d");
    case CAT_RESTORE_FEATURES:
        return translate("MCADVisProp", "restore features");
    case CAT_RESTORE_PROJECTS:
        return translate("MCADVisProp", "restore projects");
    }
    return QString();
}

} // namespace MCADVisProp
} // namespace Kav
