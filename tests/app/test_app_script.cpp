// Runs the mvp-host executable the way a user's script would: two separate runs share a
// project file, and broken input gives a message naming the file instead of a crash.

#include "kav_script_runner.h"
#include "io/kav_stream.h"
#include "mvp_temp_dir.h"
#include "propertyaccess/kav_prop_acc_template_container.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

using Kav::App::ScriptRunner;

namespace {

struct HostRun {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

// Starts mvp-host with `arguments` and the test folder's "cfg" as its configuration root.
void startHost(QProcess& process, MvpTest::TempDir const& dir, QStringList arguments)
{
    arguments << QStringLiteral("--config-root") << dir.path(QStringLiteral("cfg"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // English unless --lang says otherwise.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(MVP_HOST_EXECUTABLE), arguments);
}

HostRun finishHost(QProcess& process)
{
    HostRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "mvp-host did not finish";
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

HostRun runHost(MvpTest::TempDir const& dir, QStringList const& arguments)
{
    QProcess process;
    startHost(process, dir, arguments);
    return finishHost(process);
}

// Runs `script` (not written when null) from the test's folder; "@/" in it stands for the folder.
HostRun runScript(MvpTest::TempDir const& dir, QString const& name, QByteArray script, QStringList const& more = {})
{
    QString const path = dir.path(name);
    if (!script.isNull()) {
        EXPECT_TRUE(MvpTest::writeAll(path, script.replace("@/", dir.root().toUtf8() + '/')));
    }
    return runHost(dir, QStringList{QStringLiteral("--script"), path} + more);
}

QByteArray fileBytes(MvpTest::TempDir const& dir, char const* name)
{
    return MvpTest::readAll(dir.path(QString::fromLatin1(name)));
}

} // namespace

TEST(AppScript, SavedSnapshotsRestoreInALaterRunToTheStateTheyRecorded)
{
    MvpTest::TempDir dir;
    HostRun const a = runScript(dir, QStringLiteral("first.macro"),
                                "# first run: two snapshots, saved\n"
                                "host.sample_scene\n"
                                "report.create_snapshot name=\"Original\"\n"
                                "host.dump_state file=\"@/original.txt\"\n"
                                "view.set rotation=[\"10\", \"20\", \"30\"] scale=\"2.5\"   # turned and zoomed\n"
                                "element.set name=\"Bracket\" color=\"#123456\" transparency=\"0.5\"\n"
                                "element.set name=\"Datum A\" visible=\"0\"\n"
                                "legend.set range=[\"-2\", \"3\"] steps=\"7\"\n"
                                "report.create_snapshot name=\"Changed\"\n"
                                "host.dump_state file=\"@/changed.txt\"\n"
                                "# a twin shares every access with \"Original\"; its removal frees none of them\n"
                                "report.create_snapshot name=\"Twin\"\n"
                                "element.remove name=\"Twin\"\n"
                                "edit.undo\n"
                                "edit.redo\n"
                                "report.restore_whole_snapshot snapshot=\"Original\"\n"
                                "host.dump_state file=\"@/restored-first-run.txt\"\n"
                                "report.restore_whole_snapshot snapshot=\"Changed\"\n"
                                "host.save_project file=\"@/p.kvp\"\n");
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    EXPECT_EQ(a.out.count(QStringLiteral("ok ")), 17) << a.out.toStdString();
    // What "Changed" holds apart from "Original" (labels the turn moved, a colour, a hidden
    // element) is stored as changes to the accesses held before at their places: besides one
    // access per element and the view and the legend of "Original", at most those two again.
    int elements = 0;
    for (QByteArray const& line : fileBytes(dir, "original.txt").split('\n'))
        elements += line.startsWith("element ");
    int const whole = static_cast<int>(fileBytes(dir, "p.kvp").count("PROPERTY_ACCESS"));
    EXPECT_GE(whole, elements + 2);
    EXPECT_LE(whole, elements + 4);
    HostRun const b = runScript(dir, QStringLiteral("second.macro"),
                                "host.load_project file=\"@/p.kvp\"\n"
                                "element.set name=\"Bracket\" color=\"#ff0000\"\n"
                                "report.restore_whole_snapshot snapshot=\"Original\"\n"
                                "host.dump_state file=\"@/restored-original.txt\"\n"
                                "report.restore_whole_snapshot snapshot=\"Changed\"\n"
                                "host.dump_state file=\"@/restored-changed.txt\"\n"
                                "edit.undo\n"
                                "host.dump_state file=\"@/undone.txt\"\n",
                                {QStringLiteral("--timings")});
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
    // Timed: each command, then what a user does next in the window.
    for (char const* what : {"host.load_project", "frame_all", "explorer_filter", "snapshot_panel", "paint"})
        EXPECT_TRUE(b.err.contains(QStringLiteral("time %1 ").arg(QLatin1String(what)))) << what << b.err.toStdString();

    QByteArray const original = fileBytes(dir, "original.txt");
    QByteArray const changed = fileBytes(dir, "changed.txt");
    ASSERT_FALSE(original.isEmpty());
    ASSERT_NE(original, changed);
    // The visual state: every line but the reports' (the first dump was made before
    // "Changed" existed; the reports' own round trip is pinned below).
    auto withoutReports = [](QByteArray const& state) {
        QByteArray kept;
        for (QByteArray const& line : state.split('\n')) {
            if (!line.startsWith("report"))
                kept += line + '\n';
        }
        return kept.toStdString();
    };
    EXPECT_EQ(withoutReports(fileBytes(dir, "restored-first-run.txt")), withoutReports(original));
    EXPECT_EQ(withoutReports(fileBytes(dir, "restored-original.txt")), withoutReports(original));
    EXPECT_EQ(withoutReports(fileBytes(dir, "restored-changed.txt")), withoutReports(changed));
    // Undo takes back the second restore only.
    EXPECT_EQ(fileBytes(dir, "undone.txt").toStdString(), fileBytes(dir, "restored-original.txt").toStdString());

    // A project of the first format, three snapshots, written before accesses were stored
    // once, and the same project as the second format wrote it (each access stored once):
    // the state after loading and after each restore, as the first version gave them.
    QByteArray const golden = MvpTest::readAll(QStringLiteral(MVP_TEST_DATA_DIR "/project/sample_v1_snapshots.state.txt"));
    for (char const* version : {"v1", "v2"}) {
        QByteArray script = "host.load_project file=\"" MVP_TEST_DATA_DIR "/project/sample_" + QByteArray(version) + "_snapshots.kvp\"\n";
        QList<QByteArray> sections;
        for (QByteArray const& line : golden.split('\n')) {
            if (!line.startsWith("# "))
                continue;
            sections << line.mid(2);
            if (line != "# loaded")
                script += "report.restore_whole_snapshot snapshot=\"" + line.mid(2) + "\"\n";
            script += "host.dump_state file=\"@/" + line.mid(2) + ".txt\"\n";
        }
        ASSERT_EQ(sections.size(), 4);
        ASSERT_EQ(runScript(dir, QStringLiteral("golden.macro"), script).exitCode, 0) << version;
        QByteArray expected;
        for (QByteArray const& name : sections)
            expected += "# " + name + '\n' + MvpTest::readAll(dir.path(QString::fromUtf8(name + ".txt")));
        EXPECT_EQ(expected.toStdString(), golden.toStdString()) << version;
    }
}

TEST(AppScript, BrokenInputIsNamedAndNeverCrashes)
{
    MvpTest::TempDir dir;
    ASSERT_TRUE(MvpTest::writeAll(dir.path(QStringLiteral("corrupt.kvp")), QByteArray("KAVB\x05\x00\x00\x00junk and more junk", 27)));
    ASSERT_TRUE(MvpTest::writeAll(dir.path(QStringLiteral("corrupt.rst")), "{\"format\": \"kav-restore-templates\", \"templates\": 5"));
    struct Case {
        char const* file;
        QByteArray script;  // null: no such file
        int oks;  // the lines that ran before the error
        std::vector<char const*> errHas;  // "@/" stands for the folder
    };
    Case const cases[] = {
        // A failing line: the lines before it ran, the error names the line and the id.
        {"bad.macro", "host.sample_scene\nelement.set name=\"Bracket\" transparency=\"7\"\nhost.sample_scene\n", 1,
         {"error 2: KavHost-Param-0001: ", "transparency"}},
        // Control and bidirectional characters in what the user wrote reach the terminal escaped.
        {"esc.macro", "host.sample_scene\nelement.set name=\"A\x1b[2JB\xe2\x80\xae" "C\"\n", 1, {"A\\x1B[2JB\\u202EC"}},
        // Snapshots are not elements: the types offered are those that can be added.
        {"report.macro", "element.add name=\"R\" type=\"report\"\n", 0, {"is not one of part, ", "distance, folder\n"}},
        // Positions count from the start of the line as written; a missing snapshot is named.
        {"twice.macro", "host.sample_scene\n  element.set name=\"Bracket\" color=\"#ff0000\" color=\"#00ff00\"\n", 1,
         {"is given twice, at positions 29 and 45"}},
        {"nope.macro", "host.sample_scene\nreport.restore_whole_snapshot snapshot=\"Nope\"\n", 1, {"no snapshot has the name \"Nope\""}},
        {"dialog.macro", "report.change_restore_templates\n", 0, {"needs the window"}},
        {"unknown.macro", "\n# nothing yet\nno.such_command x=\"1\"\n", 0, {"error 3: ", "no.such_command"}},
        // A missing script, one not UTF-8; a corrupt project and template exchange file.
        {"missing.macro", QByteArray(), 0, {"@/missing.macro"}},
        {"binary.macro", QByteArray("host.sample_scene\n\xff\xfe\x00\x01", 22), 0, {"@/binary.macro"}},
        {"load.macro", "host.load_project file=\"@/corrupt.kvp\"\n", 0, {"@/corrupt.kvp"}},
        {"import.macro", "report.import_restore_templates file=\"@/corrupt.rst\"\n", 0, {"corrupt.rst"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.file);
        HostRun const run = runScript(dir, QString::fromLatin1(c.file), c.script);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out.count(QStringLiteral("ok ")), c.oks) << run.out.toStdString();
        EXPECT_FALSE(run.err.contains(QChar(0x1b)) || run.err.contains(QChar(0x202E))) << run.err.toStdString();
        for (char const* part : c.errHas) {
            EXPECT_TRUE(run.err.contains(QString::fromLatin1(part).replace(QStringLiteral("@/"), dir.root() + QLatin1Char('/'))))
                << part << " in " << run.err.toStdString();
        }
    }

    // A corrupt template store in the user level: the run goes on without its templates.
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("cfg/user")))
                && MvpTest::writeAll(dir.path(QStringLiteral("cfg/user/mvp-host_rstmpls.rst")), "not a block stream"));
    HostRun const store = runScript(dir, QStringLiteral("store.macro"), "host.sample_scene\nreport.create_snapshot\n");
    EXPECT_FALSE(store.crashed);
    EXPECT_EQ(store.exitCode, 0) << store.err.toStdString();
    // Corrupt in the installation level instead: importing into the user level goes on, with one warning.
    ASSERT_TRUE(QFile::remove(dir.path(QStringLiteral("cfg/user/mvp-host_rstmpls.rst"))));
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("cfg/installation")))
                && MvpTest::writeAll(dir.path(QStringLiteral("cfg/installation/mvp-host_rstmpls.rst")), "not a block stream")
                && MvpTest::writeAll(dir.path(QStringLiteral("good.rst")), R"({"format": "kav-restore-templates", "version": 1, "templates": []})"));
    HostRun const import = runScript(dir, QStringLiteral("good.macro"), "report.import_restore_templates file=\"@/good.rst\"\n");
    EXPECT_EQ(import.exitCode, 0) << import.err.toStdString();
    EXPECT_EQ(import.err.count(QStringLiteral("not a block stream")), 1) << import.err.toStdString();
    EXPECT_EQ(import.err.count(QStringLiteral("warning: ")), 1) << import.err.toStdString();
}

// Two runs import into one store at once, file after file: every import that said ok is in
// the store afterwards, and one that could not get the store's lock said so.
TEST(AppScript, SimultaneousImportsIntoOneStoreLoseNothing)
{
    MvpTest::TempDir dir;
    QProcess processes[2];
    for (int p = 0; p < 2; ++p) {
        QByteArray script;
        for (int i = 0; i < 20; ++i) {
            QString const file = dir.path(QStringLiteral("%1%2.rst").arg(QLatin1Char('a' + p)).arg(i));
            ASSERT_TRUE(MvpTest::writeAll(file, QStringLiteral(R"({"format": "kav-restore-templates", "version": 1, )"
                                                                R"("templates": [{"name": "%1%2"}]})").arg(QLatin1Char('a' + p)).arg(i).toUtf8()));
            script += "report.import_restore_templates file=\"" + file.toUtf8() + "\"\n";
        }
        ASSERT_TRUE(MvpTest::writeAll(dir.path(QStringLiteral("import%1.macro").arg(p)), script));
        startHost(processes[p], dir, {QStringLiteral("--script"), dir.path(QStringLiteral("import%1.macro").arg(p))});
    }
    QStringList imported;
    for (int p = 0; p < 2; ++p) {
        HostRun const run = finishHost(processes[p]);
        int const oks = static_cast<int>(run.out.count(QStringLiteral("ok report.import_restore_templates")));
        EXPECT_TRUE(run.exitCode == 0 ? oks == 20 : run.err.contains(QStringLiteral("MCADVisProp-0009"))) << run.err.toStdString();
        for (int i = 0; i < oks; ++i)
            imported << QStringLiteral("%1%2").arg(QLatin1Char('a' + p)).arg(i);
    }
    Kav::PropertyAccess::PropAccTemplateContainer stored;
    Kav::IO::InStream in(dir.path(QStringLiteral("cfg/user/mvp-host_rstmpls.rst")));
    stored.loadStream(&in, Kav::Cfg::LEVEL_USER);
    QStringList names;
    for (unsigned int i = 0; i < stored.getNumberOfTemplates(); ++i)
        names << stored.getTemplate(i).getName();
    names.sort();
    imported.sort();
    EXPECT_EQ(names.join(QLatin1Char(' ')).toStdString(), imported.join(QLatin1Char(' ')).toStdString());
}

TEST(AppScript, DemoRunsEveryStepAndItsChecksHold)
{
    MvpTest::TempDir dir;
    QString const shot = dir.path(QStringLiteral("shots/demo.png"));
    HostRun const demo = runHost(dir, {QStringLiteral("--demo"), QStringLiteral("--screenshot"), shot});
    EXPECT_EQ(demo.exitCode, 0) << demo.out.toStdString() << demo.err.toStdString();
    EXPECT_FALSE(demo.out.contains(QStringLiteral(": NO"))) << demo.out.toStdString();
    EXPECT_TRUE(demo.out.endsWith(QStringLiteral("\n\ndemo finished: every check held\n"))) << demo.out.toStdString();
    EXPECT_TRUE(demo.out.contains(QStringLiteral("restored picture is pixel-identical to the one before the change: yes")));
    for (char const* name : {"demo.png", "demo-1-before.png", "demo-2-changed.png", "demo-3-restored.png"})
        EXPECT_FALSE(MvpTest::readAll(dir.path(QStringLiteral("shots/") + QString::fromLatin1(name))).isEmpty()) << name;
}

TEST(AppScript, LangDeShowsGermanMenusOfTheApplicationAndThePlugIn)
{
    MvpTest::TempDir dir;
    QStringList const german{QStringLiteral("--print-menus"), QStringLiteral("--lang"), QStringLiteral("de")};
    HostRun const menus = runHost(dir, german);
    ASSERT_EQ(menus.exitCode, 0) << menus.err.toStdString();
    // The sub-menu's title comes from the plug-in and its own catalogue.
    for (char const* line : {"Be&richt", "    Ganzen Snapshot wiederherstellen", "    Darstellung aus Snapshot wiederherstellen"})
        EXPECT_TRUE(menus.out.split(QLatin1Char('\n')).contains(QString::fromUtf8(line))) << line << " in " << menus.out.toStdString();
    EXPECT_FALSE(menus.out.contains(QStringLiteral("Report"))) << menus.out.toStdString();

    // The host's error texts and the system's reason, and the undo step in the Edit menu.
    HostRun const failed = runScript(dir, QStringLiteral("de.kavmacro"),
                                     "host.sample_scene\nview.set scale=\"2\"\nhost.save_project file=\"@/missing/p.kvp\"\n", german);
    for (char const* part :
         {"die Datei kann nicht gespeichert werden", "kann keine Datei angelegt werden: Datei oder Verzeichnis nicht gefunden"})
        EXPECT_TRUE(failed.err.contains(QString::fromUtf8(part))) << part << " in " << failed.err.toStdString();
    EXPECT_FALSE(failed.err.contains(QStringLiteral("cannot"))) << failed.err.toStdString();
    EXPECT_TRUE(failed.out.contains(QStringLiteral("\n    Ansicht ändern rückgängig machen\n"))) << failed.out.toStdString();

    HostRun const english = runHost(dir, {QStringLiteral("--print-menus")});
    ASSERT_EQ(english.exitCode, 0) << english.err.toStdString();
    EXPECT_TRUE(english.out.split(QLatin1Char('\n')).contains(QStringLiteral("&Report"))) << english.out.toStdString();
    EXPECT_TRUE(english.out.contains(QStringLiteral("restore visualization from snapshot")));
}

// The reader itself: comments, encodings and what is no script.
TEST(ScriptReader, CommentsEndOnlyOutsideQuotes)
{
    char const* const cases[][2] = {
        {"  # a comment", ""}, {"   ", ""}, {"edit.undo#now", "edit.undo"},
        {"element.set name=\"A#1\" color=\"#ff0000\"  # red", "element.set name=\"A#1\" color=\"#ff0000\""},
        // An escaped quote does not end the value.
        {"element.set label_template=\"say \\\"#1\\\" # not yet\" #x", "element.set label_template=\"say \\\"#1\\\" # not yet\""}};
    for (auto const& c : cases)
        EXPECT_EQ(ScriptRunner::stripComment(QString::fromLatin1(c[0])), QString::fromLatin1(c[1])) << c[0];
}

TEST(ScriptReader, ReadsTextAndRefusesWhatIsNoScript)
{
    MvpTest::TempDir dir;
    QStringList lines;
    QString message;
    QString const crlf = dir.path(QStringLiteral("crlf.macro"));
    // CR LF, a lone CR and LF each end a line.
    ASSERT_TRUE(MvpTest::writeAll(crlf, "host.sample_scene\r\n\rselect names=[\"\xc3\x9c\"]\n"));
    ASSERT_TRUE(ScriptRunner::readScript(crlf, &lines, &message)) << message.toStdString();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0), QStringLiteral("host.sample_scene"));
    EXPECT_EQ(lines.at(2), QStringLiteral("select names=[\"") + QChar(0xDC) + QStringLiteral("\"]"));
    // A byte-order mark is no part of the first command.
    QString const bom = dir.path(QStringLiteral("bom.kavmacro"));
    ASSERT_TRUE(MvpTest::writeAll(bom, "\xEF\xBB\xBFhost.sample_scene\n"));
    ASSERT_TRUE(ScriptRunner::readScript(bom, &lines, &message)) << message.toStdString();
    EXPECT_EQ(lines.at(0), QStringLiteral("host.sample_scene"));

    // Too large: refused before anything is read (the file is sparse).
    QString const latin1 = dir.path(QStringLiteral("latin1.macro")), huge = dir.path(QStringLiteral("huge.macro"));
    ASSERT_TRUE(MvpTest::writeAll(latin1, "select names=[\"\xdc\"]\n") && MvpTest::writeAll(huge, ""));
    ASSERT_TRUE(QFile::resize(huge, ScriptRunner::MAX_SCRIPT_BYTES + 1));
    for (auto const& [path, why] : {std::pair(dir.root(), "not a file"), std::pair(latin1, "UTF-8"), std::pair(huge, "too large")}) {
        EXPECT_FALSE(ScriptRunner::readScript(path, &lines, &message)) << why;
        EXPECT_TRUE(message.contains(path) && message.contains(QString::fromLatin1(why))) << message.toStdString();
    }
}

// The README's example script runs as written and its "View only" template leaves the
// legend and the elements as they were changed.
TEST(AppScript, ReadmeExampleRestoresOnlyWhatItsTemplateNames)
{
    MvpTest::TempDir dir;
    QByteArray const readme = MvpTest::readAll(QStringLiteral(MVP_TEST_DATA_DIR "/../../README.md"));
    int const begin = readme.indexOf("```sh\n# snapshot, change, restore");
    ASSERT_GE(begin, 0);
    QByteArray const script = readme.mid(begin + 6, readme.indexOf("```", begin + 6) - begin - 6);
    HostRun const run = runScript(dir, QStringLiteral("readme.kavmacro"), QByteArray(script).replace("file=\"", "file=\"@/"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The undo leaves the state after "View only": the view is back, the rest as changed.
    QByteArray const state = fileBytes(dir, "state.txt");
    EXPECT_TRUE(state.contains("legend data=1 range=(-2 3) steps=7")) << state.toStdString();
    EXPECT_TRUE(state.contains("element name=\"Datum A\" type=plane parent=\"Bracket\" visible=0")) << state.toStdString();
    EXPECT_FALSE(state.contains("view rotation=(10 20 30)")) << state.toStdString();
}

// Every text of every catalogue shown by the application has a finished German translation
// that keeps the text's placeholders.
TEST(Catalogues, EveryTextHasAFinishedGermanTranslation)
{
    QDir const dir(QStringLiteral(MVP_TEST_DATA_DIR "/../../translations"));
    QStringList const files = dir.entryList({QStringLiteral("*_de.ts")}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    auto placeholders = [](QString const& text) {
        QStringList found;
        for (auto it = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    for (QString const& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        QXmlStreamReader xml(&file);
        QString context, source;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                QString const type = xml.attributes().value(QLatin1String("type")).toString();
                QString const text = xml.readElementText();
                ++messages;
                std::string const where = (name + QLatin1Char(' ') + context + QStringLiteral(": ") + source).toStdString();
                EXPECT_TRUE(type.isEmpty()) << where << " is " << type.toStdString();
                EXPECT_FALSE(text.isEmpty()) << where;
                EXPECT_EQ(placeholders(text), placeholders(source)) << where;
            }
        }
        EXPECT_FALSE(xml.hasError()) << name.toStdString() << ": " << xml.errorString().toStdString();
        EXPECT_GT(messages, 0) << name.toStdString();
    }
}
