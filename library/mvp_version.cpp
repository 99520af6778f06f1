#include "mvp_export.h"

// The library's version, for hosts that list their plug-ins.
extern "C" MVP_EXPORT char const* KavMCADVisPropVersion()
{
    return "0.1.0";
}
