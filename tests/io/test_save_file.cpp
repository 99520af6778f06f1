// Atomic saving onto what a user may name, and the stream checksum.
#include "io/kav_save_file.h"
#include "io/kav_stream.h"
#include "mvp_expect.h"
#include "mvp_small_fs.h"
#include "mvp_temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Kav;
using namespace Kav::IO;

using MvpTest::words;
namespace {

QStringList entries(QString const& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The error of saving a stream of some megabytes to `path`; empty if it was saved.
QString streamSaveError(QString const& path)
{
    try {
        OutStream s(path, KString("T"), 1);
        s.writeString(QByteArray(3 << 20, 'x').constData()); // past the first flush
        s.close();
    } catch (StreamException const& e) {
        return e.getText();
    }
    return QString();
}

// The error of saving `path` each way a user's file is saved: whole, and as a stream.
QStringList saveErrors(QString const& path)
{
    QString error;
    if (SaveFile::save(path, QByteArrayLiteral("new"), &error))
        error.clear();
    return {error, streamSaveError(path)};
}

mode_t typeOf(QString const& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

} // namespace

TEST(SaveFile, RefusesFoldersDevicesFifosAndSocketsAndReplacesNothing)
{
    MvpTest::TempDir dir;
    struct Case {
        char const* name;
        char const* kind;
        std::function<bool(QByteArray const&)> make;
    };
    std::vector<Case> const cases = {
        {"folder", "a folder", [](QByteArray const& p) { return ::mkdir(p.constData(), 0755) == 0; }},
        {"fifo", "a FIFO", [](QByteArray const& p) { return ::mkfifo(p.constData(), 0644) == 0; }},
        // What /dev/null is, made here (root only).
        {"null", "a character device",
         [](QByteArray const& p) { return ::mknod(p.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0; }},
        {"socket", "a socket",
         [](QByteArray const& p) {
             int const fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un addr{};
             addr.sun_family = AF_UNIX;
             if (fd < 0 || p.size() >= static_cast<int>(sizeof addr.sun_path))
                 return false;
             std::memcpy(addr.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
             bool const ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
             ::close(fd);
             return ok;
         }},
    };
    QStringList made;
    for (Case const& c : cases) {
        QString const path = dir.path(QString::fromLatin1(c.name));
        if (!c.make(QFile::encodeName(path))) {
            std::printf("note: cannot make a %s here; not checked\n", c.kind);
            continue;
        }
        made << QString::fromLatin1(c.name);
        mode_t const type = typeOf(path);
        for (QString const& error : saveErrors(path)) {
            EXPECT_CONTAINS(error, QStringLiteral("it is %1, not a regular file").arg(QString::fromLatin1(c.kind)));
            EXPECT_TRUE(error.startsWith(path)) << qPrintable(error);
        }
        EXPECT_EQ(typeOf(path), type) << c.name << " was replaced";
        QString why;
        EXPECT_FALSE(checkReadableFile(path, &why)) << c.name;
        EXPECT_CONTAINS(why, QStringLiteral("it is ") + QString::fromLatin1(c.kind));
        // A FIFO would block the reader until someone writes to it.
        try {
            InStream in(path);
            ADD_FAILURE() << c.name << " was opened for reading";
        } catch (StreamException const& e) {
            EXPECT_CONTAINS(e.getText(), "cannot open for reading");
        }
    }
    EXPECT_GE(made.size(), 2);
    made.sort();
    EXPECT_EQ(entries(dir.root()), made) << "no temporary file is left";
}

TEST(SaveFile, FullDiskKeepsTheOldFileAndGivesTheSystemsReason)
{
    MvpTest::SmallFileSystem fs(256);
    MVP_REQUIRE_MOUNTED(fs);
    QString const path = fs.path(QStringLiteral("state.txt"));
    QByteArray const old = QByteArrayLiteral("the earlier dump\n");
    ASSERT_TRUE(SaveFile::save(path, old, nullptr));
    QString error;
    EXPECT_FALSE(SaveFile::save(path, QByteArray(1 << 20, 'y'), &error));
    EXPECT_EQ(error, path + QStringLiteral(": cannot write: No space left on device"));
    EXPECT_EQ(MvpTest::readAll(path), old);
    QString const streamError = streamSaveError(path);
    EXPECT_CONTAINS(streamError, "No space left on device");
    EXPECT_TRUE(streamError.startsWith(path)) << qPrintable(streamError);
    EXPECT_EQ(MvpTest::readAll(path), old);
    EXPECT_EQ(entries(QFileInfo(path).path()), words("state.txt"));
}

TEST(SaveFile, MissingFolderAndReadOnlyFileSystemSayWhyAndCreateNothing)
{
    MvpTest::TempDir dir;
    QString const deep = dir.path(QStringLiteral("x/y/z.kav"));
    for (QString const& error : saveErrors(deep)) {
        EXPECT_CONTAINS(error, "No such file or directory");
        EXPECT_TRUE(error.startsWith(deep)) << qPrintable(error);
    }
    EXPECT_TRUE(entries(dir.root()).isEmpty()) << "no folder is made";

    MvpTest::SmallFileSystem ro(64, true);
    MVP_REQUIRE_MOUNTED(ro);
    for (QString const& error : saveErrors(ro.path(QStringLiteral("a.kav"))))
        EXPECT_CONTAINS(error, "Read-only file system");
}

TEST(SaveFile, ReplacedFileKeepsItsPermissionsAndLinksStayLinks)
{
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("p.kav"));
    ASSERT_TRUE(SaveFile::save(path, "1", nullptr));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    QString const link = dir.path(QStringLiteral("link.kav"));
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(SaveFile::save(link, "22", nullptr));
    EXPECT_EQ(typeOf(link), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(MvpTest::readAll(path), QByteArray("22"));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    SaveFile discarded(path);
    ASSERT_TRUE(discarded.open());
    ASSERT_TRUE(discarded.write("333", 3));
    discarded.discard();
    EXPECT_FALSE(discarded.commit());
    EXPECT_EQ(MvpTest::readAll(path), QByteArray("22"));
    EXPECT_EQ(entries(dir.root()), words("link.kav|p.kav"));
}

TEST(StreamChecksum, EveryFlippedBitIsFoundAndLargeFilesCarryTheirCrc)
{
    QByteArray bytes;
    {
        OutStream s(&bytes, KString("T"), 2);
        s.beginBlock(Stream::SizeDouble + Stream::sizeOf("abc"), 1);
        s.writeDouble(5.0);
        s.writeString("abc");
        s.endBlock();
        s.close();
    }
    for (int bit = 0; bit < 8 * bytes.size(); ++bit) {
        QByteArray damaged = bytes;
        damaged[bit / 8] = static_cast<char>(damaged[bit / 8] ^ (1 << (bit % 8)));
        EXPECT_THROW(InStream in(damaged), StreamException) << "bit " << bit;
    }
    try {
        QByteArray damaged = bytes;
        damaged[30] = 'X';
        InStream in(damaged, QStringLiteral("store.rst"));
        ADD_FAILURE() << "a damaged stream was opened";
    } catch (StreamException const& e) {
        EXPECT_EQ(e.getText().left(e.getText().indexOf(QLatin1String(": the checksum"))),
                  QStringLiteral("store.rst: offset %1").arg(bytes.size() - 4));
        EXPECT_CONTAINS(e.getText(), "the stream is damaged");
    }
    // Bytes a checksum around them proved: the stream's own is passed over, never read as data.
    QByteArray wrongSum = bytes;
    wrongSum[wrongSum.size() - 1] = static_cast<char>(wrongSum[wrongSum.size() - 1] ^ 1);
    InStream proven(wrongSum, QStringLiteral("inner"), InStream::Proven::Bytes);
    proven.openBlock();
    EXPECT_EQ(proven.readDouble(), 5.0);
    EXPECT_EQ(proven.readString(), KString("abc"));
    proven.closeBlock();
    EXPECT_TRUE(proven.atEnd());
    EXPECT_THROW(InStream(bytes.left(6), QStringLiteral("cut"), InStream::Proven::Bytes), StreamException);
}
