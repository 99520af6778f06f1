#include "cfg/kav_cfg_settings.h"

#include "core/kav_errors.h"

namespace Kav {
namespace Cfg {

namespace {

struct SettingsData {
    QString dirs[3];
    bool locked = false;
};

SettingsData& data()
{
    static SettingsData settings;
    return settings;
}

bool isValidLevel(int level)
{
    return level >= LEVEL_INSTALLATION && level <= LEVEL_USER;
}

} // namespace

void Settings::setLevelDirectory(Level level, QString const& dir)
{
    if (!isValidLevel(level))
        throw ProgError(KAV_HERE, QStringLiteral("no configuration level %1").arg(static_cast<int>(level)));
    data().dirs[level] = dir;
}

QString Settings::levelDirectory(Level level)
{
    return isValidLevel(level) ? data().dirs[level] : QString();
}

void Settings::setLocked(bool locked)
{
    data().locked = locked;
}

bool Settings::isLockedByHost()
{
    return data().locked;
}

void Settings::reset()
{
    data() = SettingsData();
}

} // namespace Cfg
} // namespace Kav
