// The pieces of mvp-host that need no window: the command line and the script reader.

#include "kav_app_options.h"
#include "kav_script_runner.h"

#include "mvp_temp_dir.h"

#include <QFile>

#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using Kav::App::AppOptions;
using Kav::App::ScriptRunner;

namespace {

bool parse(QStringList args, AppOptions* options, QString* message)
{
    args.prepend(QStringLiteral("mvp-host"));
    return Kav::App::parseOptions(args, options, message);
}

} // namespace

TEST(AppOptions, ValuesInBothFormsAndMistakesNamed)
{
    AppOptions o;
    QString message;
    ASSERT_TRUE(parse({QStringLiteral("--script=a.macro"), QStringLiteral("--screenshot"), QStringLiteral("s.png"),
                       QStringLiteral("--config-root"), QStringLiteral("cfg"), QStringLiteral("--lang=de")},
                      &o, &message));
    EXPECT_EQ(o.script, QStringLiteral("a.macro"));
    EXPECT_EQ(o.screenshot, QStringLiteral("s.png"));
    EXPECT_EQ(o.configRoot, QStringLiteral("cfg"));
    EXPECT_EQ(o.lang, QStringLiteral("de"));
    EXPECT_TRUE(o.isHeadless());
    EXPECT_FALSE(o.demo);

    ASSERT_TRUE(parse({}, &o, &message));
    EXPECT_FALSE(o.isHeadless());   // the window
    ASSERT_TRUE(parse({QStringLiteral("--demo")}, &o, &message));
    EXPECT_TRUE(o.demo && o.isHeadless() && o.script.isEmpty());

    EXPECT_FALSE(parse({QStringLiteral("--script")}, &o, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("--script")));
    EXPECT_FALSE(parse({QStringLiteral("--lang=")}, &o, &message));
    EXPECT_FALSE(parse({QStringLiteral("--demo=1")}, &o, &message));
    EXPECT_FALSE(parse({QStringLiteral("--frobnicate")}, &o, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("--frobnicate")));
    EXPECT_FALSE(parse({QStringLiteral("--demo"), QStringLiteral("--script"), QStringLiteral("x")}, &o, &message));
}

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
