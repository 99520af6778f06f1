#pragma once

#include "kavhost_export.h"

#include "core/kav_kstring.h"
#include "core/kav_vec.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

namespace Kav {
namespace IO {

class SaveFile;

// A malformed, truncated or unreadable stream, or a stream used wrongly (a block whose
// written size differs from the declared one). The text says what and where, e.g.
// "data.kav: offset 42: string of 4294967295 bytes exceeds the 10 bytes left in the block".
class KAVHOST_EXPORT StreamException : public std::exception {
public:
    explicit StreamException(QString const& text);

    QString const& getText() const { return text_; }
    char const* what() const noexcept override { return what_.c_str(); }

private:
    QString text_;
    std::string what_;
};

// The block stream format, shared by OutStream and InStream. All numbers little-endian.
//   stream header: "KAV2", type (KString), version (u32)
//   content:       values and blocks
//   checksum:      CRC-32 (u32) of every byte before it, header included
// Streams written before the checksum start with "KAVB" and end with the content; they are
// read as before. The two magics differ in more than one bit, so that one flipped bit
// cannot turn a checked stream into an unchecked one.
//   block:         payload size (u32), block version (u32), payload
//   bool 1 byte (0/1), u32 4, double 8 (IEEE 754), KString u32 length + bytes,
//   QString as its UTF-8 KString.
// A block's size counts its payload only; a block nested in another counts toward the
// outer one with its 8-byte header and its payload.
class KAVHOST_EXPORT Stream {
public:
    static constexpr unsigned int SizeBool = 1;
    static constexpr unsigned int SizeUInt = 4;
    static constexpr unsigned int SizeDouble = 8;
    static constexpr unsigned int SizeVec2d = 16;
    static constexpr unsigned int SizeVec3d = 24;
    static constexpr unsigned int SizeBlockHeader = 8;

    // Bytes writeString takes for this text: 4 + its length in bytes (UTF-8 for QString).
    // Throws StreamException for a text too long for the format (over 4 GiB).
    static unsigned int sizeOf(KString const& text);
    static unsigned int sizeOf(QString const& text);
    static unsigned int sizeOf(char const* text); // so that sizeOf("...") is not ambiguous

    Stream(Stream const&) = delete;
    Stream& operator=(Stream const&) = delete;

    // The file path the stream was made on, or the name given to a memory stream.
    QString const& getName() const { return name_; }

protected:
    explicit Stream(QString const& name) : name_(name) {}
    ~Stream() = default;

    // "<name>: offset <offset>: <text>"
    QString where(quint64 offset, QString const& text) const;

    QString name_;
};

// Writes a block stream to a file (atomically) or to a memory buffer.
//
// A file stream writes through a SaveFile (a temporary file beside the target, renamed over
// it on close(); only a regular file or a missing one is replaced). A memory stream collects its bytes and appends them to the buffer on
// close(). Until then the target file / the buffer is untouched.
//
// The stream is discarded (temporary file removed, buffer untouched) on discard(), on any
// StreamException thrown by a write, beginBlock, endBlock or close, and in the destructor
// if a block is still open or the stream is destroyed while an exception unwinds the
// stack. Otherwise the destructor commits like close() (a failure there is only logged:
// call close() to see it).
class KAVHOST_EXPORT OutStream : public Stream {
public:
    // Throws StreamException if the (temporary) file cannot be opened.
    OutStream(QString const& path, KString const& type, unsigned int version);
    // The type as UTF-8.
    OutStream(QString const& path, QString const& type, unsigned int version);
    OutStream(QByteArray* buffer, KString const& type, unsigned int version);
    // A bare memory stream: blocks and values only, without header and checksum. Not
    // readable as a stream; for comparing what objects write, many one after the other.
    explicit OutStream(QByteArray* buffer);
    ~OutStream();

    // Starts a block whose payload will be exactly `size` bytes. Inside another block
    // the 8-byte header and the payload must fit in what is left of that block.
    void beginBlock(unsigned int size, unsigned int version);
    // Starts a block whose size is what is written until its endBlock(), nested blocks
    // included. The stream holds the bytes back until then (a file stream writes nothing
    // while such a block is open), so a block cut short never reaches the target.
    void beginBlock(unsigned int version);
    // Ends the innermost block: throws unless exactly its size was written, or puts the
    // size written into the header of a block begun without one.
    void endBlock();

    void writeBool(bool value);
    void writeUInt(unsigned int value);
    void writeDouble(double value);
    void writeString(KString const& text);
    void writeString(char const* data, std::size_t size); // those bytes, as a KString of them
    void writeString(QString const& text); // as UTF-8
    void writeString(char const* text);    // as KString; so that writeString("...") is not ambiguous

    // Commits: renames the temporary file over the target / appends to the buffer.
    // Throws StreamException (and discards) if a block is open or the commit fails, or if
    // the stream was already discarded. Closing a closed stream does nothing.
    void close();
    // Drops what was written; the target file / buffer stays as it was.
    void discard();
    // True until close(), discard() or an error.
    bool isOpen() const;

    // Bytes written so far, header included, checksum not.
    quint64 getOffset() const { return offset_; }
    // Number of blocks open.
    int getBlockDepth() const { return static_cast<int>(blocks_.size()); }

private:
    struct OpenBlock {
        // Where writes must stop: the payload's end, or for a measured block that of the
        // block around it (or the largest size a header holds).
        quint64 end;
        unsigned int size; // of the block `end` belongs to
        // A measured block's header in pending_ (which is not flushed while it is open);
        // -1 for a block begun with its size.
        qsizetype header = -1;
    };

    void writeHeader(KString const& type, unsigned int version);
    void checkWritable(char const* what) const;
    // Fails unless `size` more bytes fit in the innermost open block. `what` names the item
    // for the message, with %1 standing for `count`; the text is only made on failure.
    void checkRoom(quint64 size, char const* what, quint64 count = 0);
    void put(char const* data, quint64 size);
    // Appends to pending_, which grows by doubling and is cut to used_ only when handed on.
    void append(char const* data, quint64 size)
    {
        if (used_ + static_cast<qsizetype>(size) > pending_.size())
            grow(size);
        std::memcpy(pending_.data() + used_, data, size);
        used_ += static_cast<qsizetype>(size);
    }
    void grow(quint64 size);
    // Writes what a file stream has collected.
    void flush();
    // A checked write of a primitive of at most 8 bytes.
    void writeSmall(char const* data, unsigned int size, char const* what);
    [[noreturn]] void fail(QString const& text);
    void drop();

    std::unique_ptr<SaveFile> file_;
    QByteArray* buffer_ = nullptr;
    QByteArray pending_; // a memory stream's bytes until commit, a file stream's until flush
    qsizetype used_ = 0; // of pending_: a write costs a copy, not a resize
    std::vector<OpenBlock> blocks_;
    int measured_ = 0; // measured blocks open
    quint64 offset_ = 0;
    quint32 crc_ = 0; // of what a file stream has flushed
    int uncaughtAtStart_ = 0;
    enum class State { Open, Closed, Discarded } state_ = State::Open;
    bool bare_ = false;
};

// Reads a block stream from a file or from bytes in memory. Every read is bounded by the
// innermost open block (or by the end of the stream outside blocks); a read that does not
// fit, a bad bool byte or a truncated stream throws StreamException. Lengths read from the
// stream are checked against the bytes really left before anything is allocated. A stream
// with a checksum is checked whole when it is opened; a damaged one throws there.
class KAVHOST_EXPORT InStream : public Stream {
public:
    // Opens the file and reads the stream header; throws StreamException if the path is not
    // a regular file, cannot be opened, or the header or checksum is wrong or truncated.
    explicit InStream(QString const& path);
    explicit InStream(QByteArray const& bytes, QString const& name = QStringLiteral("memory"));
    // Bytes a checksum around them has already proven (a stream stored inside a checked
    // stream): the stream's own checksum is passed over, not computed again.
    enum class Proven { Bytes };
    InStream(QByteArray const& bytes, QString const& name, Proven);
    ~InStream();

    KString const& getType() const { return type_; }
    // Whether the stream carries a checksum (streams written before it do not).
    bool hasChecksum() const { return checksummed_; }
    unsigned int getVersion() const { return version_; }

    // Reads a block header and enters the block.
    void openBlock();
    // The version of the innermost open block; throws if none is open.
    unsigned int getBlockVersion() const;
    // Leaves the innermost block at its end, passing over what was not read.
    void closeBlock();
    // Passes over the whole next block without entering it.
    void skipBlock();

    bool readBool();
    unsigned int readUInt();
    double readDouble();
    void readBool(bool* value) { *value = readBool(); }
    void readUInt(unsigned int* value) { *value = readUInt(); }
    void readDouble(double* value) { *value = readDouble(); }
    KString readString();
    void readString(KString* text) { *text = readString(); }
    void readString(QString* text); // from UTF-8
    void readString(QByteArray* bytes); // the bytes themselves, copied once

    // No bytes left in the innermost open block (or in the stream, outside blocks).
    bool atEnd() const { return bytesLeft() == 0; }
    // Bytes left in the innermost open block (or in the stream, outside blocks).
    quint64 bytesLeft() const;

    // Current byte offset from the start of the stream.
    quint64 getOffset() const { return offset_; }
    // Throws StreamException saying where: for a value read whole that its reader refuses.
    [[noreturn]] void refuse(QString const& text) const;
    // Number of blocks open.
    int getBlockDepth() const { return static_cast<int>(blocks_.size()); }

private:
    struct OpenBlock {
        quint64 end;
        unsigned int version;
    };

    void readHeader(bool verify = true);
    // Checks the CRC-32 at the end of the stream against the bytes before it.
    void verifyChecksum();
    // Throws unless `size` bytes are left; `what` names the item for the message, with %1
    // standing for `count`. The text is only made on failure: reads are hot.
    void require(quint64 size, char const* what, quint64 count = 0) const;
    void readRaw(char* data, quint64 size, char const* what, quint64 count = 0);
    // Reads the file from offset_ into the window, `size` bytes at least (they are there).
    void fillWindow(quint64 size, char const* what, quint64 count);
    quint32 readU32(char const* what);
    void seekTo(quint64 offset);
    // Reads a block header and checks its size fits; returns {end, version}.
    OpenBlock readBlockHeader();

    std::unique_ptr<QIODevice> device_;
    QByteArray bytes_; // the data of a memory stream (the device reads it)
    QByteArray window_; // of a file stream: its bytes from windowStart_ on
    quint64 windowStart_ = 0;
    quint64 size_ = 0; // stream size, without the checksum
    quint64 offset_ = 0;
    std::vector<OpenBlock> blocks_;
    KString type_;
    unsigned int version_ = 0;
    bool checksummed_ = false;
    std::string text_; // room for the UTF-8 of a text being read, kept from one to the next
};

KAVHOST_EXPORT void writeVec2d(OutStream* stream, BaVec2d<double> const& v);
KAVHOST_EXPORT void readVec2d(InStream* stream, BaVec2d<double>* v);
KAVHOST_EXPORT void writeVec3d(OutStream* stream, BaVec3d<double> const& v);
KAVHOST_EXPORT void readVec3d(InStream* stream, BaVec3d<double>* v);

} // namespace IO
} // namespace Kav
