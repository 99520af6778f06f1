#pragma once
// Streams of single accesses for the access tests.
#include "io/kav_stream.h"
#include "mvp_access_golden.h"
#include "mvp_stream_bytes.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>

namespace MvpAccessTest {

// One golden file of tests/data/access; empty (and a test failure) when it cannot be read.
inline QByteArray golden(QString const& name)
{
    QFile f(QStringLiteral(MVP_TEST_DATA_DIR "/access/") + name);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read golden file " << name.toStdString();
        return QByteArray();
    }
    return f.readAll();
}

// The access's saveStream in a stream of the golden files' type and frame (the one without
// a checksum).
inline QByteArray save(Kav::PropertyAccess::PropertyAccessBase const& access)
{
    QByteArray bytes;
    Kav::IO::OutStream out(&bytes, Kav::KString(MvpGolden::STREAM_TYPE), MvpGolden::STREAM_VERSION);
    access.saveStream(&out);
    out.close();
    return MvpTest::withoutChecksum(bytes);
}

// loadStream's result; `atEnd` tells whether the whole stream was read.
inline unsigned int load(Kav::PropertyAccess::PropertyAccessBase& access, QByteArray const& bytes,
                         bool* atEnd = nullptr)
{
    Kav::IO::InStream in(bytes, QStringLiteral("test stream"));
    unsigned int const blocks = access.loadStream(&in);
    if (atEnd)
        *atEnd = in.getBlockDepth() == 0 && in.atEnd();
    return blocks;
}

// loadStream's result, failing the test unless the whole stream was read.
inline unsigned int loadWhole(Kav::PropertyAccess::PropertyAccessBase& access, QByteArray const& bytes)
{
    bool atEnd = false;
    unsigned int const blocks = load(access, bytes, &atEnd);
    EXPECT_TRUE(atEnd) << "stream not read to its end";
    return blocks;
}

// Where the first block's header starts: after "KAVB", the type string and the version.
inline int firstBlockOffset()
{
    return 4 + 4 + static_cast<int>(std::strlen(MvpGolden::STREAM_TYPE)) + 4;
}

// The size and version that the stream's first block header holds, read from the bytes.
inline quint32 headerWord(QByteArray const& bytes, int offset)
{
    if (bytes.size() < offset + 4) {
        ADD_FAILURE() << "stream of " << bytes.size() << " bytes has no word at " << offset;
        return 0;
    }
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
inline quint32 mainBlockSize(QByteArray const& bytes)
{
    return headerWord(bytes, firstBlockOffset());
}
inline quint32 mainBlockVersion(QByteArray const& bytes)
{
    return headerWord(bytes, firstBlockOffset() + 4);
}

} // namespace MvpAccessTest
