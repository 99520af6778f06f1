#include "cfg/kav_cfg.h"
#include "core/kav_errors.h"
#include "mvp_temp_dir.h"

#include <QDir>
#include <gtest/gtest.h>


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
