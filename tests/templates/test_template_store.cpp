#include "core/kav_error_log.h"
#include "gapp/kav_gapp_errors.h"
#include "gapp/kav_main_window.h"
#include "io/kav_stream.h"
#include "mvp_editing_fixture.h"
#include "templates/mvp_cmd_import_templates.h"
#include "templates/mvp_edit_restore_templates_dialog.h"
#include "templates/mvp_restore_template_file.h"

#include <QAction>
#include <QDir>
#include <QLockFile>
#include <QMenu>
#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

using namespace Kav;
using namespace Kav::MCADVisProp;
using PropertyAccess::PropAccTemplate;
using PropertyAccess::PropAccTemplateContainer;

using MvpTest::words;
namespace {

// The shared editing fixture, with the import command.
class TemplateStoreTest : public MvpTest::EditingTest {
protected:
    static PropAccTemplateContainer named(char const* names, Cfg::Level level = Cfg::LEVEL_USER)
    {
        PropAccTemplateContainer c;
        for (QString const& n : words(names)) {
            PropAccTemplate t(n, level);
            t.setInvalidCMMInvisibleFlag(n.size() % 2 == 0);
            c.add(t);
        }
        return c;
    }

    static QStringList names(PropAccTemplateContainer const& c)
    {
        QStringList out;
        for (unsigned int i = 0; i < c.getNumberOfTemplates(); ++i)
            out << c.getTemplate(i).getName();
        return out;
    }

    // Runs the import the way a script does.
    bool runImport(QString const& file, QString* errorId, ErrorLog* log)
    {
        QString const params = import.createFileParameterString(file);
        QString result;
        return import.parseParameterString(params, false, errorId, log) && import.execute(&result, errorId, log);
    }

    ImportResTemCommand import;
};

} // namespace

TEST_F(TemplateStoreTest, LoadsEveryLevelInOrderAndSkipsMissingFiles)
{
    EXPECT_TRUE(loadAllTemplates().isEmpty()) << "no files yet";

    writeStore(levelFile(0), named("Install|Same"));
    writeStore(levelFile(2), named("Same|Mine"));
    PropAccTemplateContainer const all = loadAllTemplates();
    EXPECT_EQ(names(all), words("Install|Same|Same|Mine"));
    EXPECT_EQ(all.getTemplate(1).configLevel(), Cfg::LEVEL_INSTALLATION);
    EXPECT_EQ(all.getTemplate(2).configLevel(), Cfg::LEVEL_USER);

    // Save what was loaded: the installation templates stay in their own file only.
    saveTemplates(all);
    EXPECT_EQ(loadAllTemplates(), all);

    // An empty container still writes a valid, empty store.
    saveTemplates(PropAccTemplateContainer());
    EXPECT_EQ(names(loadAllTemplates()), words("Install|Same"));
    IO::InStream in(levelFile(2));
    EXPECT_EQ(in.getType(), KString("RESTORE_SNAPSHOT_TEMPLATE"));
    EXPECT_EQ(in.getVersion(), 1u);
}

// Files of this process grow to a few bytes at most while it lives: a stream to a file
// then fails when it hands its bytes on, at its close.
class TinyFileLimit {
public:
    TinyFileLimit() : signal_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit tiny = old_;
        tiny.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~TinyFileLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, signal_);
    }

private:
    void (*signal_)(int);
    rlimit old_{};
};

TEST_F(TemplateStoreTest, StoreThatCannotBeWrittenIsReportedAndStaysAsItWas)
{
    writeStore(levelFile(2), named("Mine"));
    QByteArray const before = MvpTest::readAll(levelFile(2));
    responder->push([](GTools::DialogRequest const& r) {
        EXPECT_EQ(r.errorId, QStringLiteral("MCADVisProp-0004"));
        return GTools::DialogAnswer{};
    });
    {
        TinyFileLimit const limit;
        saveTemplates(named("A|B"));
    }
    EXPECT_EQ(MvpTest::readAll(levelFile(2)), before);
    EXPECT_EQ(QDir(root.path(QStringLiteral("level2"))).entryList(QDir::Files), words("mvptest_rstmpls.rst"));
}

// A writer needs only the level it writes to read: another level's damaged store is left out
// with one warning naming it, a damaged user level stops the writer before anything is saved.
TEST_F(TemplateStoreTest, UnreadableStoreStopsOnlyWritersOfItsOwnLevel)
{
    writeStore(levelFile(0), named("Install"));
    writeStore(levelFile(1), named("Shared"));
    QByteArray const bytes = MvpTest::readAll(levelFile(1));
    ASSERT_TRUE(MvpTest::writeAll(levelFile(1), bytes.left(bytes.size() - 2)));
    EXPECT_THROW(loadAllTemplates(), IO::StreamException);

    QString const exchange = root.path(QStringLiteral("in.rst"));
    writeExchange(exchange, named("X"));
    auto warning = [this](GTools::DialogRequest const& r) {
        EXPECT_EQ(r.kind, GTools::DialogRequest::OK);
        EXPECT_TRUE(r.text.contains(levelFile(1))) << r.text.toStdString();
        EXPECT_TRUE(r.details.contains(QStringLiteral("the stream is damaged"))) << r.details.toStdString();
        return GTools::DialogAnswer{};
    };
    responder->push(warning);
    QString errorId;
    ErrorLog log;
    ASSERT_TRUE(runImport(exchange, &errorId, &log)) << log.getLog().toStdString();
    responder->push(warning);
    {
        EditRestoreTemplatesDialog dialog;
        responder->pushAcceptName(QStringLiteral("Y"));
        dialog.templateMenu()->actions().first()->trigger();
        dialog.accept();
    }
    EXPECT_EQ(responder->asked().size(), 3u) << "one warning each, the name dialog";
    std::exception_ptr damaged;
    EXPECT_EQ(names(loadIntactTemplates(&damaged)), words("Install|X|Y"));

    ASSERT_TRUE(MvpTest::writeAll(levelFile(2), bytes.left(bytes.size() - 2)));
    EXPECT_THROW(runImport(exchange, &errorId, &log), IO::StreamException);
    EXPECT_THROW(EditRestoreTemplatesDialog{}, IO::StreamException);
    EXPECT_EQ(MvpTest::readAll(levelFile(2)), bytes.left(bytes.size() - 2)) << "nothing saved after a failed load";
}

// Another writer holds the lock: each writer waits, then fails naming the lock, and the store
// stays as it was; the dialog stays open for another try.
TEST_F(TemplateStoreTest, WriterThatCannotGetTheLockFailsAndChangesNothing)
{
    writeStore(levelFile(2), named("Mine"));
    QByteArray const before = MvpTest::readAll(levelFile(2));
    QString const exchange = root.path(QStringLiteral("in.rst"));
    writeExchange(exchange, named("X"));
    int const wait = lockWaitMs();
    setLockWaitMs(100);
    QLockFile held(levelFile(2) + QStringLiteral(".lock"));
    ASSERT_TRUE(held.tryLock(0));

    QString errorId;
    ErrorLog log;
    EXPECT_FALSE(runImport(exchange, &errorId, &log));
    EXPECT_EQ(errorId, QStringLiteral("MCADVisProp-0009"));
    EXPECT_TRUE(log.getLog().contains(levelFile(2) + QStringLiteral(".lock was not free within 0.1 seconds; nothing was changed")))
        << log.getLog().toStdString();
    EditRestoreTemplatesDialog dialog;
    dialog.show();
    responder->pushAnswer(1);
    dialog.templateMenu()->actions().at(3)->trigger(); // delete "Mine"
    for (int i = 0; i < 2; ++i) {
        responder->push([](GTools::DialogRequest const& r) {
            EXPECT_EQ(r.errorId, QStringLiteral("MCADVisProp-0009"));
            return GTools::DialogAnswer{};
        });
    }
    saveTemplates(named("Other"));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(MvpTest::readAll(levelFile(2)), before);

    held.unlock();
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(loadAllTemplates().isEmpty());
    setLockWaitMs(wait);
}

TEST_F(TemplateStoreTest, BadExchangeFileLeavesTheStoreByteForByte)
{
    writeStore(levelFile(2), named("Kept"));
    QByteArray const before = MvpTest::readAll(levelFile(2));

    QString const malformed = root.path(QStringLiteral("bad.rst"));
    ASSERT_TRUE(MvpTest::writeAll(malformed, QByteArrayLiteral("{\"format\": \"kav-restore-templates\", \"vers")));
    QString const missing = root.path(QStringLiteral("missing.rst"));
    // An empty name opens nothing, and the stream that never opened must not count as read;
    // the log names the file (when there is a name) and then why.
    std::pair<QString, QString> const cases[] = {
        {malformed, QStringLiteral("the text ends early")},
        {missing, QStringLiteral("No such file or directory")},
        {root.root(), QStringLiteral("a folder")},
        {QString(), QStringLiteral("no file name given")},
    };
    for (auto const& c : cases) {
        QString errorId;
        ErrorLog log;
        EXPECT_FALSE(runImport(c.first, &errorId, &log));
        EXPECT_EQ(errorId, QStringLiteral("MCADVisProp-0002"));
        QString const start = c.first.isEmpty() ? c.second : c.first + QStringLiteral(": ");
        EXPECT_TRUE(log.getLog().startsWith(start)) << log.getLog().toStdString();
        EXPECT_TRUE(log.getLog().contains(c.second)) << log.getLog().toStdString();
        EXPECT_EQ(MvpTest::readAll(levelFile(2)), before);
    }

    // A clean file without templates still rewrites the store.
    QFile::remove(levelFile(2));
    QString const empty = root.path(QStringLiteral("empty.rst"));
    writeExchange(empty, PropAccTemplateContainer());
    QString errorId;
    ErrorLog log;
    EXPECT_TRUE(runImport(empty, &errorId, &log));
    EXPECT_TRUE(QFile::exists(levelFile(2)));
    EXPECT_TRUE(loadAllTemplates().isEmpty());
}

TEST_F(TemplateStoreTest, CommandParametersMenuAndLock)
{
    EXPECT_EQ(import.createParameterString(), QStringLiteral("file=\"FILE\""));
    QString errorId;
    ErrorLog log;
    EXPECT_FALSE(import.parseParameterString(QStringLiteral("file=\"a\" other=\"b\""), false, &errorId, &log));
    EXPECT_EQ(errorId, QString::fromLatin1(GApp::PARAMETER_ERROR));
    EXPECT_TRUE(log.getLog().contains(QStringLiteral("other"))) << log.getLog().toStdString();
    EXPECT_TRUE(log.getLog().contains(QStringLiteral("\n\n")));
    errorId.clear();
    EXPECT_FALSE(import.parseParameterString(QString(), false, &errorId, &log)) << "file is required";
    EXPECT_EQ(errorId, QString::fromLatin1(GApp::PARAMETER_ERROR));

    EXPECT_TRUE(import.executeMenu());
    EXPECT_FALSE(QFile::exists(levelFile(2))) << "the menu form does nothing";
    EXPECT_FALSE(import.isSensitive());
    EXPECT_TRUE(import.isExecutable());
    Cfg::Settings::setLocked(true);
    EXPECT_FALSE(import.isExecutable());
    // The runner says why it cannot run, not just that it cannot.
    GApp::MainWindow window;
    responder->push([](GTools::DialogRequest const& r) {
        EXPECT_TRUE(r.details.contains(QStringLiteral("snapshot restore templates are locked: the host has locked")))
            << r.details.toStdString();
        return GTools::DialogAnswer{};
    });
    EXPECT_FALSE(window.execute(&import, import.createFileParameterString(levelFile(2)), nullptr, false));
}

TEST_F(TemplateStoreTest, ImportRenamesClashesAcrossLevelsAndWithinTheFile)
{
    writeStore(levelFile(1), named("X", Cfg::LEVEL_USER));
    writeStore(levelFile(2), named("A|A_1"));
    QString const exchange = root.path(QStringLiteral("import.rst"));
    writeExchange(exchange, named("T|T|A|X|t"));

    QString errorId;
    ErrorLog log;
    ASSERT_TRUE(runImport(exchange, &errorId, &log)) << log.getLog().toStdString();
    EXPECT_TRUE(errorId.isEmpty());
    PropAccTemplateContainer const all = loadAllTemplates();
    EXPECT_EQ(names(all), words("X|A|A_1|T|T_1|A_2|X_1|t"));
    EXPECT_EQ(all.getTemplate(7).configLevel(), Cfg::LEVEL_USER);
}
