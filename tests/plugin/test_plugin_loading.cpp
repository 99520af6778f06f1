// The plug-in loaded as a host loads it: not linked, the entry functions found by name.
#include "cfg/kav_cfg_settings.h"
#include "core/kav_cfg_node.h"
#include "core/kav_init.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_menu_data.h"
#include "gapp/kav_special_menu_provider.h"
#include "mvp_temp_dir.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QLibrary>
#include <gtest/gtest.h>

using namespace Kav;

namespace {

using InitLibraryFn = void (*)(GApp::AppStatusManager*, CfgNode*);
using DefaultsFn = void (*)();

TEST(PluginLoading, EntryPointsByNameRegisterEverythingAndTheMenuProviderOnce)
{
    MvpTest::TempDir root;
    Cfg::Settings::setLevelDirectory(Cfg::LEVEL_USER, root.root());
    KavInit::setApplicationName("mvpplugin");
    GApp::MainWindow window;
    QString const key = QString::fromLatin1(GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES);

    QLibrary library(QStringLiteral(MVP_LIBRARY_FILE));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    auto initLibrary = reinterpret_cast<InitLibraryFn>(library.resolve("mvp_InitLibrary"));
    auto initDefaults = reinterpret_cast<DefaultsFn>(library.resolve("mvp_InitDefaults"));
    auto closeDefaults = reinterpret_cast<DefaultsFn>(library.resolve("mvp_CloseDefaults"));
    ASSERT_TRUE(initLibrary && initDefaults && closeDefaults);

    EXPECT_TRUE(PropertyAccess::PropertyAccessFactory::getRegisteredTypes().empty());
    initLibrary(GApp::MainWindow::smgr, nullptr);
    for (char const* name : {"report.restore_whole_snapshot", "report.change_restore_templates",
                             "report.restore_by_template", "report.import_restore_templates"})
        EXPECT_NE(GApp::CommandContainer::getCommand(QString::fromLatin1(name)), nullptr) << name;
    using Types = std::vector<PropertyAccess::PropAccessType_t>;
    EXPECT_EQ(PropertyAccess::PropertyAccessFactory::getRegisteredTypes(),
              (Types{PropertyAccess::PROP_ACC_CAD_ELEMENT, PropertyAccess::PROP_ACC_CAD_CONTAINER,
                     PropertyAccess::PROP_ACC_3D_VIEW, PropertyAccess::PROP_ACC_LEGEND}));

    EXPECT_EQ(GApp::MainWindow::smgr->getSpecialMenuProvider(key), nullptr);
    initDefaults();
    GApp::SpecialMenuProvider* provider = GApp::MainWindow::smgr->getSpecialMenuProvider(key);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->getMenuTitle(), QStringLiteral("restore visualization from snapshot"));
    closeDefaults();
    EXPECT_EQ(GApp::MainWindow::smgr->getSpecialMenuProvider(key), nullptr);
    Cfg::Settings::reset();
}

} // namespace
