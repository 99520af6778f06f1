#include "core/kav_errors.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_documentation.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_menu_data.h"
#include "gapp/kav_special_menu_provider.h"
#include "gapp/kav_view_widget_container.h"

#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Kav;
using namespace Kav::GApp;

namespace {

std::string s(QString const& text)
{
    return text.toStdString();
}

class TitleProvider : public SpecialMenuProvider {
public:
    QString getMenuTitle() override { return QStringLiteral("Templates"); }
    void fillMenu(QWidget*) override {}
};

} // namespace

TEST(GAppLocks, DrawingLockCountsAndSignalsOnce)
{
    MainWindow window;
    int unlocked = 0;
    QObject::connect(&window, &MainWindow::drawingUnlocked, [&unlocked] { ++unlocked; });

    window.lockDrawing();
    window.lockDrawing();
    EXPECT_TRUE(window.isDrawingLocked());
    EXPECT_EQ(window.drawingLockCount(), 2);
    window.unlockDrawing();
    EXPECT_TRUE(window.isDrawingLocked());
    EXPECT_EQ(unlocked, 0);
    window.unlockDrawing();
    EXPECT_FALSE(window.isDrawingLocked());
    EXPECT_EQ(unlocked, 1);

    EXPECT_THROW(window.unlockDrawing(), ProgError);
    EXPECT_EQ(window.drawingLockCount(), 0);
    EXPECT_EQ(unlocked, 1);
    window.lockDrawing();
    EXPECT_EQ(window.drawingLockCount(), 1);
}

TEST(GAppLocks, GuiLockDisablesBarsUntilTheLastUnlock)
{
    MainWindow window;
    auto* bar = window.addToolBar(QStringLiteral("tools"));
    auto* offBar = window.addToolBar(QStringLiteral("off"));
    offBar->setEnabled(false);

    window.lockGUI(nullptr);
    window.lockGUI(bar);
    EXPECT_TRUE(window.isGUILocked());
    EXPECT_FALSE(bar->isEnabled());
    window.unlockGUI(bar);
    EXPECT_TRUE(window.isGUILocked());
    EXPECT_FALSE(bar->isEnabled());
    window.unlockGUI(nullptr);
    EXPECT_FALSE(window.isGUILocked());
    EXPECT_TRUE(bar->isEnabled());
    // A bar that was off before the lock stays off.
    EXPECT_FALSE(offBar->isEnabled());
    EXPECT_THROW(window.unlockGUI(nullptr), ProgError);
    EXPECT_FALSE(window.isGUILocked());
}

TEST(GAppStatusManager, IdsSignalsAndProviders)
{
    AppStatusManager manager;
    unsigned int const a = manager.getUniqueId(QStringLiteral("alpha"));
    unsigned int const b = manager.getUniqueId(QStringLiteral("beta"));
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    EXPECT_EQ(manager.getUniqueId(QStringLiteral("alpha")), a);

    std::vector<std::pair<unsigned int, unsigned int>> seen;
    QObject::connect(&manager, &AppStatusManager::dataChanged,
                     [&seen](unsigned int id, unsigned int reason) { seen.emplace_back(id, reason); });
    manager.emitDataChanged(b, 5);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, b);
    EXPECT_EQ(seen[0].second, 5u);

    std::vector<bool> selection;
    QObject::connect(&manager, &AppStatusManager::selectionEnabledChanged,
                     [&selection](bool on) { selection.push_back(on); });
    EXPECT_TRUE(manager.isSelectionEnabled());
    manager.setSelectionEnabled(false);
    manager.setSelectionEnabled(false);
    manager.setSelectionEnabled(true);
    EXPECT_EQ(selection, (std::vector<bool>{false, true}));

    QString const key = QString::fromLatin1(MenuData::RESTORE_SNAPSHOT_TEMPLATES);
    auto provider = std::make_unique<TitleProvider>();
    manager.registerSpecialMenuProvider(key, provider.get());
    EXPECT_EQ(manager.getSpecialMenuProvider(key), provider.get());
    EXPECT_EQ(manager.getSpecialMenuProviderKeys(), QStringList{key});
    EXPECT_EQ(manager.getSpecialMenuProvider(QStringLiteral("other")), nullptr);
    provider.reset();
    EXPECT_EQ(manager.getSpecialMenuProvider(key), nullptr);
    EXPECT_TRUE(manager.getSpecialMenuProviderKeys().isEmpty());
}

TEST(GAppViews, RegistryInKeyOrderAndFrontCallback)
{
    ViewWidgetCreator c(QStringLiteral("gapp-c"));
    ViewWidgetCreator a(QStringLiteral("gapp-a"));
    auto b = std::make_unique<ViewWidgetCreator>(QStringLiteral("gapp-b"));
    ViewWidgetContainer::registerView(&c);
    ViewWidgetContainer::registerView(&a);
    ViewWidgetContainer::registerView(b.get());
    ViewWidgetContainer::registerView(&a);   // the same creator again is harmless

    ViewWidgetCreator clash(QStringLiteral("gapp-a"));
    EXPECT_THROW(ViewWidgetContainer::registerView(&clash), ProgError);
    EXPECT_THROW(ViewWidgetContainer::registerView(nullptr), ProgError);

    QStringList order;
    for (auto it = ViewWidgetContainer::getWidgetBegin(); it != ViewWidgetContainer::getWidgetEnd(); ++it) {
        if (it->first.startsWith(QStringLiteral("gapp-")))
            order << it->second->getViewName();
    }
    EXPECT_EQ(s(order.join(QLatin1Char(','))), "gapp-a,gapp-b,gapp-c");

    QStringList shown;
    ViewWidgetContainer::setFrontViewCallback([&shown](QString const& name) { shown << name; });
    ViewWidgetContainer::ensureViewVisible(QStringLiteral("gapp-b"), true);
    ViewWidgetContainer::ensureViewVisible(QStringLiteral("gapp-none"), true);
    EXPECT_EQ(s(shown.join(QLatin1Char(','))), "gapp-b");
    EXPECT_EQ(s(ViewWidgetContainer::frontView()), "gapp-b");

    // A destroyed creator leaves; unregisterView removes by name.
    b.reset();
    ViewWidgetContainer::unregisterView(QStringLiteral("gapp-c"));
    order.clear();
    for (auto it = ViewWidgetContainer::getWidgetBegin(); it != ViewWidgetContainer::getWidgetEnd(); ++it) {
        if (it->first.startsWith(QStringLiteral("gapp-")))
            order << it->first;
    }
    EXPECT_EQ(s(order.join(QLatin1Char(','))), "gapp-a");
    ViewWidgetContainer::setFrontViewCallback(nullptr);
    ViewWidgetContainer::unregisterView(QStringLiteral("gapp-a"));
}

TEST(GAppDocumentation, EntriesFollowTheirWidgets)
{
    auto* parent = new QWidget;
    auto* child = new QWidget(parent);
    QWidget other;
    Documentation::registerId(parent, QStringLiteral("help.parent"));
    Documentation::registerId(child, QStringLiteral("help.child"));
    Documentation::registerId(child, QStringLiteral("help.child2"));
    EXPECT_EQ(s(Documentation::getId(parent)), "help.parent");
    EXPECT_EQ(s(Documentation::getId(child)), "help.child2");
    EXPECT_TRUE(Documentation::getId(&other).isEmpty());

    QWidget const* const childKey = child;
    delete child;
    EXPECT_TRUE(Documentation::getId(childKey).isEmpty());
    EXPECT_EQ(s(Documentation::getId(parent)), "help.parent");

    Documentation::registerId(&other, QStringLiteral("help.other"));
    Documentation::registerId(&other, QString());
    EXPECT_TRUE(Documentation::getId(&other).isEmpty());

    QWidget const* const parentKey = parent;
    delete parent;
    EXPECT_TRUE(Documentation::getId(parentKey).isEmpty());
}
