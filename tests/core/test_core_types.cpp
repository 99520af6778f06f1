#include "core/kav_cfg_node.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_filename.h"
#include "core/kav_init.h"
#include "core/kav_kstring.h"
#include "core/kav_os.h"
#include "core/kav_token_container.h"
#include "core/kav_transformation.h"
#include "core/kav_translate.h"
#include "mvp_temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace Kav;

TEST(OpenStdStream, ReadsAndWritesNonAsciiPaths)
{
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("Gr\u00f6\u00dfe_\u6e2c\u8a66.rst"));

    std::ifstream missing;
    EXPECT_FALSE(OS::openStdStream(&missing, path, OS::READ));

    std::ofstream out;
    ASSERT_TRUE(OS::openStdStream(&out, path, 3));
    out << "first";
    out.close();
    ASSERT_TRUE(OS::openStdStream(&out, path, OS::WRITE)); // write truncates
    out << "second";
    out.close();
    EXPECT_EQ(MvpTest::readAll(path), QByteArray("second"));

    std::ifstream in;
    ASSERT_TRUE(OS::openStdStream(&in, path, 1));
    std::string word;
    in >> word;
    EXPECT_EQ(word, "second");

    std::ifstream wrongMode;
    EXPECT_FALSE(OS::openStdStream(&wrongMode, path, OS::WRITE));
}

TEST(Translation, InstallsCatalogueFromTheTranslationDirectory)
{
    setTranslationDirectory(QStringLiteral(MVP_TEST_QM_DIR));
    setTranslationLocale(QStringLiteral("de_DE"));
    EXPECT_EQ(translate("KavTest", "open file"), QStringLiteral("open file"));
    EXPECT_FALSE(installTranslator("no_such_catalogue"));
    EXPECT_TRUE(installTranslator("kavtest"));
    EXPECT_EQ(translate("KavTest", "open file"), QStringLiteral("Datei \u00f6ffnen"));
    EXPECT_EQ(translate("OtherContext", "open file"), QStringLiteral("open file"));
    EXPECT_FALSE(installTranslator("kavtest")) << "a catalogue is installed once";
}
