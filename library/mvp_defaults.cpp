#include "mvp_defaults.h"
#include "mvp_defaults_p.h"

#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_menu_data.h"
#include "menu/mvp_menu_handler.h"

namespace Kav {
namespace MCADVisProp {

namespace {
MenuHandler* provider = nullptr;
}

void InitDefaults()
{
    if (provider)
        return;
    provider = new MenuHandler();
    GApp::MainWindow::smgr->registerSpecialMenuProvider(
        QString::fromLatin1(GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES), provider);
}

void CloseDefaults()
{
    if (!provider)
        return;
    // Withdrawn first, so that the host never asks a deleted provider.
    QString const key = QString::fromLatin1(GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES);
    GApp::AppStatusManager* smgr = GApp::MainWindow::smgr;
    if (smgr && smgr->getSpecialMenuProvider(key) == provider)
        smgr->registerSpecialMenuProvider(key, nullptr);
    delete provider;
    provider = nullptr;
}

MenuHandler* menuProvider()
{
    return provider;
}

} // namespace MCADVisProp
} // namespace Kav

void mvp_InitDefaults()
{
    Kav::MCADVisProp::InitDefaults();
}

void mvp_CloseDefaults()
{
    Kav::MCADVisProp::CloseDefaults();
}
