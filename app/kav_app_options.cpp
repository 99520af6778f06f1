#include "kav_app_options.h"

#include <QDir>
#include <QStandardPaths>

namespace Kav {
namespace App {

bool parseOptions(QStringList const& arguments, AppOptions* options, QString* message)
{
    *options = AppOptions();
    // Options that take a value: "--name value" or "--name=value".
    auto valueOption = [](QString const& name) {
        return name == QLatin1String("--script") || name == QLatin1String("--screenshot")
               || name == QLatin1String("--config-root") || name == QLatin1String("--lang")
               || name == QLatin1String("--differences");
    };
    for (int i = 1; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        QString value;
        bool hasValue = false;
        int const eq = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        if (name == QLatin1String("--demo") && !hasValue) {
            options->demo = true;
        } else if (name == QLatin1String("--print-menus") && !hasValue) {
            options->printMenus = true;
        } else if (name == QLatin1String("--timings") && !hasValue) {
            options->timings = true;
        } else if (name == QLatin1String("--pictures") && !hasValue) {
            options->pictures = true;
        } else if ((name == QLatin1String("--help") || name == QLatin1String("-h")) && !hasValue) {
            options->help = true;
        } else if (valueOption(name)) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    *message = QStringLiteral("option %1 needs a value").arg(name);
                    return false;
                }
                value = arguments.at(++i);
            }
            if (value.isEmpty()) {
                *message = QStringLiteral("option %1 needs a non-empty value").arg(name);
                return false;
            }
            if (name == QLatin1String("--script"))
                options->script = value;
            else if (name == QLatin1String("--screenshot"))
                options->screenshot = value;
            else if (name == QLatin1String("--config-root"))
                options->configRoot = value;
            else if (name == QLatin1String("--differences"))
                options->differences = value;
            else
                options->lang = value;
        } else {
            *message = QStringLiteral("unknown option \"%1\"").arg(arguments.at(i));
            return false;
        }
    }
    if (options->demo && !options->script.isEmpty()) {
        *message = QStringLiteral("--demo and --script cannot be combined");
        return false;
    }
    return true;
}

QString usageText()
{
    return QStringLiteral(
        "usage: mvp-host [--demo | --script FILE] [--screenshot FILE] [--config-root DIR] [--lang LANG] [--print-menus] [--timings]\n"
        "                [--pictures] [--differences SNAPSHOT]\n"
        "  --demo             run the built-in scenario headless and print each step\n"
        "  --script FILE      run a macro script headless (one command per line)\n"
        "  --screenshot FILE  save the main window as PNG after the demo or script\n"
        "  --config-root DIR  directory of the configuration levels (installation/, shared/, user/)\n"
        "  --lang LANG        language of the user interface, e.g. de\n"
        "  --print-menus      print the texts of the menus (after the demo or script)\n"
        "  --timings          print \"time <command> <ms> ms cpu <ms> ms\" after each script command,\n"
        "                     and the same for one paint of the window (\"time paint\")\n"
        "  --pictures         snapshots made by the script keep a picture of the view (always with --screenshot)\n"
        "  --differences SNAPSHOT  open the Differences window on SNAPSHOT after the script; with\n"
        "                     --screenshot it is saved too, as FILE with \"-differences\" before \".png\"\n");
}

QString defaultConfigRoot()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/mvp-host");
}

} // namespace App
} // namespace Kav
