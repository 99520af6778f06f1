#pragma once

#include "kavhost_export.h"

#include "cfg/kav_cfg.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Kav {
namespace GIcon {

// Names for getIconSet: "act_new", "act_rename", "act_delete", "act_import", "act_export".
KAVHOST_EXPORT extern QString const ACT_NEW;
KAVHOST_EXPORT extern QString const ACT_RENAME;
KAVHOST_EXPORT extern QString const ACT_DELETE;
KAVHOST_EXPORT extern QString const ACT_IMPORT;
KAVHOST_EXPORT extern QString const ACT_EXPORT;

// The host's icons, drawn in code so no image files need to be installed. Pixmaps need a
// QGuiApplication: before it exists (or in a QCoreApplication) the answers are null. Use from
// the GUI thread only.
class KAVHOST_EXPORT Cache {
public:
    enum IconSize_t { ICON_SMALL = 0, ICON_LARGE = 1 };   // 16 and 32 pixels

    // A 16x16 pixmap per configuration level (0, 1, 2), each in its own colour with a letter;
    // created once and kept until the application object is destroyed. Null for other values.
    static QPixmap const* getConfigLevelIcon(Cfg::Level level);
    // A distinct icon per ACT_ name; a null QIcon for any other name.
    static QIcon getIconSet(QString const& name, IconSize_t size);
};

} // namespace GIcon
} // namespace Kav
