#include "kav_app_commands.h"

#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_menu_data.h"
#include "gapp/kav_special_menu_provider.h"
#include "gtools/kav_error_messages.h"
#include "io/kav_stream.h"

#include <QLocale>

#include <exception>

namespace Kav {
namespace App {

char const* const APP_MENU_ERROR = "MvpHost-0001";

void registerAppErrors()
{
    GTools::ErrorMessageContainer::registerError(
        APP_MENU_ERROR, Kav::translate("MvpHost", "the menu could not be filled"),
        Kav::translate("MvpHost", "the menu could not be filled; the details name the file that could not be read"));
}

bool runCommand(QString const& name, QString const& parameters, QString* result)
{
    GApp::MainWindow* window = GApp::MainWindow::main_win;
    if (window == nullptr)
        return false;
    GApp::Command* cmd = GApp::CommandContainer::getCommand(name);
    if (cmd == nullptr) {
        window->reportError(QString::fromLatin1(GApp::COMMAND_NOT_EXECUTABLE_ERROR),
                            translate("MvpHost", "the command \"%1\" is not available").arg(name));
        return false;
    }
    QString local;
    return window->execute(cmd, parameters, result ? result : &local, false);
}

bool runMenuCommand(QString const& name)
{
    GApp::MainWindow* window = GApp::MainWindow::main_win;
    GApp::Command* cmd = GApp::CommandContainer::getCommand(name);
    if (window == nullptr || cmd == nullptr)
        return false;
    QString text;
    char const* id = GApp::EXCEPTION_ERROR;
    try {
        return cmd->executeMenu();
    } catch (ProgError const& e) {
        text = e.getMessage();
    } catch (IO::StreamException const& e) {
        id = GApp::STREAM_ERROR;
        text = e.getText();
    } catch (ParamError const& e) {
        text = e.getText();
    } catch (std::exception const& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = translate("MvpHost", "command \"%1\" threw an unknown exception").arg(name);
    }
    window->reportError(QString::fromLatin1(id), text);
    return false;
}

bool hasCommand(QString const& name)
{
    return GApp::CommandContainer::getCommand(name) != nullptr;
}

GApp::SpecialMenuProvider* restoreTemplateProvider()
{
    if (GApp::MainWindow::smgr == nullptr)
        return nullptr;
    return GApp::MainWindow::smgr->getSpecialMenuProvider(QString::fromLatin1(GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES));
}

QString numberText(double value)
{
    // The shortest text that reads back to the same value keeps recorded macros readable.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QStringList vectorText(BaVec2d<double> const& v)
{
    return {numberText(v.x), numberText(v.y)};
}

QStringList vectorText(BaVec3d<double> const& v)
{
    return {numberText(v.x), numberText(v.y), numberText(v.z)};
}

QString colorText(quint32 rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

} // namespace App
} // namespace Kav
