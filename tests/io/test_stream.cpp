#include "io/kav_stream.h"
#include "mvp_stream_bytes.h"
#include "mvp_temp_dir.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>

#if defined(__linux__)
#include <sys/resource.h>
#endif

using namespace Kav;
using namespace Kav::IO;

namespace {

std::uint64_t bitsOf(double d)
{
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

double doubleOf(std::uint64_t bits)
{
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

QByteArray hex(char const* text)
{
    return QByteArray::fromHex(QByteArray(text));
}

// The text of the StreamException `f` throws; fails the test if it throws nothing or
// something else.
QString streamError(std::function<void()> const& f)
{
    try {
        f();
    } catch (StreamException const& e) {
        EXPECT_EQ(QString::fromStdString(e.what()), e.getText());
        return e.getText();
    } catch (std::exception const& e) {
        ADD_FAILURE() << "expected a StreamException, got: " << e.what();
        return QString();
    }
    ADD_FAILURE() << "expected a StreamException, nothing was thrown";
    return QString();
}

#define EXPECT_CONTAINS(text, part) \
    EXPECT_TRUE((text).contains(QStringLiteral(part))) << qPrintable(text) << "\n  should contain: " << (part)

// Files in `dir` (hidden ones too): what a save left behind.
QStringList filesIn(QString const& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Writes one instance of every primitive, edge values included, in nested blocks.
struct Sample {
    QString const nonAscii = QStringLiteral("Gr\u00f6\u00dfe \u6e2c\u8a66 \U0001F600");
    KString const withNul = KString("a\0b\0", 4);
    double const nanBits = doubleOf(0x7ff8dead0000beefULL);
    double const denormal = doubleOf(1);
    BaVec2d<double> const v2{-1.5, 1e300};
    BaVec3d<double> const v3{0.1, -0.0, 2.5e-310};

    unsigned int innerSize() const
    {
        return Stream::sizeOf(withNul) + Stream::SizeBool + Stream::SizeVec2d + Stream::SizeVec3d;
    }
    unsigned int outerSize() const
    {
        return 3 * Stream::SizeUInt + 6 * Stream::SizeDouble + 2 * Stream::SizeBool + Stream::sizeOf(KString())
            + Stream::sizeOf(nonAscii) + Stream::SizeBlockHeader + innerSize();
    }

    void write(OutStream& s) const
    {
        s.writeUInt(7); // top-level field, outside any block
        s.beginBlock(outerSize(), 3);
        s.writeUInt(0);
        s.writeUInt(UINT_MAX);
        s.writeUInt(0x01020304u);
        s.writeDouble(-0.0);
        s.writeDouble(nanBits);
        s.writeDouble(std::numeric_limits<double>::infinity());
        s.writeDouble(-std::numeric_limits<double>::infinity());
        s.writeDouble(denormal);
        s.writeDouble(std::numeric_limits<double>::max());
        s.writeBool(true);
        s.writeBool(false);
        s.writeString(KString());
        s.writeString(nonAscii);
        s.beginBlock(innerSize(), 9);
        s.writeString(withNul);
        s.writeBool(true);
        writeVec2d(&s, v2);
        writeVec3d(&s, v3);
        s.endBlock();
        s.endBlock();
        s.writeString("tail");
    }

    void read(InStream& s) const
    {
        EXPECT_EQ(s.getType(), KString("sample"));
        EXPECT_EQ(s.getVersion(), 42u);
        EXPECT_EQ(s.readUInt(), 7u);
        s.openBlock();
        EXPECT_EQ(s.getBlockVersion(), 3u);
        EXPECT_EQ(s.bytesLeft(), outerSize());
        EXPECT_EQ(s.readUInt(), 0u);
        unsigned int u = 0;
        s.readUInt(&u);
        EXPECT_EQ(u, UINT_MAX);
        EXPECT_EQ(s.readUInt(), 0x01020304u);
        double d = 1;
        s.readDouble(&d);
        EXPECT_EQ(bitsOf(d), bitsOf(-0.0));
        EXPECT_EQ(bitsOf(s.readDouble()), 0x7ff8dead0000beefULL);
        EXPECT_EQ(s.readDouble(), std::numeric_limits<double>::infinity());
        EXPECT_EQ(s.readDouble(), -std::numeric_limits<double>::infinity());
        EXPECT_EQ(bitsOf(s.readDouble()), 1u);
        EXPECT_EQ(s.readDouble(), std::numeric_limits<double>::max());
        bool b = false;
        s.readBool(&b);
        EXPECT_TRUE(b);
        EXPECT_FALSE(s.readBool());
        EXPECT_EQ(s.readString(), KString());
        QString text;
        s.readString(&text);
        EXPECT_EQ(text, nonAscii);
        s.openBlock();
        EXPECT_EQ(s.getBlockVersion(), 9u);
        KString k;
        s.readString(&k);
        EXPECT_EQ(k, withNul);
        EXPECT_TRUE(s.readBool());
        BaVec2d<double> r2;
        readVec2d(&s, &r2);
        EXPECT_EQ(r2, v2);
        BaVec3d<double> r3;
        readVec3d(&s, &r3);
        EXPECT_EQ(bitsOf(r3.x), bitsOf(v3.x));
        EXPECT_EQ(bitsOf(r3.y), bitsOf(-0.0));
        EXPECT_EQ(bitsOf(r3.z), bitsOf(v3.z));
        EXPECT_TRUE(s.atEnd());
        s.closeBlock();
        EXPECT_EQ(s.getBlockVersion(), 3u);
        EXPECT_TRUE(s.atEnd());
        s.closeBlock();
        EXPECT_EQ(s.readString(), KString("tail"));
        EXPECT_TRUE(s.atEnd());
    }
};

// A small stream: "KAV2", type "T", version 2, u32 5, then a block (size 13, version 1)
// holding true, 1.0 and an empty string, and its CRC-32.
QByteArray const KnownBytes = hex("4b415632"         // KAV2
                                  "01000000" "54"    // type "T"
                                  "02000000"         // version 2
                                  "05000000"         // 5
                                  "0d000000" "01000000" // block: 13 bytes, version 1
                                  "01"               // true
                                  "000000000000f03f" // 1.0
                                  "00000000"         // ""
                                  "fae56a64");       // CRC-32 of all before it

void writeKnown(OutStream& s)
{
    s.writeUInt(5);
    s.beginBlock(Stream::SizeBool + Stream::SizeDouble + Stream::sizeOf(KString()), 1);
    s.writeBool(true);
    s.writeDouble(1.0);
    s.writeString(QString());
    s.endBlock();
}

// The header of a memory stream of type "T", version 1 (13 bytes).
QByteArray header()
{
    return hex("4b415632" "01000000" "54" "01000000");
}

QByteArray u32(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

// The same header as written before streams had a checksum ("KAVB"); such streams are still
// read, and their malformed forms below reach the readers unchecked.
QByteArray plainHeader()
{
    return hex("4b415642" "01000000" "54" "01000000");
}

using MvpTest::framed;

} // namespace

// ---------------------------------------------------------------------------------------
// Format and round trips

TEST(StreamFormat, KnownStreamHasExactBytesInMemoryAndInFile)
{
    QByteArray buffer("prefix");
    {
        OutStream s(&buffer, KString("T"), 2);
        writeKnown(s);
        s.close();
        EXPECT_FALSE(s.isOpen());
    }
    EXPECT_EQ(buffer.toHex(), (QByteArray("prefix") + KnownBytes).toHex()) << "memory streams append";

    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("known.kav"));
    {
        OutStream s(path, KString("T"), 2);
        EXPECT_TRUE(s.isOpen());
        writeKnown(s);
        s.close();
    }
    EXPECT_EQ(MvpTest::readAll(path).toHex(), KnownBytes.toHex());

    InStream in(KnownBytes);
    EXPECT_EQ(in.getType(), KString("T"));
    EXPECT_EQ(in.getVersion(), 2u);
    EXPECT_EQ(in.readUInt(), 5u);
    in.openBlock();
    EXPECT_EQ(in.getBlockVersion(), 1u);
    EXPECT_TRUE(in.readBool());
    EXPECT_EQ(in.readDouble(), 1.0);
    EXPECT_EQ(in.readString(), KString());
    in.closeBlock();
    EXPECT_TRUE(in.atEnd());
}

TEST(StreamFormat, SizeOfCountsLengthPrefixAndUtf8Bytes)
{
    EXPECT_EQ(Stream::sizeOf(KString()), 4u);
    EXPECT_EQ(Stream::sizeOf(KString("a\0b", 3)), 7u);
    EXPECT_EQ(Stream::sizeOf(QString()), 4u);
    // 'G' 1 + o-umlaut 2 + CJK 3 + emoji (surrogate pair) 4 UTF-8 bytes.
    EXPECT_EQ(Stream::sizeOf(QStringLiteral("G\u00f6\u6e2c\U0001F600")), 4u + 10u);
    EXPECT_EQ(Stream::sizeOf("abc"), 7u);

    QByteArray buffer;
    OutStream s(&buffer, KString("T"), 1);
    s.writeString(QStringLiteral("\u00f6"));
    s.close();
    EXPECT_EQ(buffer.toHex(), framed(header() + hex("02000000c3b6")).toHex());
}

TEST(StreamRoundTrip, EveryPrimitiveThroughMemoryAndFile)
{
    Sample const sample;
    QByteArray buffer;
    {
        OutStream s(&buffer, KString("sample"), 42);
        sample.write(s);
        EXPECT_EQ(s.getBlockDepth(), 0);
        s.close();
    }
    {
        InStream in(buffer);
        sample.read(in);
    }

    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("sample.kav"));
    {
        OutStream s(path, KString("sample"), 42);
        sample.write(s);
        s.close();
    }
    EXPECT_EQ(MvpTest::readAll(path), buffer) << "file and memory streams write the same bytes";
    {
        InStream in(path);
        EXPECT_EQ(in.getName(), path);
        sample.read(in);
    }
    EXPECT_EQ(filesIn(dir.root()), QStringList{QStringLiteral("sample.kav")});
}

TEST(StreamRoundTrip, DestructorCommitsAFinishedStream)
{
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("auto.kav"));
    QByteArray buffer;
    {
        OutStream f(path, KString("T"), 2);
        writeKnown(f);
        OutStream m(&buffer, KString("T"), 2);
        writeKnown(m);
        EXPECT_TRUE(buffer.isEmpty()) << "a memory stream fills its buffer on commit";
    }
    EXPECT_EQ(MvpTest::readAll(path), KnownBytes);
    EXPECT_EQ(buffer, KnownBytes);
}

TEST(StreamRoundTrip, NonAsciiPathWorks)
{
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("Gr\u00f6\u00dfe_\u6d4b\u8bd5.kav"));
    {
        OutStream s(path, QStringLiteral("\u00e9t\u00e9"), 3); // the type as text, stored as UTF-8
        s.writeString(QStringLiteral("\u6d4b\u8bd5"));
        s.close();
    }
    ASSERT_TRUE(QFile::exists(path));
    InStream in(path);
    EXPECT_EQ(in.getType().toQString(), QStringLiteral("\u00e9t\u00e9"));
    EXPECT_EQ(in.getVersion(), 3u);
    QString text;
    in.readString(&text);
    EXPECT_EQ(text, QStringLiteral("\u6d4b\u8bd5"));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(filesIn(dir.root()), QStringList{QStringLiteral("Gr\u00f6\u00dfe_\u6d4b\u8bd5.kav")});
}

// ---------------------------------------------------------------------------------------
// Writing: block sizes are checked

TEST(StreamWrite, EndBlockThrowsWhenFewerBytesThanDeclaredWereWritten)
{
    QByteArray buffer;
    OutStream s(&buffer, KString("T"), 1);
    s.beginBlock(8, 1);
    s.writeUInt(1);
    QString const text = streamError([&] { s.endBlock(); });
    EXPECT_CONTAINS(text, "memory: offset 25");
    EXPECT_CONTAINS(text, "declares 8 bytes but 4 were written");
    EXPECT_FALSE(s.isOpen()) << "an error discards the stream";
    EXPECT_THROW(s.writeUInt(1), StreamException);
    EXPECT_THROW(s.close(), StreamException);
    EXPECT_TRUE(buffer.isEmpty());
}

TEST(StreamWrite, WritingMoreThanDeclaredThrowsAtTheOverflowingWrite)
{
    {
        QByteArray buffer;
        OutStream s(&buffer, KString("T"), 1);
        s.beginBlock(6, 1);
        s.writeUInt(1);
        QString const text = streamError([&] { s.writeUInt(2); });
        EXPECT_CONTAINS(text, "only 2 bytes are left");
        EXPECT_FALSE(s.isOpen());
    }
    {
        // Every kind of write counts: bool, double, string, vectors, nested headers.
        auto overflows = [](unsigned int size, std::function<void(OutStream&)> const& write) {
            QByteArray buffer;
            OutStream s(&buffer, KString("T"), 1);
            s.beginBlock(size, 1);
            EXPECT_THROW(write(s), StreamException) << "block of " << size;
            EXPECT_TRUE(buffer.isEmpty());
        };
        overflows(0, [](OutStream& s) { s.writeBool(true); });
        overflows(7, [](OutStream& s) { s.writeDouble(1); });
        overflows(6, [](OutStream& s) { s.writeString("abc"); });
        overflows(15, [](OutStream& s) { writeVec2d(&s, {1, 2}); });
        overflows(23, [](OutStream& s) { writeVec3d(&s, {1, 2, 3}); });
        overflows(11, [](OutStream& s) { s.beginBlock(4, 1); }); // 8 + 4 > 11
        overflows(20, [](OutStream& s) {
            s.beginBlock(12, 1); // fits exactly: 8 + 12 = 20
            s.endBlock();        // fewer bytes than declared
        });
    }
    {
        // Nested blocks that fit exactly are fine, and count their headers.
        QByteArray buffer;
        OutStream s(&buffer, KString("T"), 1);
        s.beginBlock(8 + 4 + 8 + 0, 1);
        s.beginBlock(4, 2);
        s.writeUInt(1);
        s.endBlock();
        s.beginBlock(0, 3);
        s.endBlock();
        s.endBlock();
        EXPECT_NO_THROW(s.close());
        EXPECT_EQ(buffer.size(), header().size() + 28 + 4);
    }
}

TEST(StreamWrite, MisuseThrows)
{
    QByteArray buffer;
    OutStream s(&buffer, KString("T"), 1);
    EXPECT_THROW(s.endBlock(), StreamException) << "no block open";

    OutStream t(&buffer, KString("T"), 1);
    t.beginBlock(0, 1);
    EXPECT_THROW(t.close(), StreamException) << "a block is open";
    EXPECT_FALSE(t.isOpen());

    OutStream u(&buffer, KString("T"), 1);
    u.close();
    EXPECT_NO_THROW(u.close()) << "closing twice does nothing";
    EXPECT_THROW(u.writeBool(true), StreamException);
    EXPECT_EQ(buffer, framed(header()));

    OutStream v(&buffer, KString("T"), 1);
    v.writeUInt(3);
    v.discard();
    EXPECT_FALSE(v.isOpen());
    EXPECT_THROW(v.close(), StreamException);
    EXPECT_EQ(buffer, framed(header())) << "a discarded memory stream leaves the buffer alone";
}

// ---------------------------------------------------------------------------------------
// Atomic saving

class StreamSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.path(QStringLiteral("Gr\u00f6\u00dfe_\u6d4b\u8bd5.kav"));
        OutStream s(path_, KString("T"), 2);
        writeKnown(s);
        s.close();
        before_ = MvpTest::readAll(path_);
        ASSERT_EQ(before_, KnownBytes);
    }

    void expectUntouched()
    {
        EXPECT_EQ(MvpTest::readAll(path_), before_) << "the earlier file must stay byte for byte";
        EXPECT_EQ(filesIn(dir_.root()), QStringList{QFileInfo(path_).fileName()})
            << "no temporary file may be left behind";
    }

    MvpTest::TempDir dir_;
    QString path_;
    QByteArray before_;
};

TEST_F(StreamSave, ExceptionInsideAnOpenBlockKeepsTheEarlierFile)
{
    EXPECT_THROW(
        {
            OutStream s(path_, KString("T"), 9);
            s.beginBlock(8, 1);
            s.writeUInt(1);
            throw std::runtime_error("x");
        },
        std::runtime_error);
    expectUntouched();
}

TEST_F(StreamSave, ExceptionOutsideBlocksKeepsTheEarlierFile)
{
    // All blocks closed, but the save was cut short by an exception: no commit either.
    EXPECT_THROW(
        {
            OutStream s(path_, KString("T"), 9);
            s.beginBlock(4, 1);
            s.writeUInt(1);
            s.endBlock();
            throw std::runtime_error("x");
        },
        std::runtime_error);
    expectUntouched();
}

TEST_F(StreamSave, StreamErrorDiscardDestructorWithOpenBlockKeepTheEarlierFile)
{
    {
        OutStream s(path_, KString("T"), 9);
        s.beginBlock(8, 1);
        s.writeUInt(1);
        EXPECT_THROW(s.endBlock(), StreamException);
        // Destroyed normally after the caught error: still nothing committed.
    }
    expectUntouched();
    {
        OutStream s(path_, KString("T"), 9);
        s.writeUInt(1);
        s.discard();
    }
    expectUntouched();
    {
        OutStream s(path_, KString("T"), 9);
        s.beginBlock(8, 1); // forgotten endBlock: a bug, not a file
        s.writeDouble(1);
    }
    expectUntouched();
}

TEST_F(StreamSave, StreamCreatedDuringUnwindingStillCommits)
{
    // A stream made and finished inside a destructor that runs during unwinding is not
    // itself cut short.
    struct SaveOnDestruction {
        QString path;
        ~SaveOnDestruction()
        {
            OutStream s(path, KString("U"), 1);
            s.writeUInt(77);
        }
    };
    try {
        SaveOnDestruction guard{path_};
        throw std::runtime_error("x");
    } catch (std::runtime_error const&) {
    }
    InStream in(path_);
    EXPECT_EQ(in.getType(), KString("U"));
    EXPECT_EQ(in.readUInt(), 77u);
}

TEST_F(StreamSave, SuccessfulSaveReplacesTheFile)
{
    {
        OutStream s(path_, KString("T"), 9);
        s.writeUInt(1);
        EXPECT_EQ(MvpTest::readAll(path_), before_) << "nothing reaches the target before close";
        s.close();
    }
    EXPECT_EQ(MvpTest::readAll(path_), framed(header().replace(9, 1, "\x09", 1) + u32(1)));
    EXPECT_EQ(filesIn(dir_.root()), QStringList{QFileInfo(path_).fileName()});
}

TEST(StreamOpen, FileThatCannotBeOpenedThrows)
{
    MvpTest::TempDir dir;
    QString const missingDir = dir.path(QStringLiteral("no/such/dir/x.kav"));
    QString text = streamError([&] { OutStream s(missingDir, KString("T"), 1); });
    EXPECT_CONTAINS(text, "x.kav");
    EXPECT_CONTAINS(text, "No such file or directory");

    text = streamError([&] { InStream s(dir.path(QStringLiteral("missing.kav"))); });
    EXPECT_CONTAINS(text, "missing.kav");
    EXPECT_CONTAINS(text, "cannot open for reading");
    EXPECT_TRUE(filesIn(dir.root()).isEmpty());
}

// ---------------------------------------------------------------------------------------
// Reading malformed input

TEST(StreamRead, BadOrTruncatedHeaderThrows)
{
    QString text = streamError([] { InStream s(hex("4b41565801000000540100000000")); });
    EXPECT_CONTAINS(text, "memory: offset 0");
    EXPECT_CONTAINS(text, "magic");
    EXPECT_CONTAINS(text, "4b 41 56 58");

    text = streamError([] { InStream s(hex("4b41"), QStringLiteral("head.kav")); });
    EXPECT_CONTAINS(text, "head.kav: offset 0");
    EXPECT_CONTAINS(text, "exceeds the 2 bytes left in the stream");

    text = streamError([] { InStream s(hex("4b415642" "05000000" "5454")); });
    EXPECT_CONTAINS(text, "offset 8: a stream type of 5 bytes exceeds the 2 bytes left in the stream");

    text = streamError([] { InStream s(hex("4b415642" "01000000" "54" "0100")); });
    EXPECT_CONTAINS(text, "offset 9: the stream version");

    // The same through a file: the message names it.
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("data.kav"));
    ASSERT_TRUE(MvpTest::writeAll(path, hex("4b415642" "01000000")));
    text = streamError([&] { InStream s(path); });
    EXPECT_CONTAINS(text, "data.kav: offset 8");
    ASSERT_TRUE(MvpTest::writeAll(path, QByteArray()));
    text = streamError([&] { InStream s(path); });
    EXPECT_CONTAINS(text, "data.kav: offset 0");
}

TEST(StreamRead, TruncatedBlocksAndFieldsThrow)
{
    // A header cut short, a payload shorter than its declared size.
    QString text = streamError([] {
        InStream s(plainHeader() + hex("0400"));
        s.openBlock();
    });
    EXPECT_CONTAINS(text, "offset 13: a block header (8 bytes) exceeds the 2 bytes left in the stream");

    text = streamError([] {
        InStream s(plainHeader() + u32(10) + u32(1) + u32(5));
        s.openBlock();
    });
    EXPECT_CONTAINS(text, "offset 21: a block of 10 bytes exceeds the 4 bytes left in the stream");

    text = streamError([] {
        InStream s(plainHeader() + u32(10) + u32(1) + u32(5));
        s.skipBlock();
    });
    EXPECT_CONTAINS(text, "a block of 10 bytes exceeds");

    // A nested block larger than its enclosing block.
    text = streamError([] {
        InStream s(plainHeader() + u32(12) + u32(1) + u32(5) + u32(1) + u32(0));
        s.openBlock();
        s.openBlock();
    });
    EXPECT_CONTAINS(text, "a block of 5 bytes exceeds the 4 bytes left in the block");

    // Top-level fields cut short.
    text = streamError([] {
        InStream s(plainHeader() + hex("000000"));
        s.readDouble();
    });
    EXPECT_CONTAINS(text, "offset 13: a double (8 bytes) exceeds the 3 bytes left in the stream");
    EXPECT_THROW(InStream(plainHeader()).readBool(), StreamException);
    EXPECT_THROW(InStream(plainHeader() + hex("01")).readUInt(), StreamException);
}

TEST(StreamRead, ReadsPastTheEndOfABlockThrow)
{
    // Block of 4 bytes holding a u32, followed by another u32 outside the block.
    QByteArray const bytes = plainHeader() + u32(4) + u32(1) + u32(11) + u32(22);
    {
        InStream s(bytes);
        s.openBlock();
        EXPECT_EQ(s.readUInt(), 11u);
        EXPECT_TRUE(s.atEnd());
        QString const text = streamError([&] { s.readUInt(); });
        EXPECT_CONTAINS(text, "offset 25: an unsigned int (4 bytes) exceeds the 0 bytes left in the block");
    }
    {
        InStream s(bytes);
        s.openBlock();
        EXPECT_EQ(s.bytesLeft(), 4u);
        EXPECT_THROW(s.readDouble(), StreamException) << "8 bytes, only 4 in the block though 8 in the stream";
        EXPECT_THROW(s.readString(), StreamException) << "length 11 > 0 bytes left";
    }
    {
        InStream s(bytes);
        s.openBlock();
        EXPECT_THROW(s.openBlock(), StreamException) << "a block header does not fit in 4 bytes";
    }
}

TEST(StreamRead, HugeStringLengthThrowsBeforeAllocating)
{
    // A block of 14 bytes: a string whose length field is 0xFFFFFFFF, then 10 bytes.
    QByteArray const bytes = plainHeader() + u32(14) + u32(1) + u32(0xFFFFFFFFu) + QByteArray(10, 'x');
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("data.kav"));
    ASSERT_TRUE(MvpTest::writeAll(path, bytes));

    QString text = streamError([&] {
        InStream s(path);
        s.openBlock();
        s.readString();
    });
    EXPECT_CONTAINS(text, "data.kav: offset 25: a string of 4294967295 bytes exceeds the 10 bytes left in the block");

    text = streamError([&] {
        InStream s(bytes);
        s.openBlock();
        QString q;
        s.readString(&q);
    });
    EXPECT_CONTAINS(text, "memory: offset 25: a string of 4294967295 bytes exceeds the 10 bytes left in the block");

    // Outside a block, bounded by the stream.
    text = streamError([] { InStream(plainHeader() + u32(0xFFFFFFFFu) + QByteArray(3, 'x')).readString(); });
    EXPECT_CONTAINS(text, "a string of 4294967295 bytes exceeds the 3 bytes left in the stream");
    text = streamError([] { InStream(hex("4b415642ffffffff00")); });
    EXPECT_CONTAINS(text, "a stream type of 4294967295 bytes exceeds the 1 bytes left in the stream");
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define MVP_NO_RLIMIT_TEST
#endif
#endif
#ifndef MVP_NO_RLIMIT_TEST
// With the address space capped well below 4 GiB more than now, an implementation that
// allocates from the length field before checking it fails with bad_alloc or aborts.
TEST(StreamReadDeathTest, HugeLengthsNeverAllocate)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QByteArray const bytes = plainHeader() + u32(14) + u32(1) + u32(0xFFFFFFFFu) + QByteArray(10, 'x');
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("data.kav"));
    ASSERT_TRUE(MvpTest::writeAll(path, bytes));
    auto capped = [&] {
        QFile status(QStringLiteral("/proc/self/statm"));
        if (!status.open(QIODevice::ReadOnly))
            std::exit(2);
        unsigned long long const pages = status.readAll().split(' ').value(0).toULongLong();
        rlimit const limit{(pages * 4096ull) + (512ull << 20), RLIM_INFINITY};
        rlimit const hard{limit.rlim_cur, limit.rlim_cur};
        if (setrlimit(RLIMIT_AS, &hard) != 0)
            std::exit(3);
        int caught = 0;
        auto expectThrow = [&](std::function<void()> const& f) {
            try {
                f();
            } catch (StreamException const&) {
                ++caught;
            }
        };
        expectThrow([&] {
            InStream s(path);
            s.openBlock();
            s.readString();
        });
        expectThrow([&] {
            InStream s(bytes);
            s.openBlock();
            QString q;
            s.readString(&q);
        });
        expectThrow([] { InStream s(hex("4b415642ffffffff00")); });
        std::exit(caught == 3 ? 0 : 1);
    };
    EXPECT_EXIT(capped(), ::testing::ExitedWithCode(0), "");
}
#endif
#endif

TEST(StreamRead, BoolByteOtherThanZeroOrOneThrows)
{
    QString const text = streamError([] {
        InStream s(plainHeader() + u32(2) + u32(1) + hex("0102"));
        s.openBlock();
        EXPECT_TRUE(s.readBool());
        s.readBool();
    });
    EXPECT_CONTAINS(text, "memory: offset 22: a bool byte must be 0 or 1, found 2");
    EXPECT_THROW(InStream(plainHeader() + hex("ff")).readBool(), StreamException);
}

// ---------------------------------------------------------------------------------------
// Passing over data

TEST(StreamRead, CloseBlockAndSkipBlockPassOverUnreadData)
{
    // u32 1; block v5 { u32 2; block v6 { double 3; string "x" }; u32 4 }; block v7 { u32 5 }; u32 6
    QByteArray buffer;
    {
        OutStream s(&buffer, KString("T"), 1);
        s.writeUInt(1);
        s.beginBlock(4 + 8 + 8 + Stream::sizeOf("x") + 4, 5);
        s.writeUInt(2);
        s.beginBlock(8 + Stream::sizeOf("x"), 6);
        s.writeDouble(3);
        s.writeString("x");
        s.endBlock();
        s.writeUInt(4);
        s.endBlock();
        s.beginBlock(4, 7);
        s.writeUInt(5);
        s.endBlock();
        s.writeUInt(6);
        s.close();
    }
    {
        // closeBlock right after opening, and after a partial read of a nested block.
        InStream s(buffer);
        EXPECT_EQ(s.readUInt(), 1u);
        s.openBlock();
        EXPECT_EQ(s.getBlockVersion(), 5u);
        EXPECT_EQ(s.readUInt(), 2u);
        s.openBlock();
        EXPECT_EQ(s.getBlockVersion(), 6u);
        EXPECT_EQ(s.readDouble(), 3.0);
        s.closeBlock(); // the string stays unread
        EXPECT_EQ(s.getBlockVersion(), 5u);
        EXPECT_EQ(s.readUInt(), 4u);
        s.closeBlock();
        s.openBlock();
        EXPECT_EQ(s.getBlockVersion(), 7u);
        s.closeBlock(); // nothing read
        EXPECT_EQ(s.readUInt(), 6u);
        EXPECT_TRUE(s.atEnd());
    }
    {
        // skipBlock at top level and inside a block.
        InStream s(buffer);
        EXPECT_EQ(s.readUInt(), 1u);
        s.openBlock();
        EXPECT_EQ(s.readUInt(), 2u);
        s.skipBlock();
        EXPECT_EQ(s.getBlockVersion(), 5u) << "skipBlock does not open the block";
        EXPECT_EQ(s.readUInt(), 4u);
        s.closeBlock();
        s.skipBlock();
        EXPECT_EQ(s.readUInt(), 6u);
        EXPECT_TRUE(s.atEnd());
        EXPECT_THROW(s.skipBlock(), StreamException);
    }
    {
        // The same through a file (seeks on the device).
        MvpTest::TempDir dir;
        QString const path = dir.path(QStringLiteral("skip.kav"));
        ASSERT_TRUE(MvpTest::writeAll(path, buffer));
        InStream s(path);
        EXPECT_EQ(s.readUInt(), 1u);
        s.skipBlock();
        s.openBlock();
        s.closeBlock();
        EXPECT_EQ(s.readUInt(), 6u);
        EXPECT_TRUE(s.atEnd());
    }
    {
        InStream s(buffer);
        EXPECT_THROW(s.closeBlock(), StreamException) << "no block open";
        EXPECT_THROW(s.getBlockVersion(), StreamException) << "no block open";
    }
}
