#include "kav_stream.h"

#include "core/kav_translate.h"

#include "io/kav_crc32.h"
#include "io/kav_save_file.h"
#include "io/kav_stream_p.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace Kav {
namespace IO {

namespace {

using StreamFormat::describe;
using StreamFormat::Magic;

constexpr quint64 MaxLength = std::numeric_limits<quint32>::max();
// What a file stream collects before it writes to the file.
constexpr qsizetype FileChunk = 1 << 20;

} // namespace

QString StreamFormat::describe(char const* what, quint64 count)
{
    QString const text = translate("Kav::IO", what);
    return text.contains(QLatin1String("%1")) ? text.arg(count) : text;
}

// ---------------------------------------------------------------------------------------
// StreamException, Stream

StreamException::StreamException(QString const& text) : text_(text), what_(text.toStdString()) {}

unsigned int Stream::sizeOf(KString const& text)
{
    if (text.size() > MaxLength - 4)
        throw StreamException(translate("Kav::IO", "a string of %1 bytes is too long for a stream").arg(text.size()));
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
        throw StreamException(translate("Kav::IO", "memory: OutStream on a null buffer"));
    writeHeader(type, version);
}

OutStream::OutStream(QByteArray* buffer)
    : Stream(QStringLiteral("memory")), buffer_(buffer), uncaughtAtStart_(std::uncaught_exceptions()), bare_(true)
{
    if (!buffer)
        throw StreamException(translate("Kav::IO", "memory: OutStream on a null buffer"));
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
    checkWritable(QT_TRANSLATE_NOOP("Kav::IO", "the stream header"));
    put(Magic, sizeof Magic);
    writeString(type);
    writeUInt(version);
}

void OutStream::checkWritable(char const* what) const
{
    if (state_ == State::Open)
        return;
    throw StreamException(translate("Kav::IO", "%1: cannot write %2: the stream is %3")
                              .arg(name_, translate("Kav::IO", what),
                                   state_ == State::Closed ? translate("Kav::IO", "closed")
                                                           : translate("Kav::IO", "discarded")));
}

void OutStream::checkRoom(quint64 size, char const* what, quint64 count)
{
    if (blocks_.empty())
        return;
    OpenBlock const& block = blocks_.back();
    quint64 const left = block.end - offset_;
    if (size > left)
        fail(where(offset_, translate("Kav::IO", "%1 (%2 bytes) overflows the block of %3 bytes begun at offset %4: "
                                           "only %5 bytes are left in it")
                                .arg(describe(what, count))
                                .arg(size)
                                .arg(block.size)
                                .arg(block.end - block.size)
                                .arg(left)));
}

void OutStream::grow(quint64 size)
{
    // At least a few hundred bytes at once: most memory streams are one small access.
    // Reserved first: a resize past the capacity would round the allocation up once more.
    qsizetype const needed = used_ + static_cast<qsizetype>(size);
    qsizetype const room = std::max<qsizetype>({needed, 2 * pending_.size(), 512});
    pending_.reserve(room);
    pending_.resize(room);
}

void OutStream::put(char const* data, quint64 size)
{
    append(data, size);
    offset_ += size;
    if (file_ && used_ >= FileChunk && measured_ == 0)
        flush();
}

void OutStream::flush()
{
    // A file stream collects its bytes in pending_ and hands them on in large pieces.
    if (used_ == 0)
        return;
    crc_ = crc32(crc_, pending_.constData(), static_cast<std::size_t>(used_));
    if (!file_->write(pending_.constData(), used_))
        fail(where(offset_, file_->errorString()));
    used_ = 0;
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
    used_ = 0;
    blocks_.clear();
    measured_ = 0;
}

void OutStream::beginBlock(unsigned int size, unsigned int version)
{
    checkWritable(QT_TRANSLATE_NOOP("Kav::IO", "a block"));
    checkRoom(SizeBlockHeader + quint64(size), QT_TRANSLATE_NOOP("Kav::IO", "a block of %1 bytes with its header"), size);
    char header[8];
    qToLittleEndian<quint32>(size, header);
    qToLittleEndian<quint32>(version, header + 4);
    put(header, sizeof header);
    blocks_.push_back({offset_ + size, size});
}

void OutStream::beginBlock(unsigned int version)
{
    checkWritable(QT_TRANSLATE_NOOP("Kav::IO", "a block"));
    checkRoom(SizeBlockHeader, QT_TRANSLATE_NOOP("Kav::IO", "a block header"));
    // Writes inside are held to the block around it; at the top, to what a header can say.
    OpenBlock block{offset_ + SizeBlockHeader + std::numeric_limits<quint32>::max(),
                    std::numeric_limits<quint32>::max(), used_};
    if (!blocks_.empty()) {
        block.end = blocks_.back().end;
        block.size = blocks_.back().size;
    }
    char header[8] = {}; // the size comes at endBlock
    qToLittleEndian<quint32>(version, header + 4);
    ++measured_; // before the header goes in: from now on nothing is flushed
    put(header, sizeof header);
    blocks_.push_back(block);
}

void OutStream::endBlock()
{
    checkWritable(QT_TRANSLATE_NOOP("Kav::IO", "the end of a block"));
    if (blocks_.empty())
        fail(where(offset_, translate("Kav::IO", "endBlock without an open block")));
    OpenBlock const block = blocks_.back();
    if (block.header >= 0) {
        qsizetype const payload = used_ - block.header - static_cast<qsizetype>(SizeBlockHeader);
        qToLittleEndian<quint32>(static_cast<quint32>(payload), pending_.data() + block.header);
        blocks_.pop_back();
        --measured_;
        return;
    }
    if (offset_ != block.end) {
        quint64 const begin = block.end - block.size;
        fail(where(offset_, translate("Kav::IO", "the block begun at offset %1 declares %2 bytes but %3 were written")
                                .arg(begin)
                                .arg(block.size)
                                .arg(offset_ - begin)));
    }
    blocks_.pop_back();
}

void OutStream::writeBool(bool value)
{
    char const byte = value ? 1 : 0;
    writeSmall(&byte, SizeBool, QT_TRANSLATE_NOOP("Kav::IO", "a bool"));
}

void OutStream::writeUInt(unsigned int value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    writeSmall(bytes, SizeUInt, QT_TRANSLATE_NOOP("Kav::IO", "an unsigned int"));
}

void OutStream::writeDouble(double value)
{
    quint64 bits;
    static_assert(sizeof bits == sizeof value, "double must be 64 bits");
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian<quint64>(bits, bytes);
    writeSmall(bytes, SizeDouble, QT_TRANSLATE_NOOP("Kav::IO", "a double"));
}

void OutStream::writeSmall(char const* data, unsigned int size, char const* what)
{
    // The common case in one piece: with -fPIC, calls between the stream's own exported
    // functions go through the PLT, which costs more than the few bytes written here.
    if (state_ == State::Open && (blocks_.empty() || size <= blocks_.back().end - offset_) &&
        (!file_ || used_ + size < FileChunk)) {
        append(data, size);
        offset_ += size;
        return;
    }
    checkWritable(what);
    checkRoom(size, what);
    put(data, size);
}

void OutStream::writeString(KString const& text)
{
    writeString(text.data(), text.size());
}

void OutStream::writeString(char const* data, std::size_t size)
{
    checkWritable(QT_TRANSLATE_NOOP("Kav::IO", "a string"));
    if (size > MaxLength)
        fail(where(offset_, translate("Kav::IO", "a string of %1 bytes is too long for a stream").arg(size)));
    checkRoom(4 + quint64(size), QT_TRANSLATE_NOOP("Kav::IO", "a string of %1 bytes with its length"), size);
    char length[4];
    qToLittleEndian<quint32>(static_cast<quint32>(size), length);
    put(length, sizeof length);
    if (size > 0)
        put(data, size);
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
        throw StreamException(translate("Kav::IO", "%1: cannot close: the stream was discarded").arg(name_));
    if (!blocks_.empty())
        fail(where(offset_, translate("Kav::IO", "close with %1 block(s) still open").arg(blocks_.size())));
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
            qToLittleEndian<quint32>(crc32(0, pending_.constData(), static_cast<std::size_t>(used_)), trailer);
            append(trailer, sizeof trailer);
        }
        pending_.resize(used_);
        if (buffer_->isEmpty())
            std::swap(*buffer_, pending_); // the usual case: no copy of many megabytes
        else
            buffer_->append(pending_);
        pending_.clear();
        used_ = 0;
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
