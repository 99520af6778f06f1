// Runs the mvp-host executable the way a user's script would: two separate runs share a
// project file, and broken input gives a message naming the file instead of a crash.

#include "kav_script_runner.h"
#include "mvp_temp_dir.h"

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

HostRun runHost(QStringList const& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // English unless --lang says otherwise.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(MVP_HOST_EXECUTABLE), arguments);
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

HostRun runScript(MvpTest::TempDir const& dir, QString const& name, QByteArray const& script)
{
    QString const path = dir.path(name);
    EXPECT_TRUE(MvpTest::writeAll(path, script));
    return runHost({QStringLiteral("--script"), path, QStringLiteral("--config-root"), dir.path(QStringLiteral("cfg"))});
}

QByteArray fileBytes(QString const& path)
{
    return MvpTest::readAll(path);
}

} // namespace

TEST(AppScript, SavedSnapshotsRestoreInALaterRunToTheStateTheyRecorded)
{
    MvpTest::TempDir dir;
    QByteArray const project = dir.path(QStringLiteral("p.kvp")).toUtf8();
    QByteArray const first = "# first run: two snapshots, saved\n"
                             "host.sample_scene\n"
                             "report.create_snapshot name=\"Original\"\n"
                             "host.dump_state file=\"" + dir.path(QStringLiteral("original.txt")).toUtf8() + "\"\n"
                             "view.set rotation=[\"10\", \"20\", \"30\"] scale=\"2.5\"   # turned and zoomed\n"
                             "element.set name=\"Bracket\" color=\"#123456\" transparency=\"0.5\"\n"
                             "element.set name=\"Datum A\" visible=\"0\"\n"
                             "legend.set range=[\"-2\", \"3\"] steps=\"7\"\n"
                             "report.create_snapshot name=\"Changed\"\n"
                             "host.dump_state file=\"" + dir.path(QStringLiteral("changed.txt")).toUtf8() + "\"\n"
                             "host.save_project file=\"" + project + "\"\n";
    HostRun const a = runScript(dir, QStringLiteral("first.macro"), first);
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    EXPECT_EQ(a.out.count(QStringLiteral("ok ")), 10) << a.out.toStdString();
    EXPECT_TRUE(a.out.contains(QStringLiteral("ok host.save_project")));

    QByteArray const second = "host.load_project file=\"" + project + "\"\n"
                              "element.set name=\"Bracket\" color=\"#ff0000\"\n"
                              "report.restore_whole_snapshot snapshot=\"Original\"\n"
                              "host.dump_state file=\"" + dir.path(QStringLiteral("restored-original.txt")).toUtf8() + "\"\n"
                              "report.restore_whole_snapshot snapshot=\"Changed\"\n"
                              "host.dump_state file=\"" + dir.path(QStringLiteral("restored-changed.txt")).toUtf8() + "\"\n"
                              "edit.undo\n"
                              "host.dump_state file=\"" + dir.path(QStringLiteral("undone.txt")).toUtf8() + "\"\n";
    HostRun const b = runScript(dir, QStringLiteral("second.macro"), second);
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();

    QByteArray const original = fileBytes(dir.path(QStringLiteral("original.txt")));
    QByteArray const changed = fileBytes(dir.path(QStringLiteral("changed.txt")));
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
    EXPECT_EQ(withoutReports(fileBytes(dir.path(QStringLiteral("restored-original.txt")))), withoutReports(original));
    EXPECT_EQ(withoutReports(fileBytes(dir.path(QStringLiteral("restored-changed.txt")))), withoutReports(changed));
    // Undo takes back the second restore only.
    EXPECT_EQ(fileBytes(dir.path(QStringLiteral("undone.txt"))).toStdString(),
              fileBytes(dir.path(QStringLiteral("restored-original.txt"))).toStdString());
}

TEST(AppScript, BrokenInputIsNamedAndNeverCrashes)
{
    MvpTest::TempDir dir;

    // A failing line: the lines before it ran, the error names the line and the id.
    HostRun const bad = runScript(dir, QStringLiteral("bad.macro"),
                              "host.sample_scene\nelement.set name=\"Bracket\" transparency=\"7\"\nhost.sample_scene\n");
    EXPECT_FALSE(bad.crashed);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out.count(QStringLiteral("ok ")), 1) << bad.out.toStdString();
    EXPECT_TRUE(bad.err.contains(QStringLiteral("error 2: KavHost-Param-0001: "))) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains(QStringLiteral("transparency"))) << bad.err.toStdString();

    // Control characters in what the user wrote reach the terminal escaped.
    HostRun const esc = runScript(dir, QStringLiteral("esc.macro"), "host.sample_scene\nelement.set name=\"A\x1b[2JB\"\n");
    EXPECT_EQ(esc.exitCode, 1);
    EXPECT_FALSE(esc.err.contains(QChar(0x1b))) << esc.err.toStdString();
    EXPECT_TRUE(esc.err.contains(QStringLiteral("A\\x1B[2JB"))) << esc.err.toStdString();

    // Positions count from the start of the line as written; a missing snapshot is named.
    HostRun const twice = runScript(dir, QStringLiteral("twice.macro"),
                                    "host.sample_scene\n  element.set name=\"Bracket\" color=\"#ff0000\" color=\"#00ff00\"\n");
    EXPECT_TRUE(twice.err.contains(QStringLiteral("is given twice, at positions 29 and 45"))) << twice.err.toStdString();
    HostRun const nope = runScript(dir, QStringLiteral("nope.macro"), "host.sample_scene\nreport.restore_whole_snapshot snapshot=\"Nope\"\n");
    EXPECT_TRUE(nope.err.contains(QStringLiteral("no snapshot has the name \"Nope\""))) << nope.err.toStdString();
    HostRun const dialog = runScript(dir, QStringLiteral("dialog.macro"), "report.change_restore_templates\n");
    EXPECT_TRUE(dialog.err.contains(QStringLiteral("needs the window"))) << dialog.err.toStdString();

    HostRun const unknown = runScript(dir, QStringLiteral("unknown.macro"), "\n# nothing yet\nno.such_command x=\"1\"\n");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("error 3: "))) << unknown.err.toStdString();
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("no.such_command")));

    // Missing script, not UTF-8.
    QString const missing = dir.path(QStringLiteral("missing.macro"));
    HostRun const none = runHost({QStringLiteral("--script"), missing, QStringLiteral("--config-root"), dir.path(QStringLiteral("cfg"))});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(missing)) << none.err.toStdString();
    HostRun const binary = runScript(dir, QStringLiteral("binary.macro"), QByteArray("host.sample_scene\n\xff\xfe\x00\x01", 22));
    EXPECT_EQ(binary.exitCode, 1);
    EXPECT_TRUE(binary.err.contains(dir.path(QStringLiteral("binary.macro")))) << binary.err.toStdString();

    // A corrupt project and a corrupt template exchange file: the error names the file.
    QString const corrupt = dir.path(QStringLiteral("corrupt.kvp"));
    ASSERT_TRUE(MvpTest::writeAll(corrupt, QByteArray("KAVB\x05\x00\x00\x00junk and more junk", 27)));
    HostRun const project = runScript(dir, QStringLiteral("load.macro"), "host.load_project file=\"" + corrupt.toUtf8() + "\"\n");
    EXPECT_FALSE(project.crashed);
    EXPECT_EQ(project.exitCode, 1);
    EXPECT_TRUE(project.err.contains(corrupt)) << project.err.toStdString();

    QString const templates = dir.path(QStringLiteral("corrupt.rst"));
    ASSERT_TRUE(MvpTest::writeAll(templates, "{\"format\": \"kav-restore-templates\", \"templates\": 5"));
    HostRun const import = runScript(dir, QStringLiteral("import.macro"),
                                 "report.import_restore_templates file=\"" + templates.toUtf8() + "\"\n");
    EXPECT_FALSE(import.crashed);
    EXPECT_EQ(import.exitCode, 1);
    EXPECT_TRUE(import.err.contains(QStringLiteral("corrupt.rst"))) << import.err.toStdString();

    // A corrupt template store in the user level: the run goes on without its templates.
    MvpTest::writeAll(dir.path(QStringLiteral("cfg/user/mvp-host_rstmpls.rst")), "not a block stream");
    HostRun const store = runScript(dir, QStringLiteral("store.macro"), "host.sample_scene\nreport.create_snapshot\n");
    EXPECT_FALSE(store.crashed);
    EXPECT_EQ(store.exitCode, 0) << store.err.toStdString();
}

TEST(AppScript, DemoRunsEveryStepAndItsChecksHold)
{
    MvpTest::TempDir dir;
    QString const shot = dir.path(QStringLiteral("shots/demo.png"));
    HostRun const demo = runHost({QStringLiteral("--demo"), QStringLiteral("--screenshot"), shot, QStringLiteral("--config-root"),
                              dir.path(QStringLiteral("cfg"))});
    EXPECT_EQ(demo.exitCode, 0) << demo.out.toStdString() << demo.err.toStdString();
    EXPECT_FALSE(demo.out.contains(QStringLiteral(": NO"))) << demo.out.toStdString();
    EXPECT_TRUE(demo.out.contains(QStringLiteral("restored picture is pixel-identical to the one before the change: yes")));
    for (char const* name : {"demo.png", "demo-1-before.png", "demo-2-changed.png", "demo-3-restored.png"})
        EXPECT_FALSE(MvpTest::readAll(dir.path(QStringLiteral("shots/") + QString::fromLatin1(name))).isEmpty()) << name;
}

TEST(AppScript, LangDeShowsGermanMenusOfTheApplicationAndThePlugIn)
{
    MvpTest::TempDir dir;
    QString const cfg = dir.path(QStringLiteral("cfg"));
    HostRun const german = runHost({QStringLiteral("--print-menus"), QStringLiteral("--lang"), QStringLiteral("de"),
                                    QStringLiteral("--config-root"), cfg});
    ASSERT_EQ(german.exitCode, 0) << german.err.toStdString();
    QStringList const lines = german.out.split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("Be&richt"))) << german.out.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("    Ganzen Snapshot wiederherstellen"))) << german.out.toStdString();
    // The sub-menu's title comes from the plug-in and its own catalogue.
    EXPECT_TRUE(lines.contains(QStringLiteral("    Darstellung aus Snapshot wiederherstellen"))) << german.out.toStdString();
    EXPECT_FALSE(german.out.contains(QStringLiteral("Report"))) << german.out.toStdString();

    // The host's error texts and the system's reason, and the undo step in the Edit menu.
    QString const script = dir.path(QStringLiteral("de.kavmacro"));
    ASSERT_TRUE(MvpTest::writeAll(script, "host.sample_scene\nview.set scale=\"2\"\nhost.save_project file=\""
                                              + dir.path(QStringLiteral("missing/p.kvp")).toUtf8() + "\"\n"));
    HostRun const failed = runHost({QStringLiteral("--script"), script, QStringLiteral("--print-menus"), QStringLiteral("--lang"),
                                    QStringLiteral("de"), QStringLiteral("--config-root"), cfg});
    EXPECT_TRUE(failed.err.contains(QStringLiteral("die Datei kann nicht gespeichert werden"))) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains(QStringLiteral("kann keine Datei angelegt werden: Datei oder Verzeichnis nicht gefunden")))
        << failed.err.toStdString();
    EXPECT_FALSE(failed.err.contains(QStringLiteral("cannot"))) << failed.err.toStdString();
    EXPECT_TRUE(failed.out.contains(QStringLiteral("\n    Ansicht ändern rückgängig machen\n"))) << failed.out.toStdString();

    HostRun const english = runHost({QStringLiteral("--print-menus"), QStringLiteral("--config-root"), cfg});
    ASSERT_EQ(english.exitCode, 0) << english.err.toStdString();
    EXPECT_TRUE(english.out.split(QLatin1Char('\n')).contains(QStringLiteral("&Report"))) << english.out.toStdString();
    EXPECT_TRUE(english.out.contains(QStringLiteral("restore visualization from snapshot")));
}

// The reader itself: comments, encodings and what is no script.
TEST(ScriptReader, CommentsEndOnlyOutsideQuotes)
{
    EXPECT_EQ(ScriptRunner::stripComment(QStringLiteral("  # a comment")), QString());
    EXPECT_EQ(ScriptRunner::stripComment(QStringLiteral("   ")), QString());
    EXPECT_EQ(ScriptRunner::stripComment(QStringLiteral("element.set name=\"A#1\" color=\"#ff0000\"  # red")),
              QStringLiteral("element.set name=\"A#1\" color=\"#ff0000\""));
    // An escaped quote does not end the value.
    EXPECT_EQ(ScriptRunner::stripComment(QStringLiteral("element.set label_template=\"say \\\"#1\\\" # not yet\" #x")),
              QStringLiteral("element.set label_template=\"say \\\"#1\\\" # not yet\""));
    EXPECT_EQ(ScriptRunner::stripComment(QStringLiteral("edit.undo#now")), QStringLiteral("edit.undo"));
}

TEST(ScriptReader, ReadsTextAndRefusesWhatIsNoScript)
{
    MvpTest::TempDir dir;
    QStringList lines;
    QString message;

    QString const crlf = dir.path(QStringLiteral("crlf.macro"));
    ASSERT_TRUE(MvpTest::writeAll(crlf, "host.sample_scene\r\n\r\nselect names=[\"\xc3\x9c\"]\r\n"));
    ASSERT_TRUE(ScriptRunner::readScript(crlf, &lines, &message)) << message.toStdString();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0), QStringLiteral("host.sample_scene"));
    EXPECT_EQ(lines.at(2), QStringLiteral("select names=[\"") + QChar(0xDC) + QStringLiteral("\"]"));

    // A byte-order mark is no part of the first command.
    QString const bom = dir.path(QStringLiteral("bom.kavmacro"));
    ASSERT_TRUE(MvpTest::writeAll(bom, "\xEF\xBB\xBFhost.sample_scene\n"));
    ASSERT_TRUE(ScriptRunner::readScript(bom, &lines, &message)) << message.toStdString();
    EXPECT_EQ(lines.at(0), QStringLiteral("host.sample_scene"));

    EXPECT_FALSE(ScriptRunner::readScript(dir.root(), &lines, &message));
    EXPECT_TRUE(message.contains(dir.root()) && message.contains(QStringLiteral("not a file")));

    QString const latin1 = dir.path(QStringLiteral("latin1.macro"));
    ASSERT_TRUE(MvpTest::writeAll(latin1, "select names=[\"\xdc\"]\n"));
    EXPECT_FALSE(ScriptRunner::readScript(latin1, &lines, &message));
    EXPECT_TRUE(message.contains(latin1) && message.contains(QStringLiteral("UTF-8")));

    // Too large: refused before anything is read (the file is sparse).
    QString const huge = dir.path(QStringLiteral("huge.macro"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(ScriptRunner::MAX_SCRIPT_BYTES + 1));
    }
    EXPECT_FALSE(ScriptRunner::readScript(huge, &lines, &message));
    EXPECT_TRUE(message.contains(huge) && message.contains(QStringLiteral("too large")));
}

// The README's example script runs as written and its "View only" template leaves the
// legend and the elements as they were changed.
TEST(AppScript, ReadmeExampleRestoresOnlyWhatItsTemplateNames)
{
    MvpTest::TempDir dir;
    QByteArray const readme = fileBytes(QStringLiteral(MVP_TEST_DATA_DIR "/../../README.md"));
    int const begin = readme.indexOf("```sh\n# snapshot, change, restore");
    ASSERT_GE(begin, 0);
    QByteArray script = readme.mid(begin + 6, readme.indexOf("```", begin + 6) - begin - 6);
    script.replace("file=\"work.kvp\"", "file=\"" + dir.path(QStringLiteral("work.kvp")).toUtf8() + "\"");
    script.replace("file=\"state.txt\"", "file=\"" + dir.path(QStringLiteral("state.txt")).toUtf8() + "\"");
    HostRun const run = runScript(dir, QStringLiteral("readme.kavmacro"), script);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The undo leaves the state after "View only": the view is back, the rest as changed.
    QByteArray const state = fileBytes(dir.path(QStringLiteral("state.txt")));
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
    QRegularExpression const placeholder(QStringLiteral("%\\d"));
    auto placeholders = [&placeholder](QString const& text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
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
