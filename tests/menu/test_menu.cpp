#include "access/mvp_property_access.h"
#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_menu_data.h"
#include "gicon/kav_icon_cache.h"
#include "gtools/kav_dialogs.h"
#include "library/mvp_defaults.h"
#include "library/mvp_defaults_p.h"
#include "mcadcmd/kav_host_session.h"
#include "menu/mvp_menu_handler.h"
#include "mvp_editing_fixture.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "templates/mvp_restore_template_file.h"

#include <QImage>
#include <QMenu>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Kav;
using namespace Kav::MCADVisProp;
using PropertyAccess::PropAccTemplate;
using PropertyAccess::PropAccTemplateContainer;
using PropertyAccess::PropAccTemplatePart;

using MvpTest::words;
namespace {

QString const SNAPSHOT = QStringLiteral("Snapshot 1");

// A scene with two elements and one snapshot of them, the store on three temporary levels,
// the plug-in's creators and the by-template command, and the menu provider.
class MenuTest : public MvpTest::EditingTest {
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        auto& scene = session.scene();
        scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("Plate"), CAD::ElementCreator::PLANE));
        scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("Bore"), CAD::ElementCreator::CIRCLE));
        addSnapshot(SNAPSHOT, session.printInterface().extractPropertyAccess());
        InitDefaults();
        CAD::RecordManager::_manager->clearHistory();
    }

    void TearDown() override
    {
        CloseDefaults();
        EditingTest::TearDown();
    }

    void addSnapshot(QString const& name, MCADCmd::AccessList accesses)
    {
        auto report = std::make_unique<CAD::Report>(name);
        report->setCreationPropertyAccess(std::move(accesses));
        session.scene().addReport(std::move(report));
    }

    static void writeStore(QString const& path, char const* names)
    {
        PropAccTemplateContainer c;
        for (QString const& n : words(names))
            c.add(PropAccTemplate(n));
        EditingTest::writeStore(path, c);
    }

    // Fills a fresh menu through the registered provider, as the host does before showing it.
    QList<QAction*> fill(QMenu* menu)
    {
        GApp::SpecialMenuProvider* provider = GApp::MainWindow::smgr->getSpecialMenuProvider(
            QString::fromLatin1(GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES));
        EXPECT_NE(provider, nullptr);
        menu->clear();
        if (provider)
            provider->fillMenu(menu);
        return menu->actions();
    }

    static QStringList texts(QList<QAction*> const& actions)
    {
        QStringList out;
        // What the menu shows: a single '&' would be a shortcut mark, not part of the name.
        for (QAction* a : actions)
            out << a->iconText();
        return out;
    }

    static bool allEnabled(QList<QAction*> const& actions, bool enabled)
    {
        return !actions.isEmpty() &&
               std::all_of(actions.begin(), actions.end(), [enabled](QAction* a) { return a->isEnabled() == enabled; });
    }

    GApp::MainWindow window;
    MCADCmd::HostSession session;
    CADElementPropertyAccessCreator elementCreator;
    CADContainerPropertyAccessCreator containerCreator;
    GLViewPropertyAccessCreator viewCreator;
    LegendPropertyAccessCreator legendCreator;
    RestoreSnapshotTemplateCommand byTemplate;
};

TEST_F(MenuTest, ProviderIsRegisteredOnceAndWithdrawnOnClose)
{
    QString const key = QString::fromLatin1(GApp::MenuData::RESTORE_SNAPSHOT_TEMPLATES);
    MenuHandler* first = menuProvider();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GApp::MainWindow::smgr->getSpecialMenuProvider(key), first);
    EXPECT_EQ(first->getMenuTitle(), QStringLiteral("restore visualization from snapshot"));
    // Owned by the library alone: a host may destroy its window before CloseDefaults.
    EXPECT_EQ(first->parent(), nullptr);

    InitDefaults();
    EXPECT_EQ(menuProvider(), first);
    EXPECT_EQ(GApp::MainWindow::smgr->getSpecialMenuProviderKeys(), QStringList{key});

    CloseDefaults();
    EXPECT_EQ(menuProvider(), nullptr);
    EXPECT_EQ(GApp::MainWindow::smgr->getSpecialMenuProvider(key), nullptr);
    CloseDefaults();
    EXPECT_EQ(menuProvider(), nullptr);

    InitDefaults();
    ASSERT_NE(menuProvider(), nullptr);
    EXPECT_EQ(GApp::MainWindow::smgr->getSpecialMenuProvider(key), menuProvider());
}

TEST_F(MenuTest, EntriesFollowTheStoreAtEveryFillWithLevelIcons)
{
    QMenu menu;
    EXPECT_TRUE(fill(&menu).isEmpty());

    writeStore(levelFile(0), "Factory");
    writeStore(levelFile(1), "Site A|Site A&B");
    writeStore(levelFile(2), "Mine");
    QList<QAction*> actions = fill(&menu);
    ASSERT_EQ(texts(actions), words("Factory|Site A|Site A&B|Mine"));
    Cfg::Level const levels[] = {Cfg::LEVEL_INSTALLATION, Cfg::LEVEL_SHARED, Cfg::LEVEL_SHARED, Cfg::LEVEL_USER};
    for (int i = 0; i < actions.size(); ++i) {
        QImage const shown = actions[i]->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        QImage const level =
            GIcon::Cache::getConfigLevelIcon(levels[i])->toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown, level) << "entry " << i;
    }
    // Each entry owns a copy: a template saved after the fill changes nothing in it, and
    // shows at the next fill without any restart.
    auto* mine = dynamic_cast<RestoreByTemplateAction*>(actions[3]);
    ASSERT_NE(mine, nullptr);
    PropAccTemplateContainer stored = loadAllTemplates();
    PropAccTemplate changed = stored.getTemplate(3);
    changed.setNewInvisibleFlag(!changed.newInvisible());
    stored.set(3, changed);
    stored.add(PropAccTemplate(QStringLiteral("Newer")));
    saveTemplates(stored);
    EXPECT_NE(mine->restoreTemplate().newInvisible(), changed.newInvisible());
    EXPECT_EQ(texts(fill(&menu)).last(), QStringLiteral("Newer"));
}

TEST_F(MenuTest, EntriesAreEnabledOnlyForExactlyOneSelectedSnapshot)
{
    writeStore(levelFile(2), "T1|T2");
    addSnapshot(QStringLiteral("Snapshot 2"), session.printInterface().extractPropertyAccess());
    QMenu menu;
    struct Case {
        char const* what;
        QStringList selection;
        bool selectMode, enabled;
    };
    for (Case const& c : {Case{"nothing selected", {}, false, false},
                          Case{"one snapshot among other elements", {QStringLiteral("Plate"), SNAPSHOT}, false, true},
                          Case{"two snapshots", {SNAPSHOT, QStringLiteral("Snapshot 2")}, false, false},
                          Case{"an element that is no snapshot", {QStringLiteral("Plate")}, false, false},
                          Case{"select-command mode", {SNAPSHOT}, true, false}, Case{"one snapshot", {SNAPSHOT}, false, true}}) {
        session.scene().setSelection(c.selection);
        window.setSelectCommandMode(c.selectMode ? GApp::Command::SELECT_COMMAND_SINGLE : GApp::Command::SELECT_COMMAND_NONE);
        EXPECT_TRUE(allEnabled(fill(&menu), c.enabled)) << c.what;
    }
    MCADCmd::CachedCmdInterface* cached = MCADCmd::CachedCmdInterface::getInterface();
    MCADCmd::CachedCmdInterface::setInterface(nullptr);
    EXPECT_TRUE(allEnabled(fill(&menu), false)) << "no cached interface";
    MCADCmd::CachedCmdInterface::setInterface(cached);
}

TEST_F(MenuTest, TriggeringRestoresTheSnapshotThroughItsTemplateAsOneUndoStep)
{
    // The only stored template restores elements' visibility and nothing else of them: colours
    // stay as changed.
    PropAccTemplate visibilityOnly(QStringLiteral("Visibility only"));
    PropAccTemplatePart part(PropertyAccess::PROP_ACC_CAD_ELEMENT);
    for (auto const& [id, used] : part.getUsages())
        part.setUsage(id, id == PropertyAccess::PROP_ELEMENT_VISIBILITY);
    visibilityOnly.set(part);
    PropAccTemplateContainer stored;
    stored.add(visibilityOnly);
    saveTemplates(stored);

    CAD::Element* plate = session.scene().findElement(QStringLiteral("Plate"));
    quint32 const originalColor = plate->getElemProperties()->color;
    plate->setElementVisible(false);
    plate->getElemProperties()->color = originalColor ^ 0xFFFFFFu;
    QString const changed = MCADCmd::dumpState(session.scene());

    session.scene().setSelection({SNAPSHOT});
    QMenu menu;
    QList<QAction*> actions = fill(&menu);
    ASSERT_EQ(actions.size(), 1);
    // Without a main window to run it in, an entry does nothing.
    GApp::MainWindow::main_win = nullptr;
    actions[0]->trigger();
    GApp::MainWindow::main_win = &window;
    EXPECT_EQ(MCADCmd::dumpState(session.scene()), changed);
    actions[0]->trigger();

    EXPECT_TRUE(plate->isVisible(CAD::VISIBLE_OWN));
    EXPECT_EQ(plate->getElemProperties()->color, originalColor ^ 0xFFFFFFu);
    QString const restored = MCADCmd::dumpState(session.scene());
    EXPECT_NE(restored, changed);

    ASSERT_TRUE(CAD::RecordManager::_manager->undo());
    EXPECT_EQ(MCADCmd::dumpState(session.scene()), changed);
    ASSERT_TRUE(CAD::RecordManager::_manager->redo());
    EXPECT_EQ(MCADCmd::dumpState(session.scene()), restored);
}

} // namespace
