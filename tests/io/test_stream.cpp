#include "io/kav_stream.h"
#include "mvp_expect.h"
#include "mvp_stream_bytes.h"
#include "mvp_temp_dir.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>

using namespace Kav;
using namespace Kav::IO;
using MvpTest::framed;

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

auto const u32 = MvpTest::littleEndian;

QString streamError(std::function<void()> const& f)
{
    return MvpTest::errorText<StreamException>(f);
}

QStringList filesIn(QString const& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// One instance of every primitive, edge values included, in nested blocks.
struct Sample {
    QString const nonAscii = QStringLiteral("Gr\u00f6\u00dfe \u6e2c\u8a66 \U0001F600");
    KString const withNul = KString("a\0b\0", 4);
    BaVec2d<double> const v2{-1.5, 1e300};
    BaVec3d<double> const v3{0.1, -0.0, 2.5e-310};
    bool measured = false; // blocks begun without their sizes

    unsigned int innerSize() const
    {
        return Stream::sizeOf(withNul) + Stream::SizeBool + Stream::SizeVec2d + Stream::SizeVec3d;
    }
    unsigned int outerSize() const
    {
        return 2 * Stream::SizeUInt + 4 * Stream::SizeDouble + 2 * Stream::SizeBool + Stream::sizeOf(KString())
            + Stream::sizeOf(nonAscii) + Stream::SizeBlockHeader + innerSize();
    }

    void write(OutStream& s) const
    {
        s.writeUInt(7); // outside any block
        measured ? s.beginBlock(3) : s.beginBlock(outerSize(), 3);
        s.writeUInt(UINT_MAX);
        s.writeUInt(0x01020304u);
        s.writeDouble(-0.0);
        s.writeDouble(doubleOf(0x7ff8dead0000beefULL));
        s.writeDouble(-std::numeric_limits<double>::infinity());
        s.writeDouble(doubleOf(1));
        s.writeBool(true);
        s.writeBool(false);
        s.writeString(KString());
        s.writeString(nonAscii);
        measured ? s.beginBlock(9) : s.beginBlock(innerSize(), 9);
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
        unsigned int u = 0;
        s.readUInt(&u);
        EXPECT_EQ(u, UINT_MAX);
        EXPECT_EQ(s.readUInt(), 0x01020304u);
        double d = 1;
        s.readDouble(&d);
        EXPECT_EQ(bitsOf(d), bitsOf(-0.0));
        EXPECT_EQ(bitsOf(s.readDouble()), 0x7ff8dead0000beefULL);
        EXPECT_EQ(s.readDouble(), -std::numeric_limits<double>::infinity());
        EXPECT_EQ(bitsOf(s.readDouble()), 1u);
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

// "KAV2", type "T", version 2, u32 5, a block (13 bytes, version 1) holding true, 1.0 and an
// empty string, and its CRC-32.
QByteArray const KnownBytes = hex("4b415632" "01000000" "54" "02000000" "05000000" "0d000000" "01000000"
                                  "01" "000000000000f03f" "00000000" "fae56a64");

void writeKnown(OutStream& s)
{
    s.writeUInt(5);
    s.beginBlock(Stream::SizeBool + Stream::SizeDouble + Stream::sizeOf(KString()), 1);
    s.writeBool(true);
    s.writeDouble(1.0);
    s.writeString(QString());
    s.endBlock();
}

// The header of a memory stream of type "T", version 1.
QByteArray const Header = hex("4b415632" "01000000" "54" "01000000");
// The same before streams had a checksum ("KAVB"): still read, so malformed blocks reach the
// readers unchecked.
QByteArray const PlainHeader = hex("4b415642" "01000000" "54" "01000000");

} // namespace

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

    // The same bytes in a file: see StreamSave.
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("known.kav"));
    {
        OutStream s(path, QStringLiteral("\u00e9t\u00e9"), 3); // the type as text, stored as UTF-8
        s.close();
    }
    EXPECT_EQ(InStream(path).getType().toQString(), QStringLiteral("\u00e9t\u00e9"));
    // 'G' 1 + o-umlaut 2 + CJK 3 + emoji 4 UTF-8 bytes, after the length.
    EXPECT_EQ(Stream::sizeOf(QStringLiteral("G\u00f6\u6e2c\U0001F600")), 4u + 10u);
}

TEST(StreamRoundTrip, EveryPrimitiveThroughMemoryAndFile)
{
    Sample const sample;
    QByteArray buffer;
    {
        OutStream s(&buffer, KString("sample"), 42);
        sample.write(s);
        EXPECT_EQ(s.getBlockDepth(), 0);
        EXPECT_TRUE(buffer.isEmpty()) << "a memory stream fills its buffer on commit";
    }
    {
        InStream in(buffer);
        sample.read(in);
    }
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("Gr\u00f6\u00dfe_\u6d4b\u8bd5.kav"));
    {
        OutStream s(path, KString("sample"), 42);
        sample.write(s);
        s.close();
    }
    EXPECT_EQ(MvpTest::readAll(path), buffer) << "file and memory streams write the same bytes";
    InStream in(path);
    EXPECT_EQ(in.getName(), path);
    sample.read(in);
    EXPECT_EQ(filesIn(dir.root()), QStringList{QFileInfo(path).fileName()});

    // Blocks that learn their sizes by writing give the same bytes, nested or not.
    Sample measured;
    measured.measured = true;
    QByteArray again;
    {
        OutStream s(&again, KString("sample"), 42);
        measured.write(s);
    }
    EXPECT_EQ(again.toHex(), buffer.toHex());
    // Snapshots keep many small streams: one holds at most twice its bytes, or a first 512.
    EXPECT_LE(again.capacity(), std::max<qsizetype>(512, 2 * again.size()));
    // Empty, and in a file, around more than a file stream collects before it writes.
    std::string const big(3 << 20, 'b');
    for (QString const& target : {QString(), path}) {
        QByteArray bytes;
        {
            auto s = target.isEmpty() ? std::make_unique<OutStream>(&bytes, KString("T"), 1)
                                      : std::make_unique<OutStream>(target, KString("T"), 1);
            s->beginBlock(4);
            s->endBlock();
            s->beginBlock(5);
            s->writeUInt(1);
            s->beginBlock(6);
            s->writeString(KString(big));
            s->endBlock();
            s->endBlock();
        }
        auto r = target.isEmpty() ? std::make_unique<InStream>(bytes) : std::make_unique<InStream>(target);
        r->openBlock();
        EXPECT_EQ(r->getBlockVersion(), 4u);
        EXPECT_TRUE(r->atEnd());
        r->closeBlock();
        r->openBlock();
        EXPECT_EQ(r->bytesLeft(), 4u + Stream::SizeBlockHeader + Stream::sizeOf(KString(big)));
        EXPECT_EQ(r->readUInt(), 1u);
        r->openBlock();
        EXPECT_EQ(r->getBlockVersion(), 6u);
        EXPECT_EQ(r->readString().str().size(), big.size());
    }
}

TEST(StreamRoundTrip, FileReadsAcrossItsReadAheadAsMemoryReads)
{
    // Blocks read whole, left part way, passed over, and one string longer than what a
    // file stream reads ahead: the file must read exactly as the same bytes in memory.
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("long.kav"));
    std::string const longText(200000, 'x');
    {
        OutStream out(path, KString("long"), 1);
        for (unsigned int i = 0; i < 3000; ++i) {
            KString const text(std::string(i % 97, static_cast<char>('a' + i % 26)));
            out.beginBlock(Stream::SizeUInt + Stream::SizeDouble + Stream::sizeOf(text), 1);
            out.writeUInt(i);
            out.writeDouble(i * 0.5);
            out.writeString(text);
            out.endBlock();
            if (i == 1500)
                out.writeString(KString(longText));
        }
        out.close();
    }
    auto readAll = [&longText](InStream& in) {
        QStringList seen;
        for (unsigned int i = 0; i < 3000; ++i) {
            if (i % 7 == 3) {
                in.skipBlock();
            } else {
                in.openBlock();
                unsigned int const n = in.readUInt();
                if (i % 5 == 0) {
                    seen << QString::number(n);  // the rest is left unread
                } else {
                    double const d = in.readDouble();
                    seen << QStringLiteral("%1 %2 %3").arg(n).arg(d).arg(in.readString().toQString());
                }
                in.closeBlock();
            }
            if (i == 1500) {
                EXPECT_EQ(in.readString().str(), longText);
            }
        }
        EXPECT_TRUE(in.atEnd());
        return seen;
    };
    InStream file(path);
    InStream memory(MvpTest::readAll(path));
    QStringList const fromFile = readAll(file);
    EXPECT_EQ(fromFile.size(), 3000 - 429);  // less the blocks passed over
    EXPECT_EQ(fromFile, readAll(memory));
}

TEST(StreamWrite, BlockSizesAreCheckedAndMisuseThrows)
{
    {
        QByteArray buffer;
        OutStream s(&buffer, KString("T"), 1);
        s.beginBlock(8, 1);
        s.writeUInt(1);
        QString const text = streamError([&] { s.endBlock(); });
        EXPECT_CONTAINS(text, "memory: offset 25");
        EXPECT_CONTAINS(text, "declares 8 bytes but 4 were written");
        EXPECT_FALSE(s.isOpen()) << "an error discards the stream";
        EXPECT_THROW(s.close(), StreamException);
        EXPECT_TRUE(buffer.isEmpty());
    }
    // Every kind of write counts against its block.
    auto overflows = [](unsigned int size, std::function<void(OutStream&)> const& write) {
        QByteArray buffer;
        OutStream s(&buffer, KString("T"), 1);
        s.beginBlock(size, 1);
        EXPECT_THROW(write(s), StreamException) << "block of " << size;
        EXPECT_TRUE(buffer.isEmpty());
    };
    overflows(6, [](OutStream& s) { s.writeUInt(1), s.writeUInt(2); });
    overflows(0, [](OutStream& s) { s.writeBool(true); });
    overflows(7, [](OutStream& s) { s.writeDouble(1); });
    overflows(6, [](OutStream& s) { s.writeString("abc"); });
    overflows(15, [](OutStream& s) { writeVec2d(&s, {1, 2}); });
    overflows(23, [](OutStream& s) { writeVec3d(&s, {1, 2, 3}); });
    overflows(11, [](OutStream& s) { s.beginBlock(4, 1); }); // 8 + 4 > 11
    overflows(7, [](OutStream& s) { s.beginBlock(1); });
    overflows(11, [](OutStream& s) { s.beginBlock(1), s.writeUInt(1); }); // measured, in a sized block
    QByteArray buffer;
    OutStream s(&buffer, KString("T"), 1);
    EXPECT_THROW(s.endBlock(), StreamException) << "no block open";
    OutStream t(&buffer, KString("T"), 1);
    t.beginBlock(0, 1);
    EXPECT_THROW(t.close(), StreamException) << "a block is open";
    OutStream u(&buffer, KString("T"), 1);
    u.close();
    EXPECT_NO_THROW(u.close()) << "closing twice does nothing";
    EXPECT_THROW(u.writeBool(true), StreamException);
    EXPECT_EQ(buffer, framed(Header));
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
        ASSERT_EQ(MvpTest::readAll(path_), KnownBytes);
    }

    void expectUntouched()
    {
        EXPECT_EQ(MvpTest::readAll(path_), KnownBytes) << "the earlier file must stay byte for byte";
        EXPECT_EQ(filesIn(dir_.root()), QStringList{QFileInfo(path_).fileName()})
            << "no temporary file may be left behind";
    }

    MvpTest::TempDir dir_;
    QString path_;
};

// The Qt warnings written while it lives.
class Warnings {
public:
    Warnings() : previous_(qInstallMessageHandler(&Warnings::take)) { seen().clear(); }
    ~Warnings() { qInstallMessageHandler(previous_); }
    static QStringList& seen()
    {
        static QStringList messages;
        return messages;
    }

private:
    static void take(QtMsgType type, QMessageLogContext const&, QString const& text)
    {
        if (type == QtWarningMsg)
            seen() << text;
    }
    QtMessageHandler previous_;
};

TEST_F(StreamSave, ExceptionStreamErrorDiscardOrOpenBlockKeepTheEarlierFile)
{
    Warnings const warnings;
    // All blocks closed, but the save was cut short by an exception: no commit.
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
    EXPECT_TRUE(Warnings::seen().isEmpty()) << "a save cut short by an exception is no bug to warn of";
    // Cut short inside measured blocks, after more than a file stream holds back.
    EXPECT_THROW(
        {
            OutStream s(path_, KString("T"), 9);
            s.beginBlock(1);
            s.beginBlock(2);
            s.writeString(KString(std::string(3 << 20, 'x')));
            throw std::runtime_error("x");
        },
        std::runtime_error);
    expectUntouched();
    {
        OutStream s(path_, KString("T"), 9);
        s.beginBlock(8, 1);
        s.writeUInt(1);
        EXPECT_THROW(s.endBlock(), StreamException);
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
    ASSERT_FALSE(Warnings::seen().isEmpty());
    EXPECT_CONTAINS(Warnings::seen().last(), "stream destroyed with 1 block(s) open; discarded");
}

TEST_F(StreamSave, ReplacesTheFileOnCloseAlsoFromADestructorDuringUnwinding)
{
    {
        OutStream s(path_, KString("T"), 9);
        s.writeUInt(1);
        EXPECT_EQ(MvpTest::readAll(path_), KnownBytes) << "nothing reaches the target before close";
        s.close();
    }
    EXPECT_EQ(MvpTest::readAll(path_), framed(QByteArray(Header).replace(9, 1, "\x09", 1) + u32(1)));
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
    EXPECT_EQ(filesIn(dir_.root()), QStringList{QFileInfo(path_).fileName()});
}

// ---------------------------------------------------------------------------------------
// Reading malformed input

TEST(StreamRead, MalformedInputThrowsWithPlaceAndReason)
{
    QByteArray const block4 = PlainHeader + u32(4) + u32(1) + u32(11) + u32(22); // { u32 11 } u32 22
    QByteArray const hugeString = PlainHeader + u32(14) + u32(1) + u32(0xFFFFFFFFu) + QByteArray(10, 'x');
    struct Case {
        QByteArray bytes;
        std::function<void(InStream&)> read;
        char const* error;
    };
    auto none = [](InStream&) {};
    auto open = [](InStream& s) { s.openBlock(); };
    std::vector<Case> const cases = {
        {hex("4b41565801000000540100000000"), none, "memory: offset 0: not a block stream: expected the magic \"KAV2\" (4b 41 56 32) or \"KAVB\", found 4b 41 56 58"},
        {hex("4b41"), none, "offset 0: the stream magic (4 bytes) exceeds the 2 bytes left in the stream"},
        {hex("4b415642" "05000000" "5454"), none, "offset 8: a stream type of 5 bytes exceeds the 2 bytes left"},
        {hex("4b415642" "01000000" "54" "0100"), none, "offset 9: the stream version"},
        {hex("4b415642ffffffff00"), none, "a stream type of 4294967295 bytes exceeds the 1 bytes left in the stream"},
        {PlainHeader + hex("0400"), open, "offset 13: a block header (8 bytes) exceeds the 2 bytes left in the stream"},
        {PlainHeader + u32(10) + u32(1) + u32(5), open, "offset 21: a block of 10 bytes exceeds the 4 bytes left"},
        {PlainHeader + u32(10) + u32(1) + u32(5), [](InStream& s) { s.skipBlock(); }, "a block of 10 bytes exceeds"},
        {PlainHeader + u32(12) + u32(1) + u32(5) + u32(1) + u32(0), [](InStream& s) { s.openBlock(), s.openBlock(); },
         "a block of 5 bytes exceeds the 4 bytes left in the block"},
        {PlainHeader + hex("000000"), [](InStream& s) { s.readDouble(); },
         "offset 13: a double (8 bytes) exceeds the 3 bytes left in the stream"},
        {PlainHeader + hex("01"), [](InStream& s) { s.readUInt(); }, "an unsigned int (4 bytes) exceeds the 1 bytes"},
        {block4, [](InStream& s) { s.openBlock(); EXPECT_EQ(s.readUInt(), 11u); EXPECT_TRUE(s.atEnd()); s.readUInt(); },
         "offset 25: an unsigned int (4 bytes) exceeds the 0 bytes left in the block"},
        {block4, [](InStream& s) { s.openBlock(), s.readDouble(); }, "a double (8 bytes) exceeds the 4 bytes left in the block"},
        {block4, [](InStream& s) { s.openBlock(), s.openBlock(); }, "a block header (8 bytes) exceeds the 4 bytes left"},
        {hugeString, [](InStream& s) { s.openBlock(), s.readString(); },
         "memory: offset 25: a string of 4294967295 bytes exceeds the 10 bytes left in the block"},
        {hugeString, [](InStream& s) { QString q; s.openBlock(), s.readString(&q); }, "a string of 4294967295 bytes"},
        {PlainHeader + u32(0xFFFFFFFFu) + QByteArray(3, 'x'), [](InStream& s) { s.readString(); },
         "a string of 4294967295 bytes exceeds the 3 bytes left in the stream"},
        {PlainHeader + u32(2) + u32(1) + hex("0102"), [](InStream& s) { s.openBlock(); EXPECT_TRUE(s.readBool()); s.readBool(); },
         "memory: offset 22: a bool byte must be 0 or 1, found 2"},
        {PlainHeader + hex("ff"), [](InStream& s) { s.readBool(); }, "a bool byte must be 0 or 1, found 255"},
        {PlainHeader, [](InStream& s) { s.closeBlock(); }, "closeBlock without an open block"},
        {PlainHeader, [](InStream& s) { s.skipBlock(); }, "block header"},
    };
    for (Case const& c : cases) {
        QString const text = streamError([&] {
            InStream s(c.bytes);
            c.read(s);
        });
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.error))) << qPrintable(text) << "\n  should contain: " << c.error;
    }
    // Through a file the message names it.
    MvpTest::TempDir dir;
    QString const path = dir.path(QStringLiteral("data.kav"));
    ASSERT_TRUE(MvpTest::writeAll(path, hugeString));
    QString const text = streamError([&] {
        InStream s(path);
        s.openBlock();
        s.readString();
    });
    EXPECT_CONTAINS(text, "data.kav: offset 25: a string of 4294967295 bytes exceeds the 10 bytes left in the block");
    ASSERT_TRUE(MvpTest::writeAll(path, hex("4b415642" "01000000")));
    EXPECT_CONTAINS(streamError([&] { InStream s(path); }), "data.kav: offset 8");
}
