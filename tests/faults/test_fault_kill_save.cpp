// A process killed while it saves leaves the store file and the project file either as they
// were or complete and new, never anything between: each round forks a child that saves
// both and kills it after a random delay.
#include "access/mvp_property_access.h"
#include "cad/kav_record_manager.h"
#include "cfg/kav_cfg_settings.h"
#include "core/kav_error_log.h"
#include "core/kav_init.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"
#include "mvp_temp_dir.h"
#include "templates/mvp_restore_template_file.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Kav;
using PropertyAccess::PropAccTemplate;
using PropertyAccess::PropAccTemplateContainer;

namespace {

PropAccTemplateContainer templates(int n, int variant)
{
    PropAccTemplateContainer c;
    for (int i = 0; i < n; ++i)
        c.add(PropAccTemplate(QStringLiteral("template %1 of variant %2").arg(i).arg(variant)));
    return c;
}

class KillWhileSaving : public ::testing::Test {
protected:
    void SetUp() override
    {
        KavInit::setApplicationName("mvpfault");
        Cfg::Settings::setLevelDirectory(Cfg::LEVEL_USER, dir.root());
        store = std::make_unique<MCADVisProp::RestoreSnapshotTemplateFile>();
    }
    void TearDown() override
    {
        store.reset();
        Cfg::Settings::reset();
        CAD::RecordManager::_manager->clearHistory();
    }

    // Saves both files of the given variant; the content of each variant is fixed.
    bool save(int variant, QString const& project)
    {
        MCADCmd::generateScene(session.scene(), 150 + 50 * static_cast<unsigned int>(variant));
        ErrorLog log(false);
        bool const saved = MCADCmd::saveProject(session.scene(), project, &log);
        MCADVisProp::saveTemplates(templates(100 + 50 * variant, variant));
        return saved;
    }

    MvpTest::TempDir dir;
    MvpTest::TempDir reference;
    MCADCmd::HostSession session;
    MCADVisProp::CADElementPropertyAccessCreator elementCreator;
    std::unique_ptr<MCADVisProp::RestoreSnapshotTemplateFile> store;
};

TEST_F(KillWhileSaving, leavesThePreviousOrTheCompleteNewFiles)
{
    constexpr int variants = 3;
    QString const project = dir.path(QStringLiteral("scene.kavproj"));
    QString const storeFile = store->getSaveFileName();

    // The complete files of each variant, and how long saving them takes.
    std::vector<QByteArray> projects, stores;
    qint64 slowest = 0;
    for (int v = 0; v < variants; ++v) {
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(save(v, project));
        slowest = std::max(slowest, timer.nsecsElapsed());
        projects.push_back(MvpTest::readAll(project));
        stores.push_back(MvpTest::readAll(storeFile));
        ASSERT_FALSE(projects.back().isEmpty());
        ASSERT_FALSE(stores.back().isEmpty());
    }
    ASSERT_NE(projects[0], projects[1]);
    ASSERT_NE(stores[0], stores[1]);

    std::mt19937 random(20261206);
    // Delays from nothing to well past a whole save, so that every moment of it is hit.
    std::uniform_int_distribution<qint64> delay(0, 3 * slowest);
    int current = variants - 1; // what is on disk now
    int kept = 0, replaced = 0;
    for (int round = 0; round < 200; ++round) {
        int const next = (current + 1 + static_cast<int>(random() % (variants - 1))) % variants;
        pid_t const child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Only the save runs here; _exit skips everything the parent would tear down.
            save(next, project);
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::nanoseconds(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        // A lock its killed owner had no time to sign goes stale only with age; a signed one
        // at once, as its process is gone.
        if (QFileInfo(storeFile + QStringLiteral(".lock")).size() == 0)
            QFile::remove(storeFile + QStringLiteral(".lock"));

        QByteArray const p = MvpTest::readAll(project);
        QByteArray const s = MvpTest::readAll(storeFile);
        bool const projectOld = p == projects[current], projectNew = p == projects[next];
        bool const storeOld = s == stores[current], storeNew = s == stores[next];
        ASSERT_TRUE(projectOld || projectNew) << "round " << round << ": project file of " << p.size() << " bytes";
        ASSERT_TRUE(storeOld || storeNew) << "round " << round << ": store file of " << s.size() << " bytes";
        // The project is written first: a new store means a new project.
        ASSERT_TRUE(!storeNew || projectNew) << "round " << round;
        if (projectNew && storeNew) {
            current = next;
            ++replaced;
        } else if (projectOld && storeOld) {
            ++kept;
        } else {
            // Killed between the two files: the project is new, the store not yet.
            ASSERT_TRUE(save(current, project));
        }
    }
    // Both outcomes happened, or the delays missed the point of the test.
    EXPECT_GT(kept, 0);
    EXPECT_GT(replaced, 0);

    // What is on disk reads back.
    MCADCmd::Scene loaded;
    ErrorLog log(false);
    EXPECT_TRUE(MCADCmd::loadProject(loaded, project, &log)) << log.getLog().toStdString();
    EXPECT_EQ(MCADVisProp::loadAllTemplates(), templates(100 + 50 * current, current));
}

} // namespace
