#pragma once

#include <QString>
#include <QStringList>

namespace Kav {
namespace App {

// What the command line asked for.
struct AppOptions {
    bool demo = false;
    QString script;       // run this macro script headless
    QString screenshot;   // PNG of the main window after the script or demo
    QString configRoot;   // holds the installation/, shared/ and user/ level directories
    QString lang;         // "de", ... ; empty: the system's
    bool printMenus = false;   // list the menus' texts after the demo or script
    bool timings = false;      // the time of each script command and of one paint, on stderr
    bool pictures = false;     // snapshots of a headless script keep a picture of the view
    QString differences;       // open the Differences window on this snapshot after the script
    bool help = false;

    // The runner works without showing a window.
    bool isHeadless() const { return demo || !script.isEmpty() || printMenus; }
};

// Parses argv (without touching any Qt application object, so it can run before one
// exists). False with a message for unknown or incomplete options.
bool parseOptions(QStringList const& arguments, AppOptions* options, QString* message);
QString usageText();

// The configuration root when none is given: a folder of the user's own.
QString defaultConfigRoot();

} // namespace App
} // namespace Kav
