#pragma once

#include "kavhost_export.h"

#include <QString>

namespace Kav {
namespace Cfg {

// Configuration levels, from the installation down to the user. Only the user level is
// ever written.
enum Level { LEVEL_INSTALLATION = 0, LEVEL_SHARED = 1, LEVEL_USER = 2 };

// One configuration file: the level it belongs to and its path.
struct FileEntry {
    Level level;
    QString path;
};

inline bool operator==(FileEntry const& a, FileEntry const& b)
{
    return a.level == b.level && a.path == b.path;
}
inline bool operator!=(FileEntry const& a, FileEntry const& b) { return !(a == b); }

// Host-wide configuration settings, set by the host application (or a test) before
// resources are read. Each level is one directory; an empty directory means the level is
// not used. GUI thread only.
class KAVHOST_EXPORT Settings {
public:
    Settings() = delete;

    // Throws ProgError for a value outside the Level enum.
    static void setLevelDirectory(Level level, QString const& dir);
    static QString levelDirectory(Level level);

    // The host's own lock switch: when on, every resource is read-only.
    static void setLocked(bool locked);
    static bool isLockedByHost();

    // Forgets every directory and the lock switch.
    static void reset();
};

} // namespace Cfg
} // namespace Kav
