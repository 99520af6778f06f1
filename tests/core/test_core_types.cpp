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

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

using namespace Kav;

namespace {

void expectNear(BaVec3d<double> const& a, BaVec3d<double> const& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}

} // namespace

TEST(KString, KeepsArbitraryBytesAndConvertsUtf8)
{
    KString const withNul("a\0b", 3);
    EXPECT_EQ(withNul.size(), 3u);
    EXPECT_NE(withNul, KString("a"));

    QString const text = QStringLiteral("Gr\u00f6\u00dfe \u6e2c\u8a66");
    KString const bytes = KString::fromQString(text);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(text.toUtf8().size()));
    EXPECT_EQ(bytes.toQString(), text);
    EXPECT_TRUE(KString().isEmpty());
}

TEST(Transformation, ComposesRotatesInvertsAndProjects)
{
    // 90 degrees about z takes x to y.
    Transformation const rz = Transformation::rotation({0, 0, 90});
    expectNear(rz.map({1, 0, 0}), {0, 1, 0});
    // x first, then y: (0,1,0) -x90-> (0,0,1) -y90-> (1,0,0).
    expectNear(Transformation::rotation({90, 90, 0}).map({0, 1, 0}), {1, 0, 0});

    Transformation const t = Transformation::translation({10, -5, 2}) * Transformation::scaling({2, 3, 4}) * rz;
    expectNear(t.map({1, 1, 1}), {10 - 2, -5 + 3, 2 + 4});
    BaVec2d<double> const p = t.project({1, 1, 1});
    EXPECT_NEAR(p.x, 8.0, 1e-12);
    EXPECT_NEAR(p.y, -2.0, 1e-12);

    bool ok = false;
    Transformation const inv = t.inverted(&ok);
    ASSERT_TRUE(ok);
    expectNear(inv.map(t.map({3, -7, 0.5})), {3, -7, 0.5});

    Transformation singular = Transformation::scaling({1, 0, 1});
    singular.inverted(&ok);
    EXPECT_FALSE(ok);

    // A perspective row divides by w.
    Transformation persp;
    persp(3, 2) = 1.0;
    persp(3, 3) = 0.0;
    expectNear(persp.map({4, 6, 2}), {2, 3, 1});
}

TEST(ErrorLog, CollectsEntriesEndedByEndLog)
{
    ErrorLog log(false);
    EXPECT_TRUE(log.isEmpty());
    log << "no element " << QStringLiteral("E1") << END_LOG;
    log << 3 << " of " << 4u << END_LOG;
    log << 0.1;
    ASSERT_EQ(log.getEntries().size(), 2);
    EXPECT_EQ(log.getEntries().at(0), QStringLiteral("no element E1"));
    EXPECT_EQ(log.getEntries().at(1), QStringLiteral("3 of 4"));
    // The open entry shows too; doubles keep every digit.
    EXPECT_EQ(log.getLog(), QStringLiteral("no element E1\n3 of 4\n0.10000000000000001"));
    log.clear();
    EXPECT_TRUE(log.isEmpty());
}

TEST(Errors, CarryTheirPartsAndReadableText)
{
    try {
        throw ProgError(QStringLiteral("Kav::X::apply"), QStringLiteral("x_source"), 42,
                        QStringLiteral("no command interface"));
    } catch (std::exception const& e) {
        auto const* pe = dynamic_cast<ProgError const*>(&e);
        ASSERT_NE(pe, nullptr);
        EXPECT_EQ(pe->getFunction(), QStringLiteral("Kav::X::apply"));
        EXPECT_EQ(pe->getSource(), QStringLiteral("x_source"));
        EXPECT_EQ(pe->getLine(), 42);
        EXPECT_EQ(pe->getText(), QStringLiteral("no command interface"));
        EXPECT_STREQ(e.what(), "Kav::X::apply (x_source:42): no command interface");
    }
    ParamError const pe(QStringLiteral("missing parameter \u00bbfile\u00ab"));
    EXPECT_EQ(pe.getText(), QStringLiteral("missing parameter \u00bbfile\u00ab"));
    EXPECT_EQ(QString::fromUtf8(pe.what()), pe.getText());
}

TEST(Filename, SplitsPathsIntoParts)
{
    Filename::Name const full(QStringLiteral("/tmp/dir.d/view only.rst"));
    EXPECT_EQ(full.getBaseName(), QStringLiteral("view only"));
    EXPECT_EQ(full.getFileName(), QStringLiteral("view only.rst"));
    EXPECT_EQ(full.getEnding(), QStringLiteral("rst"));
    EXPECT_EQ(full.getDirectory(), QStringLiteral("/tmp/dir.d"));

    EXPECT_EQ(Filename::Name(QStringLiteral("View only")).getBaseName(), QStringLiteral("View only"));
    EXPECT_EQ(Filename::Name(QStringLiteral("a.b.c")).getBaseName(), QStringLiteral("a.b"));
    EXPECT_EQ(Filename::Name(QStringLiteral(".hidden")).getBaseName(), QStringLiteral(".hidden"));
    EXPECT_EQ(Filename::Name(QStringLiteral("C:\\x\\y.rst")).getBaseName(), QStringLiteral("y"));
    EXPECT_EQ(Filename::Name(QString()).getBaseName(), QString());
}

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

TEST(HostBasics, ApplicationNameConfigNodesAndTokens)
{
    KavInit::setApplicationName("mvp-test");
    EXPECT_STREQ(KavInit::getApplicationName(), "mvp-test");

    CfgNode root(QStringLiteral("root"));
    CfgNode* child = root.child(QStringLiteral("view"));
    EXPECT_EQ(root.child(QStringLiteral("view")), child) << "child() must not create twins";
    child->setValue(QStringLiteral("scale"), QStringLiteral("2"));
    ASSERT_NE(root.findChild(QStringLiteral("view")), nullptr);
    EXPECT_EQ(root.findChild(QStringLiteral("view"))->getValue(QStringLiteral("scale")), QStringLiteral("2"));
    EXPECT_EQ(root.findChild(QStringLiteral("none")), nullptr);

    CAD::TokenContainer tokens;
    tokens.set(QStringLiteral("part"), QStringLiteral("Door"));
    EXPECT_EQ(tokens.expand(QStringLiteral("${part} / ${unknown}")), QStringLiteral("Door / ${unknown}"));
}
