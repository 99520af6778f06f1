// The reading half of the block streams.
#include "kav_stream.h"

#include "core/kav_translate.h"

#include "io/kav_crc32.h"
#include "io/kav_save_file.h"
#include "io/kav_stream_p.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <memory>

namespace Kav {
namespace IO {

namespace {

using StreamFormat::describe;
using StreamFormat::Magic;

char const UncheckedMagic[4] = {'K', 'A', 'V', 'B'};
constexpr quint64 SizeChecksum = 4;
// What a file stream reads ahead: most reads are a few bytes.
constexpr quint64 WindowBytes = 1 << 16;

QString hexBytes(char const* data, int size)
{
    return QString::fromLatin1(QByteArray(data, size).toHex(' '));
}

} // namespace

InStream::InStream(QString const& path) : Stream(path)
{
    QString why;
    if (!checkReadableFile(path, &why))
        throw StreamException(translate("Kav::IO", "%1: cannot open for reading: %2").arg(path, why));
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw StreamException(translate("Kav::IO", "%1: cannot open for reading: %2").arg(path, file->errorString()));
    qint64 const size = file->size();
    size_ = size > 0 ? static_cast<quint64>(size) : 0;
    device_ = std::move(file);
    readHeader();
}

InStream::InStream(QByteArray const& bytes, QString const& name)
    : Stream(name), bytes_(bytes), size_(static_cast<quint64>(bytes.size()))
{
    readHeader();
}

InStream::InStream(QByteArray const& bytes, QString const& name, Proven)
    : Stream(name), bytes_(bytes), size_(static_cast<quint64>(bytes.size()))
{
    readHeader(false);
}

InStream::~InStream() = default;

void InStream::readHeader(bool verify)
{
    char magic[4];
    readRaw(magic, sizeof magic, QT_TRANSLATE_NOOP("Kav::IO", "the stream magic (4 bytes)"));
    checksummed_ = std::memcmp(magic, Magic, sizeof magic) == 0;
    if (!checksummed_ && std::memcmp(magic, UncheckedMagic, sizeof magic) != 0)
        throw StreamException(where(0, translate("Kav::IO", "not a block stream: expected the magic \"KAV2\" (%1) or \"KAVB\", "
                                                      "found %2")
                                           .arg(hexBytes(Magic, 4), hexBytes(magic, 4))));
    if (checksummed_ && verify) {
        verifyChecksum();
    } else if (checksummed_) {
        if (size_ < offset_ + SizeChecksum)
            throw StreamException(where(offset_, translate("Kav::IO", "the stream is truncated: it ends before its checksum")));
        size_ -= SizeChecksum;
    }
    quint32 const length = readU32(QT_TRANSLATE_NOOP("Kav::IO", "the length of the stream type (4 bytes)"));
    std::string type;
    char const* const what = QT_TRANSLATE_NOOP("Kav::IO", "a stream type of %1 bytes");
    require(length, what, length);
    type.resize(length);
    readRaw(&type[0], length, what, length);
    type_ = KString(std::move(type));
    version_ = readU32(QT_TRANSLATE_NOOP("Kav::IO", "the stream version (4 bytes)"));
}

void InStream::verifyChecksum()
{
    if (size_ < offset_ + SizeChecksum)
        throw StreamException(where(offset_, translate("Kav::IO", "the stream is truncated: it ends before its checksum")));
    quint64 const end = size_ - SizeChecksum;
    char stored[4];
    quint32 crc = 0;
    if (device_) {
        // Read through once; the stream is then read from where the magic ended.
        QByteArray chunk;
        if (!device_->seek(0))
            throw StreamException(where(0, translate("Kav::IO", "cannot seek: %1").arg(device_->errorString())));
        for (quint64 at = 0; at < end;) {
            qint64 const want = static_cast<qint64>(std::min<quint64>(end - at, 1u << 20));
            chunk.resize(static_cast<qsizetype>(want));
            if (device_->read(chunk.data(), want) != want)
                throw StreamException(where(at, translate("Kav::IO", "read failed: %1").arg(device_->errorString())));
            crc = crc32(crc, chunk.constData(), static_cast<std::size_t>(want));
            at += static_cast<quint64>(want);
        }
        window_.clear();
        if (device_->read(stored, sizeof stored) != sizeof stored || !device_->seek(static_cast<qint64>(offset_)))
            throw StreamException(where(end, translate("Kav::IO", "read failed: %1").arg(device_->errorString())));
    } else {
        crc = crc32(0, bytes_.constData(), static_cast<std::size_t>(end));
        std::memcpy(stored, bytes_.constData() + end, sizeof stored);
    }
    quint32 const expected = qFromLittleEndian<quint32>(stored);
    if (crc != expected)
        throw StreamException(where(end, translate("Kav::IO", "the checksum %1 does not match the %2 bytes before it (%3): "
                                                        "the stream is damaged")
                                             .arg(expected, 8, 16, QLatin1Char('0'))
                                             .arg(end)
                                             .arg(crc, 8, 16, QLatin1Char('0'))));
    size_ = end;
}

quint64 InStream::bytesLeft() const
{
    quint64 const limit = blocks_.empty() ? size_ : blocks_.back().end;
    return limit > offset_ ? limit - offset_ : 0;
}

void InStream::require(quint64 size, char const* what, quint64 count) const
{
    quint64 const left = bytesLeft();
    if (size > left)
        throw StreamException(where(offset_, translate("Kav::IO", "%1 exceeds the %2 bytes left in the %3")
                                                 .arg(describe(what, count))
                                                 .arg(left)
                                                 .arg(blocks_.empty() ? translate("Kav::IO", "stream")
                                                                      : translate("Kav::IO", "block"))));
}

void InStream::readRaw(char* data, quint64 size, char const* what, quint64 count)
{
    require(size, what, count);
    if (size == 0)
        return;
    if (device_) {
        if (offset_ < windowStart_ || offset_ + size > windowStart_ + static_cast<quint64>(window_.size()))
            fillWindow(size, what, count);
        std::memcpy(data, window_.constData() + (offset_ - windowStart_), size);
    } else {
        std::memcpy(data, bytes_.constData() + offset_, size);
    }
    offset_ += size;
}

void InStream::fillWindow(quint64 size, char const* what, quint64 count)
{
    // The device stands at the window's end, or at offset_ when there is no window.
    bool const atDevice = window_.isEmpty() || offset_ == windowStart_ + static_cast<quint64>(window_.size());
    if (!atDevice && !device_->seek(static_cast<qint64>(offset_))) {
        window_.clear();
        throw StreamException(where(offset_, translate("Kav::IO", "cannot seek to offset %1: %2")
                                                 .arg(offset_)
                                                 .arg(device_->errorString())));
    }
    // require() has checked that `size` bytes are there; more are read for the reads to come.
    qint64 const want = static_cast<qint64>(std::max<quint64>(size, WindowBytes));
    window_.resize(static_cast<qsizetype>(want));
    windowStart_ = offset_;
    qint64 const got = device_->read(window_.data(), want);
    window_.resize(static_cast<qsizetype>(std::max<qint64>(got, 0)));
    if (got < static_cast<qint64>(size)) {
        QString const text = got < 0
            ? translate("Kav::IO", "%1: read failed: %2").arg(describe(what, count), device_->errorString())
            : translate("Kav::IO", "%1: the stream is truncated, only %2 bytes could be read").arg(describe(what, count)).arg(got);
        throw StreamException(where(offset_, text));
    }
}

quint32 InStream::readU32(char const* what)
{
    char bytes[4];
    readRaw(bytes, sizeof bytes, what);
    return qFromLittleEndian<quint32>(bytes);
}

void InStream::seekTo(quint64 offset)
{
    // Most blocks are read to their end: a file seek is a system call, even one that stays put.
    if (offset == offset_)
        return;
    if (device_ && offset >= windowStart_ && offset <= windowStart_ + static_cast<quint64>(window_.size()) &&
        !window_.isEmpty()) {
        offset_ = offset;
        return;
    }
    window_.clear();
    if (device_ && !device_->seek(static_cast<qint64>(offset)))
        throw StreamException(where(offset_, translate("Kav::IO", "cannot seek to offset %1: %2")
                                                 .arg(offset)
                                                 .arg(device_->errorString())));
    offset_ = offset;
}

InStream::OpenBlock InStream::readBlockHeader()
{
    char header[8];
    readRaw(header, sizeof header, QT_TRANSLATE_NOOP("Kav::IO", "a block header (8 bytes)"));
    quint32 const size = qFromLittleEndian<quint32>(header);
    quint32 const version = qFromLittleEndian<quint32>(header + 4);
    require(size, QT_TRANSLATE_NOOP("Kav::IO", "a block of %1 bytes"), size);
    return {offset_ + size, version};
}

void InStream::openBlock()
{
    blocks_.push_back(readBlockHeader());
}

unsigned int InStream::getBlockVersion() const
{
    if (blocks_.empty())
        throw StreamException(where(offset_, translate("Kav::IO", "getBlockVersion without an open block")));
    return blocks_.back().version;
}

void InStream::closeBlock()
{
    if (blocks_.empty())
        throw StreamException(where(offset_, translate("Kav::IO", "closeBlock without an open block")));
    seekTo(blocks_.back().end);
    blocks_.pop_back();
}

void InStream::skipBlock()
{
    seekTo(readBlockHeader().end);
}

bool InStream::readBool()
{
    char byte;
    readRaw(&byte, 1, QT_TRANSLATE_NOOP("Kav::IO", "a bool (1 byte)"));
    if (byte != 0 && byte != 1)
        throw StreamException(where(offset_ - 1, translate("Kav::IO", "a bool byte must be 0 or 1, found %1")
                                                     .arg(static_cast<unsigned char>(byte))));
    return byte == 1;
}

unsigned int InStream::readUInt()
{
    return readU32(QT_TRANSLATE_NOOP("Kav::IO", "an unsigned int (4 bytes)"));
}

double InStream::readDouble()
{
    char bytes[8];
    readRaw(bytes, sizeof bytes, QT_TRANSLATE_NOOP("Kav::IO", "a double (8 bytes)"));
    quint64 const bits = qFromLittleEndian<quint64>(bytes);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

KString InStream::readString()
{
    quint32 const length = readU32(QT_TRANSLATE_NOOP("Kav::IO", "a string length (4 bytes)"));
    char const* const what = QT_TRANSLATE_NOOP("Kav::IO", "a string of %1 bytes");
    require(length, what, length); // before allocating anything
    std::string text(length, '\0');
    readRaw(&text[0], length, what, length);
    return KString(std::move(text));
}

void InStream::readString(QString* text)
{
    quint32 const length = readU32(QT_TRANSLATE_NOOP("Kav::IO", "a string length (4 bytes)"));
    char const* const what = QT_TRANSLATE_NOOP("Kav::IO", "a string of %1 bytes");
    require(length, what, length);
    text_.resize(length);
    readRaw(&text_[0], length, what, length);
    *text = QString::fromUtf8(text_.data(), static_cast<int>(length));
}

void InStream::readString(QByteArray* bytes)
{
    quint32 const length = readU32(QT_TRANSLATE_NOOP("Kav::IO", "a string length (4 bytes)"));
    char const* const what = QT_TRANSLATE_NOOP("Kav::IO", "a string of %1 bytes");
    require(length, what, length);
    bytes->resize(static_cast<qsizetype>(length));
    readRaw(bytes->data(), length, what, length);
}

} // namespace IO
} // namespace Kav
