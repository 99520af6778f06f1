#include "cfg/kav_cfg.h"
#include "core/kav_errors.h"
#include "mvp_temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

using namespace Kav::Cfg;

namespace {

class CfgTest : public ::testing::Test {
protected:
    void SetUp() override { Settings::reset(); }
    void TearDown() override { Settings::reset(); }

    // One directory per level below a fresh temporary root.
    void setAllLevels()
    {
        for (int level = LEVEL_INSTALLATION; level <= LEVEL_USER; ++level) {
            QString const dir = tmp.path(QStringLiteral("level%1").arg(level));
            ASSERT_TRUE(QDir().mkpath(dir));
            Settings::setLevelDirectory(static_cast<Level>(level), dir);
        }
    }
    QString levelPath(Level level, QString const& name) const
    {
        return Settings::levelDirectory(level) + QLatin1Char('/') + name;
    }

    MvpTest::TempDir tmp;
};

} // namespace

TEST_F(CfgTest, LoadFilesFollowLevelOrderAndSkipUnsetLevels)
{
    setAllLevels();
    QString const name = QStringLiteral("restore.cfg");
    ASSERT_TRUE(MvpTest::writeAll(levelPath(LEVEL_INSTALLATION, name), "install"));
    ASSERT_TRUE(MvpTest::writeAll(levelPath(LEVEL_USER, name), "user"));
    // No file on the shared level: it is listed anyway, readers skip it.
    File const file(name);

    std::vector<FileEntry> const all = file.getLoadFiles();
    std::vector<FileEntry> const expected{{LEVEL_INSTALLATION, levelPath(LEVEL_INSTALLATION, name)},
                                          {LEVEL_SHARED, levelPath(LEVEL_SHARED, name)},
                                          {LEVEL_USER, levelPath(LEVEL_USER, name)}};
    EXPECT_EQ(all, expected);

    EXPECT_TRUE(file.getFilesFromLevel(LEVEL_SHARED, true).empty());
    EXPECT_EQ(file.getFilesFromLevel(LEVEL_SHARED, false), std::vector<FileEntry>{expected[1]});
    EXPECT_EQ(file.getFilesFromLevel(LEVEL_USER, true), std::vector<FileEntry>{expected[2]});
    // A directory of that name is not a file.
    ASSERT_TRUE(QDir().mkpath(levelPath(LEVEL_SHARED, name)));
    EXPECT_TRUE(file.getFilesFromLevel(LEVEL_SHARED, true).empty());

    Settings::setLevelDirectory(LEVEL_SHARED, QString());
    std::vector<FileEntry> const withoutShared{expected[0], expected[2]};
    EXPECT_EQ(file.getLoadFiles(), withoutShared);
    EXPECT_TRUE(file.getFilesFromLevel(LEVEL_SHARED, false).empty());
    EXPECT_TRUE(file.getFilesFromLevel(static_cast<Level>(7), false).empty());
    EXPECT_THROW(Settings::setLevelDirectory(static_cast<Level>(3), tmp.root()), Kav::ProgError);
}

TEST_F(CfgTest, SavingGoesToTheUserLevelOnly)
{
    setAllLevels();
    QString const name = QStringLiteral("templates.cfg");
    File const file(name);
    QString const userDir = tmp.path(QStringLiteral("home/not/yet/there"));
    Settings::setLevelDirectory(LEVEL_USER, userDir);
    ASSERT_FALSE(QFileInfo::exists(userDir));

    QString const saveName = file.getSaveFileName();
    EXPECT_EQ(saveName, userDir + QStringLiteral("/templates.cfg"));
    EXPECT_TRUE(QFileInfo(userDir).isDir());
    ASSERT_TRUE(MvpTest::writeAll(saveName, "saved"));

    for (FileEntry const& entry : file.getLoadFiles()) {
        if (entry.level == LEVEL_USER)
            EXPECT_EQ(MvpTest::readAll(entry.path), QByteArray("saved"));
        else
            EXPECT_FALSE(QFileInfo::exists(entry.path)) << entry.path.toStdString();
    }

    // A trailing slash does not double up.
    Settings::setLevelDirectory(LEVEL_USER, userDir + QLatin1Char('/'));
    EXPECT_EQ(file.getSaveFileName(), saveName);

    Settings::setLevelDirectory(LEVEL_USER, QString());
    EXPECT_TRUE(file.getSaveFileName().isEmpty());
}

TEST_F(CfgTest, LockedBySwitchOrSharedMarkerFiles)
{
    setAllLevels();
    File const a(QStringLiteral("a.cfg"));
    File const b(QStringLiteral("b.cfg"));
    EXPECT_FALSE(a.isLocked());

    Settings::setLocked(true);
    EXPECT_TRUE(Settings::isLockedByHost());
    EXPECT_TRUE(a.isLocked());
    EXPECT_TRUE(b.isLocked());
    Settings::setLocked(false);
    EXPECT_FALSE(a.isLocked());

    // Markers on other levels mean nothing.
    ASSERT_TRUE(MvpTest::writeAll(levelPath(LEVEL_USER, QStringLiteral("locked")), ""));
    ASSERT_TRUE(MvpTest::writeAll(levelPath(LEVEL_INSTALLATION, QStringLiteral("a.cfg.locked")), ""));
    EXPECT_FALSE(a.isLocked());

    QString const one = levelPath(LEVEL_SHARED, QStringLiteral("a.cfg.locked"));
    ASSERT_TRUE(MvpTest::writeAll(one, ""));
    EXPECT_TRUE(a.isLocked());
    EXPECT_FALSE(b.isLocked());
    ASSERT_TRUE(QFile::remove(one));

    ASSERT_TRUE(MvpTest::writeAll(levelPath(LEVEL_SHARED, QStringLiteral("locked")), ""));
    EXPECT_TRUE(a.isLocked());
    EXPECT_TRUE(b.isLocked());

    Settings::reset();
    EXPECT_FALSE(a.isLocked());
}

TEST_F(CfgTest, RegistryTracksLiveResourcesAndNotifiesUpdates)
{
    std::vector<Resource*> const before = Registry::resources();
    auto first = std::make_unique<File>(QStringLiteral("first.cfg"));
    auto second = std::make_unique<File>(QStringLiteral("second.cfg"));
    first->setDescription(QStringLiteral("The first"));
    EXPECT_EQ(first->getDescription(), QStringLiteral("The first"));

    std::vector<Resource*> expected = before;
    expected.push_back(first.get());
    expected.push_back(second.get());
    EXPECT_EQ(Registry::resources(), expected);
    EXPECT_EQ(Registry::find(QStringLiteral("second.cfg")), second.get());

    std::vector<Resource*> updated;
    int const id = Registry::addUpdateListener([&updated](Resource* r) { updated.push_back(r); });
    second->update();
    first->update();
    EXPECT_EQ(updated, (std::vector<Resource*>{second.get(), first.get()}));
    Registry::removeUpdateListener(id);
    first->update();
    EXPECT_EQ(updated.size(), 2u);

    first.reset();
    expected = before;
    expected.push_back(second.get());
    EXPECT_EQ(Registry::resources(), expected);
    EXPECT_EQ(Registry::find(QStringLiteral("first.cfg")), nullptr);
    second.reset();
    EXPECT_EQ(Registry::resources(), before);
}
