#include "kav_stream.h"

#include "core/kav_translate.h"

#include "io/kav_crc32.h"
#include "io/kav_save_file.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace Kav {
namespace IO {

namespace {

char const Magic[4] = {'K', 'A', 'V', '2'};
char const UncheckedMagic[4] = {'K', 'A', 'V', 'B'};
constexpr quint64 SizeChecksum = 4;
constexpr quint64 MaxLength = std::numeric_limits<quint32>::max();
// What a file stream collects before it writes to the file.
constexpr qsizetype FileChunk = 1 << 20;
// What a file stream reads ahead: most reads are a few bytes.
constexpr quint64 WindowBytes = 1 << 16;

QString hexBytes(char const* data, int size)
{
    return QString::fromLatin1(QByteArray(data, size).toHex(' '));
}

// Many small appends: grow by doubling and copy straight in.
inline void appendTo(QByteArray& bytes, char const* data, quint64 size)
{
    qsizetype const used = bytes.size();
    qsizetype const needed = used + static_cast<qsizetype>(size);
    // At least a few hundred bytes at once: most memory streams are one small access.
    if (needed > bytes.capacity())
        bytes.reserve(std::max<qsizetype>({needed, 2 * bytes.capacity(), 512}));
    bytes.resize(needed);
    std::memcpy(bytes.data() + used, data, size);
}

// The name of a stream item for an error message; %1 in `what` stands for `count`.
QString describe(char const* what, quint64 count)
{
    QString const text = translate("Kav::IO", what);
    return text.contains(QLatin1String("%1")) ? text.arg(count) : text;
}

} // namespace

// ---------------------------------------------------------------------------------------
// StreamException, Stream

StreamException::StreamException(QString const& text) : text_(text), what_(text.toStdString()) {}

unsigned int Stream::sizeOf(KString const& text)
{
    if (text.size() > MaxLength - 4)
        throw StreamException(QStringLiteral("a string of %1 bytes is too long for a stream").arg(text.size()));
    return static_cast<unsigned int>(4 + text.size());
}

unsigned int Stream::sizeOf(QString const& text)
{
    return sizeOf(KString::fromQString(text));
}

unsigned int Stream::sizeOf(char const* text)
{
    return sizeOf(KString(text));
}

QString Stream::where(quint64 offset, QString const& text) const
{
    return translate("Kav::IO", "%1: offset %2: %3").arg(name_).arg(offset).arg(text);
}

void InStream::refuse(QString const& text) const
{
    throw StreamException(where(offset_, text));
}

// ---------------------------------------------------------------------------------------
// OutStream

OutStream::OutStream(QString const& path, KString const& type, unsigned int version)
    : Stream(path), file_(std::make_unique<SaveFile>(path)), uncaughtAtStart_(std::uncaught_exceptions())
{
    if (!file_->open()) {
        QString const error = file_->errorString();
        file_.reset();
        state_ = State::Discarded;
        throw StreamException(error);
    }
    writeHeader(type, version);
}

OutStream::OutStream(QString const& path, QString const& type, unsigned int version)
    : OutStream(path, KString::fromQString(type), version)
{
}

OutStream::OutStream(QByteArray* buffer, KString const& type, unsigned int version)
    : Stream(QStringLiteral("memory")), buffer_(buffer), uncaughtAtStart_(std::uncaught_exceptions())
{
    if (!buffer)
        throw StreamException(QStringLiteral("memory: OutStream on a null buffer"));
    writeHeader(type, version);
}

OutStream::OutStream(QByteArray* buffer)
    : Stream(QStringLiteral("memory")), buffer_(buffer), uncaughtAtStart_(std::uncaught_exceptions()), bare_(true)
{
    if (!buffer)
        throw StreamException(QStringLiteral("memory: OutStream on a null buffer"));
}

OutStream::~OutStream()
{
    if (state_ != State::Open)
        return;
    if (!blocks_.empty() || std::uncaught_exceptions() > uncaughtAtStart_) {
        // Saving was cut short: keep the previous file / buffer.
        if (std::uncaught_exceptions() <= uncaughtAtStart_)
            qWarning("%s: stream destroyed with %d block(s) open; discarded",
                     qPrintable(name_), static_cast<int>(blocks_.size()));
        drop();
        return;
    }
    try {
        close();
    } catch (StreamException const& e) {
        qWarning("%s", qPrintable(e.getText()));
    }
}

void OutStream::writeHeader(KString const& type, unsigned int version)
{
    checkWritable("the stream header");
    put(Magic, sizeof Magic);
    writeString(type);
    writeUInt(version);
}

void OutStream::checkWritable(char const* what) const
{
    if (state_ == State::Open)
        return;
    throw StreamException(QStringLiteral("%1: cannot write %2: the stream is %3")
                              .arg(name_, QLatin1String(what),
                                   state_ == State::Closed ? QStringLiteral("closed")
                                                           : QStringLiteral("discarded")));
}

void OutStream::checkRoom(quint64 size, char const* what, quint64 count)
{
    if (blocks_.empty())
        return;
    OpenBlock const& block = blocks_.back();
    quint64 const left = block.end - offset_;
    if (size > left)
        fail(where(offset_, QStringLiteral("%1 (%2 bytes) overflows the block of %3 bytes begun at offset %4: "
                                           "only %5 bytes are left in it")
                                .arg(describe(what, count))
                                .arg(size)
                                .arg(block.size)
                                .arg(block.end - block.size)
                                .arg(left)));
}

void OutStream::put(char const* data, quint64 size)
{
    appendTo(pending_, data, size);
    offset_ += size;
    if (file_ && pending_.size() >= FileChunk)
        flush();
}

void OutStream::flush()
{
    // A file stream collects its bytes in pending_ and hands them on in large pieces.
    if (pending_.isEmpty())
        return;
    crc_ = crc32(crc_, pending_.constData(), static_cast<std::size_t>(pending_.size()));
    if (!file_->write(pending_))
        fail(where(offset_, file_->errorString()));
    pending_.resize(0);
}

void OutStream::fail(QString const& text)
{
    drop();
    throw StreamException(text);
}

void OutStream::drop()
{
    state_ = State::Discarded;
    file_.reset(); // a SaveFile destroyed without commit() removes its temporary file
    pending_.clear();
    blocks_.clear();
}

void OutStream::beginBlock(unsigned int size, unsigned int version)
{
    checkWritable("a block");
    checkRoom(SizeBlockHeader + quint64(size), "a block of %1 bytes with its header", size);
    char header[8];
    qToLittleEndian<quint32>(size, header);
    qToLittleEndian<quint32>(version, header + 4);
    put(header, sizeof header);
    blocks_.push_back({offset_ + size, size});
}

void OutStream::endBlock()
{
    checkWritable("the end of a block");
    if (blocks_.empty())
        fail(where(offset_, QStringLiteral("endBlock without an open block")));
    OpenBlock const block = blocks_.back();
    if (offset_ != block.end) {
        quint64 const begin = block.end - block.size;
        fail(where(offset_, QStringLiteral("the block begun at offset %1 declares %2 bytes but %3 were written")
                                .arg(begin)
                                .arg(block.size)
                                .arg(offset_ - begin)));
    }
    blocks_.pop_back();
}

void OutStream::writeBool(bool value)
{
    char const byte = value ? 1 : 0;
    writeSmall(&byte, SizeBool, "a bool");
}

void OutStream::writeUInt(unsigned int value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    writeSmall(bytes, SizeUInt, "an unsigned int");
}

void OutStream::writeDouble(double value)
{
    quint64 bits;
    static_assert(sizeof bits == sizeof value, "double must be 64 bits");
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian<quint64>(bits, bytes);
    writeSmall(bytes, SizeDouble, "a double");
}

void OutStream::writeSmall(char const* data, unsigned int size, char const* what)
{
    // The common case in one piece: with -fPIC, calls between the stream's own exported
    // functions go through the PLT, which costs more than the few bytes written here.
    if (state_ == State::Open && (blocks_.empty() || size <= blocks_.back().end - offset_) &&
        (!file_ || pending_.size() + size < FileChunk)) {
        appendTo(pending_, data, size);
        offset_ += size;
        return;
    }
    checkWritable(what);
    checkRoom(size, what);
    put(data, size);
}

void OutStream::writeString(KString const& text)
{
    checkWritable("a string");
    if (text.size() > MaxLength)
        fail(where(offset_, QStringLiteral("a string of %1 bytes is too long for a stream").arg(text.size())));
    checkRoom(4 + quint64(text.size()), "a string of %1 bytes with its length", text.size());
    char length[4];
    qToLittleEndian<quint32>(static_cast<quint32>(text.size()), length);
    put(length, sizeof length);
    if (text.size() > 0)
        put(text.data(), text.size());
}

void OutStream::writeString(QString const& text)
{
    writeString(KString::fromQString(text));
}

void OutStream::writeString(char const* text)
{
    writeString(KString(text));
}

void OutStream::close()
{
    if (state_ == State::Closed)
        return;
    if (state_ == State::Discarded)
        throw StreamException(QStringLiteral("%1: cannot close: the stream was discarded").arg(name_));
    if (!blocks_.empty())
        fail(where(offset_, QStringLiteral("close with %1 block(s) still open").arg(blocks_.size())));
    if (file_) {
        flush();
        char trailer[4];
        qToLittleEndian<quint32>(crc_, trailer);
        if (!file_->write(trailer, sizeof trailer) || !file_->commit())
            fail(file_->errorString());
        file_.reset();
    } else {
        if (!bare_) {
            char trailer[4];
            qToLittleEndian<quint32>(crc32(0, pending_.constData(), static_cast<std::size_t>(pending_.size())), trailer);
            appendTo(pending_, trailer, sizeof trailer);
        }
        if (buffer_->isEmpty())
            std::swap(*buffer_, pending_); // the usual case: no copy of many megabytes
        else
            buffer_->append(pending_);
        pending_.clear();
    }
    state_ = State::Closed;
}

void OutStream::discard()
{
    if (state_ == State::Open)
        drop();
}

bool OutStream::isOpen() const
{
    return state_ == State::Open;
}

// ---------------------------------------------------------------------------------------
// InStream

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

InStream::~InStream() = default;

void InStream::readHeader()
{
    char magic[4];
    readRaw(magic, sizeof magic, QT_TRANSLATE_NOOP("Kav::IO", "the stream magic (4 bytes)"));
    checksummed_ = std::memcmp(magic, Magic, sizeof magic) == 0;
    if (!checksummed_ && std::memcmp(magic, UncheckedMagic, sizeof magic) != 0)
        throw StreamException(where(0, translate("Kav::IO", "not a block stream: expected the magic \"KAV2\" (%1) or \"KAVB\", "
                                                      "found %2")
                                           .arg(hexBytes(Magic, 4), hexBytes(magic, 4))));
    if (checksummed_)
        verifyChecksum();
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
        throw StreamException(where(offset_, QStringLiteral("getBlockVersion without an open block")));
    return blocks_.back().version;
}

void InStream::closeBlock()
{
    if (blocks_.empty())
        throw StreamException(where(offset_, QStringLiteral("closeBlock without an open block")));
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
    *text = readString().toQString();
}

// ---------------------------------------------------------------------------------------

void writeVec2d(OutStream* stream, BaVec2d<double> const& v)
{
    stream->writeDouble(v.x);
    stream->writeDouble(v.y);
}

void readVec2d(InStream* stream, BaVec2d<double>* v)
{
    double const x = stream->readDouble();
    double const y = stream->readDouble();
    *v = {x, y};
}

void writeVec3d(OutStream* stream, BaVec3d<double> const& v)
{
    stream->writeDouble(v.x);
    stream->writeDouble(v.y);
    stream->writeDouble(v.z);
}

void readVec3d(InStream* stream, BaVec3d<double>* v)
{
    double const x = stream->readDouble();
    double const y = stream->readDouble();
    double const z = stream->readDouble();
    *v = {x, y, z};
}

} // namespace IO
} // namespace Kav
