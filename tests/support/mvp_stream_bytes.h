#pragma once
// Stream bytes as tests take them apart: the checksum at a stream's end, and the frame
// streams had before it.

#include <QByteArray>

namespace MvpTest {

// CRC-32 bit by bit, apart from the stream's table-driven one.
inline quint32 crc32(QByteArray const& bytes)
{
    quint32 c = 0xFFFFFFFFu;
    for (char const b : bytes) {
        c ^= static_cast<unsigned char>(b);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return ~c;
}

inline QByteArray littleEndian(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

// `content` (header and blocks) with its checksum after it.
inline QByteArray framed(QByteArray const& content)
{
    return content + littleEndian(crc32(content));
}

// A stream whose bytes a test changed, with its checksum made to fit again.
inline QByteArray reframed(QByteArray const& stream)
{
    return framed(stream.left(stream.size() - 4));
}

// A checksummed stream ("KAV2") in the frame written before the checksum: magic "KAVB", no
// checksum. The blocks are the same.
inline QByteArray withoutChecksum(QByteArray const& stream)
{
    if (!stream.startsWith("KAV2"))
        return stream;
    return QByteArray("KAVB") + stream.mid(4, stream.size() - 8);
}

} // namespace MvpTest
