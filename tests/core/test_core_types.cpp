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

TEST(ProgError, NamesTheFunctionSourceAndLineOfTheRaisingStatement)
{
    // The signatures as the compilers write them.
    struct Case {
        char const* signature;
        char const* file;
        char const* function;
        char const* source;
    };
    for (Case const& c : {
             Case{"bool Kav::A<B, C>::f(int) const", "/src/host/mcadcmd/scene/kav_scene.cpp", "Kav::A<B, C>::f", "kav_scene"},
             Case{"Kav::GApp::Command::Command(const QString&, int)", "kav_command.cpp", "Kav::GApp::Command::Command",
                  "kav_command"},
             Case{"static int (anonymous namespace)::R<std::map<int, int> >::raise(const T&) [with T = int]",
                  "C:\\src\\r.h", "(anonymous namespace)::R<std::map<int, int> >::raise", "r"},
             Case{"void {anonymous}::g()::<lambda(int)>", "v1.2/noext", "{anonymous}::g", "noext"},
             Case{"bool __cdecl Kav::X::f(void)", ".hidden", "Kav::X::f", ".hidden"},
             Case{"main", "", "main", ""},
         }) {
        SourcePlace const place{c.signature, c.file, 1};
        EXPECT_EQ(place.functionName().toStdString(), c.function) << c.signature;
        EXPECT_EQ(place.sourceName().toStdString(), c.source) << c.file;
    }

    int const line = __LINE__ + 1;
    auto const raise = [] { throw ProgError(KAV_HERE, QStringLiteral("bad state")); };
    try {
        raise();
        ADD_FAILURE() << "no error";
    } catch (ProgError const& e) {
        EXPECT_EQ(e.getMessage().toStdString(),
                  "ProgError_NamesTheFunctionSourceAndLineOfTheRaisingStatement_Test::TestBody (test_core_types:"
                      + std::to_string(line) + "): bad state");
        EXPECT_EQ(std::string(e.what()), e.getMessage().toStdString());
    }
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
