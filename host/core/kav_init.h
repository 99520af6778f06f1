#pragma once

#include "kavhost_export.h"

namespace Kav {

// Start-up facts the host application sets before loading libraries.
class KAVHOST_EXPORT KavInit {
public:
    // The application's short name (ASCII), used to name its configuration files.
    static char const* getApplicationName();
    static void setApplicationName(char const* name);
};

} // namespace Kav
